# shellcheck shell=bash
# Each library's recipe, written once for the Windows and the web builds, and the order they
# are built in; sourced by library-build.sh, whose folders, steps and unpacking they use.
# What a platform gives, before it calls build_libraries:
#   cmake_lib ARGS        configures a CMake library for the platform, into the prefix
#   configure_lib ARGS    runs an add-on's ./configure for the platform, into the prefix
#   make_lib ARGS         runs make as the platform needs it
#   build_zlib, build_sdl12_compat   the two libraries whose builds differ throughout
#   check_addon NAME      checks an SDL add-on once it is installed, in its source folder
#   SHARED, STATIC        ON or OFF, the kinds of library it builds
#   LIBRARY_SUFFIX        the ending of an import or static library (.dll.a, .a)
#   PNG_OPTIONS, FREETYPE_OPTIONS, SDL2_OPTIONS   arrays of the platform's own CMake options
#   FREETYPE_LIBS         what a program links for FreeType
# and, if it must change SDL2's sources first, prepare_sdl2 FOLDER.

cmake_build_install() {
  cmake --build "$1" -j"$JOBS"
  cmake --install "$1"
}

build_libpng() {
  local dir
  dir=$(unpack libpng)
  cmake_lib -S "$dir" -B "$dir/build" -DPNG_SHARED=$SHARED -DPNG_STATIC=$STATIC \
    -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DZLIB_INCLUDE_DIR="$PREFIX/include" \
    -DZLIB_LIBRARY="$PREFIX/lib/libz$LIBRARY_SUFFIX" "${PNG_OPTIONS[@]}"
  cmake_build_install "$dir/build"
  # SDL_image's configure links its check with "-lpng": without a library of that name it
  # quietly builds without PNG support.
  [ -e "$PREFIX/lib/libpng$LIBRARY_SUFFIX" ] ||
    cp "$PREFIX/lib/libpng16$LIBRARY_SUFFIX" "$PREFIX/lib/libpng$LIBRARY_SUFFIX"
}

build_freetype() {
  local dir
  dir=$(unpack freetype)
  # TrueType fonts only: no compressed fonts, colour bitmaps or text shaping.
  cmake_lib -S "$dir" -B "$dir/build" -DBUILD_SHARED_LIBS=$SHARED -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON "${FREETYPE_OPTIONS[@]}"
  cmake_build_install "$dir/build"
  # SDL_ttf's configure asks a freetype-config program, which FreeType's CMake build lacks.
  config_script freetype "-I$PREFIX/include/freetype2" "-L$PREFIX/lib $FREETYPE_LIBS" 24.3.18
}

# Writes bin/NAME-config, which answers the SDL add-ons' configure about a library in the
# prefix as the library's own script would: its compiler flags, its link flags, its version.
config_script() {
  cat >"$PREFIX/bin/$1-config" <<SCRIPT
#!/bin/sh
# Answers the SDL add-ons' configure for the $1 in $PREFIX.
for arg in "\$@"; do
  case "\$arg" in
    --cflags) echo "$2" ;;
    --libs|--static-libs) echo "$3" ;;
    --version) echo "$4" ;;
    --prefix|--exec-prefix) echo "$PREFIX" ;;
  esac
done
SCRIPT
  chmod 755 "$PREFIX/bin/$1-config"
}

build_sdl2() {
  local dir
  dir=$(unpack SDL2)
  if declare -F prepare_sdl2 >/dev/null; then prepare_sdl2 "$dir"; fi
  # What the game uses through sdl12-compat (video, audio, events, timers, threads) and the
  # joystick and game-controller support that game pads need; none of SDL2's own tests,
  # force feedback, sensors, battery state, locales or URL opening.
  cmake_lib -S "$dir" -B "$dir/build" -DSDL_SHARED=$SHARED -DSDL_STATIC=$STATIC \
    -DSDL_TEST=OFF -DSDL_JOYSTICK=ON -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
    -DSDL_LOCALE=OFF -DSDL_MISC=OFF "${SDL2_OPTIONS[@]}"
  cmake_build_install "$dir/build"
}

# The SDL 1.2 add-ons build their library alone (their sample programs want SDL's entry
# library, which is left out) and install its files, then the platform checks them. Each is
# configured against the prefix's sdl12-compat.
configure_addon() {
  configure_lib --disable-sdltest SDL_CONFIG="$PREFIX/bin/sdl-config" "$@"
}

build_sdl_image() {
  local dir
  dir=$(unpack SDL_image)
  cd "$dir"
  # PNG is the only picture format the game reads; libpng is linked, not loaded by name.
  configure_addon --enable-png --disable-png-shared --disable-bmp \
    --disable-gif --disable-jpg --disable-lbm --disable-pcx --disable-pnm --disable-tga \
    --disable-tif --disable-xcf --disable-xpm --disable-xv --disable-webp
  make_lib -j"$JOBS" libSDL_image.la
  make_lib install-libLTLIBRARIES install-libSDL_imageincludeHEADERS install-pkgconfigDATA
  check_addon SDL_image
}

build_sdl_mixer() {
  local dir
  dir=$(unpack SDL_mixer)
  cd "$dir"
  # The game plays WAV sound effects only, which need none of the music formats.
  configure_addon --disable-music-cmd --disable-music-wave \
    --disable-music-mod --disable-music-mod-modplug --disable-music-midi \
    --disable-music-timidity-midi --disable-music-native-midi \
    --disable-music-fluidsynth-midi --disable-music-ogg --disable-music-flac \
    --disable-music-mp3 --disable-music-mp3-mad-gpl --disable-smpegtest
  make_lib build
  make_lib -j"$JOBS" build/libSDL_mixer.la
  make_lib install-hdrs install-lib
  check_addon SDL_mixer
}

build_sdl_ttf() {
  local dir
  dir=$(unpack SDL_ttf)
  cd "$dir"
  configure_addon --without-x FREETYPE_CONFIG="$PREFIX/bin/freetype-config"
  make_lib -j"$JOBS" libSDL_ttf.la
  make_lib install-libLTLIBRARIES install-libSDL_ttfincludeHEADERS install-pkgconfigDATA
  check_addon SDL_ttf
}

# Builds the chains of libraries given side by side, in the background, each chain's libraries
# one after another; waits for them all, and stops the build if any failed (its log's end is
# shown above).
side_by_side() {
  local pids=() chain pid failed=0
  for chain in "$@"; do
    (for name in $chain; do step "$name"; done) &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
  done
  [ $failed -eq 0 ] || exit 1
}

# The eight libraries in the prefix, each built once. SDL2 and sdl12-compat are built beside
# zlib, libpng and FreeType; the three add-ons, which need both, side by side after them.
build_libraries() {
  side_by_side "zlib libpng freetype" "SDL2 sdl12-compat"
  side_by_side SDL_image SDL_mixer SDL_ttf
}
