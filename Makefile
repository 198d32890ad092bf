# The front doors: `make run` and `make test` set everything up on a fresh Debian machine;
# `make help` lists every target, from the `## ` note on the line above each one in the make
# files.
# The project's own pieces are in mk/, each platform's in its room under packaging/.
## BUILD=DIR         the build folder (build)
BUILD ?= build
## JOBS=N            how many compilers run at once (2)
JOBS ?= 2
# The one name of the Python interpreter: the tools, the suites and CTest's Python tests run it.
# Debian's own, since the python3 on PATH may lack Debian's modules (PIL, cairo, numpy, pytest).
PYTHON ?= /usr/bin/python3
# The full build: the game, its tests and the benchmark.
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
# A player's build needs no GoogleTest. A build folder already set up for testing stays so,
# since the tests' packages are then there.
PLAY_CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	$(if $(wildcard $(BUILD)/CMakeCache.txt),,-DBUILD_TESTING=OFF)

# The suites `make test` runs, in this order, after it builds everything: the one list.
TEST_SUITES = test-native check-assets test-packaging test-install sanitize-test
# The releases' suites, which need their release built first (make windows, make deb-arm64,
# make web); CI builds each release and runs its suite after `make test`.
RELEASE_SUITES = test-windows test-arm64 test-web

.PHONY: all help deps deps-play game build run test test-native assets screenshots clean

## the game alone, as make game
all: game

## this list
help:
	@echo 'make TARGET [VARIABLE=VALUE ...], from the folder of this Makefile:'
	@awk 'FNR == 1 { file = FILENAME; note = "" } \
	  /^[A-Za-z0-9_.-]+:/ && note != "" || /^## [A-Z_]+=/ { \
	    if (file != "") { printf "\n%s\n", file; file = "" } } \
	  /^[A-Za-z0-9_.-]+:/ && note != "" { \
	    name = $$0; sub(/:.*/, "", name); printf "  %-17s %s\n", name, note } \
	  /^## [A-Z_]+=/ { sub(/^## /, ""); print "  " $$0 } \
	  { note = "" } /^## [^A-Z]/ { note = substr($$0, 4) }' $(MAKEFILE_LIST)
	@echo
	@echo 'make test runs: $(TEST_SUITES)'
	@echo 'CI then builds each release and runs: $(RELEASE_SUITES)'

## installs every package the tests and tools need
deps:
	@scripts/install-deps test

## installs only what building and playing need
deps-play:
	@scripts/install-deps play

## builds the game alone in $(BUILD)/
game: deps-play
	cmake -S . -B $(BUILD) $(PLAY_CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target quimbo

# CI (which sets CI) fails a build on any compiler warning; at a desk a warning stays a warning.
WARNING_FLAGS = $(if $(CI),-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
# Configures and builds everything in $(BUILD); each target that uses it installs its own
# package set first.
BUILD_ALL = cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(WARNING_FLAGS) -DQUIMBO_PYTHON=$(PYTHON) && \
	cmake --build $(BUILD) -j$(JOBS)

## builds the game, its tests and the benchmark in $(BUILD)/
build: deps
	$(BUILD_ALL)

## builds the game and starts it
run: game
	./$(BUILD)/quimbo

## builds everything and runs every suite of TEST_SUITES, one after another
test: build
	@for suite in $(TEST_SUITES); do \
	  echo "make test: $$suite"; $(MAKE) --no-print-directory $$suite || exit 1; done
	@echo 'make test: passed $(TEST_SUITES)'
	@echo 'make test: not run here, each needs its release built first: $(RELEASE_SUITES)'

# The headless tests run side by side (they mostly wait on the audio device's close);
# the real-window tests run one at a time.
## every CTest test of $(BUILD)/: the quick check first, then the rest
test-native: build
	$(CHECK_TESTS)
	cd $(BUILD) && ctest --output-on-failure -j3 -LE '^check$$'

## draws Data/ and the icons again
assets: deps
	$(PYTHON) tools/make_assets.py
	$(PYTHON) tools/make_icons.py

## the screenshots in docs/, taken from the real game under Xvfb
screenshots: build
	$(PYTHON) tools/screenshots.py --binary $(BUILD)/quimbo

## removes every build folder
clean:
	rm -rf $(BUILD) build-*

# The quick check, the benchmark, the sanitizers and the Debian package (mk/), then each
# platform's room: install on Linux, arm64, Windows, the web.
include mk/*.mk packaging/linux/install.mk packaging/arm64/arm64.mk \
  packaging/windows/windows.mk packaging/web/web.mk
