// Timing and summaries: every figure the benchmark reports is a median with its spread.
#ifndef QUIMBO_BENCH_MEASURE_H
#define QUIMBO_BENCH_MEASURE_H

#include <functional>
#include <string>
#include <vector>

double nowMs();

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
    std::vector<double> ms;
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
