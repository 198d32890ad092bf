// The replay: a game played headless from a fixed seed, on a steady 10 ms frame clock, by a
// fixed script of keys, through the game's own frame loop. Every frame's state is written to a
// trace and compared with the committed one, so that any change to a rule of play shows as the
// first frame that differs, with the recorded and the new values side by side.
//
//   replay --compare tests/replay/golden.trace   (the test; from the project root)
//   make replay-record                           (records the trace again)
//
// Record again only after a deliberate change of the rules, and say in that commit which rule
// changed and why. The script must still pass through every game state, every player state,
// every kind of enemy in each of its states and the ball, flown and caught: a run that misses
// one fails, and recording refuses it, so that the trace never quietly stops covering a rule.
//
// Each frame is one short line in the trace, its number and a checksum of everything the game
// holds that the rules move: the game state, the scroll speed, the player (position, state,
// health, magic, score), every active actor and every landscape piece. Every FULL_EVERY frames,
// and at every change of the game's or the player's state, the frame is written out in full
// instead: the state line in words and the actors one per line, so that a difference reads in
// the trace and in the report. The frames are drawn, since drawing moves the animations that
// some rules wait for, but onto a small canvas: the rules do not depend on the picture's size.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "game.h"
#include "helpers.h"

namespace {

const unsigned GAME_SEED = 20240611;
const Uint32 FRAME_MS = 10;
const int FRAMES = 3000;  // 30 s of play
const int FULL_EVERY = 100;

// The clock the game reads: it moves only when the replay steps it.
Uint32 ticks = 0;

}  // namespace

extern "C" Uint32 SDL_GetTicks(void)
{
    return ticks;
}

// The frame loop's 1 ms sleep is wall time the replay does not need to wait.
extern "C" void SDL_Delay(Uint32)
{
}

namespace {

const char* gameStateName(int s)
{
    static const char* const NAMES[] = {"running", "paused",  "gameover",
                                        "menu",    "hiscore", "story"};
    return s >= 0 && s <= STORY ? NAMES[s] : "?";
}

const char* playerStateName(int s)
{
    static const char* const NAMES[] = {"normal", "attacking", "falling",
                                        "farted", "bubbled",   "slimey"};
    return s >= 0 && s <= SLIMEY ? NAMES[s] : "?";
}

const char* enemyKindName(int t)
{
    static const char* const NAMES[] = {"bird", "plane", "slime"};
    return t >= 0 && t < DIFENEMIES ? NAMES[t] : "?";
}

const char* enemyStateName(int s)
{
    static const char* const NAMES[] = {"normal", "dying", "falling", "bit", "blowing"};
    return s >= 0 && s <= BLOWING ? NAMES[s] : "?";
}

// FNV-1a over the exact bytes of what the trace records, floats included.
class Checksum {
public:
    template <class T> void add(const T& value)
    {
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&value);
        for (size_t i = 0; i < sizeof value; ++i)
            hash = (hash ^ bytes[i]) * 16777619u;
    }
    Uint32 value() const { return hash; }

private:
    Uint32 hash = 2166136261u;
};

// What the script has seen, so that a trace that no longer passes through every state of play
// is refused instead of passing quietly.
struct Coverage {
    std::set<int> gameStates, playerStates;
    std::set<std::pair<int, int>> enemies;  // kind, state
    bool ballFlew = false, ballCaught = false;

    void see()
    {
        gameStates.insert(gameState);
        playerStates.insert(quimbo.state);
        for (const Enemy& e : enemy)
            if (e.active)
                enemies.insert({e.type, e.state});
        ballFlew = ballFlew || dpallo.active;
    }

    std::vector<std::string> missing() const
    {
        std::vector<std::string> gaps;
        for (int s : {RUNNING, PAUSED, GAMEOVER})
            if (!gameStates.count(s))
                gaps.push_back(std::string("game state ") + gameStateName(s));
        for (int s : {NORMAL, ATTACKING, FALLING, FARTED, BUBBLED, SLIMEY})
            if (!playerStates.count(s))
                gaps.push_back(std::string("player state ") + playerStateName(s));
        const std::pair<int, int> lives[] = {{BIRD, NORMAL}, {BIRD, DYING},   {BIRD, FALLING},
                                             {BIRD, BIT},    {PLANE, NORMAL}, {PLANE, FALLING},
                                             {PLANE, BIT},   {SLIME, NORMAL}, {SLIME, BLOWING}};
        for (const auto& life : lives)
            if (!enemies.count(life))
                gaps.push_back(std::string(enemyKindName(life.first)) + " " +
                               enemyStateName(life.second));
        if (!ballFlew)
            gaps.push_back("the ball in flight");
        if (!ballCaught)
            gaps.push_back("the ball caught");
        return gaps;
    }
};

