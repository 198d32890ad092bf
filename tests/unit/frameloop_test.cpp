// The frame loop: its clock, the key table, the game states and the RUNNING sequence's own steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "test_support.h"

namespace {

class FrameLoop : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gameStarted()); }

    // One frame of `ms` milliseconds on a controlled clock, with the keys pressed during it.
    bool frame(int ms, std::vector<SDLKey> keys = {})
    {
        ticks += static_cast<Uint32>(ms);
        setWallClock(ticks);
        for (SDLKey key : keys)
            pushKeyDown(key);
        bool quit = false;
        gameFrame(quit);
        return quit;
    }

    // Puts the frame clock at a known tick so that the next frame has a known length.
    void startClockAt(Uint32 at)
    {
        ticks = at;
        setWallClock(ticks);
        updateClock();
    }

    Uint32 ticks = 0;
};

TEST_F(FrameLoop, FrameTimeIsTakenInUnsigned32BitsAcrossTheTickWrap)
{
    struct Case {
        Uint32 before, now;
        int difference;
    } cases[] = {
        {1000u, 1017u, 17},
        {0xFFFFFFF6u, 6u, 16},          // the tick count wraps after 49.7 days
        {0x7FFFFFFCu, 0x80000002u, 6},  // and passes 2^31 after 24.8 days
    };
    for (const Case& c : cases) {
        setWallClock(c.before);
        updateClock();
        setWallClock(c.now);
        updateClock();
        EXPECT_EQ(timeDifference, c.difference) << c.before << " to " << c.now;
        EXPECT_FLOAT_EQ(deltaTime, c.difference * 0.1f);
        EXPECT_EQ(curTime, static_cast<int>(c.now));
        EXPECT_EQ(prevTime, static_cast<int>(c.now));
    }
}

TEST_F(FrameLoop, KeyTableTakesTheFirstRowThatMatchesKeyAndState)
{
    struct Case {
        int from;
        SDLKey key;
        int to;
        bool quit;
    } cases[] = {
        {RUNNING, SDLK_ESCAPE, PAUSED, false},
        {RUNNING, SDLK_p, PAUSED, false},
        {PAUSED, SDLK_ESCAPE, GAMEOVER, false},
        {PAUSED, SDLK_RETURN, RUNNING, false},
        {PAUSED, SDLK_p, RUNNING, false},
        {GAMEOVER, SDLK_ESCAPE, MAINMENU, false},
        {MAINMENU, SDLK_ESCAPE, MAINMENU, true},
        {HISCORE, SDLK_ESCAPE, MAINMENU, false},
        {HISCORE, SDLK_a, MAINMENU, false},
        {HISCORE, SDLK_RETURN, MAINMENU, false},
        // Keys without a row in their state do nothing.
        {RUNNING, SDLK_RETURN, RUNNING, false},
        {MAINMENU, SDLK_RETURN, MAINMENU, false},
        {GAMEOVER, SDLK_p, GAMEOVER, false},
        {PAUSED, SDLK_SPACE, PAUSED, false},
        {GAMEOVER, SDLK_RETURN, RUNNING, false},  // a new game, with the game clock running on
        {STORY, SDLK_ESCAPE, STORY, false},
        {STORY, SDLK_RETURN, STORY, false},
    };
    for (const Case& c : cases) {
        gameState = c.from;
        quimbo.score = 4321;
        counter = 9000.0;
        bool quit = false;
        StdoutCapture out;
        applyKey(c.key, quit);
        const bool newGame = c.from == GAMEOVER && c.to == RUNNING;
        EXPECT_EQ(gameState, c.to) << "key " << c.key << " in state " << c.from;
        EXPECT_EQ(quit, c.quit) << "key " << c.key << " in state " << c.from;
        EXPECT_EQ(out.text(), newGame ? "Game succesfully reseted\n" : "");
        EXPECT_EQ(quimbo.score, newGame ? 0 : 4321);
        EXPECT_EQ(counter, 9000.0);
    }
}

