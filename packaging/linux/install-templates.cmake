# Run by `cmake --install`: writes the command, the menu entry and the man page with the
# folders of this install filled in. The folders come from packaging/linux/install.cmake.

# A folder under the install prefix as a full path, as the installed system will see it.
function(quimbo_full_path var dir)
  if(IS_ABSOLUTE "${dir}")
    set(full "${dir}")
  else()
    string(REGEX REPLACE "/+$" "" prefix "${CMAKE_INSTALL_PREFIX}")
    set(full "${prefix}/${dir}")
  endif()
  # The paths go into a shell script between single quotes, a desktop entry and a man page:
  # characters that any of them would read as syntax are refused rather than mangled.
  if(full MATCHES "['\"`$\\\\%\n]" OR NOT IS_ABSOLUTE "${full}")
    message(FATAL_ERROR "install: the folder \"${full}\" must be an absolute path without "
                        "quotes, backslashes, dollar or percent signs")
  endif()
  set(${var} "${full}" PARENT_SCOPE)
endfunction()

quimbo_full_path(QUIMBO_COMMAND_FULL "${QUIMBO_COMMAND_DIR}")
quimbo_full_path(QUIMBO_GAME_FULL "${QUIMBO_GAME_DIR}")
quimbo_full_path(QUIMBO_DATA_FULL "${QUIMBO_DATA_DIR}")
quimbo_full_path(QUIMBO_APPS_FULL "${QUIMBO_APPS_DIR}")
quimbo_full_path(QUIMBO_MAN_FULL "${QUIMBO_MAN_DIR}")
quimbo_full_path(QUIMBO_DOC_FULL "${QUIMBO_DOC_DIR}")

# The menu starts the command by its full path, so a prefix whose bin/ is not on PATH works too.
# A path with spaces is quoted as desktop entries quote arguments.
set(QUIMBO_EXEC "${QUIMBO_COMMAND_FULL}/quimbo")
if(QUIMBO_EXEC MATCHES "[ \t;&|<>()*?#~=\\[]")
  set(QUIMBO_EXEC "\"${QUIMBO_EXEC}\"")
endif()

# The man page's date, version and folders.
set(QUIMBO_MAN_DATA "${QUIMBO_DATA_FULL}/Data")
set(QUIMBO_MAN_GAME "${QUIMBO_GAME_FULL}/quimbo")

macro(quimbo_install_template template destination)
  set(target "$ENV{DESTDIR}${destination}")
  message(STATUS "Installing: ${target}")
  configure_file("${QUIMBO_SOURCE_DIR}/packaging/linux/${template}" "${target}" @ONLY
                 FILE_PERMISSIONS ${ARGN})
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
endmacro()

set(readable OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(runnable ${readable} OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
quimbo_install_template(quimbo.in "${QUIMBO_COMMAND_FULL}/quimbo" ${runnable})
quimbo_install_template(${QUIMBO_APP_ID}.desktop.in
                        "${QUIMBO_APPS_FULL}/${QUIMBO_APP_ID}.desktop" ${readable})
quimbo_install_template(quimbo.6.in "${QUIMBO_MAN_FULL}/quimbo.6" ${readable})
