# The front doors: `make run` and `make test` set everything up on a fresh Debian machine.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build run test assets clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/quimbo

test: build
	cd $(BUILD) && ctest --output-on-failure

assets: deps
	/usr/bin/python3 tools/make_assets.py

clean:
	rm -rf $(BUILD)
