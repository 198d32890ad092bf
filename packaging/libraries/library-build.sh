# shellcheck shell=bash
# What the Windows and the web builds share, sourced by packaging/windows/build-windows and
# packaging/web/build-web: the build folders, the pinned libraries (sources.tsv beside this
# file), each library's recipe written once, the order they are built in, and the zip. Before
# sourcing it, a build sets
#   ROOT        the project's folder
#   BUILD_NAME  its own name, which starts each of its messages
#   BUILD_DIR   its build folder (the libraries, their logs and the game go there)
#   PATCHES     the folder of its library patches, LIBRARY-*.patch (there may be none)
# and passes its own arguments on: the one argument is the folder of the pinned tarballs.
# After sourcing it, the build says how its platform differs (see "What a platform gives"
# below) and calls build_libraries.

OUT=$(mkdir -p "$BUILD_DIR" && cd "$BUILD_DIR" && pwd)
SOURCES_DIR=${1:-}
JOBS=${JOBS:-2}
PREFIX=$OUT/prefix
SRC=$OUT/src
LOGS=$OUT/logs
DIST=$ROOT/dist
PY=${PYTHON:-/usr/bin/python3}  # the Makefile hands over its PYTHON
# One pinned list for both builds.
SOURCES_PY=$ROOT/packaging/libraries/sources.py
SOURCES_LIST=$ROOT/packaging/libraries/sources.tsv

if [ -n "$SOURCES_DIR" ]; then
  SOURCES_DIR=$(cd "$SOURCES_DIR" && pwd)
fi
VERSION=$(sed -n 's/^project(quimbo VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
if [ -z "$VERSION" ]; then
  echo "$BUILD_NAME: no version in CMakeLists.txt's project() line" >&2
  exit 1
fi
mkdir -p "$PREFIX/bin" "$PREFIX/lib/pkgconfig" "$PREFIX/include" "$SRC" "$LOGS" "$DIST"

# The libraries' build scripts must not see this project's make settings: `make windows
# SOURCES=...` puts SOURCES into the environment, where SDL_mixer's configure takes it for
# the start of its own list of source files.
unset SOURCES MAKEFLAGS MFLAGS MAKEOVERRIDES MAKELEVEL

# The configure scripts and CMake find the build's own libraries through these, never the
# host's.
export PKG_CONFIG_LIBDIR=$PREFIX/lib/pkgconfig
export PKG_CONFIG_PATH=
export PATH=$PREFIX/bin:$PATH

# CI builds the game with its warnings as errors, as it does the native builds.
warnings_as_errors=()
[ -z "${CI:-}" ] || warnings_as_errors=(-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)

# The pinned version of a library.
version_of() {
  $PY "$SOURCES_PY" list | awk -v name="$1" '$1 == name { print $2 }'
}

# The mark of a library built into the prefix at its pinned version and with its patches as
# they are now: a new version or a changed patch builds that library again.
stamp_of() {
  local lower patches
  lower=$(echo "$1" | tr 'A-Z' 'a-z')
  patches=$(cat /dev/null "$PATCHES/$lower"-*.patch 2>/dev/null | sha256sum | cut -c1-12)
  echo "$PREFIX/.built-$1-$(version_of "$1")-$patches"
}

# Runs one library's build with its output in logs/NAME.log; on failure the log's end is
# shown. A library already in the prefix as it is pinned now is not built again.
step() {
  local name=$1 started=$SECONDS stamp
  shift
  stamp=$(stamp_of "$name")
  if [ -e "$stamp" ]; then
    echo "$BUILD_NAME: $name $(version_of "$name"): already built"
    return 0
  fi
  echo "$BUILD_NAME: $name ..."
  # In the background, so that the step's own commands stop it at their first failure.
  local status=0
  ( "$@" ) >"$LOGS/$name.log" 2>&1 &
  wait $! || status=$?
  if [ $status -ne 0 ]; then
    tail -n 40 "$LOGS/$name.log" >&2
    echo "$BUILD_NAME: $name failed; the whole log is $LOGS/$name.log" >&2
    exit 1
  fi
  touch "$stamp"
  echo "$BUILD_NAME: $name built in $((SECONDS - started)) s"
}

# Unpacks a pinned library into src/ (from SOURCES_DIR, or downloaded) and prints its folder.
unpack() {
  local args=(unpack "$1" --cache "$OUT/downloads" --into "$SRC")
  [ -n "$SOURCES_DIR" ] && args+=(--sources "$SOURCES_DIR")
  $PY "$SOURCES_PY" "${args[@]}"
}

# Runs one step of the game's own build and says how long it took.
timed() {
  local name=$1 started=$SECONDS
  shift
  echo "$BUILD_NAME: $name ..."
  "$@"
  echo "$BUILD_NAME: $name done in $((SECONDS - started)) s"
}

# Each pinned library's licence file and the name it travels under (NAME-VERSION), a tab
# between them, one library a line. A library that an earlier run built is unpacked again if
# its folder has gone.
licence_files() {
  local name version url licence file checksum
  while IFS=$'\t' read -r name version url licence file checksum; do
    case "$name" in ''|'#'*) continue ;; esac
    [ -e "$SRC/$name-$version/$file" ] || unpack "$name" >/dev/null
    printf '%s\t%s\n' "$SRC/$name-$version/$file" "$name-$version"
  done <"$SOURCES_LIST"
}