TEST_F(FrameLoop, SpaceAndLeftCtrlActOnlyWhileRunningAndTheMagicianIsNormal)
{
    const int gameStates[] = {RUNNING, PAUSED, GAMEOVER, MAINMENU, HISCORE, STORY};
    const int playerStates[] = {NORMAL, ATTACKING, FALLING, FARTED, BUBBLED, SLIMEY};
    for (int game : gameStates) {
        for (int player : playerStates) {
            const bool allowed = game == RUNNING && player == NORMAL;
            for (SDLKey key : {SDLK_SPACE, SDLK_LCTRL}) {
                const bool zap = key == SDLK_SPACE;
                quimbo.reset();
                quimbo.state = player;
                gameState = game;
                scrollSpeed = 3;
                bool quit = false;
                StdoutCapture out;
                applyKey(key, quit);
                EXPECT_EQ(zap ? quimbo.magic : quimbo.health, allowed ? (zap ? 0 : 75) : 100)
                    << "key " << key << " in " << game << "/" << player;
                EXPECT_EQ(out.text(), allowed && zap ? "Quimbo taiko!\n" : "");
                EXPECT_FALSE(quit);
            }
        }
    }
    haltBlastSound();
}

TEST_F(FrameLoop, EveryKeyOfAFrameActsOnTheStateLeftByTheOneBefore)
{
    struct Case {
        int from;
        std::vector<SDLKey> keys;
        int to;
        bool quit;
        bool ranRunning;  // whether the frame's state work was a RUNNING update
    } cases[] = {
        {RUNNING, {SDLK_p, SDLK_p}, RUNNING, false, true},
        {RUNNING, {SDLK_ESCAPE, SDLK_ESCAPE}, GAMEOVER, false, false},
        {RUNNING, {SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE, SDLK_ESCAPE}, MAINMENU, true, false},
        {PAUSED, {SDLK_RETURN, SDLK_p}, PAUSED, false, false},
        {HISCORE, {SDLK_ESCAPE, SDLK_ESCAPE}, MAINMENU, true, false},
    };
    startClockAt(50000);
    for (const Case& c : cases) {
        gameState = c.from;
        double before = counter;
        bool quit = frame(16, c.keys);
        EXPECT_EQ(gameState, c.to) << "from " << c.from << " with " << c.keys.size() << " keys";
        EXPECT_EQ(quit, c.quit) << "from " << c.from << " with " << c.keys.size() << " keys";
        EXPECT_EQ(counter - before, c.ranRunning ? 16.0 : 0.0);
    }
}

TEST_F(FrameLoop, CloseRequestSetsTheQuitFlagAndTheQueueStillDrains)
{
    gameState = RUNNING;
    startClockAt(1000);
    SDL_Event close;
    close.type = SDL_QUIT;
    SDL_PushEvent(&close);
    EXPECT_TRUE(frame(10, {SDLK_ESCAPE}));
    EXPECT_EQ(gameState, PAUSED);
}

TEST_F(FrameLoop, StoryFrameDoesNothingButPresent)
{
    gameState = STORY;
    startClockAt(1000);
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 40, 80, 120));
    double before = counter;
    EXPECT_FALSE(frame(20, {SDLK_ESCAPE, SDLK_SPACE, SDLK_RETURN}));
    EXPECT_EQ(gameState, STORY);
    EXPECT_EQ(counter, before);
    EXPECT_EQ(screenPixel(0, 0), 0x285078u);
    EXPECT_EQ(screenPixel(1023, 767), 0x285078u);
}

TEST_F(FrameLoop, GameClockAdvancesOnlyInRunningFramesAndResumesWithoutAJump)
{
    startClockAt(10000);
    const int standing[] = {PAUSED, GAMEOVER, MAINMENU, HISCORE, STORY};
    for (int state : standing) {
        gameState = state;
        double before = counter;
        frame(500);
        EXPECT_EQ(counter, before) << "state " << state;
        EXPECT_EQ(timeDifference, 500);
    }
    gameState = PAUSED;
    frame(3000);
    double before = counter;
    frame(15, {SDLK_p});
    EXPECT_EQ(gameState, RUNNING);
    EXPECT_EQ(counter - before, 15.0);
    EXPECT_FLOAT_EQ(deltaTime, 1.5f);
}

TEST_F(FrameLoop, EnemyWhoseLeftEdgePassesTheBorderIsSwitchedOffInThatFrame)
{
    gameState = RUNNING;
    setFrameTime(10);  // one step of 10 ms
    struct Case {
        int slot;
        float x;
        bool stays;
    } cases[] = {{3, 4.5f, false}, {4, 5.0f, true}, {5, 400.0f, true}};
    for (const Case& c : cases)
        placeEnemy(c.slot, PLANE, c.x, 700.0f).velocity = -5.0f;
    runningUpdate();
    for (const Case& c : cases) {
        EXPECT_EQ(enemy[c.slot].active, c.stays) << "from x " << c.x;
        EXPECT_FLOAT_EQ(enemy[c.slot].sprite.getX(), c.x - 5.0f);
    }
}

