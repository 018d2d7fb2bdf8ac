# GoogleTest and the registration of test programs with ctest.
#
# A native build uses Debian's libgtest-dev and registers each test case. A cross build for
# Windows compiles GoogleTest from Debian's sources (/usr/src/googletest, package googletest)
# with the cross compiler, and runs each test program under Wine in a few shards (gtest's own
# sharding): a Wine process start costs far more than a test, so one process per test case
# would be slow. The Wine prefix lives in the build folder and is made by a setup test that
# ctest runs before the shards (kegverter_wine_start).
if(CMAKE_CROSSCOMPILING)
  set(KEGVERTER_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${KEGVERTER_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Like the suites' own code (tests/CMakeLists.txt), GoogleTest is built for compile speed.
  target_compile_options(gtest PRIVATE -O0)
  target_compile_options(gtest_main PRIVATE -O0)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
  set(KEGVERTER_TEST_SHARDS 6 CACHE STRING "Shards of each test program under an emulator")
  set(KEGVERTER_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix of the tests")
  set(KEGVERTER_WINE_ENVIRONMENT
    WINEPREFIX=${KEGVERTER_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# kegverter_add_gtest(TARGET): every test of a GoogleTest program as ctest tests.
function(kegverter_add_gtest target)
  set_property(GLOBAL APPEND PROPERTY KEGVERTER_TEST_PROGRAMS ${target})
  if(NOT CMAKE_CROSSCOMPILING)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
    return()
  endif()
  if(NOT TEST kegverter_wine_start)
    # Wine's server and its service processes outlive the program that started them and keep
    # its standard output open, so ctest would wait for them forever. They are started here,
    # detached from ctest's pipes: a server that stays up while the tests run, and the prefix
    # made (or brought up) once before the shards run in parallel. The last test stops them.
    add_test(NAME kegverter_wine_start COMMAND sh -c
      "\"$1\" -p60 </dev/null >/dev/null 2>&1; \"$2\" wineboot --init </dev/null >/dev/null 2>&1"
      sh ${KEGVERTER_WINESERVER} ${CMAKE_CROSSCOMPILING_EMULATOR})
    add_test(NAME kegverter_wine_stop COMMAND ${KEGVERTER_WINESERVER} -k)
    set_tests_properties(kegverter_wine_start PROPERTIES
      ENVIRONMENT "${KEGVERTER_WINE_ENVIRONMENT}" FIXTURES_SETUP kegverter_wine TIMEOUT 300)
    set_tests_properties(kegverter_wine_stop PROPERTIES
      ENVIRONMENT "${KEGVERTER_WINE_ENVIRONMENT}" FIXTURES_CLEANUP kegverter_wine)
  endif()
  math(EXPR last "${KEGVERTER_TEST_SHARDS} - 1")
  foreach(shard RANGE ${last})
    add_test(NAME ${target}_shard_${shard} COMMAND ${target})
    set_tests_properties(${target}_shard_${shard} PROPERTIES
      ENVIRONMENT "${KEGVERTER_WINE_ENVIRONMENT};GTEST_TOTAL_SHARDS=${KEGVERTER_TEST_SHARDS};GTEST_SHARD_INDEX=${shard}"
      FIXTURES_REQUIRED kegverter_wine TIMEOUT 900)
  endforeach()
endfunction()
