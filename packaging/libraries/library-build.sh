# shellcheck shell=bash
# What the Windows and the web builds share, sourced by packaging/windows/build-windows and
# packaging/web/build-web: the build folders, the pinned libraries (sources.tsv beside this
# file), each library's recipe written once (recipes.sh), the order they are built in, and the
# zip. Before sourcing it, a build sets
#   ROOT        the project's folder
#   BUILD_NAME  its own name, which starts each of its messages
#   BUILD_DIR   its build folder (the libraries, their logs and the game go there)
#   PATCHES     the folder of its own library patches, LIBRARY-*.patch (there may be none);
#               the patches both builds apply are beside this file
# and passes its own arguments on: the one argument is the folder of the pinned tarballs.
# After sourcing it, the build says how its platform differs (see "What a platform gives" in
# recipes.sh) and calls build_libraries.

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

# The patches both builds apply to a library (apply_shared_patches), LIBRARY-*.patch.
SHARED_PATCHES=$ROOT/packaging/libraries

# The mark of a library built into the prefix at its pinned version and with its patches, the
# platform's and the shared ones, as they are now: a new version or a changed patch builds
# that library again.
stamp_of() {
  local lower patches
  lower=$(echo "$1" | tr 'A-Z' 'a-z')
  patches=$(cat /dev/null "$PATCHES/$lower"-*.patch "$SHARED_PATCHES/$lower"-*.patch \
    2>/dev/null | sha256sum | cut -c1-12)
  echo "$PREFIX/.built-$1-$(version_of "$1")-$patches"
}

# Applies the shared patches of a library (its name in lower case) to its unpacked folder.
apply_shared_patches() {
  local patch
  for patch in "$SHARED_PATCHES/$1"-*.patch; do
    [ -e "$patch" ] || continue
    patch -d "$2" -p1 <"$patch"
  done
}

# Runs one library's build, build_NAME (in lower case, - as _), with its output in
# logs/NAME.log; on failure the log's end is shown. A library already in the prefix as it is
# pinned now is not built again.
step() {
  local name=$1 started=$SECONDS stamp builder
  builder=build_$(echo "$name" | tr 'A-Z-' 'a-z_')
  stamp=$(stamp_of "$name")
  if [ -e "$stamp" ]; then
    echo "$BUILD_NAME: $name $(version_of "$name"): already built"
    return 0
  fi
  echo "$BUILD_NAME: $name ..."
  # In the background, so that the step's own commands stop it at their first failure.
  local status=0
  ( "$builder" ) >"$LOGS/$name.log" 2>&1 &
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

# Each library's recipe and the order they are built in.
. "$ROOT/packaging/libraries/recipes.sh"
