# The web release, built with Debian's Emscripten and tested in Debian's headless Chromium.
# The libraries are built once into build-web/prefix; later runs rebuild only the game.
WEB_RELEASE = dist/$(QUIMBO_RELEASE)-web
## WEB_PORT=N        the port of make web-serve (8000)
WEB_PORT ?= 8000
# Seconds of play over which bench-web watches the wasm memory.
WEB_BENCH_PLAY ?= 60

.PHONY: web web-deps test-web web-serve bench-web web-native web-screenshots

## installs Emscripten and Chromium
web-deps:
	@scripts/install-deps web

## the libraries and the game in build-web/; dist/quimbo-VERSION-web.zip and its folder
web: web-deps
	JOBS=$(JOBS) PYTHON=$(PYTHON) packaging/web/build-web $(SOURCES)

# The tests compare the page with the Linux game and read its figures with the game's own
# text routine, so they build those two natively first.
## the Linux game and its text routine, which test-web compares the page with
web-native: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target quimbo render_text

## the page in headless Chromium, against the Linux build's screens
test-web: web-deps web-native
	QUIMBO_BIN='$(abspath $(BUILD))/quimbo' \
	  QUIMBO_RENDER_TEXT='$(abspath $(BUILD))/tests/window/render_text' \
	  $(PYTHON) -m pytest -v tests/web

## serves dist/quimbo-VERSION-web on 127.0.0.1, port WEB_PORT (8000)
web-serve: web-deps
	@test -f '$(WEB_RELEASE)/index.html' || { echo "web-serve: run make web first" >&2; exit 1; }
	$(PYTHON) packaging/web/serve.py '$(WEB_RELEASE)' $(WEB_PORT)

## download, first frame and frame rates in Chromium, beside the native figures
bench-web: web-deps bench
	$(PYTHON) packaging/web/bench.py --release '$(WEB_RELEASE)' --play-seconds $(WEB_BENCH_PLAY) \
	  --native '$(BUILD)/bench/performance.md' --out '$(BUILD)/bench/web.md'

## the page at three window sizes, into docs/ (the README shows them)
web-screenshots: web-deps
	$(PYTHON) packaging/web/screenshots.py '$(WEB_RELEASE)'