# Zips a folder's files with the folder's contents at the zip's top, in name order, so that
# two builds of the same files list them alike. Any further arguments go to zip.
zip_folder() {
  local folder=$1 zipfile=$2
  shift 2
  rm -f "$zipfile"
  (cd "$folder" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort |
    zip -q -X "$@" -@ "$zipfile")
}

# What a platform gives, before it calls build_libraries:
#   cmake_lib ARGS        configures a CMake library for the platform, into the prefix
#   configure_lib ARGS    runs an add-on's ./configure for the platform, into the prefix
#   make_lib ARGS         runs make as the platform needs it
#   build_zlib, build_sdl12_compat   the two libraries whose builds differ throughout
#   check_addon NAME      checks an SDL add-on once it is installed, in its source folder
#   LIBRARY_KIND          shared or static
#   LIBRARY_SUFFIX        the ending of an import or static library (.dll.a, .a)
#   PNG_OPTIONS, FREETYPE_OPTIONS, SDL2_OPTIONS   arrays of the platform's own CMake options
#   FREETYPE_LIBS         what a program links for FreeType
# and, if it must change SDL2's sources first, prepare_sdl2 FOLDER.

# CMake's name for a library kind: ON for the kind the platform builds.
shared_on() { [ "$LIBRARY_KIND" = shared ] && echo ON || echo OFF; }
static_on() { [ "$LIBRARY_KIND" = static ] && echo ON || echo OFF; }

cmake_build_install() {
  cmake --build "$1" -j"$JOBS"
  cmake --install "$1"
}

build_libpng() {
  local dir
  dir=$(unpack libpng)
  cmake_lib -S "$dir" -B "$dir/build" -DPNG_SHARED="$(shared_on)" -DPNG_STATIC="$(static_on)" \
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
  cmake_lib -S "$dir" -B "$dir/build" -DBUILD_SHARED_LIBS="$(shared_on)" -DFT_DISABLE_BZIP2=ON \
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
  cmake_lib -S "$dir" -B "$dir/build" -DSDL_SHARED="$(shared_on)" -DSDL_STATIC="$(static_on)" \
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

# Runs each function named at once, in the background, and waits for them all; the build
# stops once they are done if any of them failed (its log's end is shown above).
side_by_side() {
  local pids=() function failed=0
  for function in "$@"; do
    "$function" &
    pids+=($!)
  done
  for function in "${pids[@]}"; do
    wait "$function" || failed=1
  done
  [ $failed -eq 0 ] || exit 1
}

image_libraries() {
  step zlib build_zlib
  side_by_side png_library freetype_library
}
png_library() { step libpng build_libpng; }
freetype_library() { step freetype build_freetype; }
sdl_libraries() {
  step SDL2 build_sdl2
  step sdl12-compat build_sdl12_compat
}
image_addon() { step SDL_image build_sdl_image; }
mixer_addon() { step SDL_mixer build_sdl_mixer; }
ttf_addon() { step SDL_ttf build_sdl_ttf; }

# The eight libraries in the prefix, each built once. SDL2 and sdl12-compat are built beside
# zlib, libpng and FreeType; the three add-ons, which need both, side by side after them.
build_libraries() {
  side_by_side image_libraries sdl_libraries
  side_by_side image_addon mixer_addon ttf_addon
}
