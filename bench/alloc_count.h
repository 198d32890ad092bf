// Counts heap allocations made by the benchmark's own thread while counting is switched on.
// malloc and its relatives are replaced in the benchmark program, so every allocation by the
// game, SDL, SDL_ttf, FreeType and operator new passes through the counter.
#ifndef QUIMBO_BENCH_ALLOC_COUNT_H
#define QUIMBO_BENCH_ALLOC_COUNT_H

// Marks the calling thread as the one whose allocations count (the mixer's thread never does).
void allocCountThisThread();
// Starts counting from zero.
void allocCountStart();
// Stops counting and returns the number of allocations since allocCountStart.
long allocCountStop();

#endif
