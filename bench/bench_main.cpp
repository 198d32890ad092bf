// The frame-cost benchmark: every game state's frame against the cheapest frame the game could
// ever draw (the background and the flip), start-up against the bare decoding of its pictures,
// heap allocations per frame, resident memory and a long run that must not slow down.
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "alloc_count.h"
#include "catalogue.h"
#include "game.h"
#include "measure.h"
#include "report.h"
#include "scenes.h"
#include "sheets.h"

struct Options {
    int frames = 300;     // timed frames of each kind
    int batch = 10;       // frames of one kind in a row
    int warmup = 30;      // untimed frames of each kind first
    int soak = 10000;     // frames of the long run
    int startupRuns = 9;  // start-ups timed after the first
    std::string out;      // the report's file; none: the table only goes to standard output
};

static const char* const USAGE =
    "usage: quimbo_bench [--frames N] [--batch N] [--warmup N] [--soak N] [--startup-runs N] "
    "[--out FILE]\n";

// A whole number, and nothing after it.
static bool readCount(const char* text, int& count)
{
    char* end = nullptr;
    long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 100000000)
        return false;
    count = static_cast<int>(value);
    return true;
}

// The options, or false (with the reason on standard error) for a flag the benchmark does not
// know, a flag without its value or a count that is not a number: a mistyped flag would
// otherwise give a run that measured something else than was asked.
static bool parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; i += 2) {
        std::string name = argv[i];
        if (i + 1 >= argc) {
            fprintf(stderr, "bench: %s needs a value\n%s", name.c_str(), USAGE);
            return false;
        }
        const char* value = argv[i + 1];
        int* count = name == "--frames"         ? &options.frames
                     : name == "--batch"        ? &options.batch
                     : name == "--warmup"       ? &options.warmup
                     : name == "--soak"         ? &options.soak
                     : name == "--startup-runs" ? &options.startupRuns
                                                : nullptr;
        if (name == "--out") {
            options.out = value;
        } else if (count == nullptr) {
            fprintf(stderr, "bench: unknown option %s\n%s", name.c_str(), USAGE);
            return false;
        } else if (!readCount(value, *count)) {
            fprintf(stderr, "bench: %s wants a whole number, not %s\n", name.c_str(), value);
            return false;
        }
    }
    if (options.frames < 1)
        options.frames = 1;
    if (options.batch < 1)
        options.batch = 1;
    if (options.soak < 20)
        options.soak = 20;
    return true;
}

// Decoding and converting the catalogue's pictures, which start-up loads, with nothing around
// it; the copies are freed after the clock stops, since start-up keeps its own.
static Sample bareDecode(const std::vector<std::string>& pictures)
{
    std::vector<SDL_Surface*> kept(pictures.size(), nullptr);
    Stopwatch watch;
    for (size_t i = 0; i < pictures.size(); ++i) {
        SDL_Surface* loaded = IMG_Load(pictures[i].c_str());
        if (loaded == nullptr)
            continue;
        kept[i] = SDL_DisplayFormat(loaded);
        SDL_FreeSurface(loaded);
    }
    Sample took = watch.read();
    for (SDL_Surface* surface : kept)
        if (surface != nullptr)
            SDL_FreeSurface(surface);
    return took;
}

static Sample timedInit(bool& started)
{
    Stopwatch watch;
    started = gameInit() != 0;
    return watch.read();
}

static void flip()
{
    if (screen != nullptr)
        SDL_Flip(screen);
}

// The pause film as raw blits, with the same tiling and the same box on top, and no checks.
static const int FILM_PITCH = 2;
static void rawPauseBlits()
{
    SDL_Surface* film = tummennuskalvo;
    if (film != nullptr) {
        for (int j = 0; j < screenHeight / FILM_PITCH; ++j) {
            for (int i = 0; i < screenWidth / FILM_PITCH; ++i) {
                SDL_Rect src = {0, 0, static_cast<Uint16>(film->w), static_cast<Uint16>(film->h)};
                SDL_Rect dest = {static_cast<Sint16>(FILM_PITCH * i),
                                 static_cast<Sint16>(FILM_PITCH * j), 0, 0};
                SDL_UpperBlit(film, &src, screen, &dest);
            }
        }
    }
    if (paused != nullptr) {
        SDL_Rect dest = {static_cast<Sint16>(screenWidth / 2 - paused->w / 2),
                         static_cast<Sint16>(screenHeight / 2 - paused->h / 2), 0, 0};
        SDL_UpperBlit(paused, nullptr, screen, &dest);
    }
}

// SDL_ttf keeps each glyph once it has been drawn; every printable character is drawn once up
// front, so that the first appearance of a digit in the score is not counted as a frame's
// allocation.
static void primeGlyphs()
{
    char printable[96];
    for (int c = ' '; c <= '~'; ++c)
        printable[c - ' '] = static_cast<char>(c);
    printable[sizeof printable - 1] = '\0';
    writeLines(screen, verdana32, 0, 0, White, "%s", printable);
    writeLines(screen, verdana, 0, 0, White, "%s", printable);
}

