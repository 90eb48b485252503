# Set-up, build, run and test over the CMake presets.
#   make run    install what is missing, build, start the program on the sample reference
#   make test   install what is missing, build, run every test
#   make asan   the core tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   make bench  the benchmarks
.PHONY: all deps build run test asan bench fuzz format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	scripts/run.sh

test: build
	ctest --preset default

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: deps
	cmake --preset bench
	cmake --build --preset bench
	build-bench/bin/zentrivo_bench
	QT_QPA_PLATFORM=offscreen build-bench/bin/gui_bench 100000

fuzz: deps
	@command -v clang++ >/dev/null || (echo "fuzzing needs clang (apt-get install clang libclang-rt-14-dev)" && false)
	cmake --preset fuzz
	cmake --build --preset fuzz

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan build-bench build-fuzz
