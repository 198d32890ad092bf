// The magician: its moves, its clocks, its timed states and its fall.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// Puts a silent sound of ours into one of the player's sound fields for the life of the object.
struct SoundSwap {
    Mix_Chunk*& field;
    Mix_Chunk* saved;
    SilentSound sound;
    explicit SoundSwap(Mix_Chunk*& f) : field(f), saved(f) { field = sound.chunk; }
    ~SoundSwap() { field = saved; }
};

void placeBird(int i, int state)
{
    placeEnemy(i, BIRD, 500.0f, 100.0f).state = state;
}

}  // namespace

TEST(Quimbo, TaioSpendsWholeTensForTwoStarsEachAndIsRefusedAtMagic10OrInBlastBubbleOrSlime)
{
    struct Row {
        int magic, state, stars, magicLeft;
    };
    const Row rows[] = {{11, NORMAL, 2, 1},     {59, NORMAL, 10, 9},  {100, NORMAL, 20, 0},
                        {10, NORMAL, 0, 10},    {0, NORMAL, 0, 0},    {100, FARTED, 0, 100},
                        {100, BUBBLED, 0, 100}, {100, SLIMEY, 0, 100}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.magic << " in " << row.state);
        resetGame();
        quimbo.magic = row.magic;
        quimbo.state = row.state;
        StdoutCapture out;
        quimbo.taio();
        const bool zaps = row.stars > 0;
        EXPECT_EQ(out.text(), zaps ? "Quimbo taiko!\n" : "");
        EXPECT_EQ(activeCount(star), row.stars);
        EXPECT_EQ(quimbo.magic, row.magicLeft);
        EXPECT_EQ(quimbo.state, zaps ? ATTACKING : row.state);
        EXPECT_EQ(quimbo.sprite.base, zaps ? &quimboZap : &quimboNormal);
        EXPECT_FLOAT_EQ(quimbo.sprite.speed, zaps ? 120.0f : 46.0f);
    }
}

TEST(Quimbo, TaioStartsStarsAtTheCentreOfTheFrameShownBeforeTheAttack)
{
    // A frame size unlike the zap sheet's shows which frame the centre was taken from.
    TestSheet before(1, quimboZap.frameW + 41, quimboZap.frameH + 23);
    quimbo.sprite.init(&before.base, screen);
    quimbo.sprite.setXY(400.5f, 200.25f);
    quimbo.magic = 40;
    quimbo.taio();
    const float centreX = 400.5f + static_cast<float>(before.base.frameW / 2);
    const float centreY = 200.25f + static_cast<float>(before.base.frameH / 2);
    ASSERT_EQ(activeCount(star), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(star[i].sprite.getX(), centreX);
        EXPECT_GE(star[i].sprite.getY(), centreY - 10.0f);
        EXPECT_LE(star[i].sprite.getY(), centreY + 9.0f);
    }
}

TEST(Quimbo, BlastCosts25HealthIsRefusedInBlastBubbleOrSlimeAndAtHealth25Kills)
{
    struct Row {
        int from, before, after, state, scroll;
        bool goesOff;
    };
    const Row rows[] = {{NORMAL, 26, 1, FARTED, 12, true},
                        {FARTED, 100, 100, FARTED, 3, false},
                        {BUBBLED, 100, 100, BUBBLED, 3, false},
                        {SLIMEY, 100, 100, SLIMEY, 3, false},
                        {NORMAL, 25, 0, NORMAL, 3, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.before << " in " << row.from);
        resetGame();
        SoundSwap blast(quimbo.fartSound);
        placeBird(0, NORMAL);
        counter = 1234.5;
        quimbo.state = row.from;
        quimbo.health = row.before;
        quimbo.pierase();
        EXPECT_EQ(quimbo.health, row.after);
        EXPECT_EQ(quimbo.state, row.state);
        EXPECT_EQ(quimbo.fartTime, row.goesOff ? 1234.5 : 0.0);
        EXPECT_EQ(scrollSpeed, row.scroll);
        EXPECT_EQ(quimbo.sprite.base, &quimboNormal);  // the blast keeps the sheet
        EXPECT_EQ(Mix_Playing(BLAST_CHANNEL) != 0, row.goesOff);
        EXPECT_EQ(enemy[0].state, row.goesOff ? DYING : NORMAL);
    }
    quimbo.update();  // the fall starts with the next update
    EXPECT_EQ(quimbo.state, FALLING);
    EXPECT_EQ(quimbo.sprite.base, &quimboFalling);
}

