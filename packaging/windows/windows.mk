# The Windows release, cross-built with mingw-w64 and tested under Wine:
#   make windows                      downloads the pinned library sources, builds everything in
#                                     build-windows/ and writes dist/quimbo-VERSION-windows-x64.zip
#                                     and dist/quimbo-VERSION-windows-x64-setup.exe
#   make windows SOURCES=DIR          takes the tarballs from DIR instead of downloading them
#   make test-windows                 runs the zip and the installer under Wine in their own Xvfb
# The libraries are built once into build-windows/prefix; later runs rebuild only the game.
SOURCES ?=

.PHONY: windows windows-deps test-windows

windows-deps:
	@scripts/install-deps windows

windows: windows-deps
	JOBS=$(JOBS) PYTHON=$(PYTHON) scripts/build-windows $(SOURCES)

test-windows: windows-deps
	$(PYTHON) -m pytest -v tests/windows
