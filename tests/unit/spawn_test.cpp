// The spawn timers: a fresh threshold every frame, counted on the game clock only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "test_support.h"

namespace {

class Spawn : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gameStarted());
        srand(20240611);
    }

    // One enemy-timer frame at the given game time after the origin, where both timers last
    // fired; true when an enemy came in.
    static bool enemyFrameAt(double ms)
    {
        counter = gameClockOrigin() + ms;
        int before = activeCount(enemy);
        enemySpawnTimer();
        return activeCount(enemy) > before;
    }

    // One ball-timer frame at the given game time with the ball still in flight mid-screen;
    // true when it was put back at the right edge.
    static bool ballFrameAt(double ms)
    {
        counter = gameClockOrigin() + ms;
        dpallo.active = true;
        dpallo.sprite.setXY(500.0f, 600.0f);
        ballLaunchTimer();
        return dpallo.sprite.getX() != 500.0f;
    }
};

TEST_F(Spawn, EnemiesComeMoreThan200MsApartAndNoLaterThan449MsPlusAFrame)
{
    double last = 0.0;
    for (int frameMs : {1, 17}) {
        for (double t = last + frameMs, spawns = 0; spawns < 200; t += frameMs) {
            if (!enemyFrameAt(t))
                continue;
            EXPECT_GT(t - last, 200.0) << frameMs << " ms frames";
            EXPECT_LE(t - last, 449.0 + frameMs) << frameMs << " ms frames";
            last = t;
            ++spawns;
            for (Enemy& e : enemy)
                e.clear();
        }
    }
}

TEST_F(Spawn, FullEnemyTableStillRestartsTheTimer)
{
    for (Enemy& e : enemy)
        e.active = true;
    EXPECT_FALSE(enemyFrameAt(1000.0));  // due, but no free slot
    enemy[7].active = false;
    EXPECT_FALSE(enemyFrameAt(1100.0));  // the timer restarted at 1000
    EXPECT_TRUE(enemyFrameAt(1450.0));
    EXPECT_TRUE(enemy[7].active);
}

TEST_F(Spawn, BallEntersAtTheRightEdgeAtAHeightFrom0To414EvenIfStillFlying)
{
    float lowest = 1e9f, highest = -1e9f;
    double last = 0.0;
    for (double t = 10.0, launches = 0; launches < 150; t += 10.0) {
        if (!ballFrameAt(t))
            continue;
        float y = dpallo.sprite.getY();
        EXPECT_EQ(dpallo.sprite.getX(), 1024.0f);
        EXPECT_EQ(y, static_cast<float>(static_cast<int>(y)));
        lowest = std::min(lowest, y);
        highest = std::max(highest, y);
        EXPECT_GT(t - last, 7500.0);
        EXPECT_LE(t - last, 12499.0 + 10.0);
        last = t;
        ++launches;
    }
    EXPECT_GE(lowest, 0.0f);
    EXPECT_LE(highest, 414.0f);
}

TEST_F(Spawn, ANewGameMovesNeitherTimer)
{
    ASSERT_TRUE(enemyFrameAt(20000.0));  // beyond every threshold
    ASSERT_TRUE(ballFrameAt(20000.0));
    StdoutCapture quiet;
    resetGame();
    EXPECT_FALSE(enemyFrameAt(20150.0));  // less than 200 ms after the last spawn
    EXPECT_TRUE(enemyFrameAt(20450.0));
    EXPECT_FALSE(ballFrameAt(27500.0));  // not more than 7500 ms since the launch
    EXPECT_TRUE(ballFrameAt(32500.0));
}

}  // namespace
