# The front doors: `make run` and `make test` set everything up on a fresh Debian machine.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Further suites that `make test` runs after the main one (the files under mk/ add to it).
EXTRA_TESTS :=

.PHONY: all deps build run test assets screenshots clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/quimbo

# The headless tests run side by side (they mostly wait on the audio device's close);
# the real-window tests run one at a time.
test: check
	cd $(BUILD) && ctest --output-on-failure -j3 -LE '^check$$'
	@for suite in $(EXTRA_TESTS); do $(MAKE) --no-print-directory $$suite || exit 1; done

assets: deps
	/usr/bin/python3 tools/make_assets.py
	/usr/bin/python3 tools/make_icons.py

# The screenshots in docs/, taken from the real game under Xvfb.
screenshots: build
	/usr/bin/python3 tools/screenshots.py --binary $(BUILD)/quimbo

clean:
	rm -rf $(BUILD) build-*

# Each file here owns a few targets: sanitizers, soak, benchmark, install, screenshots.
-include mk/*.mk