// One frame as the trace holds it: its state line (in words, or the checksum alone) and, on a
// frame written in full, its actors.
struct Frame {
    int number = 0;
    std::string line;
    std::vector<std::string> actors;
};

// The frame in full: the state in words, closed by the checksum of all of it, and the actors.
Frame record(int frame)
{
    Checksum sum;
    Frame full;
    full.number = frame;
    for (int i = 0; i < ENEMIES; ++i) {
        Enemy& e = enemy[i];
        if (!e.active)
            continue;
        sum.add(i), sum.add(e.type), sum.add(e.state), sum.add(e.sprite.x), sum.add(e.sprite.y);
        full.actors.push_back(format("  enemy %d %s %s %.2f %.2f", i, enemyKindName(e.type),
                                     enemyStateName(e.state), e.sprite.x, e.sprite.y));
    }
    for (int i = 0; i < STARS; ++i) {
        if (!star[i].active)
            continue;
        sum.add(i), sum.add(star[i].sprite.x), sum.add(star[i].sprite.y);
        full.actors.push_back(format("  star %d %.2f %.2f", i, star[i].sprite.x, star[i].sprite.y));
    }
    for (int i = 0; i < BUBBLES; ++i) {
        if (!bubble[i].active)
            continue;
        sum.add(i), sum.add(bubble[i].sprite.x), sum.add(bubble[i].sprite.y);
        full.actors.push_back(
            format("  bubble %d %.2f %.2f", i, bubble[i].sprite.x, bubble[i].sprite.y));
    }
    if (dpallo.active) {
        sum.add(dpallo.sprite.x), sum.add(dpallo.sprite.y);
        full.actors.push_back(format("  ball %.2f %.2f", dpallo.sprite.x, dpallo.sprite.y));
    }
    for (int k = 0; k < SCENERIES; ++k) {
        sum.add(scenery[k].x), sum.add(scenery[k].y);
        full.actors.push_back(format("  land %d %.2f %.2f", k, scenery[k].x, scenery[k].y));
    }
    Sprite& p = quimbo.sprite;
    sum.add(gameState), sum.add(scrollSpeed), sum.add(p.x), sum.add(p.y), sum.add(quimbo.state);
    sum.add(quimbo.health), sum.add(quimbo.magic), sum.add(quimbo.score);
    full.line =
        format("%d %s scroll %d player %.2f %.2f %s health %d magic %d score %d #%08x", frame,
               gameStateName(gameState), scrollSpeed, p.x, p.y, playerStateName(quimbo.state),
               quimbo.health, quimbo.magic, quimbo.score, sum.value());
    return full;
}

// The same frame by its checksum alone.
Frame briefly(const Frame& full)
{
    Frame brief;
    brief.number = full.number;
    brief.line = format("%d %s", full.number, full.line.substr(full.line.rfind('#')).c_str());
    return brief;
}

bool inFull(const Frame& f)
{
    return f.line.find(" #") != f.line.find(' ');
}

// The script's own dice: a fixed sequence, apart from the game's rand().
class Hands {
public:
    unsigned roll(unsigned below)
    {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % below;
    }

private:
    unsigned state = 7;
};

// Holds the arrows that bring the middle of the player's hit box towards (x, y).
void steerTowards(float x, float y)
{
    const float px = quimbo.hitBox.x + quimbo.hitBox.w / 2.0f;
    const float py = quimbo.hitBox.y + quimbo.hitBox.h / 2.0f;
    const float near = 8.0f;
    holdKey(SDLK_LEFT, x < px - near);
    holdKey(SDLK_RIGHT, x > px + near);
    holdKey(SDLK_UP, y < py - near);
    holdKey(SDLK_DOWN, y > py + near);
}

