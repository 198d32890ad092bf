#include "report.h"

#include <cstdio>

static const char HEAD[] = "# Performance\n"
                           "\n"
                           "Every frame repaints the whole screen and nothing is cached, so the "
                           "cheapest frame the game could\n"
                           "ever show is the background blitted at (0, 0) and the flip: that is "
                           "the floor, and each frame is\n"
                           "given as a ratio to it. The pause screen is weighed against the same "
                           "blits made raw, and start-up\n"
                           "against decoding and converting its pictures with nothing around "
                           "them. All figures come from\n"
                           "one run of the benchmark, headless (SDL's dummy video and audio "
                           "drivers), with the committed data.\n"
                           "\n"
                           "To reproduce, from the project root:\n"
                           "\n"
                           "    make bench\n"
                           "\n"
                           "which builds `quimbo_bench`, runs it and writes its report to\n"
                           "`build/bench/performance.md`; `make bench-docs` writes it here, to "
                           "this file. Timings on a\n"
                           "shared machine are noisy: compare ratios, and repeat the run to see "
                           "the spread.\n"
                           "\n";

static const char TAIL[] =
    "\n"
    "## How it is measured\n"
    "\n"
    "- A frame is the state's own work and `SDL_Flip`; the loop's 1 ms sleep, the clock reading "
    "and\n"
    "  the event queue are left out. Its cost is the CPU time of the game's thread\n"
    "  (`CLOCK_THREAD_CPUTIME_ID`), which time slices lost to other programs on a shared machine "
    "do not\n"
    "  inflate; the wall time is shown beside it. Ratios are of CPU medians. Kinds of frame take "
    "turns\n"
    "  in batches, so that a change of load touches all of them alike.\n"
    "- RUNNING frames go through the game's own `runningUpdate`, which ends in `drawGame`, with 10 "
    "ms of\n"
    "  game time each. The quiet scene is a game just after its reset; whatever the spawn timers "
    "bring\n"
    "  in is taken away between frames. The full scene holds 20 enemies (birds, planes and slimes "
    "in\n"
    "  turn), 20 stars, 10 bubbles, the bonus ball and the magician in the blast with its cloud; "
    "slots\n"
    "  that empty are filled again between frames, outside the timed region.\n"
    "- The pause frame is `drawPauseScreen`: the film's 512 tiles laid once on a keyed row "
    "strip,\n"
    "  the strip laid on each of the 384 rows, then the box. Its bare counterpart makes the "
    "196,608\n"
    "  `SDL_UpperBlit` calls of the film tile by tile and the box blit, to the same pixels.\n"
    "- Start-up is `gameInit` with the full catalogue: once as the process's first, then again "
    "after\n"
    "  `gameShutdown` several times, each run followed by the bare `IMG_Load` and "
    "`SDL_DisplayFormat` of\n"
    "  the same pictures; the ratio is the median of the run-by-run ratios. A start-up after a\n"
    "  shut-down reuses the memory that the shut-down freed, while the bare decoding after it "
    "needs\n"
    "  fresh pages, so those runs can come out below 1; the first start-up in the process is the "
    "one\n"
    "  a player waits for. Beyond decoding, start-up opens the libraries, the video mode (about 3 "
    "ms\n"
    "  of CPU), the audio device, two fonts and seven sounds, all of which the game needs.\n"
    "- Allocations are counted by the benchmark's own `malloc`, `calloc`, `realloc` and aligned\n"
    "  allocators (operator new goes through `malloc`), on the game's thread only, inside each "
    "timed\n"
    "  frame. The text routine's share is counted by writing the HUD's three figures alone. "
    "Before\n"
    "  measuring, every glyph is written and every picture blitted once: SDL_ttf keeps a glyph "
    "once\n"
    "  drawn, and SDL links a picture to the screen at its first blit, each with a small "
    "allocation\n"
    "  that happens once per run, not once per frame.\n"
    "- The long run plays a game for 10,500 frames: the magician casts whenever his magic reaches "
    "50,\n"
    "  sets off a blast every 2,000 frames and is healed between frames. The first 500 frames "
    "settle\n"
    "  the scene; of the next 10,000, the first and the last thousand are compared, each as a "
    "ratio to\n"
    "  the floor frames taken among them (one after every fourth game frame).\n";

std::string holdsText(int holds)
{
    return holds < 0 ? "" : holds ? "yes" : "**no**";
}

std::string renderTable(const Report& report)
{
    std::string text = "| Measure | CPU ms, median | p10 - p90 | Wall ms, median | Ratio | Against "
                       "| Target | Holds |\n"
                       "|---|---:|---:|---:|---:|---|---|---|\n";
    for (const Row& row : report.frames)
        text +=
            format("| %s | %.3f | %.3f - %.3f | %.3f | %.2f | %s | %s | %s |\n", row.what.c_str(),
                   row.cost.median, row.cost.low, row.cost.high, row.wall, row.ratio,
                   row.against.c_str(), row.target.c_str(), holdsText(row.holds).c_str());
    text += "\n";
    for (const std::string& note : report.notes)
        text += "- " + note + "\n";
    return text;
}

bool writeDocument(const std::string& path, const std::string& table)
{
    FILE* out = fopen(path.c_str(), "w");
    if (out == nullptr)
        return false;
    fputs(HEAD, out);
    fputs(table.c_str(), out);
    fputs(TAIL, out);
    return fclose(out) == 0;
}
