# The frame-cost benchmark: `make bench` builds it and runs it headless from the project root,
# writing its table to docs/performance.md. Its smoke run is part of `make test` through CTest.
.PHONY: bench

bench: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target quimbo_bench
	SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy $(BUILD)/bench/quimbo_bench --out docs/performance.md