// Something worth flying to: the ball while health is short, else a bubble on its way up.
bool steerToATarget()
{
    if (dpallo.active && quimbo.health < 100) {
        steerTowards(dpallo.sprite.x + dpallo.sprite.getW() / 2.0f,
                     dpallo.sprite.y + dpallo.sprite.getH() / 2.0f);
        return true;
    }
    for (Bubble& b : bubble) {
        if (b.active && b.rising && b.sprite.y < 480.0f) {
            steerTowards(b.sprite.x + b.sprite.getW() / 2.0f, b.sprite.y);
            return true;
        }
    }
    return false;
}

// The keys of one frame. A player who flies to the ball when hurt and into rising bubbles,
// steers about at random otherwise, casts often, takes a pause, gives one game up, blasts now
// and then (four blasts in one life end it) and starts a new game whenever one is over.
void playFrame(int frame, Hands& hands, int& overFor)
{
    if (!steerToATarget() && frame % 30 == 0) {
        static const SDLKey ARROWS[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT};
        for (SDLKey arrow : ARROWS)
            holdKey(arrow, hands.roll(3) == 0);
    }
    if (gameState == GAMEOVER) {
        if (++overFor == 50)
            pushKeyDown(SDLK_RETURN);
        return;
    }
    overFor = 0;
    if (frame == 1500)  // a pause, held for half a second
        pushKeyDown(SDLK_ESCAPE);
    else if (frame == 1550)
        pushKeyDown(SDLK_p);
    else if (frame == 2500) {  // a game given up from the pause
        pushKeyDown(SDLK_p);
        pushKeyDown(SDLK_ESCAPE);
    } else if (frame % 700 == 350)
        pushKeyDown(SDLK_LCTRL);
    else if (hands.roll(40) == 0)
        pushKeyDown(SDLK_SPACE);
}

struct Run {
    std::vector<Frame> trace;  // as the trace file holds it
    std::vector<Frame> full;   // every frame in full, for the report of a difference
    Coverage coverage;
    int coveredAt = 0;  // the frame by which every state of play had been seen
};

Run play()
{
    Run run;
    srand(GAME_SEED);
    resetGame();
    gameState = RUNNING;
    Hands hands;
    int overFor = 0;
    bool quit = false;
    int lastGameState = -1, lastPlayerState = -1;
    for (int frame = 1; frame <= FRAMES && !quit; ++frame) {
        playFrame(frame, hands, overFor);
        ticks += FRAME_MS;
        int health = quimbo.health;
        bool ball = dpallo.active;
        gameFrame(quit);
        // Caught, not flown off: the ball went with health given back.
        if (ball && !dpallo.active && quimbo.health > health)
            run.coverage.ballCaught = true;
        run.coverage.see();
        if (run.coveredAt == 0 && run.coverage.missing().empty())
            run.coveredAt = frame;
        Frame full = record(frame);
        bool changed = gameState != lastGameState || quimbo.state != lastPlayerState;
        lastGameState = gameState;
        lastPlayerState = quimbo.state;
        run.trace.push_back(frame % FULL_EVERY == 0 || changed ? full : briefly(full));
        run.full.push_back(std::move(full));
    }
    return run;
}

bool same(const Frame& a, const Frame& b)
{
    return a.number == b.number && a.line == b.line && a.actors == b.actors;
}

void printPair(FILE* out, const std::string& recorded, const std::string& now)
{
    fprintf(out, "  recorded: %s\n  now:      %s\n", recorded.c_str(), now.c_str());
}

// The first frame that differs, with both values (and the run's in full where the trace holds
// only a checksum); then the first frame written in full in both whose words differ, with its
// first differing actor, so that the change reads as values and not as checksums.
int compare(const std::vector<Frame>& recorded, const Run& run, FILE* out)
{
    const std::vector<Frame>& now = run.trace;
    size_t n = std::min(recorded.size(), now.size());
    size_t i = 0;
    while (i < n && same(recorded[i], now[i]))
        ++i;
    if (i == n && recorded.size() == now.size()) {
        fprintf(out, "replay: %zu frames, every frame as recorded\n", n);
        return 0;
    }
    if (i == n) {
        fprintf(out, "replay: the trace has %zu frames, the run %zu\n", recorded.size(),
                now.size());
        return 1;
    }
    int frame = std::min(recorded[i].number, now[i].number);
    fprintf(out, "replay: first difference at frame %d (%d ms of play)\n", frame,
            frame * static_cast<int>(FRAME_MS));
    printPair(out, recorded[i].line, now[i].line);
    if (frame >= 1 && static_cast<size_t>(frame) <= run.full.size() && !inFull(now[i]))
        fprintf(out, "  now, in full: %s\n", run.full[frame - 1].line.c_str());

    for (const Frame& r : recorded) {
        if (r.number < frame || !inFull(r) || r.number > static_cast<int>(run.full.size()))
            continue;
        const Frame& f = run.full[r.number - 1];
        if (same(r, f))
            continue;
        fprintf(out, "first frame written in full that differs, frame %d:\n", r.number);
        printPair(out, r.line, f.line);
        size_t k = 0;
        while (k < r.actors.size() && k < f.actors.size() && r.actors[k] == f.actors[k])
            ++k;
        if (k < r.actors.size() || k < f.actors.size())
            printPair(out, k < r.actors.size() ? r.actors[k] : "(no more actors)",
                      k < f.actors.size() ? f.actors[k] : "(no more actors)");
        break;
    }
    return 1;
}

