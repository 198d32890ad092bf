# `cmake --install` puts down the game the way Linux games are laid out:
#   bin/quimbo                         the command (a Debian package puts it in games/)
#   lib/games/quimbo/quimbo            the game binary
#   share/games/quimbo/Data/           its pictures, sounds and fonts
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man6, share/doc/quimbo
# The game reads "Data/..." from its working directory, so the command changes into the data
# folder before it starts the binary. The command, the menu entry and the man page name the
# folders they were installed into, so they are written at install time, when the prefix is
# known (`cmake --install --prefix` may give another than the configured one).
include(GNUInstallDirs)

set(QUIMBO_APP_ID net.quimbo.quimbo)
set(QUIMBO_ICON_SIZES 32 48 64 128 256)
set(QUIMBO_COMMAND_DIR ${CMAKE_INSTALL_BINDIR} CACHE STRING "Folder for the quimbo command")
set(QUIMBO_GAME_DIR lib/games/quimbo CACHE STRING "Folder for the game binary")
set(QUIMBO_DATA_DIR ${CMAKE_INSTALL_DATADIR}/games/quimbo CACHE STRING "Folder that holds Data/")
option(QUIMBO_INSTALL_LICENSES "Install LICENSE and the fonts' licence beside the README" ON)

# First the files that name their folders: a folder they cannot name safely stops the install
# before anything is put down.
install(CODE "
  set(QUIMBO_SOURCE_DIR [[${PROJECT_SOURCE_DIR}]])
  set(QUIMBO_APP_ID [[${QUIMBO_APP_ID}]])
  set(QUIMBO_VERSION [[${PROJECT_VERSION}]])
  set(QUIMBO_RELEASE_DATE [[${QUIMBO_RELEASE_DATE}]])
  set(QUIMBO_COMMAND_DIR [[${QUIMBO_COMMAND_DIR}]])
  set(QUIMBO_GAME_DIR [[${QUIMBO_GAME_DIR}]])
  set(QUIMBO_DATA_DIR [[${QUIMBO_DATA_DIR}]])
  set(QUIMBO_APPS_DIR [[${CMAKE_INSTALL_DATADIR}/applications]])
  set(QUIMBO_MAN_DIR [[${CMAKE_INSTALL_MANDIR}/man6]])
  set(QUIMBO_DOC_DIR [[${CMAKE_INSTALL_DOCDIR}]])
")
install(SCRIPT packaging/linux/install-templates.cmake)

install(TARGETS quimbo RUNTIME DESTINATION ${QUIMBO_GAME_DIR})

# A fresh copy of the data, so files dropped from Data/ since the last install go too.
install(CODE "
  set(quimbo_data [[${QUIMBO_DATA_DIR}/Data]])
  if(NOT IS_ABSOLUTE \"\${quimbo_data}\")
    set(quimbo_data \"\${CMAKE_INSTALL_PREFIX}/\${quimbo_data}\")
  endif()
  file(REMOVE_RECURSE \"\$ENV{DESTDIR}\${quimbo_data}\")
")
install(DIRECTORY Data/ DESTINATION ${QUIMBO_DATA_DIR}/Data)

foreach(size IN LISTS QUIMBO_ICON_SIZES)
  install(FILES packaging/icons/${size}x${size}/apps/${QUIMBO_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

configure_file(packaging/linux/${QUIMBO_APP_ID}.metainfo.xml.in ${QUIMBO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${QUIMBO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(QUIMBO_INSTALL_LICENSES)
  install(FILES LICENSE Data/Fonts/DejaVu-LICENSE.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
