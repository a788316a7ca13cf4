# Windows build: the installer (OrvelUpdate.exe), and the Windows tests and test tools
# that run under Wine.
enable_language(RC)
include(ExternalProject)

add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
# Sized for the 64 KiB the installer may add to its package: no exceptions or RTTI,
# little inlining, unused sections dropped.
set(ORVEL_PRODUCT_FLAGS -Os -finline-limit=8 -fno-exceptions -fno-rtti -fno-threadsafe-statics -ffunction-sections -fdata-sections
    -Wall -Wextra)
# No link time stamp: the same sources give the same sealed installer, byte for byte.
set(ORVEL_PRODUCT_LINK -static -s -Wl,--gc-sections -Wl,--dynamicbase -Wl,--nxcompat
    -Wl,--no-insert-timestamp)
# The installer starts at its own entry (runtime_shim_win.cpp), without the C runtime's
# start-up code. Nothing in it imports data from a DLL, so the run-time relocation
# that start-up code would do is never needed: --disable-auto-import makes a link
# that would need it fail instead.
#
# The C string functions that the C++ library's character traits call (memcpy and
# the like) come from msvcrt.dll. Link-time optimisation names them only in the code
# it generates, and without the start-up code nothing names them earlier; binutils
# 2.40 then crashes while it writes the base relocations, as it brings in these
# imports on its second pass. Naming them to the linker up front avoids that.
list(APPEND ORVEL_PRODUCT_LINK -nostartfiles -Wl,--disable-auto-import)
set(ORVEL_SYMBOL_PREFIX "")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  list(APPEND ORVEL_PRODUCT_LINK -Wl,--high-entropy-va)
else()
  set(ORVEL_SYMBOL_PREFIX _)
  list(APPEND ORVEL_PRODUCT_LINK -Wl,--large-address-aware)
  # Without exceptions, 32-bit unwind tables serve nothing but a debugger.
  list(APPEND ORVEL_PRODUCT_FLAGS -fno-asynchronous-unwind-tables -fno-unwind-tables)
  # No frame pointers and no stack realignment: the code keeps no 16-byte data on
  # the stack, and 32-bit Windows promises only 4-byte alignment anyway.
  set(ORVEL_I686_CODE_FLAGS -fomit-frame-pointer -mpreferred-stack-boundary=2)
  list(APPEND ORVEL_PRODUCT_FLAGS ${ORVEL_I686_CODE_FLAGS})
  list(APPEND ORVEL_PRODUCT_LINK ${ORVEL_I686_CODE_FLAGS})
endif()
list(APPEND ORVEL_PRODUCT_LINK -Wl,-e,${ORVEL_SYMBOL_PREFIX}OrvelStart)
foreach(function memcpy memmove memset memcmp memchr strlen)
  list(APPEND ORVEL_PRODUCT_LINK -Wl,--undefined=${ORVEL_SYMBOL_PREFIX}${function})
endforeach()
# Everything runs from a bare Wine prefix: no MinGW runtime DLLs beside the programs.
add_link_options(-static)

