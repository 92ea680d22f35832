# What `cmake --install` puts where, in the standard folders: the executable,
# the launcher entry, the AppStream description and the icon in the hicolor
# theme, all named after the program's desktop ID; and the documentation page
# the main window's link opens.

include(GNUInstallDirs)

install(TARGETS reelbox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/doc/index.html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/reelbox)
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/${REELBOX_DESKTOP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/desktop/${REELBOX_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/reelbox.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${REELBOX_DESKTOP_ID}.svg)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/reelbox-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${REELBOX_DESKTOP_ID}.png)
endforeach()
