# Host build: the portable rules as a library, the build tools, the native tests and
# the portable benchmarks; or, with ORVEL_FUZZ (clang), the portable rules and the
# fuzz targets alone.
include(cmake/portable.cmake)

if(ORVEL_FUZZ)
  add_subdirectory(tests/fuzz)
  return()
endif()

add_subdirectory(tools)
if(ORVEL_BUILD_TESTS)
  add_subdirectory(tests/native)
endif()
add_subdirectory(bench)