// The HUD's three figures, written by the game's own routine as a RUNNING frame writes them.
static long textRoutineAllocs()
{
    long most = 0;
    for (int k = 0; k < 20; ++k) {
        allocCountStart();
        drawHudFigures();
        long count = allocCountStop();
        if (count > most)
            most = count;
    }
    return most;
}

static long maxOf(const std::vector<long>& values, size_t from, size_t to)
{
    long most = 0;
    for (size_t i = from; i < to && i < values.size(); ++i)
        if (values[i] > most)
            most = values[i];
    return most;
}

static long maxOf(const std::vector<long>& values)
{
    return maxOf(values, 0, values.size());
}

static long minOf(const std::vector<long>& values)
{
    long least = values.empty() ? 0 : values[0];
    for (long v : values)
        if (v < least)
            least = v;
    return least;
}

static std::vector<double> slice(const std::vector<double>& values, size_t from, size_t to)
{
    return std::vector<double>(values.begin() + static_cast<long>(from),
                               values.begin() + static_cast<long>(to));
}

static double medianOf(const std::vector<double>& values)
{
    return summarize(values).median;
}

// Every kind of frame, timed in turns.
struct FrameRuns {
    Probe floor{"floor",
                nullptr,
                nullptr,
                [] {
                    drawImg(background, screen, 0, 0);
                    flip();
                },
                {},
                {},
                {}};
    Probe quiet{"quiet",
                [] { resetGame(); },
                keepQuiet,
                [] {
                    runningUpdate();
                    flip();
                },
                {},
                {},
                {}};
    Probe full{"full",
               nullptr,
               keepFull,
               [] {
                   runningUpdate();
                   flip();
               },
               {},
               {},
               {}};
    Probe pause{"paused",
                nullptr,
                nullptr,
                [] {
                    drawPauseScreen();
                    flip();
                },
                {},
                {},
                {}};
    Probe bare{"bare",
               nullptr,
               nullptr,
               [] {
                   rawPauseBlits();
                   flip();
               },
               {},
               {},
               {}};
    Probe menu{"menu",
               nullptr,
               nullptr,
               [this] {
                   mainMenuFrame(quit);
                   flip();
               },
               {},
               {},
               {}};
    Probe hiscore{"hiscore",
                  nullptr,
                  nullptr,
                  [] {
                      drawHiscoreScreen();
                      flip();
                  },
                  {},
                  {},
                  {}};
    Probe over{"gameover",
               nullptr,
               nullptr,
               [] {
                   drawGameOverScreen();
                   flip();
               },
               {},
               {},
               {}};
    bool quit = false;  // the menu has nowhere to go without a click
    double seconds = 0.0;

    void run(const Options& options)
    {
        std::vector<Probe*> probes = {&floor, &quiet, &full, &pause, &bare, &menu, &hiscore, &over};
        double start = nowMs();
        runInterleaved(probes, options.frames, options.batch, options.warmup);
        seconds = (nowMs() - start) / 1000.0;
    }
};

// A game played on, timed frame by frame, with a floor frame after every fourth game frame, so
// that the first and the last thousand are each weighed against the floor of their own moment.
struct LongRun {
    std::vector<double> cpu, wall, floorCpu;
    std::vector<long> allocs;
    long residentStart = 0;
    long residentEnd = 0;

    void run(const Options& options)
    {
        resetGame();
        gameState = RUNNING;
        int settle = options.soak / 20;
        for (long f = 0; f < options.soak + settle; ++f) {
            keepPlaying(f);
            if (f == settle)
                residentStart = residentKb();
            allocCountStart();
            Stopwatch watch;
            runningUpdate();
            flip();
            Sample took = watch.read();
            long count = allocCountStop();
            if (f < settle)
                continue;
            cpu.push_back(took.cpu);
            wall.push_back(took.wall);
            allocs.push_back(count);
            if (f % 4 == 0) {
                Stopwatch floorWatch;
                drawImg(background, screen, 0, 0);
                flip();
                floorCpu.push_back(floorWatch.read().cpu);
            }
        }
        residentEnd = residentKb();
    }
};

// Start-up again, a few times over, each with its bare counterpart right after it; the ratio
// is taken run by run, so that each start-up is weighed against its own moment.
struct StartupRuns {
    std::vector<std::string> pictures;
    Sample coldInit{0.0, 0.0};
    Sample coldBare{0.0, 0.0};
    std::vector<double> initCpu, initWall, bareCpu, bareWall, ratios;

