// The bonus ball: its flight with the landscape and the health it gives back.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

void launchAt(float x, float y)
{
    dpallo.sprite.setXY(x, y);
    dpallo.active = true;
}

}  // namespace

TEST(Ball, FliesAtItsOwnSpeedPlusTheScroll)
{
    quimbo.hitBox = SDL_Rect{-500, -500, 96, 46};  // a miss: no heal, the flight goes on
    quimbo.health = 60;
    ASSERT_FLOAT_EQ(dpallo.velocity, -1.5f);
    setFrameTime(20);
    // {scroll, step}: the usual scroll, the blast's and the slime's.
    struct Row { int scroll; float step; };
    const Row rows[] = {{3, -9.0f}, {12, -27.0f}, {1, -5.0f}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scroll);
        scrollSpeed = row.scroll;
        launchAt(900.0f, 200.0f);
        dpallo.move();
        EXPECT_FLOAT_EQ(dpallo.sprite.getX(), 900.0f + row.step);
        EXPECT_FLOAT_EQ(dpallo.sprite.getY(), 200.0f);
        EXPECT_TRUE(dpallo.active);
        EXPECT_EQ(quimbo.health, 60);
    }
}

TEST(Ball, IsGoneOnceItsXIsBelowZero)
{
    quimbo.hitBox = SDL_Rect{-500, -500, 96, 46};
    setFrameTime(10);
    scrollSpeed = 3;
    launchAt(4.5f, 200.0f);
    dpallo.move();
    EXPECT_FLOAT_EQ(dpallo.sprite.getX(), 0.0f);
    EXPECT_TRUE(dpallo.active);
    dpallo.move();
    EXPECT_FALSE(dpallo.active);
}

TEST(Ball, HealsTwentyFiveCappedAt100WithNoLowerClampInAnyState)
{
    // {state, health before, health after}
    struct Row { int state, before, after; };
    const Row rows[] = {{NORMAL, 90, 100},   {NORMAL, 100, 100}, {ATTACKING, 50, 75},
                        {FARTED, 76, 100},   {BUBBLED, 1, 26},   {SLIMEY, 75, 100},
                        {FALLING, 0, 25},    {NORMAL, -40, -15}};
    setFrameTime(10);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.state << " " << row.before);
        quimbo.hitBox = SDL_Rect{400, 300, 96, 46};
        quimbo.state = row.state;
        quimbo.health = row.before;
        launchAt(454.5f, 310.0f);
        dpallo.move();
        EXPECT_EQ(quimbo.health, row.after);
        EXPECT_EQ(quimbo.state, row.state);
        EXPECT_FALSE(dpallo.active);
    }
}
