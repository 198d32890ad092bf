# The quick check after a change: the unit tests, the data files, start-up, the art checks and
# the replay (every test labelled `check`), in well under a minute after a build. `make test`
# runs it first, then everything else.
#   make check           build, then the quick check
#   make replay-record   record the replay's trace again, after a deliberate change of the rules
#                        (the commit that carries the new trace says why)
.PHONY: check replay-record

check: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -L '^check$$'

replay-record: build
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(BUILD)/tests/replay/replay --record tests/replay/golden.trace