    void run(const Options& options)
    {
        for (int r = 0; r < options.startupRuns; ++r) {
            releaseSheetPictures();
            gameShutdown();
            bool started = false;
            Sample init = timedInit(started);
            if (!started)
                break;
            Sample decode = bareDecode(pictures);
            initCpu.push_back(init.cpu);
            initWall.push_back(init.wall);
            bareCpu.push_back(decode.cpu);
            bareWall.push_back(decode.wall);
            ratios.push_back(init.cpu / decode.cpu);
            resetGame();
        }
    }
};

static void reportFrames(Report& report, FrameRuns& frames)
{
    Summary floorCost = summarize(frames.floor.cpu);
    auto toFloor = [&](Probe& p, const std::string& what, double limit) {
        Summary s = summarize(p.cpu);
        double ratio = s.median / floorCost.median;
        return Row{what,
                   s,
                   medianOf(p.wall),
                   ratio,
                   "floor",
                   limit > 0 ? format("<= %.1f", limit) : "",
                   limit > 0 ? (ratio <= limit ? 1 : 0) : -1};
    };
    report.frames.push_back(Row{"Floor: background + flip", floorCost, medianOf(frames.floor.wall),
                                1.0, "floor", "", -1});
    report.frames.push_back(toFloor(frames.quiet, "RUNNING, quiet scene", 1.3));
    report.frames.push_back(toFloor(frames.full, "RUNNING, full scene", 1.5));
    Summary pauseCost = summarize(frames.pause.cpu);
    Summary bareCost = summarize(frames.bare.cpu);
    double pauseRatio = pauseCost.median / bareCost.median;
    report.frames.push_back(Row{"PAUSED (drawPauseScreen + flip)", pauseCost,
                                medianOf(frames.pause.wall), pauseRatio, "bare blits", "<= 1.1",
                                pauseRatio <= 1.1 ? 1 : 0});
    report.frames.push_back(Row{"Bare: 196,608 film blits + box + flip", bareCost,
                                medianOf(frames.bare.wall), bareCost.median / floorCost.median,
                                "floor", "", -1});
    report.frames.push_back(toFloor(frames.menu, "MAINMENU", 0));
    report.frames.push_back(toFloor(frames.hiscore, "HISCORE", 0));
    report.frames.push_back(toFloor(frames.over, "GAMEOVER", 0));

    double tallied = fullTally.frames > 0 ? static_cast<double>(fullTally.frames) : 1.0;
    report.notes.push_back(
        format("The full scene's frames ended on average with %.1f enemies, %.1f stars, %.1f "
               "bubbles and %.2f balls still active (%ld frames counted); all were filled again "
               "before the next frame, and every frame drew the blast cloud.",
               fullTally.enemies / tallied, fullTally.stars / tallied, fullTally.bubbles / tallied,
               fullTally.balls / tallied, fullTally.frames));
    report.notes.push_back(format(
        "The pause screen's cost is set by the rule that draws the film 512 x 384 times a "
        "frame: the bare blits alone take %.1f x the floor, and the frame drawn with drawImg "
        "takes %.2f x the bare blits.",
        bareCost.median / floorCost.median, pauseRatio));
    report.notes.push_back(format(
        "The high-score table renders its twenty texts afresh every frame: %.2f x the "
        "floor and %ld allocations a frame, all of them the text routine's.",
        summarize(frames.hiscore.cpu).median / floorCost.median, maxOf(frames.hiscore.allocs)));
}

static void reportStartup(Report& report, StartupRuns& startup)
{
    double ratio = summarize(startup.ratios).median;
    double wall = medianOf(startup.initWall);
    // The player waits for the wall clock: the 250 ms bound is on wall time.
    Sample cold = startup.coldInit;
    report.frames.push_back(Row{"gameInit, first in the process",
                                Summary{cold.cpu, cold.cpu, cold.cpu}, cold.wall,
                                cold.cpu / startup.coldBare.cpu, "bare, first", "< 250 ms wall",
                                cold.wall < 250.0 ? 1 : 0});
    report.frames.push_back(
        Row{format("gameInit, %d more runs", static_cast<int>(startup.initCpu.size())),
            summarize(startup.initCpu), wall, ratio, "bare, run by run", "<= 1.3, < 250 ms wall",
            ratio <= 1.3 && wall < 250.0 ? 1 : 0});
    report.frames.push_back(Row{
        format("Bare: IMG_Load + SDL_DisplayFormat of the %zu pictures", startup.pictures.size()),
        summarize(startup.bareCpu), medianOf(startup.bareWall), 1.0, "bare", "", -1});
}

