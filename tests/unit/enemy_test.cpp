// Birds, planes and slimes: their start values, their bite, their slime, their fall.
#include <cstdlib>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// A seed whose kind roll (the first rand() % 100) is `roll` and, for a bird, whose side roll
// (the third draw, % 2) is `side`.
unsigned seedFor(int roll, int side)
{
    for (unsigned seed = 1;; ++seed) {
        srand(seed);
        const int kind = rand() % 100;
        rand();
        if (kind == roll && (roll >= 60 || rand() % 2 == side))
            return seed;
    }
}

// The player, fresh from a reset, in `state` with its box where an enemy at (500, 300) touches it.
void playerInTheWay(int state)
{
    StdoutCapture quiet;
    resetGame();
    quimbo.hitBox = SDL_Rect{480, 300, 96, 46};
    quimbo.state = state;
}

}  // namespace

TEST(Enemy, SpawnRollsGiveKindPositionVelocityBoxAndFrameTime)
{
    // Kind rolls at the edges of the shares (birds below 60, planes to 79, slimes from 80),
    // birds from both sides, each at the usual scroll, the blast's and the slime's.
    struct Row {
        int roll, side;
    };
    const Row rows[] = {{0, 0}, {59, 1}, {60, 0}, {79, 0}, {80, 0}, {99, 0}};
    for (const Row& row : rows) {
        for (int speed : {3, 12, 1}) {
            SCOPED_TRACE(testing::Message() << "roll " << row.roll << " scroll " << speed);
            const unsigned seed = seedFor(row.roll, row.side);
            scrollSpeed = speed;
            enemy[0].clear();
            srand(seed);
            ASSERT_TRUE(addEnemy());
            Enemy& e = enemy[0];

            // Replay the rolls in their order: kind, height, then a bird's side, pace, frame time.
            srand(seed);
            rand();
            const float y = static_cast<float>(rand() % 480);
            int type = SLIME, direction = 0, velocity = -(speed + 6), frameMs = 100;
            float x = 1024.0f;
            SpriteBase* sheet = &slimeNormal;
            SDL_Rect offset{0, 10, static_cast<Uint16>(slimeNormal.frameW),
                            static_cast<Uint16>(slimeNormal.frameH)};
            if (row.roll < 60) {
                type = BIRD;
                direction = rand() % 2 == 0 ? -1 : 1;
                velocity = direction * (1 + rand() % 4) - speed;
                frameMs = 40 + rand() % 80;
                x = direction == -1 ? 1024.0f : -48.0f;
                sheet = direction == -1 ? &birdRNormal : &birdLNormal;
                offset = SDL_Rect{0, 15, 48, 9};
            } else if (row.roll < 80) {
                type = PLANE;
                velocity = -(speed + 3);
                frameMs = 46;
                sheet = &planeNormal;
                offset = SDL_Rect{6, 10, 83, 24};
            }
            EXPECT_TRUE(e.active && e.shootable);
            EXPECT_EQ(e.state, NORMAL);
            EXPECT_EQ(e.type, type);
            EXPECT_EQ(e.direction, direction);
            EXPECT_FLOAT_EQ(e.sprite.getX(), x);
            EXPECT_FLOAT_EQ(e.sprite.getY(), y);
            EXPECT_FLOAT_EQ(e.velocity, static_cast<float>(velocity));
            EXPECT_EQ(e.sprite.base, sheet);
            EXPECT_EQ(e.sprite.frame, 0);
            EXPECT_FLOAT_EQ(e.sprite.speed, static_cast<float>(frameMs));
            EXPECT_EQ(e.hitOffset, offset);
            EXPECT_EQ(e.hitBox.w, offset.w);
            EXPECT_EQ(e.hitBox.h, offset.h);
        }
    }
}

