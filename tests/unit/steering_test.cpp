// Steering the magician with the held arrow keys inside the play area (x 350..674, y 0..480).
#include <initializer_list>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// Holds exactly the given keys and steers one frame of 10 ms (deltaTime 1).
void steerWith(std::initializer_list<SDLKey> keys)
{
    releaseAllKeys();
    for (SDLKey key : keys)
        holdKey(key, true);
    setFrameTime(10);
    steerPlayer();
    releaseAllKeys();
}

float right()
{
    return 674.0f - static_cast<float>(quimbo.sprite.getW());
}
float bottom()
{
    return 480.0f - static_cast<float>(quimbo.sprite.getH());
}

}  // namespace

TEST(Steering, EachArrowMovesBySpeedTimesDeltaTimeAndAThirdWhileSlimey)
{
    // The start speed 3 at deltaTime 1; no steering while falling or in a bubble.
    struct Row {
        int state;
        float step;
    };
    const Row rows[] = {{NORMAL, 3.0f}, {ATTACKING, 3.0f}, {FARTED, 3.0f},
                        {SLIMEY, 1.0f}, {FALLING, 0.0f},   {BUBBLED, 0.0f}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        quimbo.state = row.state;
        quimbo.sprite.setXY(500.0f, 200.0f);
        steerWith({SDLK_UP});
        EXPECT_FLOAT_EQ(quimbo.sprite.getY(), 200.0f - row.step);
        steerWith({SDLK_DOWN});
        EXPECT_FLOAT_EQ(quimbo.sprite.getY(), 200.0f);
        steerWith({SDLK_LEFT});
        EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 500.0f - row.step);
        steerWith({SDLK_RIGHT});
        EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 500.0f);
        // Two perpendicular keys: full speed on each axis.
        steerWith({SDLK_UP, SDLK_RIGHT});
        EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 500.0f + row.step);
        EXPECT_FLOAT_EQ(quimbo.sprite.getY(), 200.0f - row.step);
    }
}

TEST(Steering, KeysActInTheOrderUpDownLeftRight)
{
    // At an edge, opposite keys leave the mark of their order: the limit acts between them.
    quimbo.sprite.setXY(350.0f, 0.0f);
    steerWith({SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT});
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), 3.0f);    // up clamped to 0, then down 3
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 353.0f);  // left clamped to 350, then right 3
    quimbo.sprite.setXY(right(), bottom());
    steerWith({SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT});
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), bottom());  // up 3, then down 3 back to the limit
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), right());
    // Away from the edges they cancel.
    quimbo.sprite.setXY(500.0f, 200.0f);
    steerWith({SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT});
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 500.0f);
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), 200.0f);
}

TEST(Steering, ALimitActsOnlyAfterAMoveInItsOwnDirection)
{
    // Outside the area at the bottom left, as a change of frame could leave the player.
    quimbo.sprite.setXY(300.0f, 500.0f);
    steerWith({SDLK_UP});
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), 497.0f);
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 300.0f);
    steerWith({SDLK_RIGHT});
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 303.0f);
    // A push towards the edge snaps back at once.
    steerWith({SDLK_DOWN});
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), bottom());
    steerWith({SDLK_LEFT});
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 350.0f);
    // And beyond the top right.
    quimbo.sprite.setXY(700.0f, -20.0f);
    steerWith({SDLK_DOWN, SDLK_LEFT});
    EXPECT_FLOAT_EQ(quimbo.sprite.getY(), -17.0f);
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 697.0f);
}
