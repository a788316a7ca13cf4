# How the Windows tests of a build are registered. They run under Wine: in a 64-bit
# Windows session of the build's own (scripts/wine-env.sh; the test presets name its
# folder), and in the 32-bit build a few also in a 32-bit Windows session
# (WINEARCH=win32). A 32-bit build's tests need a kernel that runs 32-bit programs;
# where it does not, they are still built, and each group is reported as one skipped
# test that says why: never passed, never failed.
include(GoogleTest)

set(ORVEL_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
set(ORVEL_SKIPPED_CODE 77)

set(ORVEL_WINE_SKIP_REASON "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Asked at every configure: the answer belongs to the machine, not to the build.
  execute_process(COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/runs-i686.sh
                  RESULT_VARIABLE runs OUTPUT_VARIABLE reason OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(runs EQUAL 1)
    set(ORVEL_WINE_SKIP_REASON "${reason}")
    message(STATUS "The Windows tests of this build will be reported skipped: ${reason}")
  elseif(NOT runs EQUAL 0)
    message(FATAL_ERROR "Cannot tell whether this machine runs 32-bit programs: ${reason}")
  endif()
endif()

# One test that reports the group `name` skipped, with the reason.
function(orvel_skipped_windows_tests name)
  add_test(NAME ${name}_skipped
    COMMAND bash -c "echo \"SKIPPED: ${name}: $1\"; exit ${ORVEL_SKIPPED_CODE}" -- "${ORVEL_WINE_SKIP_REASON}")
  set_tests_properties(${name}_skipped PROPERTIES SKIP_RETURN_CODE ${ORVEL_SKIPPED_CODE})
endfunction()

# gtest_discover_tests(target ...) for a Windows test program, or one skipped test
# named after `group`.
function(orvel_discover_windows_tests group target)
  if(ORVEL_WINE_SKIP_REASON)
    orvel_skipped_windows_tests(${group})
  else()
    gtest_discover_tests(${target} ${ARGN})
  endif()
endfunction()

# A test that runs Windows programs, or its skipped stand-in:
#   orvel_add_windows_test(NAME name COMMAND ... [PROPERTIES ...])
function(orvel_add_windows_test)
  cmake_parse_arguments(PARSE_ARGV 0 test "" "NAME" "COMMAND;PROPERTIES")
  if(ORVEL_WINE_SKIP_REASON)
    orvel_skipped_windows_tests(${test_NAME})
    return()
  endif()
  add_test(NAME ${test_NAME} COMMAND ${test_COMMAND})
  if(test_PROPERTIES)
    set_tests_properties(${test_NAME} PROPERTIES ${test_PROPERTIES})
  endif()
endfunction()

# The 32-bit Windows session: its folder and what a test needs in its environment to
# run there (scripts/wine-env.sh reads both).
set(ORVEL_WIN32_WINDOWS_ENVIRONMENT
    "ORVEL_WINE_ROOT=${CMAKE_BINARY_DIR}/wine-win32;ORVEL_WINE_ARCH=win32;ORVEL_TEST_WINDOWS_BITS=32")

# Runs the cases of `target` that TEST_FILTER selects in the 32-bit Windows session
# too, named "<group>.<case>" (32-bit builds only). The arguments are those of
# gtest_discover_tests, and ENVIRONMENT for more of the test's environment.
# List-valued properties cannot pass through gtest_discover_tests (it flattens
# them), so a script that CTest runs after discovery sets them.
function(orvel_discover_win32_windows_tests group target)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    return()
  endif()
  if(ORVEL_WINE_SKIP_REASON)
    orvel_skipped_windows_tests(${group})
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 2 win32 "" "" "ENVIRONMENT")
  gtest_discover_tests(${target} TEST_PREFIX "${group}." TEST_LIST orvel_${group}_tests ${win32_UNPARSED_ARGUMENTS})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${group}_test_properties.cmake)
  file(WRITE ${script} "\
if(orvel_${group}_tests)
  set_tests_properties(\${orvel_${group}_tests} PROPERTIES
    FIXTURES_REQUIRED orvel_win32_windows
    ENVIRONMENT \"${ORVEL_WIN32_WINDOWS_ENVIRONMENT};${win32_ENVIRONMENT}\")
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