TEST(Enemy, AddEnemyTakesTheFirstFreeSlotAndAFullPoolChangesNothing)
{
    placeEnemy(0, PLANE, 700.0f, 100.0f);
    placeEnemy(1, PLANE, 700.0f, 100.0f);
    EXPECT_TRUE(addEnemy());
    EXPECT_TRUE(enemy[2].active);
    EXPECT_FALSE(enemy[3].active);
    for (int i = 0; i < ENEMIES; ++i)
        placeEnemy(i, PLANE, 10.0f * i, 5.0f);
    EXPECT_FALSE(addEnemy());
    for (int i = 0; i < ENEMIES; ++i)
        EXPECT_FLOAT_EQ(enemy[i].sprite.getX(), 10.0f * i);
}

TEST(Enemy, BiteCostsHealthUnclampedAndEndsAttackBubbleAndSlime)
{
    struct Row {
        int state, type, before, after;
        bool bites;
    };
    const Row rows[] = {
        {NORMAL, BIRD, 100, 90, true},    {NORMAL, PLANE, 40, -10, true},
        {ATTACKING, BIRD, 5, -5, true},   {BUBBLED, PLANE, 100, 50, true},
        {SLIMEY, BIRD, 100, 90, true},    {FARTED, BIRD, 100, 100, false},
        {FARTED, PLANE, 100, 100, false}, {FALLING, PLANE, 0, 0, false},
    };
    SpriteBase* sheetOf[6] = {&quimboNormal, &quimboZap,    &quimboFalling,
                              &quimboNormal, &quimboBubble, &quimboSlime};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "state " << row.state << " kind " << row.type);
        playerInTheWay(row.state);
        quimbo.health = row.before;
        quimbo.sprite.init(sheetOf[row.state], screen);
        scrollSpeed = row.state == FARTED ? 12 : row.state == SLIMEY ? 1 : 7;
        const int scrollBefore = scrollSpeed;
        Enemy& e = placeEnemy(0, row.type, 500.0f, 290.0f);
        e.move();
        EXPECT_EQ(quimbo.health, row.after);
        EXPECT_TRUE(e.active);
        EXPECT_EQ(e.state, row.bites ? BIT : NORMAL);
        EXPECT_EQ(quimbo.state, row.bites ? NORMAL : row.state);
        // A bite that ends a state puts the scroll back; in NORMAL it costs health only.
        EXPECT_EQ(scrollSpeed, row.bites && row.state != NORMAL ? 3 : scrollBefore);
        if (row.bites) {
            EXPECT_EQ(quimbo.sprite.base, &quimboNormal);
        }
        // A bitten player is not bitten again by the same enemy.
        e.move();
        EXPECT_EQ(quimbo.health, row.after);
    }
}

