# The results window's heading pictures (rho max, rho med, Psi m). The program
# opens them by bare name at run time, so they stand beside the programs in the
# build tree and in the shared data directory of an installed system.
include_guard(GLOBAL)
set(veldesk_heading_pictures romax.ico romed.ico ym.ico)
set(veldesk_heading_outputs)
foreach(picture IN LISTS veldesk_heading_pictures)
  set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${picture})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_LIST_DIR}/headings/${picture} ${out}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/headings/${picture}
    COMMENT "Heading picture ${picture}")
  list(APPEND veldesk_heading_outputs ${out})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/headings/${picture} DESTINATION ${CMAKE_INSTALL_DATADIR}/veldesk)
endforeach()
add_custom_target(veldesk_headings ALL DEPENDS ${veldesk_heading_outputs})
# Whatever links the windows (the program and the widget tests) gets them too.
add_dependencies(veldesk_ui veldesk_headings)
