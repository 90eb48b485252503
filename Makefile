# Set-up, build, run and test over the CMake presets.
#   make run    install what is missing, build, start the program on the sample reference
#   make test   install what is missing, build, run every test
#   make asan   the core tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   make bench  the benchmarks
#   make fuzz-run  every fuzz target for FUZZ_SECONDS over its seed corpus
#   make install PREFIX=DIR  install the programs, the reference, desktop entry, icons, manual pages
#   make deb       the Debian package build/zentrivo_VERSION_ARCH.deb
#   make deb-check the package through lintian, apt install and a start from its menu entry
#   make windows-test  the core and its tests built for Windows (mingw-w64), run under wine
#   make tidy      clang-tidy over the libraries and programs (.clang-tidy)
.PHONY: all deps deps-fuzz build run test install deb deb-check asan bench fuzz fuzz-run windows-test tidy format clean

# Where make install puts everything.
PREFIX ?= /usr/local

# Seconds each fuzz target runs in fuzz-run.
FUZZ_SECONDS ?= 60

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

install: build
	cmake --install build --prefix $(PREFIX)

deb: build
	cd build && cpack -G DEB

deb-check: build
	@scripts/install-deps.sh lintian xdotool
	scripts/deb-check.sh

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

bench: deps
	@scripts/install-deps.sh libbenchmark-dev
	cmake --preset bench
	cmake --build --preset bench
	build-bench/bin/zentrivo_bench
	build-bench/bin/source_bench
	QT_QPA_PLATFORM=offscreen build-bench/bin/gui_bench 100000
	bench/compare.sh build-bench/bin/zentrivo-cli

deps-fuzz: deps
	@scripts/install-deps.sh clang libclang-rt-14-dev

fuzz: deps-fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz

fuzz-run: fuzz
	scripts/fuzz-run.sh $(FUZZ_SECONDS)

windows-test:
	@scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 googletest
	cmake --preset windows
	cmake --build --preset windows
	ctest --preset windows

tidy: build
	run-clang-tidy -p build -quiet '$(CURDIR)/(common/misc|src/[a-z]+)/[^/]+\.cpp$$' 2>&1 | \
	  { ! grep -E '^$(CURDIR)/(common|src)/.*(warning|error):'; }

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan build-bench build-fuzz build-windows
