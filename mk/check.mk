# The quick check after a change: the unit tests, the data files, start-up, the art checks and
# the replay (every test labelled `check`), in well under a minute after a build. It installs
# only its own package set (`scripts/install-deps check`: building, GoogleTest, the Python
# modules and fonts these tests read), so it asks apt nothing when those are there, and runs
# with no packaging tools, valgrind, strace or X server on the machine. `make test` installs
# the full set, then runs the same tests first and everything else after them. A new trace
# from replay-record comes after a deliberate change of the rules, and its commit says why.
.PHONY: deps-check check-build check check-assets replay-record

CHECK_TESTS = cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -L '^check$$'

## installs only what building and the quick check need
deps-check:
	@scripts/install-deps check

## builds everything with only the quick check's packages
check-build: deps-check
	$(BUILD_ALL)

## builds, then the quick check (well under a minute after a build)
check: check-build
	$(CHECK_TESTS)

## draws Data/ again and compares it byte for byte with the committed files
check-assets: deps-check
	$(PYTHON) tests/data/check_regeneration.py --bytes

## records the replay's trace again
replay-record: check-build
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(BUILD)/tests/replay/replay --record tests/replay/golden.trace
