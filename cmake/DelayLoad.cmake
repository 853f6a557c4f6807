# System libraries the renamer's first paint does not need, bound on the first call of one of their
# functions instead of at load: under Wine, loading them (and what they pull in) before the window
# shows costs the start several milliseconds. Each .def in cmake/delay_load lists the functions the
# programs call; dlltool makes a delay-import library of it, which the linker takes like an import
# library. A function missing from its .def is bound at load again: ProgramStart tests check the
# renamer's import table.
add_library(korval_delay_loaded INTERFACE)
foreach(dll ole32 shell32 shlwapi)
  set(def ${CMAKE_CURRENT_LIST_DIR}/delay_load/${dll}.def)
  set(library ${CMAKE_BINARY_DIR}/delay_load/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${library}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay_load
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${library} --dllname ${dll}.dll
    DEPENDS ${def}
    COMMENT "Delay-import library of ${dll}.dll")
  add_custom_target(korval_delay_${dll} DEPENDS ${library})
  add_dependencies(korval_delay_loaded korval_delay_${dll})
  target_link_libraries(korval_delay_loaded INTERFACE ${library})
endforeach()