TEST(Enemy, SlimeCoversThePlayerAndIsUsedUpUnlessBlastFallingOrBubbled)
{
    struct Row {
        int state;
        bool slimes;
    };
    const Row rows[] = {{NORMAL, true},  {ATTACKING, true}, {SLIMEY, true},
                        {FARTED, false}, {FALLING, false},  {BUBBLED, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        playerInTheWay(row.state);
        quimbo.slimeTime = 1.0;
        scrollSpeed = row.state == FARTED ? 12 : 1;
        counter = 777.0;
        Enemy& e = placeEnemy(0, SLIME, 500.0f, 300.0f);
        e.move();
        EXPECT_EQ(quimbo.health, 100);
        EXPECT_EQ(quimbo.state, row.slimes ? SLIMEY : row.state);
        EXPECT_EQ(quimbo.slimeTime, row.slimes ? 777.0 : 1.0);
        EXPECT_EQ(e.active, !row.slimes);
        EXPECT_EQ(e.type, row.slimes ? BIRD : SLIME);  // a used slime's slot is cleared
        if (row.slimes) {
            EXPECT_EQ(quimbo.sprite.base, &quimboSlime);
            EXPECT_EQ(scrollSpeed, 3);
            EXPECT_FALSE(e.shootable);
        }
    }
}

TEST(Enemy, OnlyBirdsLeaveAtTheRightAndEveryKindAtMinus150)
{
    setFrameTime(10);
    quimbo.hitBox = SDL_Rect{400, 0, 96, 46};
    struct Row {
        int type;
        float x, velocity;
        bool stays;
    };
    const Row rows[] = {
        {BIRD, 1023.0f, 1.0f, true},    {BIRD, 1023.5f, 1.0f, false},
        {PLANE, 1023.5f, 1.0f, true},   {SLIME, 1030.0f, 1.0f, true},
        {BIRD, -149.0f, -1.0f, false},  {PLANE, -149.0f, -1.0f, false},
        {SLIME, -149.0f, -1.0f, false}, {PLANE, -148.5f, -1.0f, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.type << " at " << row.x);
        Enemy& e = placeEnemy(0, row.type, row.x, 600.0f);
        e.velocity = row.velocity;
        e.move();
        EXPECT_EQ(e.active, row.stays);
        EXPECT_EQ(e.shootable, row.stays);
    }
}

TEST(Enemy, DyingBirdsFallAtTheirSheetsLastFrameAndBlownSlimesAreFreedAtTheirs)
{
    struct Row {
        int type, direction;
        SpriteBase* sheet;
        int frame, after;
        SpriteBase* afterSheet;
    };
    const Row rows[] = {
        {BIRD, 1, &birdLDying, 4, DYING, &birdLDying},
        {BIRD, 1, &birdLDying, 5, FALLING, &birdLFalling},
        {BIRD, -1, &birdRDying, 5, FALLING, &birdRFalling},
        // Sent dying by the blast, a bird keeps its flying sheet of fourteen frames.
        {BIRD, -1, &birdRNormal, 5, DYING, &birdRNormal},
        {BIRD, -1, &birdRNormal, 13, FALLING, &birdRFalling},
        {BIRD, 1, &birdLNormal, 13, FALLING, &birdLFalling},
        // Planes and slimes do nothing while dying.
        {PLANE, -1, &planeNormal, 1, DYING, &planeNormal},
        {SLIME, -1, &slimeNormal, 5, DYING, &slimeNormal},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.type << " " << row.direction << " frame " << row.frame);
        Enemy& e = placeEnemy(0, row.type, 500.0f, 100.0f, row.direction);
        e.state = DYING;
        e.sprite.init(row.sheet, screen);
        e.sprite.frame = row.frame;
        e.move();
        EXPECT_EQ(e.state, row.after);
        EXPECT_EQ(e.sprite.base, row.afterSheet);
        EXPECT_TRUE(e.active);
    }
    for (int frame : {slimeBlowing.frames - 2, slimeBlowing.frames - 1}) {
        Enemy& e = placeEnemy(0, SLIME, 500.0f, 100.0f);
        e.state = BLOWING;
        e.sprite.init(&slimeBlowing, screen);
        e.sprite.frame = frame;
        e.move();
        EXPECT_EQ(e.active, frame != slimeBlowing.frames - 1);
    }
}

TEST(Enemy, AFallingBirdOrPlaneDropsThreePerStepAndLeavesBelow768)
{
    setFrameTime(10);
    for (int type : {BIRD, PLANE}) {
        SCOPED_TRACE(type);
        Enemy& e = placeEnemy(0, type, 500.0f, 762.0f);
        e.state = FALLING;
        e.velocity = -2.0f;
        e.move();
        EXPECT_FLOAT_EQ(e.sprite.getY(), 765.0f);
        EXPECT_FLOAT_EQ(e.sprite.getX(), 498.0f);  // it still drifts sideways
        e.move();
        EXPECT_TRUE(e.active);
        e.move();
        EXPECT_FALSE(e.active);
    }
}

TEST(Enemy, HitBoxFollowsTheSpriteTruncatedOnlyWhileNormal)
{
    setFrameTime(10);
    quimbo.hitBox = SDL_Rect{400, 0, 96, 46};
    Enemy& e = placeEnemy(0, PLANE, 600.9f, -0.5f);
    for (int state : {NORMAL, BIT, DYING, FALLING}) {
        SCOPED_TRACE(state);
        e.state = state;
        e.move();
        EXPECT_EQ(e.hitBox.x, 606);
        EXPECT_EQ(e.hitBox.y, 10);  // -0.5 truncates to 0, not -1
        e.velocity = -5.0f;
    }
}
