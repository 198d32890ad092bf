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

    // One enemy-timer frame at the given game time; true when an enemy came in.
    bool enemyFrameAt(double ms)
    {
        counter = ms;
        int before = activeEnemies();
        enemySpawnTimer();
        return activeEnemies() > before;
    }

    static int activeEnemies()
    {
        int n = 0;
        for (int i = 0; i < ENEMIES; ++i)
            n += enemy[i].active ? 1 : 0;
        return n;
    }

    static void clearEnemies()
    {
        for (int i = 0; i < ENEMIES; ++i)
            enemy[i].clear();
    }
};

// The first interval runs from the start of the run: counter and the timer both begin at 0.
TEST_F(Spawn, EnemiesComeMoreThan200MsApartAndNoLaterThan449MsPlusAFrame)
{
    ASSERT_EQ(counter, 0.0);
    struct Case {
        int frameMs;
    } cases[] = {{1}, {17}};
    for (const Case& c : cases) {
        std::vector<double> spawns;
        double last = counter;
        for (double t = counter + c.frameMs; spawns.size() < 200; t += c.frameMs) {
            if (enemyFrameAt(t)) {
                spawns.push_back(t);
                clearEnemies();
            }
        }
        for (double spawn : spawns) {
            EXPECT_GT(spawn - last, 200.0) << c.frameMs << " ms frames";
            EXPECT_LE(spawn - last, 449.0 + c.frameMs) << c.frameMs << " ms frames";
            last = spawn;
        }
    }
}

TEST_F(Spawn, NeitherAResetNorPausedFramesMoveTheEnemyTimer)
{
    ASSERT_TRUE(enemyFrameAt(1000.0));  // beyond every threshold

    StdoutCapture quiet;
    resetGame();
    gameState = PAUSED;
    bool quit = false;
    for (int i = 0; i < 20; ++i)
        gameFrame(quit);
    EXPECT_EQ(counter, 1000.0);
    gameState = RUNNING;

    // Less than 200 ms after the last spawn nothing comes, whatever the wall clock did.
    EXPECT_FALSE(enemyFrameAt(1150.0));
    EXPECT_TRUE(enemyFrameAt(1450.0));
}

TEST_F(Spawn, FullEnemyTableStillRestartsTheTimer)
{
    for (int i = 0; i < ENEMIES; ++i)
        enemy[i].active = true;
    EXPECT_FALSE(enemyFrameAt(1000.0));  // due, but no free slot
    enemy[7].active = false;
    EXPECT_FALSE(enemyFrameAt(1100.0));  // the timer restarted at 1000
    EXPECT_TRUE(enemyFrameAt(1450.0));
    EXPECT_TRUE(enemy[7].active);
}

TEST_F(Spawn, BallEntersAtTheRightEdgeAtAHeightFrom0To414EvenIfStillFlying)
{
    std::vector<double> launches;
    float lowest = 1e9f, highest = -1e9f;
    for (double t = 10.0; launches.size() < 150; t += 10.0) {
        counter = t;
        // A ball still in flight is simply put back at the right edge.
        dpallo.active = true;
        dpallo.sprite.setXY(500.0f, 600.0f);
        ballLaunchTimer();
        if (dpallo.sprite.getX() != 500.0f) {
            launches.push_back(t);
            float y = dpallo.sprite.getY();
            EXPECT_EQ(dpallo.sprite.getX(), 1024.0f);
            EXPECT_EQ(y, static_cast<float>(static_cast<int>(y)));
            lowest = std::min(lowest, y);
            highest = std::max(highest, y);
        }
    }
    EXPECT_GE(lowest, 0.0f);
    EXPECT_LE(highest, 414.0f);
    double last = 0.0;
    for (double launch : launches) {
        EXPECT_GT(launch - last, 7500.0);
        EXPECT_LE(launch - last, 12499.0 + 10.0);
        last = launch;
    }
}

TEST_F(Spawn, BallTimerCountsOnlyGameTime)
{
    counter = 20000.0;
    ballLaunchTimer();
    ASSERT_TRUE(dpallo.active);  // beyond every threshold
    dpallo.active = false;
    StdoutCapture quiet;
    resetGame();
    counter = 27500.0;  // not more than 7500 ms since the launch
    ballLaunchTimer();
    EXPECT_FALSE(dpallo.active);
    counter = 32500.0;
    ballLaunchTimer();
    EXPECT_TRUE(dpallo.active);
}

}  // namespace
