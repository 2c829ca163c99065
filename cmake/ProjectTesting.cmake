# Test helpers, one call per test executable:
#   add_portable_test(name src... [LIBS lib...])  runs natively and, in the
#                                                 Windows presets, under Wine
#   add_native_test(name src... [LIBS lib...])    Linux only
#   add_windows_test(name src... [LIBS lib...])   MinGW presets only, under Wine
# In the Windows presets ctest starts every test executable through
# scripts/wine-run.sh (CMAKE_CROSSCOMPILING_EMULATOR, set by the toolchain).

if(NOT PROJECT_BUILD_TESTS)
  return()
endif()

enable_testing()
include(GoogleTest)

if(WIN32)
  # GoogleTest built from the sources Debian ships in /usr/src/googletest.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(PROJECT_GTEST_LIBS GTest::gtest GTest::gmock)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gmock ALIAS gmock)
  endif()
else()
  find_package(GTest REQUIRED)
  set(PROJECT_GTEST_LIBS GTest::gtest GTest::gmock)
endif()

# Memory the Firebird engine keeps for the life of the process is not a leak of ours.
# Thread-local storage is not scanned for roots: the embedded engine unloads
# its plugins at exit, leaving thread-local blocks of unloaded modules that
# the leak checker's exit pass crashes on. Not scanning them can only report
# more, never hide a leak.
set(PROJECT_NATIVE_TEST_ENV
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0:use_tls=0")

function(_project_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS} ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
  target_link_libraries(${name} PRIVATE project_options ${T_LIBS} ${PROJECT_GTEST_LIBS})
  target_compile_definitions(${name} PRIVATE
    PROJECT_SOURCE_DIR="${PROJECT_SOURCE_DIR}" PROJECT_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(WIN32)
    # One ctest entry per executable: each start of Wine costs about a second.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT 600 ENVIRONMENT "${PROJECT_NATIVE_TEST_ENV}")
  endif()
endfunction()

function(add_portable_test name)
  _project_test(${name} ${ARGN})
endfunction()

function(add_native_test name)
  if(NOT WIN32)
    _project_test(${name} ${ARGN})
  endif()
endfunction()

function(add_windows_test name)
  if(WIN32)
    _project_test(${name} ${ARGN})
  endif()
endfunction()
