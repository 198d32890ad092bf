# The web release, built with Debian's Emscripten and tested in Debian's headless Chromium:
#   make web                  builds the libraries and the game in build-web/ and writes
#                             dist/quimbo-VERSION-web.zip and the same files unpacked in
#                             dist/quimbo-VERSION-web/
#   make web SOURCES=DIR      takes the library tarballs from DIR instead of downloading them
#   make test-web             the page in headless Chromium, against the Linux build's screens
#   make web-serve            serves dist/quimbo-VERSION-web on 127.0.0.1 (WEB_PORT, 8000)
#   make bench-web            the download, the first frame and the frame rates in Chromium,
#                             beside the native benchmark's figures of the same screens
# The libraries are built once into build-web/prefix; later runs rebuild only the game.
WEB_RELEASE = dist/$(QUIMBO_RELEASE)-web
WEB_PORT ?= 8000
# Seconds of play over which bench-web watches the wasm memory.
WEB_BENCH_PLAY ?= 60

.PHONY: web web-deps test-web web-serve bench-web web-native web-screenshots

web-deps:
	@scripts/install-deps web

web: web-deps
	JOBS=$(JOBS) PYTHON=$(PYTHON) scripts/build-web $(SOURCES)

# The tests compare the page with the Linux game and read its figures with the game's own
# text routine, so they build those two natively first.
web-native: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target quimbo render_text

test-web: web-deps web-native
	QUIMBO_BIN='$(abspath $(BUILD))/quimbo' \
	  QUIMBO_RENDER_TEXT='$(abspath $(BUILD))/tests/window/render_text' \
	  $(PYTHON) -m pytest -v tests/web

web-serve: web-deps
	@test -f '$(WEB_RELEASE)/index.html' || { echo "web-serve: run make web first" >&2; exit 1; }
	$(PYTHON) tools/web/serve.py '$(WEB_RELEASE)' $(WEB_PORT)

bench-web: web-deps bench
	$(PYTHON) tools/web/bench.py --release '$(WEB_RELEASE)' --play-seconds $(WEB_BENCH_PLAY) \
	  --native '$(BUILD)/bench/performance.md' --out '$(BUILD)/bench/web.md'

# The page at three window sizes, into docs/ (the README shows them).
web-screenshots: web-deps
	$(PYTHON) tools/web/screenshots.py '$(WEB_RELEASE)'