TEST(Quimbo, BlastSendsEveryActiveBirdDyingWhateverItsStateAndScoresNothing)
{
    const int birdStates[] = {NORMAL, BIT, DYING, FALLING};
    for (int i = 0; i < 4; ++i)
        placeBird(i, birdStates[i]);
    enemy[3].sprite.frame = 1;
    placeBird(4, NORMAL);
    enemy[4].active = false;
    placeEnemy(5, PLANE, 500.0f, 100.0f);
    placeEnemy(6, SLIME, 500.0f, 100.0f);

    quimbo.pierase();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(enemy[i].state, DYING) << "bird " << i;
        EXPECT_EQ(enemy[i].sprite.base, &birdRNormal) << "the bird keeps its flying sheet";
    }
    EXPECT_EQ(enemy[3].sprite.frame, 1);
    for (int i = 4; i < 7; ++i)
        EXPECT_EQ(enemy[i].state, NORMAL) << "enemy " << i;
    EXPECT_EQ(quimbo.score, 0);
}

TEST(Quimbo, BlastSlimeAndBubbleEndOnlyStrictlyAfterTheirTimeAndOnlyTheBlastHaltsItsSound)
{
    struct Row {
        int state;
        SpriteBase* sheet;
        double Quimbo::*since;
        double ms;
        int scroll, during, score;
    };
    const Row rows[] = {{FARTED, &quimboNormal, &Quimbo::fartTime, 5000.0, 12, 12, 4},
                        {SLIMEY, &quimboSlime, &Quimbo::slimeTime, 5000.0, 3, 1, 1},
                        {BUBBLED, &quimboBubble, &Quimbo::bubbleTime, 4000.0, 3, 3, 1}};
    SilentSound loop;
    double since = gameClockOrigin();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        resetGame();
        Mix_PlayChannelTimed(BLAST_CHANNEL, loop.chunk, -1, -1);
        quimbo.state = row.state;
        quimbo.sprite.init(row.sheet, screen);
        quimbo.sprite.setSpeed(120.0f);
        quimbo.sprite.setY(10.0f);
        quimbo.*row.since = since += 10000.0;
        scrollSpeed = row.scroll;
        setFrameTime(50);  // the bubble's rise is per frame, not scaled by time
        counter = since + row.ms;
        quimbo.update();
        EXPECT_EQ(quimbo.state, row.state);
        EXPECT_EQ(scrollSpeed, row.during);
        EXPECT_EQ(quimbo.score, row.score);  // the blast scores four a tick
        counter += 0.5;
        quimbo.update();
        EXPECT_EQ(quimbo.state, NORMAL);
        EXPECT_EQ(scrollSpeed, 3);
        EXPECT_EQ(quimbo.sprite.base, &quimboNormal);
        EXPECT_FLOAT_EQ(quimbo.sprite.speed, 120.0f);  // the frame time is not set again
        EXPECT_FLOAT_EQ(quimbo.sprite.getY(), row.state == BUBBLED ? 4.0f : 10.0f);
        EXPECT_EQ(Mix_Playing(BLAST_CHANNEL) != 0, row.state != FARTED);
    }
    quimbo.state = BUBBLED;  // the rise stops at the top of the screen
    quimbo.sprite.setY(1.0f);
    quimbo.update();
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), 0.0f);
}

TEST(Quimbo, ScoreAndMagicClocksTickOnlyAfterStrictlyMoreThan100msFromTheLastTick)
{
    quimbo.magic = 50;
    // {game time after the last ticks, score gained, magic gained}: each tick takes the
    // counter as its new reference, so 220 is only 70 ms after the tick at 150.
    struct Row {
        double counter;
        int score, magic;
    };
    const Row rows[] = {{100.0, 0, 0}, {150.0, 1, 1}, {220.0, 0, 0}, {250.0, 0, 0}, {250.5, 1, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.counter);
        int score = quimbo.score, magic = quimbo.magic;
        counter = gameClockOrigin() + row.counter;
        quimbo.update();
        EXPECT_EQ(quimbo.score - score, row.score);
        EXPECT_EQ(quimbo.magic - magic, row.magic);
    }
    // A new game goes on with the same clocks.
    resetGame();
    quimbo.magic = 50;
    counter = gameClockOrigin() + 350.5;
    quimbo.update();
    EXPECT_EQ(quimbo.score, 0);
    EXPECT_EQ(quimbo.magic, 50);
}

