# Host build: the portable rules as a library, the build tools, the native tests and
# the portable benchmarks.
include(cmake/portable.cmake)

add_subdirectory(tools)
if(ORVEL_BUILD_TESTS)
  add_subdirectory(tests/native)
endif()
add_subdirectory(bench)
