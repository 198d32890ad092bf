#include "measure.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

#include "alloc_count.h"

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double cpuMs()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

static double percentile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0.0;
    double rank = p * static_cast<double>(sorted.size() - 1);
    size_t below = static_cast<size_t>(rank);
    size_t above = std::min(below + 1, sorted.size() - 1);
    double part = rank - static_cast<double>(below);
    return sorted[below] * (1.0 - part) + sorted[above] * part;
}

Summary summarize(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return Summary{percentile(values, 0.5), percentile(values, 0.1), percentile(values, 0.9)};
}

static void runBatch(Probe& probe, int frames, bool keep)
{
    if (probe.begin)
        probe.begin();
    for (int f = 0; f < frames; ++f) {
        if (probe.prepare)
            probe.prepare();
        allocCountStart();
        Stopwatch watch;
        probe.frame();
        Sample took = watch.read();
        long allocs = allocCountStop();
        if (keep) {
            probe.cpu.push_back(took.cpu);
            probe.wall.push_back(took.wall);
            probe.allocs.push_back(allocs);
        }
    }
}

void runInterleaved(std::vector<Probe*>& probes, int frames, int batch, int warmup)
{
    for (Probe* probe : probes)
        runBatch(*probe, warmup, false);
    for (int done = 0; done < frames; done += batch)
        for (Probe* probe : probes)
            runBatch(*probe, std::min(batch, frames - done), true);
}

long residentKb()
{
    long pages = 0, resident = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return 0;
    if (fscanf(statm, "%ld %ld", &pages, &resident) != 2)
        resident = 0;
    fclose(statm);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long peakResidentKb()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double loadAverage()
{
    double load = 0.0;
    FILE* file = fopen("/proc/loadavg", "r");
    if (file == nullptr)
        return 0.0;
    if (fscanf(file, "%lf", &load) != 1)
        load = 0.0;
    fclose(file);
    return load;
}
