// The soak: hours of play driven in-process, headless, with random frame times and random keys,
// and the game's invariants checked after every frame. A new game follows every game over.
//
//   soak [--seed N] [--hours H] [--start-hours S] [--small-screen]
//
// --hours is the game time to play; --start-hours puts the game clock that far on before the
// first frame (the clock is never reset, so a short soak started late plays what a long one
// meets at its end). --small-screen draws onto a 16 by 16 surface instead of the display, so
// that a long soak spends its time in the game's rules rather than in blitting.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>

#include "game.h"

namespace {

const double MS_PER_HOUR = 3600.0 * 1000.0;
// Beyond this distance from the screen an active actor has run away: nothing in the game goes
// further than a frame or a fall past the edges before its slot is freed.
const float RUNAWAY = 4096.0f;
// The checks of "still alive late in the game" look at the play after this much game time.
const double LATE_HOURS = 10.0;

struct Options {
    unsigned seed = 1;
    double hours = 0.5;
    double startHours = 0.0;
    bool smallScreen = false;
};

struct Tally {
    long long frames = 0;
    long long games = 0;
    long long spawns = 0;
    long long scoreSteps = 0;
    long long kills = 0;  // enemies brought down by stars, seen as score steps of 100 or more
    long long lateSpawns = 0;
    long long lateScoreSteps = 0;
    double lateFrom = 0.0;
    int bestScore = 0;
};

FILE* report = stderr;

[[noreturn]] void fail(const Tally& t, const char* what, double value)
{
    fprintf(report, "SOAK FAILED after %lld frames (game clock %.3f h): %s (%g)\n", t.frames,
            counter / MS_PER_HOUR, what, value);
    fflush(report);
    _exit(1);
}

void checkPosition(const Tally& t, Sprite& sprite, const char* what)
{
    float x = sprite.getX();
    float y = sprite.getY();
    if (!std::isfinite(x) || !std::isfinite(y))
        fail(t, what, static_cast<double>(x));
    if (x < -RUNAWAY || x > screenWidth + RUNAWAY || y < -RUNAWAY || y > screenHeight + RUNAWAY)
        fail(t, what, static_cast<double>(std::fabs(x) > std::fabs(y) ? x : y));
}

void checkInvariants(const Tally& t)
{
    if (quimbo.health > 100)
        fail(t, "health above 100", quimbo.health);
    if (quimbo.magic < 0 || quimbo.magic > 100)
        fail(t, "magic outside 0..100", quimbo.magic);
    if (quimbo.state < NORMAL || quimbo.state > SLIMEY)
        fail(t, "player state unknown", quimbo.state);
    if (scrollSpeed < 1 || scrollSpeed > 12)
        fail(t, "scroll speed outside 1..12", scrollSpeed);
    if (gameState != RUNNING && gameState != GAMEOVER)
        fail(t, "game state neither running nor over", gameState);
    if (quimbo.state != FALLING)
        checkPosition(t, quimbo.sprite, "player position");
    int enemies = 0, stars = 0, bubbles = 0;
    for (int i = 0; i < ENEMIES; ++i) {
        if (!enemy[i].active)
            continue;
        ++enemies;
        checkPosition(t, enemy[i].sprite, "enemy position");
        if (enemy[i].type < BIRD || enemy[i].type >= DIFENEMIES)
            fail(t, "enemy type unknown", enemy[i].type);
        if (enemy[i].state < NORMAL || enemy[i].state > BLOWING)
            fail(t, "enemy state unknown", enemy[i].state);
        if (!std::isfinite(enemy[i].velocity))
            fail(t, "enemy velocity", static_cast<double>(enemy[i].velocity));
    }
    for (int i = 0; i < STARS; ++i) {
        if (!star[i].active)
            continue;
        ++stars;
        checkPosition(t, star[i].sprite, "star position");
    }
    for (int i = 0; i < BUBBLES; ++i) {
        if (!bubble[i].active)
            continue;
        ++bubbles;
        checkPosition(t, bubble[i].sprite, "bubble position");
    }
    if (dpallo.active)
        checkPosition(t, dpallo.sprite, "ball position");
    for (int i = 0; i < SCENERIES; ++i)
        checkPosition(t, scenery[i], "scenery position");
    if (enemies > ENEMIES || stars > STARS || bubbles > BUBBLES)
        fail(t, "pool overflow", enemies + stars + bubbles);
}

Options parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "--seed" && hasValue)
            o.seed = static_cast<unsigned>(strtoul(argv[++i], nullptr, 10));
        else if (a == "--hours" && hasValue)
            o.hours = strtod(argv[++i], nullptr);
        else if (a == "--start-hours" && hasValue)
            o.startHours = strtod(argv[++i], nullptr);
        else if (a == "--small-screen")
            o.smallScreen = true;
        else {
            fprintf(stderr,
                    "usage: soak [--seed N] [--hours H] [--start-hours S] [--small-screen]\n");
            exit(2);
        }
    }
    return o;
}