TEST_F(FrameLoop, PausingHoldsEverySoundAndGivingUpHaltsOnlyTheBlastLoop)
{
    ASSERT_NE(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the mixer is not open";
    SilentSound loop;
    ASSERT_EQ(Mix_PlayChannelTimed(BLAST_CHANNEL, loop.chunk, -1, -1), BLAST_CHANNEL);
    ASSERT_EQ(Mix_PlayChannelTimed(4, loop.chunk, -1, -1), 4);

    gameState = RUNNING;
    bool quit = false;
    applyKey(SDLK_ESCAPE, quit);
    EXPECT_EQ(gameState, PAUSED);
    EXPECT_EQ(Mix_Paused(BLAST_CHANNEL), 1);
    EXPECT_EQ(Mix_Paused(4), 1);
    applyKey(SDLK_ESCAPE, quit);
    EXPECT_EQ(gameState, GAMEOVER);
    EXPECT_EQ(Mix_Playing(BLAST_CHANNEL), 0);
    // The other sounds finish on the game-over screen, not held there for good.
    EXPECT_EQ(Mix_Playing(4), 1);
    EXPECT_EQ(Mix_Paused(4), 0);
}

// What the mixer sends out of the blast's channel, counted on the audio thread: every sample,
// and those of the loop's whoomph, its only samples at that level.
std::atomic<int> blastSamples{0}, whoomphSamples{0};
const Sint16 WHOOMPH = 20000;
const int WHOOMPH_SAMPLES = 64;

void countBlast(int, void* stream, int len, void*)
{
    const Sint16* samples = static_cast<const Sint16*>(stream);
    whoomphSamples += static_cast<int>(std::count(samples, samples + len / 2, WHOOMPH));
    blastSamples += len / 2;
}

bool blastPlayedBeyond(int samples)
{
    for (int waited = 0; waited < 10000 && blastSamples <= samples; waited += 5)
        SDL_Delay(5);
    return blastSamples > samples;
}

// The loop opens with its whoomph: a second one means that it came round again or started
// anew. Ten seconds of pause on the game's clock last a few real seconds here, more than two
// turns of the 1.5 s loop.
TEST_F(FrameLoop, APausedBlastIsSilentAndSoundsOneWhoomphHoweverLongThePause)
{
    int rate = 0;
    Uint16 format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&rate, &format, nullptr) && format == AUDIO_S16LSB);
    std::vector<Sint16> loop(rate * 3 / 2, 1000);
    std::fill_n(loop.begin(), WHOOMPH_SAMPLES, WHOOMPH);
    quimbo.fartSound = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(loop.data()), loop.size() * 2);
    blastSamples = whoomphSamples = 0;
    ASSERT_NE(Mix_RegisterEffect(BLAST_CHANNEL, countBlast, nullptr, nullptr), 0);

    startClockAt(1000);
    gameState = RUNNING;
    frame(10, {SDLK_LCTRL});
    ASSERT_TRUE(quimbo.state == FARTED && blastPlayedBeyond(0)) << "the blast never sounded";
    frame(10, {SDLK_p});
    int blastBeforePause = blastSamples;
    for (int ms = 0; ms < 10000; ms += 100, SDL_Delay(25))
        frame(100);
    EXPECT_EQ(blastSamples, blastBeforePause) << "the blast went on under the pause";
    frame(10, {SDLK_p});
    EXPECT_TRUE(blastPlayedBeyond(blastBeforePause)) << "the blast did not go on";
    for (int ms = 0; ms < 6000 && quimbo.state == FARTED; ms += 100)
        frame(100);
    EXPECT_EQ(Mix_Playing(BLAST_CHANNEL), 0);
    EXPECT_EQ(whoomphSamples, WHOOMPH_SAMPLES) << whoomphSamples / 64.0 << " whoomphs";
    Mix_HaltChannel(BLAST_CHANNEL);
    Mix_UnregisterAllEffects(BLAST_CHANNEL);
    Mix_FreeChunk(quimbo.fartSound);
}

}  // namespace
