# Button pictures compiled into the front end, and what an installed system
# needs besides the programs: the desktop entry, the application icon and the
# example data sets.

set(veldesk_icon_names help open save clear copy paste evaluate exit
    data_clipboard image_clipboard ok app)
set(veldesk_icon_files)
foreach(name IN LISTS veldesk_icon_names)
  list(APPEND veldesk_icon_files ${CMAKE_CURRENT_LIST_DIR}/icons/${name}.png)
endforeach()
list(APPEND veldesk_icon_files ${CMAKE_CURRENT_LIST_DIR}/icons/app_256.png)

# ":/icons/<name>.png" in the program and in every widget test linked to the
# library: for a static library Qt links the resource objects to the users.
qt_add_resources(veldesk_ui "icons"
  PREFIX "/icons"
  BASE ${CMAKE_CURRENT_LIST_DIR}/icons
  FILES ${veldesk_icon_files})

# Installed layout: both programs in bin/, the documents and examples in
# share/veldesk/, where the front end also looks for its run-time files.
install(TARGETS veldesk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The desktop menu entry, its icon and the ".pd" type are for freedesktop.org
# desktops; on Windows the icon is in the program and the installer makes the
# menu entries and the file association.
if(NOT WIN32)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/veldesk.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/app_256.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME veldesk.png)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/app.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME veldesk.png)
  # ".pd" files as a type of their own, opened by VELDESK (the desktop entry's
  # MimeType= names the same type).
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/veldesk-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME veldesk.xml)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veldesk)
file(GLOB veldesk_examples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.pd)
install(FILES ${veldesk_examples} DESTINATION ${CMAKE_INSTALL_DATADIR}/veldesk/examples)

# The desktop entry must pass the freedesktop.org validator; the test is
# skipped where the validator is not installed.
if(BUILD_TESTING)
  add_test(NAME veldesk.desktop_file
    COMMAND sh -c "command -v desktop-file-validate >/dev/null 2>&1 || exit 77; desktop-file-validate \"$0\""
            ${CMAKE_CURRENT_LIST_DIR}/veldesk.desktop)
  set_tests_properties(veldesk.desktop_file PROPERTIES SKIP_RETURN_CODE 77)
endif()
