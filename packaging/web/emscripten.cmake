# Building the game for the browser with Debian's Emscripten. QUIMBO_WEB_PREFIX is the folder
# packaging/web/build-web installed the libraries into; CMake and pkg-config look there, never on
# the host.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

if(NOT QUIMBO_WEB_PREFIX AND DEFINED ENV{QUIMBO_WEB_PREFIX})
  set(QUIMBO_WEB_PREFIX $ENV{QUIMBO_WEB_PREFIX})
endif()
list(PREPEND CMAKE_FIND_ROOT_PATH ${QUIMBO_WEB_PREFIX})
set(ENV{PKG_CONFIG_LIBDIR} ${QUIMBO_WEB_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