// Held arrows change now and then, as a player's would.
void holdRandomArrows(std::mt19937& rng)
{
    static const SDLKey ARROWS[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
    Uint8* keys = SDL_GetKeyState(nullptr);
    for (SDLKey k : ARROWS)
        keys[k] = (rng() % 3 == 0) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options opt = parse(argc, argv);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    // The game's console lines (one per reset, one per attack) would fill the log: they go to
    // /dev/null, and the soak reports on its own copy of standard output.
    fflush(stdout);
    int out = dup(1);
    report = fdopen(out, "w");
    if (freopen("/dev/null", "w", stdout) == nullptr)
        return 1;

    if (gameInit() == 0) {
        fprintf(report, "SOAK FAILED: the game did not start\n");
        return 1;
    }
    SDL_Surface* small = nullptr;
    if (opt.smallScreen) {
        small = SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 16, 32, 0xff0000, 0xff00, 0xff, 0);
        screen = small;
    }
    srand(opt.seed);
    std::mt19937 rng(opt.seed);

    Tally t;
    counter = opt.startHours * MS_PER_HOUR;
    t.lateFrom = std::max(counter, LATE_HOURS * MS_PER_HOUR);
    double end = counter + opt.hours * MS_PER_HOUR;
    bool quit = false;
    resetGame();
    gameState = RUNNING;
    ++t.games;

    bool wasActive[ENEMIES];
    for (int i = 0; i < ENEMIES; ++i)
        wasActive[i] = enemy[i].active;
    int lastScore = quimbo.score;

    while (counter < end) {
        int ms = static_cast<int>(rng() % 50) + 1;
        prevTime = curTime;
        curTime += ms;
        timeDifference = ms;
        deltaTime = static_cast<float>(ms * 0.1);

        if (rng() % 20 == 0)
            holdRandomArrows(rng);
        unsigned roll = rng() % 1000;
        if (roll < 30)
            applyKey(SDLK_SPACE, quit);
        else if (roll < 32)
            applyKey(SDLK_LCTRL, quit);
        else if (roll < 33) {
            // Paused and resumed within one frame: the frame still runs.
            applyKey(SDLK_p, quit);
            applyKey(SDLK_p, quit);
        }

        double before = counter;
        runningUpdate();
        ++t.frames;
        if (!(counter > before))
            fail(t, "game clock did not advance", counter - before);
        bool late = counter >= t.lateFrom;

        for (int i = 0; i < ENEMIES; ++i) {
            if (enemy[i].active && !wasActive[i]) {
                ++t.spawns;
                if (late)
                    ++t.lateSpawns;
            }
            wasActive[i] = enemy[i].active;
        }
        if (quimbo.score > lastScore) {
            ++t.scoreSteps;
            if (quimbo.score - lastScore >= 100)
                ++t.kills;
            if (late)
                ++t.lateScoreSteps;
        }
        lastScore = quimbo.score;
        t.bestScore = std::max(t.bestScore, quimbo.score);

        checkInvariants(t);

        if (gameState == GAMEOVER) {
            applyKey(SDLK_RETURN, quit);
            if (gameState != RUNNING || quimbo.health != 100 || quimbo.score != 0)
                fail(t, "a new game did not start from the game over", gameState);
            lastScore = quimbo.score;
            ++t.games;
        }
        if (quit)
            fail(t, "the game asked to quit", 0);
    }

    double played = opt.hours;
    // However late the clock, enemies keep coming and the score keeps rising: at least one
    // spawn per second of game time and a score step per second are far below the real rates.
    double lateSeconds = (counter - t.lateFrom) / 1000.0;
    if (lateSeconds > 60.0) {
        if (t.lateSpawns < lateSeconds)
            fail(t, "too few enemy spawns late in the game", static_cast<double>(t.lateSpawns));
        if (t.lateScoreSteps < lateSeconds)
            fail(t, "too few score steps late in the game", static_cast<double>(t.lateScoreSteps));
    }
    fprintf(report,
            "soak seed %u: %.2f h of game clock (clock at %.2f h), %lld frames, %lld games, "
            "%lld spawns, %lld score steps, %lld kills, best score %d",
            opt.seed, played, counter / MS_PER_HOUR, t.frames, t.games, t.spawns, t.scoreSteps,
            t.kills, t.bestScore);
    if (lateSeconds > 0.0)
        fprintf(report, "; after %.0f h of clock: %lld spawns, %lld score steps in %.2f h",
                LATE_HOURS, t.lateSpawns, t.lateScoreSteps, lateSeconds / 3600.0);
    fprintf(report, "\n");
    fflush(report);

    if (small != nullptr) {
        SDL_FreeSurface(small);
        screen = nullptr;
    }
    gameShutdown();
    return 0;
}
