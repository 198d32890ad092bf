# Reliability: the sanitizer build, the soak, the damaged-data matrix, memcheck.
ASAN_BUILD ?= build-asan
SOAK_SEEDS ?= 1 2 3 4
SOAK_HOURS ?= 12

# Halt at the first report. The headless runs (unit tests, start-up, soak) unwind every
# allocation in full, so that a leak's stack reaches our code or the library function that owns
# it, and only those named in lsan.supp are let through.
SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/reliability/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The runs in a real X window keep ASan's fast unwinder (the full one makes Mesa's software
# renderer too slow to play) and do not look for leaks: their stacks would stop at the first
# system library built without frame pointers, and X libraries that SDL unloads at exit leave
# reports with no module at all. Invalid accesses and undefined behaviour still halt them; the
# game's leaks are looked for by the headless runs above and by make memcheck.
WINDOW_SANITIZER_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
WINDOW_TESTS = ^(window\.|reliability\.(devices|baddata))

.PHONY: sanitize-build sanitize-test soak baddata-matrix memcheck

## the sanitizer build in build-asan/
sanitize-build: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIMBO_SANITIZE=ON \
	  $(WARNING_FLAGS) -DQUIMBO_PYTHON=$(PYTHON)
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target quimbo unit_tests first_ticks_test replay soak render_text virtual_pads

# The unit tests, the real-window tests and the reliability tests, against the sanitizer build.
# The strace watch stays with the plain build; the benchmark and the data checks test no code.
## the unit, window and reliability tests against the sanitizer build
sanitize-test: sanitize-build
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j$(JOBS) \
	  -E '$(WINDOW_TESTS)|^(reliability\.nowrite|bench_smoke|data_files|data_regeneration|data_comparison)$$'
	cd $(ASAN_BUILD) && $(WINDOW_SANITIZER_ENV) ctest --output-on-failure -j$(JOBS) -R '$(WINDOW_TESTS)'

## 12 hours of game clock for each of four seeds, under the sanitizers
soak: sanitize-build
	cd $(CURDIR) && for seed in $(SOAK_SEEDS); do \
	  $(SANITIZER_ENV) SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
	    $(ASAN_BUILD)/tests/reliability/soak --seed $$seed --hours $(SOAK_HOURS) --small-screen || exit 1; \
	done

## every data file damaged five ways, and Data/ missing, each in Xvfb (~10 s each)
baddata-matrix: build
	QUIMBO_BADDATA=all QUIMBO_BIN='$(abspath $(BUILD))/quimbo' $(PYTHON) -m pytest -v tests/reliability/baddata.py

## valgrind over a scripted session in Xvfb
memcheck: build
	$(PYTHON) -u tests/reliability/memcheck.py --binary $(BUILD)/quimbo
