// Timing and summaries: every figure the benchmark reports is a median with its spread.
#ifndef QUIMBO_BENCH_MEASURE_H
#define QUIMBO_BENCH_MEASURE_H

#include <functional>
#include <string>
#include <vector>

// The wall clock, and the CPU time of the calling thread: a frame's cost is the CPU time the
// game's thread spends on it, which time slices lost to other programs do not inflate.
double nowMs();
double cpuMs();

struct Sample {
    double cpu;
    double wall;
};

class Stopwatch {
public:
    Stopwatch() : wall(nowMs()), cpu(cpuMs()) {}
    Sample read() const { return Sample{cpuMs() - cpu, nowMs() - wall}; }

private:
    double wall;
    double cpu;
};

struct Summary {
    double median;
    double low;   // 10th percentile
    double high;  // 90th percentile
};
Summary summarize(std::vector<double> values);

// One kind of frame: `prepare` sets the scene outside the timed region, `frame` is timed
// together with the flip that presents it; each frame's allocations are counted too.
struct Probe {
    std::string name;
    std::function<void()> begin;    // once before each batch of frames
    std::function<void()> prepare;  // before each frame, untimed
    std::function<void()> frame;    // the timed work, the flip included
    std::vector<double> cpu;
    std::vector<double> wall;
    std::vector<long> allocs;
};

// Runs `frames` frames of each probe in interleaved batches, after a warm-up batch each,
// so that a change of load on the machine touches every probe alike.
void runInterleaved(std::vector<Probe*>& probes, int frames, int batch, int warmup);

// Resident memory now, and the peak so far, in kilobytes.
long residentKb();
long peakResidentKb();
// The machine's one-minute load average, to tell a quiet run from a busy one.
double loadAverage();

#endif
