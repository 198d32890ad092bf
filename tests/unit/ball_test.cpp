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

TEST(Ball, FliesAtItsOwnSpeedPlusTheScrollAndIsGoneOnceItsXIsBelowZero)
{
    quimbo.hitBox = SDL_Rect{-500, -500, 96, 46};  // a miss: no heal, the flight goes on
    quimbo.health = 60;
    setFrameTime(20);
    // {scroll, x, step}: the usual scroll, the blast's and the slime's; then past the left edge.
    struct Row {
        int scroll;
        float x, step;
        bool stays;
    };
    const Row rows[] = {{3, 900.0f, -9.0f, true},
                        {12, 900.0f, -27.0f, true},
                        {1, 900.0f, -5.0f, true},
                        {3, 9.0f, -9.0f, true},
                        {3, 8.5f, -9.0f, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.scroll << " from " << row.x);
        scrollSpeed = row.scroll;
        launchAt(row.x, 200.0f);
        dpallo.move();
        EXPECT_FLOAT_EQ(dpallo.sprite.getX(), row.x + row.step);
        EXPECT_FLOAT_EQ(dpallo.sprite.getY(), 200.0f);
        EXPECT_EQ(dpallo.active, row.stays);
        EXPECT_EQ(quimbo.health, 60);
    }
}

TEST(Ball, HealsTwentyFiveCappedAt100WithNoLowerClampInAnyState)
{
    struct Row {
        int state, before, after;
    };
    const Row rows[] = {{NORMAL, 90, 100}, {NORMAL, 100, 100}, {ATTACKING, 50, 75},
                        {FARTED, 76, 100}, {BUBBLED, 1, 26},   {SLIMEY, 75, 100},
                        {FALLING, 0, 25},  {NORMAL, -40, -15}};
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