// The trace's frames: a line that starts with a number opens a frame, the indented lines
// under it are its actors.
std::vector<Frame> readTrace(const char* path, bool& ok)
{
    std::vector<Frame> frames;
    std::ifstream in(path);
    ok = static_cast<bool>(in);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("  ", 0) == 0 && !frames.empty()) {
            frames.back().actors.push_back(line);
            continue;
        }
        Frame f;
        f.number = atoi(line.c_str());
        f.line = line;
        frames.push_back(f);
    }
    return frames;
}

bool writeTrace(const char* path, const std::vector<Frame>& frames)
{
    FILE* file = fopen(path, "w");
    if (file == nullptr)
        return false;
    fprintf(file,
            "# The replay's golden trace: make replay-record writes it (see tests/replay/).\n"
            "# frame #checksum of the whole state; every %d frames and at each change of game "
            "or player state the frame in full:\n"
            "# frame, game state, scroll, player x y state, health, magic, score, checksum, "
            "then the actors.\n",
            FULL_EVERY);
    for (const Frame& f : frames) {
        fprintf(file, "%s\n", f.line.c_str());
        for (const std::string& actor : f.actors)
            fprintf(file, "%s\n", actor.c_str());
    }
    return fclose(file) == 0;
}

}  // namespace
int main(int argc, char** argv)
{
    if (argc != 3 || (strcmp(argv[1], "--record") != 0 && strcmp(argv[1], "--compare") != 0)) {
        fprintf(stderr, "usage: replay --record|--compare TRACE\n");
        return 2;
    }
    const bool recording = strcmp(argv[1], "--record") == 0;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The game's console lines go nowhere; the replay reports on its own copy of the output.
    fflush(stdout);
    FILE* out = fdopen(dup(1), "w");
    if (out == nullptr || freopen("/dev/null", "w", stdout) == nullptr)
        return 1;
    if (gameInit() == 0) {
        fprintf(out, "replay: the game did not start\n");
        return 1;
    }
    // The frames are drawn onto a 16 by 16 canvas, so that the replay spends its time in the
    // rules rather than in blitting.
    SDL_Surface* display = screen;
    SDL_Surface* canvas =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 16, 16, 32, 0xff0000, 0xff00, 0xff, 0);
    screen = canvas;
    Run run = play();
    screen = display;
    SDL_FreeSurface(canvas);
    gameShutdown();

    std::vector<std::string> gaps = run.coverage.missing();
    for (const std::string& gap : gaps)
        fprintf(out, "replay: the script never reached %s\n", gap.c_str());
    int status = gaps.empty() ? 0 : 1;
    if (status == 0)
        fprintf(out, "replay: every state of play reached by frame %d of %d\n", run.coveredAt,
                FRAMES);
    if (recording) {
        if (status == 0 && !writeTrace(argv[2], run.trace)) {
            fprintf(out, "replay: cannot write %s\n", argv[2]);
            status = 1;
        }
        if (status == 0)
            fprintf(out, "replay: %zu frames recorded to %s\n", run.trace.size(), argv[2]);
    } else {
        bool ok = false;
        std::vector<Frame> recorded = readTrace(argv[2], ok);
        if (!ok) {
            fprintf(out, "replay: cannot read %s (make replay-record writes it)\n", argv[2]);
            status = 1;
        } else if (compare(recorded, run, out) != 0) {
            status = 1;
        }
    }
    fclose(out);
    return status;
}
