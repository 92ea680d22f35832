# The Debian package (`make package`, or `cpack -G DEB` in the build folder):
# what `cmake --install` installs, under /usr, stripped. Its dependencies are
# worked out by dpkg-shlibdeps from the libraries the executable links. Three
# things the executable needs are not linked and so are named here: libmpv,
# which it loads on the first playback, its dependency taken from the shlibs
# entry of the Debian package that holds the library it loads; Qt's platform
# plugins, without which no window opens; Qt's translations, for the Japanese
# buttons of the standard dialogs; and a Japanese font for the captions.

# The dependency line dpkg-shlibdeps would write for a library linked by soname:
# from the shlibs file of the package that holds it. Empty when it cannot tell.
function(reelbox_loaded_library_dependency soname out)
  set(${out} "" PARENT_SCOPE)
  find_library(library_${soname} NAMES ${soname})
  find_program(DPKG_QUERY dpkg-query)
  if(NOT library_${soname} OR NOT DPKG_QUERY OR NOT soname MATCHES "^(.+)\\.so\\.(.+)$")
    return()
  endif()
  set(shlibs_key "${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ")
  file(REAL_PATH ${library_${soname}} file)
  execute_process(COMMAND ${DPKG_QUERY} -S ${file} OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
  if(failed OR NOT owner MATCHES "^([^:]+)")
    return()
  endif()
  execute_process(COMMAND ${DPKG_QUERY} --control-show ${CMAKE_MATCH_1} shlibs
                  OUTPUT_VARIABLE shlibs RESULT_VARIABLE failed ERROR_QUIET)
  string(REPLACE "\n" ";" lines "${shlibs}")
  foreach(line IN LISTS lines)
    string(FIND "${line}" "${shlibs_key}" at)
    if(at EQUAL 0)
      string(LENGTH "${shlibs_key}" skip)
      string(SUBSTRING "${line}" ${skip} -1 dependency)
      set(${out} "${dependency}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

reelbox_loaded_library_dependency(${REELBOX_MPV_LIBRARY} mpv_dependency)
if(NOT mpv_dependency)
  message(WARNING "No Debian package found for ${REELBOX_MPV_LIBRARY}: the package will not depend on it")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME reelbox)
set(CPACK_PACKAGE_VENDOR "The Reelbox developers")
set(CPACK_PACKAGE_CONTACT "The Reelbox developers <reelbox@example.jp>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video player with a skinned Japanese interface")
set(CPACK_PACKAGE_DESCRIPTION
  "Reelbox is a video player front end with a skinned, Japanese interface. One
small window holds a file browser, a favourites list kept in twenty numbered
groups, and switches for full screen, repeat and random order. Files play
through libmpv.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${mpv_dependency} qt6-qpa-plugins libqt6sql6-sqlite qt6-translations-l10n
       "fonts-ipafont-gothic | fonts-japanese-gothic")
# Native Wayland sessions draw through Qt's Wayland plugin; without it the
# program runs through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
