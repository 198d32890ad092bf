# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (x86_64-w64-mingw32).
# QUIMBO_WIN_PREFIX is the folder the Windows libraries were installed into; CMake looks
# for headers and libraries there and in the compiler's own folder, never on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUIMBO_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QUIMBO_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${QUIMBO_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${QUIMBO_TRIPLET}-windres)

if(NOT QUIMBO_WIN_PREFIX AND DEFINED ENV{QUIMBO_WIN_PREFIX})
  set(QUIMBO_WIN_PREFIX $ENV{QUIMBO_WIN_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH ${QUIMBO_WIN_PREFIX} /usr/${QUIMBO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
