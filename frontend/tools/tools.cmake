# The help document velpra.pdf, made from docs/manual.md at every build by a
# small Qt tool and placed beside the programs, where the about window finds it.

add_executable(mkhelp ${CMAKE_CURRENT_LIST_DIR}/mkhelp.cpp)
target_link_libraries(mkhelp PRIVATE Qt6::Gui)
# A build tool, not part of the delivered system: keep it out of bin/.
set_target_properties(mkhelp PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

cmake_path(SET veldesk_manual NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../../docs/manual.md)
set(veldesk_help_pdf ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/velpra.pdf)

add_custom_command(
  OUTPUT ${veldesk_help_pdf}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:mkhelp> ${veldesk_manual} ${veldesk_help_pdf}
  DEPENDS mkhelp ${veldesk_manual}
  COMMENT "Rendering the user manual into velpra.pdf"
  VERBATIM)
add_custom_target(veldesk_help ALL DEPENDS ${veldesk_help_pdf})
add_dependencies(veldesk veldesk_help)

install(FILES ${veldesk_help_pdf} DESTINATION ${CMAKE_INSTALL_DATADIR}/veldesk)

# The widget tests are declared after this file; the one that checks the help
# document needs it built first.
cmake_language(DEFER CALL cmake_language EVAL CODE [[
  if(TARGET veldesk_test_shipped_files)
    add_dependencies(veldesk_test_shipped_files veldesk_help)
  endif()
]])