# Build tools run on the build machine, so they are built with the host compiler.
ExternalProject_Add(orvel_host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
  BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=
             -DCMAKE_CXX_COMPILER=c++ -DCMAKE_C_COMPILER=cc
             -DORVEL_SOURCE_DIR=${CMAKE_SOURCE_DIR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host-tools/orvel_package ${CMAKE_BINARY_DIR}/host-tools/seal/orvel_seal)
set(ORVEL_PACKAGE_TOOL ${CMAKE_BINARY_DIR}/host-tools/orvel_package)

# The package to embed, always staged as package/vexa.3bs (the resource script names
# it by its bare file name). The tool stops the build when its header is wrong.
set(ORVEL_STAGED_PACKAGE ${CMAKE_BINARY_DIR}/package/vexa.3bs)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
if(ORVEL_PACKAGE)
  add_custom_command(OUTPUT ${ORVEL_STAGED_PACKAGE}
    COMMAND ${ORVEL_PACKAGE_TOOL} check ${ORVEL_PACKAGE} ${ORVEL_PACKAGE_VERSION} ${ORVEL_STAGED_PACKAGE}
    DEPENDS ${ORVEL_PACKAGE} orvel_host_tools
    COMMENT "Checking the package ${ORVEL_PACKAGE}")
else()
  add_custom_command(OUTPUT ${ORVEL_STAGED_PACKAGE}
    COMMAND ${ORVEL_PACKAGE_TOOL} sample ${ORVEL_STAGED_PACKAGE} ${ORVEL_PACKAGE_VERSION}
    DEPENDS orvel_host_tools
    COMMENT "Generating the sample package")
endif()
add_custom_target(orvel_package_file DEPENDS ${ORVEL_STAGED_PACKAGE})

# The installer's file version, shown in its properties and written to its log: the
# package version, then the vendor's build number (e.g. 6.0.0.0).
foreach(part ORVEL_PACKAGE_VERSION ORVEL_BUILD_NUMBER)
  if(NOT ${part} MATCHES "^[0-9]+$" OR ${part} GREATER 65535)
    message(FATAL_ERROR "${part} must be a number from 0 to 65535, not '${${part}}'")
  endif()
endforeach()
set(ORVEL_VERSION_TEXT "${ORVEL_PACKAGE_VERSION}.0.0.${ORVEL_BUILD_NUMBER}")
configure_file(${CMAKE_SOURCE_DIR}/src/app/installer_version.h.in
               ${CMAKE_BINARY_DIR}/generated/installer_version.h @ONLY)

# All product units but the entry: shared by the installer and the Windows tests, so
# that the tests exercise the very objects that ship.
add_library(orvel_core STATIC ${ORVEL_SOURCES})
target_include_directories(orvel_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
target_compile_options(orvel_core PRIVATE ${ORVEL_PRODUCT_FLAGS})
# version.dll, comctl32.dll, bcrypt.dll and oleaut32.dll are not loaded at start-up: they are
# loaded from the system folder on first use, so that a planted copy beside the installer is
# ignored. The installer delay-loads user32, gdi32, shell32 and ole32, from the system
# folder too (below).
target_link_libraries(orvel_core PUBLIC shell32 user32 gdi32 advapi32 ole32)

set(ORVEL_RC ${CMAKE_SOURCE_DIR}/src/app/orvel_update.rc)
set_source_files_properties(${ORVEL_RC} PROPERTIES
  OBJECT_DEPENDS "${ORVEL_STAGED_PACKAGE};${CMAKE_SOURCE_DIR}/src/app/orvel_update.manifest;${CMAKE_SOURCE_DIR}/src/app/orvel_update.ico;${CMAKE_BINARY_DIR}/generated/installer_version.h")
add_executable(OrvelUpdate WIN32 ${ORVEL_ENTRY_SOURCES} ${ORVEL_RC})
target_include_directories(OrvelUpdate PRIVATE ${CMAKE_BINARY_DIR}/package ${CMAKE_SOURCE_DIR}/src/app)
target_compile_options(OrvelUpdate PRIVATE ${ORVEL_PRODUCT_FLAGS})
target_link_options(OrvelUpdate PRIVATE ${ORVEL_PRODUCT_LINK})
target_link_libraries(OrvelUpdate PRIVATE orvel_core)
add_dependencies(OrvelUpdate orvel_package_file)
include(cmake/delay_load.cmake)
orvel_delay_load(OrvelUpdate user32 gdi32 shell32 ole32)
# Link-time optimisation trims about a fifth of the installer's own code.
set_property(TARGET orvel_core OrvelUpdate PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)

# The installer's units as test programs and benchmarks link them. i686 GCC puts the
# inline functions of link-time-optimised objects in another kind of COMDAT section
# than those of ordinary objects, and ld then reports each of them twice; they are
# the same code, so the first is taken. (The x86_64 build still reports real
# duplicates.)
add_library(orvel_core_for_tests INTERFACE)
target_link_libraries(orvel_core_for_tests INTERFACE orvel_core)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(orvel_core_for_tests INTERFACE -Wl,--allow-multiple-definition)
endif()

# What every build of the installer must be, checked on the file itself.
enable_testing()
add_test(NAME product_checks
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-product.sh $<TARGET_FILE:OrvelUpdate>
          ${ORVEL_STAGED_PACKAGE} ${CMAKE_OBJDUMP} ${ORVEL_VERSION_TEXT})

if(ORVEL_BUILD_TESTS)
  include(cmake/wine_tests.cmake)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/seal.cmake)
  include(cmake/seal.cmake)
endif()

if(ORVEL_BUILD_TESTS)
  add_subdirectory(bench)
  add_subdirectory(testtools)
  add_subdirectory(tests/win)
  add_subdirectory(tests/e2e)
endif()