TEST(Quimbo, AttackEndsAtTheFirstUpdateThatFindsTheZapSheetsLastFrame)
{
    quimbo.magic = 20;
    quimbo.taio();
    quimbo.sprite.frame = quimboZap.frames - 2;
    quimbo.update();
    EXPECT_EQ(quimbo.state, ATTACKING);
    quimbo.sprite.frame = quimboZap.frames - 1;
    quimbo.update();
    EXPECT_EQ(quimbo.state, NORMAL);
    EXPECT_EQ(quimbo.sprite.base, &quimboNormal);
    EXPECT_FLOAT_EQ(quimbo.sprite.speed, 46.0f);
}

TEST(Quimbo, AFrameThatAddsMagicDelaysTheEndOfATimedState)
{
    struct Row {
        int state;
        SpriteBase* sheet;
    };
    const Row rows[] = {{ATTACKING, &quimboZap},
                        {FARTED, &quimboNormal},
                        {BUBBLED, &quimboBubble},
                        {SLIMEY, &quimboSlime}};
    double now = gameClockOrigin();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        resetGame();
        quimbo.state = row.state;
        quimbo.sprite.init(row.sheet, screen);
        quimbo.sprite.frame = row.sheet->frames - 1;
        quimbo.sprite.setY(100.0f);
        quimbo.magic = 50;
        scrollSpeed = 4 * 3;  // as the blast leaves it; the slime would set 1
        now += 10000.0;       // every timed state has long run out
        counter = now;
        quimbo.update();  // the magic tick takes this frame
        EXPECT_EQ(quimbo.magic, 51);
        EXPECT_EQ(quimbo.state, row.state);
        EXPECT_EQ(scrollSpeed, 12);
        EXPECT_FLOAT_EQ(quimbo.sprite.getY(), 100.0f);  // no rise either
        quimbo.update();  // same clock: no tick, so the state ends now
        EXPECT_EQ(quimbo.magic, 51);
        EXPECT_EQ(quimbo.state, NORMAL);
    }
}

TEST(Quimbo, HealthAtOrBelowZeroStartsAFallOfSixPixelsAFrameThatEndsTheGameBelowTheScreen)
{
    SoundSwap fall(quimbo.fallSound);
    gameState = RUNNING;
    quimbo.sprite.setXY(400.0f, 300.0f);
    quimbo.update();
    const SDL_Rect box = quimbo.hitBox;
    quimbo.health = -15;
    quimbo.update();
    EXPECT_EQ(quimbo.health, 0);
    ASSERT_EQ(quimbo.state, FALLING);
    EXPECT_EQ(quimbo.sprite.base, &quimboFalling);
    EXPECT_FLOAT_EQ(quimbo.sprite.speed, 10.0f);
    EXPECT_NE(Mix_Playing(2), 0);  // the fall's own channel
    const int score = quimbo.score, magic = quimbo.magic = 50;

    quimbo.sprite.setY(static_cast<float>(screenHeight) - 12.0f);
    setFrameTime(40);
    counter = gameClockOrigin() + 5000.0;  // both clocks would tick if they ran
    quimbo.update();
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), static_cast<float>(screenHeight) - 6.0f);
    quimbo.update();
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), static_cast<float>(screenHeight));
    EXPECT_EQ(gameState, RUNNING);
    quimbo.update();
    EXPECT_EQ(gameState, GAMEOVER);
    EXPECT_EQ(quimbo.state, FALLING);

    EXPECT_EQ(quimbo.score, score);
    EXPECT_EQ(quimbo.magic, magic);
    EXPECT_EQ(quimbo.hitBox, box);  // frozen where the fall began
}

TEST(Quimbo, HitBoxFollowsTheSpriteTruncatedTowardZero)
{
    struct Row {
        float x, y;
        int boxX, boxY;
    };
    const Row rows[] = {
        {400.9f, 200.99f, 426, 236}, {-0.5f, -0.5f, 26, 36}, {-10.7f, -3.2f, 16, 33}};
    for (const Row& row : rows) {
        quimbo.sprite.setXY(row.x, row.y);
        quimbo.update();
        EXPECT_EQ(quimbo.hitBox.x, row.boxX) << row.x;
        EXPECT_EQ(quimbo.hitBox.y, row.boxY) << row.y;
    }
    EXPECT_EQ(quimbo.hitBox.w, 96);
    EXPECT_EQ(quimbo.hitBox.h, 46);
}
