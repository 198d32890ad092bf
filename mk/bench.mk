# The frame-cost benchmark, run headless from the project root. Its smoke run is part of
# `make test` through CTest.
.PHONY: bench bench-docs

BENCH_RUN = SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(BUILD)/bench/quimbo_bench

## the frame-cost benchmark, its report in $(BUILD)/bench/performance.md
bench: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target quimbo_bench
	$(BENCH_RUN) --out $(BUILD)/bench/performance.md

## the same run, copied to docs/performance.md, the committed table
bench-docs: bench
	cp $(BUILD)/bench/performance.md docs/performance.md
