# The tests of every library are registered through these helpers, so each
# library's tests/ folder lists its sources and nothing else.
#
#   zentrivo_add_gtest(NAME SOURCES ... LIBS ...)  a GoogleTest program, one CTest
#       test per test case (one run of the whole program when cross-compiled:
#       each start of an emulated program is slow)
#   zentrivo_add_qtest(NAME CLASSES ... SOURCES ... LIBS ...)  a Qt Test program,
#       one CTest test per test class, headless
if(CMAKE_CROSSCOMPILING)
  # GoogleTest built from Debian's sources for the target.
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

function(zentrivo_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zentrivo_test_support GTest::gtest
                                        GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 120)
  endif()
endfunction()

function(zentrivo_add_qtest name)
  cmake_parse_arguments(ARG "" "" "CLASSES;SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zentrivo_test_support Qt6::Test)
  foreach(test_class ${ARG_CLASSES})
    add_test(NAME Gui.${test_class} COMMAND ${name} ${test_class})
    set_tests_properties(Gui.${test_class} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endforeach()
endfunction()
