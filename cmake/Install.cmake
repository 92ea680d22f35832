# What `cmake --install` puts where, in the standard folders: the executable,
# the launcher entry, the AppStream description and the icon in the hicolor
# theme, all named after the program's desktop ID; the documentation page the
# main window's link opens; the manual page, the changelog and the copyright.

include(GNUInstallDirs)

install(TARGETS reelbox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS reelbox-opengl-probe RUNTIME DESTINATION ${REELBOX_OPENGL_PROBE_DIR})
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

# The manual page, and the Debian changelog and copyright in the documentation
# folder. The page and the changelog carry the version and its release date
# (from the AppStream description's release of this version) and are
# compressed as Debian wants them: gzip -9n, without name or time stamp.
file(STRINGS ${PROJECT_SOURCE_DIR}/assets/desktop/${REELBOX_DESKTOP_ID}.metainfo.xml release
     REGEX "<release version=\"${PROJECT_VERSION}\" date=\"[0-9-]+\"")
if(NOT release MATCHES "date=\"([0-9-]+)\"")
  message(FATAL_ERROR "The AppStream description names no release ${PROJECT_VERSION}")
endif()
set(REELBOX_RELEASE_DATE ${CMAKE_MATCH_1})
execute_process(COMMAND env LC_ALL=C date -u -R -d ${REELBOX_RELEASE_DATE}
                OUTPUT_VARIABLE REELBOX_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(documents ${PROJECT_BINARY_DIR}/documents)
configure_file(${PROJECT_SOURCE_DIR}/assets/doc/reelbox.1.in ${documents}/reelbox.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${documents}/changelog @ONLY)
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${documents}/reelbox.1.gz ${documents}/changelog.gz
                   COMMAND ${GZIP} -9nkf reelbox.1 changelog
                   DEPENDS ${documents}/reelbox.1 ${documents}/changelog
                   WORKING_DIRECTORY ${documents})
add_custom_target(reelbox_documents ALL DEPENDS ${documents}/reelbox.1.gz ${documents}/changelog.gz)
install(FILES ${documents}/reelbox.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The package's version has no Debian revision (the packaging is the
# program's own), so its changelog is changelog.gz.
install(FILES ${documents}/changelog.gz ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/reelbox)
