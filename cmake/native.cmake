# Host build: the portable rules as a library, the build tools, and the native tests;
# or, with ORVEL_FUZZ (clang), the portable rules and the fuzz targets alone.
if(ORVEL_FUZZ)
  # Coverage for the fuzzer in every object; the fuzzer's own main only in the targets.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
elseif(ORVEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
add_compile_options(-Wall -Wextra)

add_library(orvel_portable STATIC ${ORVEL_PORTABLE_SOURCES})
target_include_directories(orvel_portable PUBLIC ${CMAKE_SOURCE_DIR}/src)

if(ORVEL_FUZZ)
  add_subdirectory(tests/fuzz)
  return()
endif()

add_subdirectory(tools)
if(ORVEL_BUILD_TESTS)
  add_subdirectory(tests/native)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
