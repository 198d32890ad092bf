# The quick check after a change: the unit tests, the data files, start-up, the art checks and
# the replay (every test labelled `check`), in well under a minute after a build. It installs
# only its own package set (`scripts/install-deps check`: building, GoogleTest, the Python
# modules and fonts these tests read), so it asks apt nothing when those are there, and runs
# with no packaging tools, valgrind, strace or X server on the machine. `make test` installs
# the full set, then runs the same tests first and everything else after them.
#   make check           build, then the quick check
#   make check-assets    remake Data/ and compare it with the committed files byte for byte
#                        (part of make test; the quick check compares pixels and samples)
#   make replay-record   record the replay's trace again, after a deliberate change of the rules
#                        (the commit that carries the new trace says why)
.PHONY: deps-check check-build check check-assets replay-record

CHECK_TESTS = cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -L '^check$$'

EXTRA_TESTS += check-assets

deps-check:
	@scripts/install-deps check

check-build: deps-check
	$(BUILD_ALL)

check: check-build
	$(CHECK_TESTS)

check-assets: deps-check
	$(PYTHON) tests/data/check_regeneration.py --bytes

replay-record: check-build
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(BUILD)/tests/replay/replay --record tests/replay/golden.trace
