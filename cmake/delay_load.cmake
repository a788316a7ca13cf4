# Delay-loaded system DLLs. A quiet update shows no window, starts no program and
# asks no shell, yet loading user32, gdi32, shell32 and ole32 at start-up costs
# (under Wine) more than the update's own work. Linked through the import libraries
# made here, a DLL is loaded on the first call of one of its functions, from the
# system folder (the loader, __delayLoadHelper2, is in src/sys/system_library_win.cpp).
#
# orvel_delay_load(TARGET dll...) makes TARGET delay-load the DLLs. Their delay-import
# libraries are made once per build folder from MinGW-w64's import libraries (every
# function they import) with dlltool, under the import libraries' own names in a
# folder that the linker searches first: so they also serve the libraries that the
# compiler driver adds, and link-time optimisation, which links its output against
# those.
function(orvel_delay_load target)
  set(folder ${CMAKE_BINARY_DIR}/delay-load)
  file(MAKE_DIRECTORY ${folder})
  foreach(dll ${ARGN})
    set(library ${folder}/lib${dll}.a)
    if(NOT EXISTS ${library})
      find_library(ORVEL_IMPORT_LIBRARY_${dll} ${dll} REQUIRED)
      execute_process(COMMAND ${CMAKE_NM} ${ORVEL_IMPORT_LIBRARY_${dll}}
                      OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      # "__imp_Name" (x86_64) or "__imp__Name@4" (i686, whose names keep their
      # argument size and lose the leading underscore).
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(prefix " I __imp__")
        set(kill_at --kill-at)
      else()
        set(prefix " I __imp_")
        set(kill_at "")
      endif()
      string(REGEX MATCHALL "${prefix}[^\n]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE "^${prefix}" "")
      list(REMOVE_DUPLICATES imports)
      list(JOIN imports "\n" exports)
      file(WRITE ${folder}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
      execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${folder}/${dll}.def --dllname ${dll}.dll
                              --output-delaylib ${library} ${kill_at}
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endforeach()
  target_link_options(${target} PRIVATE -L${folder})
endfunction()