static void reportLongRun(Report& report, LongRun& run, FrameRuns& frames, long textAllocs)
{
    size_t n = run.cpu.size();
    size_t window = std::min<size_t>(1000, n / 10);
    size_t floorWindow = window / 4;
    size_t floors = run.floorCpu.size();
    Summary first = summarize(slice(run.cpu, 0, window));
    Summary last = summarize(slice(run.cpu, n - window, n));
    double firstRatio = first.median / medianOf(slice(run.floorCpu, 0, floorWindow));
    double lastRatio = last.median / medianOf(slice(run.floorCpu, floors - floorWindow, floors));
    double growth = lastRatio / firstRatio;
    report.frames.push_back(Row{format("Long run: first %zu of %zu RUNNING frames", window, n),
                                first, medianOf(slice(run.wall, 0, window)), firstRatio,
                                "floor then", "", -1});
    report.frames.push_back(Row{format("Long run: last %zu", window), last,
                                medianOf(slice(run.wall, n - window, n)), lastRatio, "floor then",
                                format("<= 1.1 x first (%.2f)", growth), growth <= 1.1 ? 1 : 0});

    long quietMost = maxOf(frames.quiet.allocs);
    long fullMost = maxOf(frames.full.allocs);
    long runFirst = maxOf(run.allocs, 0, window);
    long runLast = maxOf(run.allocs, n - window, n);
    long beyond = std::max(std::max(quietMost, fullMost), std::max(runFirst, runLast)) - textAllocs;
    report.notes.push_back(
        format("Heap allocations per RUNNING frame: quiet %ld-%ld, full %ld-%ld, long run %ld-%ld; "
               "the text routine's three figures alone: %ld. Beyond the text routine: %ld "
               "(target 0): %s.",
               minOf(frames.quiet.allocs), quietMost, minOf(frames.full.allocs), fullMost,
               minOf(run.allocs), std::max(runFirst, runLast), textAllocs, beyond,
               holdsText(beyond <= 0).c_str()));
    report.notes.push_back(
        format("Heap allocations per frame elsewhere: floor %ld, PAUSED %ld, bare blits %ld, "
               "MAINMENU %ld, HISCORE %ld (twenty texts), GAMEOVER %ld (one text).",
               maxOf(frames.floor.allocs), maxOf(frames.pause.allocs), maxOf(frames.bare.allocs),
               maxOf(frames.menu.allocs), maxOf(frames.hiscore.allocs), maxOf(frames.over.allocs)));
    report.notes.push_back(
        format("Long run allocations per frame: first %zu at most %ld, last %zu at most %ld; "
               "resident memory %ld kB at its start, %ld kB at its end.",
               window, runFirst, window, runLast, run.residentStart, run.residentEnd));
}

int main(int argc, char** argv)
{
    Options options;
    if (!parseOptions(argc, argv, options))
        return 2;
    allocCountThisThread();
    // The game's own progress lines would drown the table: they go to /dev/null, the table to
    // the original standard output.
    fflush(stdout);
    FILE* console = fdopen(dup(1), "w");
    if (console == nullptr || freopen("/dev/null", "w", stdout) == nullptr)
        return 1;

    double loadBefore = loadAverage();
    StartupRuns startup;
    for (const CatalogueEntry& picture : readCatalogue("picture"))
        startup.pictures.push_back(picture.path());
    if (startup.pictures.empty()) {
        fprintf(console, "bench: no pictures in %s\n", QUIMBO_CATALOGUE);
        return 1;
    }
    bool started = false;
    startup.coldInit = timedInit(started);
    if (!started) {
        fprintf(console, "bench: the game did not start\n");
        gameShutdown();
        return 1;
    }
    startup.coldBare = bareDecode(startup.pictures);
    primeGlyphs();
    primePictures();
    resetGame();
    gameState = RUNNING;

    FrameRuns frames;
    frames.run(options);
    LongRun longRun;
    longRun.run(options);
    long textAllocs = textRoutineAllocs();
    long peakKb = peakResidentKb();
    startup.run(options);

    Report report;
    reportFrames(report, frames);
    reportStartup(report, startup);
    reportLongRun(report, longRun, frames, textAllocs);
    report.notes.push_back(
        format("Peak resident memory over the frames and the long run: %ld kB.", peakKb));
    report.notes.push_back(
        format("%d timed frames of each kind after %d of warm-up, in batches of %d taken in turn "
               "(%.1f s); each RUNNING frame steps %d ms of game time.",
               options.frames, options.warmup, options.batch, frames.seconds, BENCH_FRAME_MS));
    report.notes.push_back(
        format("Load average of the machine: %.2f at the start, %.2f at the end.", loadBefore,
               loadAverage()));

    std::string table = renderTable(report);
    fputs(table.c_str(), console);
    bool written = options.out.empty() || writeDocument(options.out, table);

    releaseSheetPictures();
    gameShutdown();
    if (!written)
        fprintf(console, "bench: cannot write %s\n", options.out.c_str());
    else if (!options.out.empty())
        fprintf(console, "bench: report written to %s\n", options.out.c_str());
    fclose(console);
    return written ? 0 : 1;
}
