# What `cmake --install` puts on a desktop system, under the install prefix
# (/usr/local unless told otherwise, /usr in the Debian package): the game, its
# desktop entry, its icons in the hicolor theme, its AppStream metainfo, its
# manual page and the package's documentation files.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/identity.cmake)

set(QB_DESKTOP_DIR ${CMAKE_BINARY_DIR}/desktop)
set(QB_DESKTOP_FILE ${QB_DESKTOP_DIR}/${QB_APP_ID}.desktop)
set(QB_METAINFO_FILE ${QB_DESKTOP_DIR}/${QB_APP_ID}.metainfo.xml)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quizzlebox.desktop.in ${QB_DESKTOP_FILE} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/metainfo.xml.in ${QB_METAINFO_FILE} @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quizzlebox.6.in ${QB_DESKTOP_DIR}/quizzlebox.6 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${QB_DESKTOP_DIR}/copyright @ONLY)
# The changelog's date is the release date, in the form Debian's changelogs use.
execute_process(COMMAND date -u -R -d "${QB_RELEASE_DATE} 12:00" OUTPUT_VARIABLE QB_CHANGELOG_DATE
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${QB_DESKTOP_DIR}/changelog @ONLY)

# Manual pages and changelogs are installed compressed, without a time stamp.
add_custom_command(
  OUTPUT ${QB_DESKTOP_DIR}/quizzlebox.6.gz ${QB_DESKTOP_DIR}/changelog.gz
  COMMAND gzip -9nkf ${QB_DESKTOP_DIR}/quizzlebox.6 ${QB_DESKTOP_DIR}/changelog
  DEPENDS ${QB_DESKTOP_DIR}/quizzlebox.6 ${QB_DESKTOP_DIR}/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(compressed_docs ALL DEPENDS ${QB_DESKTOP_DIR}/quizzlebox.6.gz ${QB_DESKTOP_DIR}/changelog.gz)

# `cmake -P BUILD/uninstall.cmake` undoes an install: it removes the files of
# install_manifest.txt, then the directories this install made (recorded in
# install_dirs.txt before anything is copied), deepest first, if they are empty.
set(QB_INSTALL_SUBDIRS games ${CMAKE_INSTALL_DATADIR}/applications ${CMAKE_INSTALL_DATADIR}/metainfo
    ${CMAKE_INSTALL_MANDIR}/man6 ${CMAKE_INSTALL_DOCDIR})
foreach(size ${QB_ICON_SIZES})
  list(APPEND QB_INSTALL_SUBDIRS ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(CODE "set(QB_INSTALL_SUBDIRS \"${QB_INSTALL_SUBDIRS}\")
  set(QB_INSTALL_DIRS_FILE \"${CMAKE_BINARY_DIR}/install_dirs.txt\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/record_install_dirs.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/uninstall.cmake ${CMAKE_BINARY_DIR}/uninstall.cmake COPYONLY)

# Games go to games/ (/usr/games, /usr/local/games), which Debian puts on
# every user's PATH.
install(TARGETS quizzlebox RUNTIME DESTINATION games)
install(FILES ${QB_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QB_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${QB_ICON_SIZES})
  install(FILES ${QB_ICON_DIR}/${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${QB_APP_ID}.png)
endforeach()
install(FILES ${QB_DESKTOP_DIR}/quizzlebox.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${QB_DESKTOP_DIR}/copyright ${QB_DESKTOP_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
