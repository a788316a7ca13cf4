# Windows build: the installer (OrvelUpdate.exe), and the Windows tests and test tools
# that run under Wine.
enable_language(RC)
include(ExternalProject)

# Sized for the 64 KiB the installer may add to its package: no exceptions or RTTI,
# little inlining, unused sections dropped.
set(ORVEL_PRODUCT_FLAGS -Os -finline-limit=8 -fno-exceptions -fno-rtti -fno-threadsafe-statics -ffunction-sections -fdata-sections
    -Wall -Wextra)
# The same sources give the same sealed installer, byte for byte, wherever they and
# the build folder lie (scripts/release.sh builds twice and compares): no source or
# build path in what the compiler writes (__FILE__ and the like), and no link time stamp.
list(APPEND ORVEL_PRODUCT_FLAGS -ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
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
# What every Windows program of this build takes: the Windows 7 API, and (as
# everything runs from a bare Wine prefix) no MinGW runtime DLLs beside the program.
add_library(orvel_windows INTERFACE)
target_compile_definitions(orvel_windows INTERFACE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
target_link_options(orvel_windows INTERFACE -static)

# Build tools run on the build machine, so they are built with the host compiler.
ExternalProject_Add(orvel_host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
  BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=
             -DCMAKE_CXX_COMPILER=c++ -DCMAKE_C_COMPILER=cc
             -DORVEL_SOURCE_DIR=${CMAKE_SOURCE_DIR}
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host-tools/orvel_package ${CMAKE_BINARY_DIR}/host-tools/seal/orvel_seal)
# The host tools are rebuilt when their sources or the portable units change, and
# only then.
file(GLOB_RECURSE ORVEL_HOST_TOOL_INPUTS CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/tools/* ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER ORVEL_HOST_TOOL_INPUTS EXCLUDE REGEX "_win\\.(h|cpp)$")
ExternalProject_Add_StepDependencies(orvel_host_tools build ${ORVEL_HOST_TOOL_INPUTS}
                                     ${CMAKE_SOURCE_DIR}/cmake/portable.cmake)
set(ORVEL_PACKAGE_TOOL ${CMAKE_BINARY_DIR}/host-tools/orvel_package)

# Stops the configure with `message`, and drops the rejected settings from the
# cache: kept, they would fail every later configure of this build folder too.
function(orvel_reject_settings message)
  foreach(setting ${ARGN})
    unset(${setting} CACHE)
  endforeach()
  list(JOIN ARGN ", " settings)
  message(FATAL_ERROR "${message}\nThe build folder has forgotten ${settings}: give corrected values again.")
endfunction()

# The installer's file version, shown in its properties and written to its log: the
# package version, then the vendor's build number (e.g. 6.0.0.0).
if(NOT ORVEL_BUILD_NUMBER MATCHES "^[0-9]+$" OR ORVEL_BUILD_NUMBER GREATER 65535)
  orvel_reject_settings("ORVEL_BUILD_NUMBER must be a number from 0 to 65535, not '${ORVEL_BUILD_NUMBER}'"
                        ORVEL_BUILD_NUMBER)
endif()
if(NOT ORVEL_PACKAGE_VERSION MATCHES "^[0-9]+$" OR ORVEL_PACKAGE_VERSION GREATER 255)
  orvel_reject_settings("ORVEL_PACKAGE_VERSION must be a byte (0 to 255), not '${ORVEL_PACKAGE_VERSION}'"
                        ORVEL_PACKAGE_VERSION)
endif()
if(NOT ORVEL_PACKAGE_FILE_NAME MATCHES "^[A-Za-z0-9_]+\\.[A-Za-z0-9_]+$")
  orvel_reject_settings("ORVEL_PACKAGE_FILE_NAME must be NAME.EXTENSION of letters, digits and _, not '${ORVEL_PACKAGE_FILE_NAME}'"
                        ORVEL_PACKAGE_FILE_NAME)
endif()

# A vendor's package is checked now, so that a wrong file stops the configure with
# the package check's own message instead of a build that fails half-way. The check
# (tools/orvel_package.cpp, the very tool the build runs again whenever the file
# changes) is compiled here with the host compiler from its two sources.
if(ORVEL_PACKAGE)
  set(check_dir ${CMAKE_BINARY_DIR}/package-check)
  set(check_tool ${check_dir}/orvel_package)
  set(check_sources ${CMAKE_SOURCE_DIR}/tools/orvel_package.cpp ${CMAKE_SOURCE_DIR}/src/install/package_header.cpp)
  file(MAKE_DIRECTORY ${check_dir})
  foreach(source ${check_sources} ${CMAKE_SOURCE_DIR}/src/install/package_header.h)
    if(NOT EXISTS ${check_tool} OR ${source} IS_NEWER_THAN ${check_tool})
      execute_process(COMMAND c++ -std=c++20 -O1 -I ${CMAKE_SOURCE_DIR}/src ${check_sources} -o ${check_tool}
                      RESULT_VARIABLE failed ERROR_VARIABLE output)
      if(failed)
        message(FATAL_ERROR "Cannot compile the package check (c++):\n${output}")
      endif()
      break()
    endif()
  endforeach()
  execute_process(COMMAND ${check_tool} check ${ORVEL_PACKAGE} ${ORVEL_PACKAGE_VERSION}
                          ${check_dir}/${ORVEL_PACKAGE_FILE_NAME}
                  RESULT_VARIABLE rejected ERROR_VARIABLE problem)
  file(REMOVE ${check_dir}/${ORVEL_PACKAGE_FILE_NAME})
  if(rejected)
    string(STRIP "${problem}" problem)
    orvel_reject_settings("${problem}" ORVEL_PACKAGE ORVEL_PACKAGE_VERSION)
  endif()
endif()
set(ORVEL_VERSION_TEXT "${ORVEL_PACKAGE_VERSION}.0.0.${ORVEL_BUILD_NUMBER}")
configure_file(${CMAKE_SOURCE_DIR}/src/app/installer_version.h.in
               ${CMAKE_BINARY_DIR}/generated/installer_version.h @ONLY)

# All product units but the entry: shared by the installer and the Windows tests, so
# that the tests exercise the very objects that ship.
file(GLOB ORVEL_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/*.cpp)
set(ORVEL_ENTRY_SOURCES
    ${CMAKE_SOURCE_DIR}/src/app/entry_win.cpp
    ${CMAKE_SOURCE_DIR}/src/app/runtime_shim_win.cpp)
list(REMOVE_ITEM ORVEL_CORE_SOURCES ${ORVEL_ENTRY_SOURCES})
add_library(orvel_core STATIC ${ORVEL_CORE_SOURCES})
target_include_directories(orvel_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
target_compile_options(orvel_core PRIVATE ${ORVEL_PRODUCT_FLAGS})
# version.dll, comctl32.dll, bcrypt.dll and oleaut32.dll are not loaded at start-up: they are
# loaded from the system folder on first use, so that a planted copy beside the installer is
# ignored. The installers delay-load user32, gdi32, shell32 and ole32, from the system
# folder too (orvel_add_installer).
target_link_libraries(orvel_core PUBLIC orvel_windows shell32 user32 gdi32 advapi32 ole32)
# Link-time optimisation trims about a fifth of the installer's own code.
set_property(TARGET orvel_core PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
# In one link-time partition: MinGW's GCC 12 stops with an internal error
# (binds_to_current_def_p) on some calls from one partition into another, which the
# larger test programs have.
target_link_options(orvel_core INTERFACE -flto-partition=one)

if(ORVEL_BUILD_TESTS)
  include(cmake/wine_tests.cmake)
endif()
include(cmake/seal.cmake)
include(cmake/delay_load.cmake)

# orvel_add_installer(TARGET DIR dir VERSION v FILE_NAME name KEY key [PACKAGE file])
# One installer for one package: the package (PACKAGE, else a generated sample of
# version VERSION) is staged as DIR/FILE_NAME, checked against VERSION, and
# DIR/package_identity.h tells the entry and the resource script the package's
# version, file name and text key. The installer is linked from orvel_core and sealed.
function(orvel_add_installer target)
  cmake_parse_arguments(ARG "" "DIR;VERSION;FILE_NAME;KEY;PACKAGE" "" ${ARGN})
  if(NOT ARG_VERSION MATCHES "^[0-9]+$" OR ARG_VERSION GREATER 255)
    message(FATAL_ERROR "The package version must be a byte (0 to 255), not \"${ARG_VERSION}\"")
  endif()
  # Letters, digits and "_" only, so that the name also serves as a resource name.
  if(NOT ARG_FILE_NAME MATCHES "^([A-Za-z0-9_]+)\\.([A-Za-z0-9_]+)$")
    message(FATAL_ERROR "The package file name \"${ARG_FILE_NAME}\" must be NAME.EXTENSION of letters, digits and _")
  endif()
  set(stem ${CMAKE_MATCH_1})
  set(extension ${CMAKE_MATCH_2})

  set(staged ${ARG_DIR}/${ARG_FILE_NAME})
  file(MAKE_DIRECTORY ${ARG_DIR})
  if(ARG_PACKAGE)
    add_custom_command(OUTPUT ${staged}
      COMMAND ${ORVEL_PACKAGE_TOOL} check ${ARG_PACKAGE} ${ARG_VERSION} ${staged}
      DEPENDS ${ARG_PACKAGE} orvel_host_tools
      COMMENT "Checking the package ${ARG_PACKAGE}")
  else()
    add_custom_command(OUTPUT ${staged}
      COMMAND ${ORVEL_PACKAGE_TOOL} sample ${staged} ${ARG_VERSION}
      DEPENDS orvel_host_tools
      COMMENT "Generating a sample package of version ${ARG_VERSION}")
  endif()
  add_custom_target(${target}_package DEPENDS ${staged})

  set(ORVEL_IDENTITY_KEY ${ARG_KEY})
  set(ORVEL_IDENTITY_FILE_NAME ${ARG_FILE_NAME})
  set(ORVEL_IDENTITY_VERSION ${ARG_VERSION})
  string(TOUPPER ${stem} ORVEL_IDENTITY_RESOURCE_NAME)
  string(TOUPPER ${extension} ORVEL_IDENTITY_RESOURCE_TYPE)
  configure_file(${CMAKE_SOURCE_DIR}/src/app/package_identity.h.in ${ARG_DIR}/package_identity.h @ONLY)
  # A copy of the resource script beside the package, so each installer's resources
  # depend on its own package only.
  set(rc ${ARG_DIR}/orvel_update.rc)
  configure_file(${CMAKE_SOURCE_DIR}/src/app/orvel_update.rc ${rc} COPYONLY)
  set_source_files_properties(${rc} PROPERTIES
    OBJECT_DEPENDS "${staged};${CMAKE_SOURCE_DIR}/src/app/orvel_update.manifest;${CMAKE_SOURCE_DIR}/src/app/orvel_update.ico;${CMAKE_BINARY_DIR}/generated/installer_version.h")
  add_executable(${target} WIN32 ${ORVEL_ENTRY_SOURCES} ${rc})
  target_include_directories(${target} PRIVATE ${ARG_DIR} ${CMAKE_SOURCE_DIR}/src/app)
  target_compile_options(${target} PRIVATE ${ORVEL_PRODUCT_FLAGS})
  target_link_options(${target} PRIVATE ${ORVEL_PRODUCT_LINK})
  target_link_libraries(${target} PRIVATE orvel_core)
  set_property(TARGET ${target} PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
  add_dependencies(${target} ${target}_package)
  orvel_delay_load(${target} user32 gdi32 shell32 ole32)
  orvel_seal_installer(${target})
endfunction()

# The installer: the package named by ORVEL_PACKAGE*, always staged in package/.
set(ORVEL_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(ORVEL_STAGED_PACKAGE ${ORVEL_PACKAGE_DIR}/${ORVEL_PACKAGE_FILE_NAME})
orvel_add_installer(OrvelUpdate DIR ${ORVEL_PACKAGE_DIR} VERSION ${ORVEL_PACKAGE_VERSION}
  FILE_NAME ${ORVEL_PACKAGE_FILE_NAME} KEY ${ORVEL_PACKAGE_KEY} PACKAGE "${ORVEL_PACKAGE}")

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
# And the sources it is built from: every src/ folder includes only folders below it.
add_test(NAME layer_order COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-layers.sh ${CMAKE_SOURCE_DIR}/src)

if(ORVEL_BUILD_TESTS)
  add_subdirectory(bench)
  add_subdirectory(testtools)
  add_subdirectory(tests/win)
  add_subdirectory(tests/e2e)
endif()
