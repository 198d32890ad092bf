# The frame-cost benchmark, run headless from the project root. Its smoke run is part of
# `make test` through CTest.
#   make bench        builds it and writes its report to $(BUILD)/bench/performance.md
#   make bench-docs   the same run, written to docs/performance.md, the committed table
.PHONY: bench bench-docs

BENCH_RUN = SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(BUILD)/bench/quimbo_bench

bench: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target quimbo_bench
	$(BENCH_RUN) --out $(BUILD)/bench/performance.md

bench-docs: bench
	cp $(BUILD)/bench/performance.md docs/performance.md
