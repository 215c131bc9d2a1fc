# The help document velpra.pdf, made from docs/manual.md at every build by a
# small Qt tool and placed beside the programs, where the about window finds it.

# When cross-compiling (the Windows build), the tool must run on the build
# machine: name a native mkhelp with -DVELDESK_HOST_MKHELP=<path>.
if(CMAKE_CROSSCOMPILING)
  if(NOT VELDESK_HOST_MKHELP OR NOT EXISTS "${VELDESK_HOST_MKHELP}")
    message(FATAL_ERROR "Cross-compiling: set VELDESK_HOST_MKHELP to a mkhelp built for this machine "
                        "(cmake --build build --target mkhelp)")
  endif()
  set(veldesk_mkhelp ${VELDESK_HOST_MKHELP})
  set(veldesk_mkhelp_dep ${VELDESK_HOST_MKHELP})
else()
  add_executable(mkhelp ${CMAKE_CURRENT_LIST_DIR}/mkhelp.cpp)
  target_link_libraries(mkhelp PRIVATE Qt6::Gui)
  # A build tool, not part of the delivered system: keep it out of bin/.
  set_target_properties(mkhelp PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(veldesk_mkhelp $<TARGET_FILE:mkhelp>)
  set(veldesk_mkhelp_dep mkhelp)
endif()

cmake_path(SET veldesk_manual NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../../docs/manual.md)
set(veldesk_help_pdf ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/velpra.pdf)

add_custom_command(
  OUTPUT ${veldesk_help_pdf}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          ${veldesk_mkhelp} ${veldesk_manual} ${veldesk_help_pdf}
  DEPENDS ${veldesk_mkhelp_dep} ${veldesk_manual}
  COMMENT "Rendering the user manual into velpra.pdf"
  VERBATIM)
add_custom_target(veldesk_help ALL DEPENDS ${veldesk_help_pdf})
# Whatever links the windows (the program and the widget tests, the about
# window's among them) gets it too.
add_dependencies(veldesk_ui veldesk_help)

install(FILES ${veldesk_help_pdf} DESTINATION ${CMAKE_INSTALL_DATADIR}/veldesk)
