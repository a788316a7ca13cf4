# The portable units: every source in src/ that does not use the Windows API, as one
# library for the native tests, the build tools and the host-tools build of a
# Windows build. Needs ORVEL_SOURCE_DIR (the repository root).
file(GLOB ORVEL_PORTABLE_SOURCES CONFIGURE_DEPENDS ${ORVEL_SOURCE_DIR}/src/*/*.cpp)
list(FILTER ORVEL_PORTABLE_SOURCES EXCLUDE REGEX "_win\\.cpp$")
add_library(orvel_portable STATIC ${ORVEL_PORTABLE_SOURCES})
target_include_directories(orvel_portable PUBLIC ${ORVEL_SOURCE_DIR}/src)
target_compile_features(orvel_portable PUBLIC cxx_std_20)
target_compile_options(orvel_portable PRIVATE -Wall -Wextra)
# Whatever links the sanitized rules is built and linked with the sanitizers too. For
# the fuzz targets (ORVEL_FUZZ, clang) every object also gets the fuzzer's coverage;
# the fuzzer's own main goes into the targets alone.
if(ORVEL_FUZZ)
  target_compile_options(orvel_portable PUBLIC -fsanitize=fuzzer-no-link,address,undefined
                         -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(orvel_portable PUBLIC -fsanitize=address,undefined)
elseif(ORVEL_SANITIZE)
  target_compile_options(orvel_portable PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer
                         -fno-sanitize-recover=all)
  target_link_options(orvel_portable PUBLIC -fsanitize=address,undefined)
endif()
