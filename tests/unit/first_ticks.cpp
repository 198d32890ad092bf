// The clocks that keep their last tick in function statics (the score and magic ticks and the
// two spawn timers) count their first interval from the start of the program, where the game
// clock and they all begin at 0. Only a process in which nothing has ticked them yet shows that,
// so this check has a binary of its own; every other unit test shares one process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game.h"

TEST(FirstTicks, EveryClockCountsItsFirstIntervalFromTheStartOfTheProgram)
{
    ASSERT_EQ(counter, 0.0);
    srand(7);
    quimbo.magic = 50;
    int firstScore = 0, firstMagic = 0, firstEnemy = 0, firstBall = 0;
    for (int ms = 1; ms <= 13000 && firstBall == 0; ++ms) {
        counter = ms;
        int score = quimbo.score, magic = quimbo.magic;
        quimbo.update();
        if (firstScore == 0 && quimbo.score > score)
            firstScore = ms;
        if (firstMagic == 0 && quimbo.magic > magic)
            firstMagic = ms;
        enemySpawnTimer();
        if (firstEnemy == 0 && enemy[0].active)
            firstEnemy = ms;
        ballLaunchTimer();
        if (dpallo.active)
            firstBall = ms;
    }
    EXPECT_EQ(firstScore, 101);
    EXPECT_EQ(firstMagic, 101);
    EXPECT_GT(firstEnemy, 200);
    EXPECT_LE(firstEnemy, 450);
    EXPECT_GT(firstBall, 7500);
    EXPECT_LE(firstBall, 12500);
}
