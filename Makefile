# The front doors: `make run` and `make test` set everything up on a fresh Debian machine.
#   make / make run   installs what playing needs, builds the game alone (and starts it)
#   make check        installs only what building and the quick tests need, builds everything
#                     and runs the quick tests (mk/check.mk)
#   make test         installs what testing needs, builds everything and runs every suite
BUILD ?= build
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

# Further suites that `make test` runs after the main one (the files under mk/ add to it).
EXTRA_TESTS :=

.PHONY: all deps deps-play game build run test assets screenshots clean

all: game

# Every package the tests and tools need; deps-play only what building and playing need.
deps:
	@scripts/install-deps test

deps-play:
	@scripts/install-deps play

game: deps-play
	cmake -S . -B $(BUILD) $(PLAY_CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target quimbo

# CI (which sets CI) fails a build on any compiler warning; at a desk a warning stays a warning.
WARNING_FLAGS = $(if $(CI),-DCMAKE_COMPILE_WARNING_AS_ERROR=ON)
# Configures and builds everything in $(BUILD); each target that uses it installs its own
# package set first.
BUILD_ALL = cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(WARNING_FLAGS) -DQUIMBO_PYTHON=$(PYTHON) && \
	cmake --build $(BUILD) -j$(JOBS)

build: deps
	$(BUILD_ALL)

run: game
	./$(BUILD)/quimbo

# The headless tests run side by side (they mostly wait on the audio device's close);
# the real-window tests run one at a time.
test: build
	$(CHECK_TESTS)
	cd $(BUILD) && ctest --output-on-failure -j3 -LE '^check$$'
	@for suite in $(EXTRA_TESTS); do $(MAKE) --no-print-directory $$suite || exit 1; done

assets: deps
	$(PYTHON) tools/make_assets.py
	$(PYTHON) tools/make_icons.py

# The screenshots in docs/, taken from the real game under Xvfb.
screenshots: build
	$(PYTHON) tools/screenshots.py --binary $(BUILD)/quimbo

clean:
	rm -rf $(BUILD) build-*

# Each file here owns a few targets: sanitizers, soak, benchmark, install, packages.
-include mk/*.mk
