# The Windows release, cross-built with mingw-w64 and tested under Wine.
# The libraries are built once into build-windows/prefix; later runs rebuild only the game.
## SOURCES=DIR       any folder of the pinned library tarballs: make windows and make web read them there
SOURCES ?=

.PHONY: windows windows-deps test-windows

## installs mingw-w64, Wine and NSIS
windows-deps:
	@scripts/install-deps windows

## the libraries and the game in build-windows/; the zip and installer into dist/
windows: windows-deps
	JOBS=$(JOBS) PYTHON=$(PYTHON) packaging/windows/build-windows $(SOURCES)

## the zip and the installer under Wine, in their own Xvfb
test-windows: windows-deps
	$(PYTHON) -m pytest -v tests/windows
