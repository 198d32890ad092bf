# Cross-compiling for 64-bit ARM Linux (aarch64-linux-gnu) with Debian's crossbuild-essential-arm64.
# The arm64 libraries are Debian multiarch packages installed on this very machine
# (/usr/lib/aarch64-linux-gnu), not a separate sysroot. So there is no CMAKE_FIND_ROOT_PATH:
# with one, and lookups limited to it, CMake falls back to the host's pkg-config, finds no SDL
# library and still configures without an error; the link fails much later. CMake learns the
# library architecture from the compiler and searches the multiarch folders itself.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(QUIMBO_TRIPLET aarch64-linux-gnu)

set(CMAKE_C_COMPILER ${QUIMBO_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${QUIMBO_TRIPLET}-g++)
# pkgconf:arm64 provides the pkg-config named after the triplet, which reads the arm64 .pc
# files; without it FindPkgConfig takes the host's /usr/bin/pkg-config and the amd64 ones.
set(PKG_CONFIG_EXECUTABLE ${QUIMBO_TRIPLET}-pkg-config CACHE FILEPATH "pkg-config for the target")

# Programs built for the target run under qemu-user. No -L: the arm64 loader is installed as
# a multiarch package, and the cross toolchain's own copy under /usr/aarch64-linux-gnu is a
# different build of the C library that hangs the game.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)
