# The installer's seal: after every link of an installer the host tool orvel_seal
# (tools/seal) writes the digest into the slot, so each build (win64 and win32) gives
# a sealed file. An unsealed file fails the installer's own integrity check.
set(ORVEL_SEAL_TOOL ${CMAKE_BINARY_DIR}/host-tools/seal/orvel_seal)

# No code refers to the slot (the check reads it from the file): name it to the
# linker, so that its object is taken from orvel_core and --gc-sections keeps it.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(ORVEL_SEAL_SLOT_SYMBOL _OrvelSealSlot)
else()
  set(ORVEL_SEAL_SLOT_SYMBOL OrvelSealSlot)
endif()

# Seals the installer `target` after every link.
function(orvel_seal_installer target)
  target_link_options(${target} PRIVATE -Wl,--undefined=${ORVEL_SEAL_SLOT_SYMBOL})
  add_dependencies(${target} orvel_host_tools)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${ORVEL_SEAL_TOOL} seal $<TARGET_FILE:${target}>
    COMMENT "Sealing ${target}"
    VERBATIM)
endfunction()

if(ORVEL_BUILD_TESTS)
  # A console program that runs the installer's check on the files it is given, for
  # the script tests below: exit 0 intact, 1 altered, 2 cannot be checked.
  add_executable(orvel_integrity_checker ${CMAKE_SOURCE_DIR}/tests/win/integrity_checker.cpp)
  target_link_libraries(orvel_integrity_checker PRIVATE orvel_core_for_tests)

  add_test(NAME IntegritySealTool
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/integrity_seal_tool_test.sh
            ${ORVEL_SEAL_TOOL} $<TARGET_FILE:OrvelUpdate> $<TARGET_FILE:orvel_integrity_checker>)
  set_tests_properties(IntegritySealTool PROPERTIES TIMEOUT 300)
  # Skipped (not passed) where osslsigncode or openssl is missing.
  orvel_add_windows_test(NAME IntegritySigning
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/integrity_signing_test.sh
            ${ORVEL_WINE_RUN} $<TARGET_FILE:orvel_integrity_checker> $<TARGET_FILE:OrvelUpdate>
    PROPERTIES SKIP_RETURN_CODE ${ORVEL_SKIPPED_CODE} TIMEOUT 300)
endif()
