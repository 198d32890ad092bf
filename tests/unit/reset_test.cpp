// The game reset: the world as a new game finds it, and what a reset leaves alone.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

class Reset : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gameStarted()); }

    // A game in full swing: every actor somewhere, the player slimed, the scroll sped up.
    void messUpTheWorld()
    {
        quimbo.health = 10;
        quimbo.magic = 3;
        quimbo.score = 987;
        quimbo.state = SLIMEY;
        quimbo.fartTime = quimbo.bubbleTime = quimbo.slimeTime = 1234.0;
        quimbo.sprite.init(&quimboSlime, screen);
        quimbo.sprite.setXY(351.0f, 7.0f);
        for (int k = 0; k < SCENERIES; ++k) {
            scenery[k].init(&sceneries[(k + 2) % SCENERIES], nullptr);
            scenery[k].setXY(-100.0f + 77.0f * k, 3.0f);
        }
        for (Enemy& e : enemy)
            e.active = true;
        for (int i = 0; i < STARS; ++i) {
            star[i].active = true;
            star[i].velocity = 7.5f;
            star[i].sprite.setXY(100.0f + i, 200.0f);
        }
        for (Bubble& b : bubble) {
            b.active = true;
            b.sprite.frame = 3;
        }
        dpallo.active = true;
        dpallo.velocity = -2.25f;
        dpallo.sprite.setXY(640.0f, 99.0f);
        scrollSpeed = 12;
    }
};

TEST_F(Reset, ResetPutsTheWorldInItsStartingLayoutAndSaysSoOnce)
{
    messUpTheWorld();
    for (int round = 0; round < 2; ++round) {  // a second reset leaves the same world
        StdoutCapture out;
        resetGame();
        EXPECT_EQ(out.text(), "Game succesfully reseted\n");
    }
    EXPECT_EQ(quimbo.health, 100);
    EXPECT_EQ(quimbo.magic, 100);
    EXPECT_EQ(quimbo.score, 0);
    EXPECT_EQ(quimbo.state, NORMAL);
    EXPECT_FLOAT_EQ(quimbo.speed, 3.0f);
    EXPECT_EQ(quimbo.fartTime + quimbo.bubbleTime + quimbo.slimeTime, 0.0);
    EXPECT_EQ(quimbo.sprite.base, &quimboNormal);
    // The frame centred on (512, 320), by integer halves.
    EXPECT_EQ(quimbo.sprite.getX(), static_cast<float>(512 - quimboNormal.frameW / 2));
    EXPECT_EQ(quimbo.sprite.getY(), static_cast<float>(320 - quimboNormal.frameH / 2));

    // The landscape band: piece k on sheet k, 256 pixels apart, standing on the HUD's top edge.
    for (int k = 0; k < SCENERIES; ++k) {
        EXPECT_EQ(scenery[k].base, &sceneries[k]) << "piece " << k;
        EXPECT_EQ(scenery[k].target, screen) << "piece " << k;
        EXPECT_EQ(scenery[k].getX(), 256.0f * k) << "piece " << k;
        EXPECT_EQ(scenery[k].getY(), static_cast<float>(640 - sceneries[k].frameH))
            << "piece " << k;
    }
    EXPECT_EQ(activeCount(enemy), 0);
    EXPECT_EQ(activeCount(bubble), 0);  // sheet 0 in the layout releases none either
    EXPECT_EQ(bubble[4].sprite.frame, 0);
    // Stars only lose their flag: speed and place wait for their next launch.
    EXPECT_EQ(activeCount(star), 0);
    EXPECT_EQ(star[5].velocity, 7.5f);
    EXPECT_EQ(star[5].sprite.getX(), 105.0f);
    // The ball only lands; its place and speed stay.
    EXPECT_FALSE(dpallo.active);
    EXPECT_EQ(dpallo.velocity, -2.25f);
    EXPECT_EQ(dpallo.sprite.getX(), 640.0f);
    EXPECT_EQ(dpallo.sprite.getY(), 99.0f);
    EXPECT_EQ(scrollSpeed, 3);
}

TEST_F(Reset, ResetLeavesTheStateTheClocksTheMouseAndTheBlastCloudAlone)
{
    gameState = GAMEOVER;
    counter = 123456.0;
    curTime = 5000;
    prevTime = 4990;
    setFrameTime(10);
    lastScenery = 4;
    fart.setXY(77.0f, 88.0f);
    fart.frame = 5;
    hiiri.buttons = 1;
    hiiri.cursor.setXY(400.0f, 300.0f);

    StdoutCapture quiet;
    resetGame();
    EXPECT_EQ(gameState, GAMEOVER);
    EXPECT_EQ(counter, 123456.0);
    EXPECT_EQ(curTime, 5000);
    EXPECT_EQ(prevTime, 4990);
    EXPECT_EQ(timeDifference, 10);
    EXPECT_EQ(deltaTime, 1.0f);
    EXPECT_EQ(lastScenery, 4);
    EXPECT_EQ(fart.getX(), 77.0f);
    EXPECT_EQ(fart.frame, 5);
    EXPECT_EQ(hiiri.buttons, 1);
    EXPECT_EQ(hiiri.cursor.getX(), 400.0f);
}

}  // namespace
