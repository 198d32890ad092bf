// The menu's mouse: press edges between two samples, and click areas with strict borders.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

const Uint8 LEFT = SDL_BUTTON(SDL_BUTTON_LEFT);
const Uint8 MIDDLE = SDL_BUTTON(SDL_BUTTON_MIDDLE);
const Uint8 RIGHT = SDL_BUTTON(SDL_BUTTON_RIGHT);

// The menu's start area, whose hits are x 350 to 698 and y 312 to 415.
const int X1 = 349, Y1 = 311, X2 = 699, Y2 = 416;

class MouseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gameStarted()); }

    // Two samples: the button mask before, then the mask and the pointer now.
    int clickAfter(Uint8 before, int x, int y, Uint8 now)
    {
        setMouse(x, y, before);
        hiiri.update();
        setMouse(x, y, now);
        hiiri.update();
        return hiiri.checkArea(X1, Y1, X2, Y2);
    }
};

TEST_F(MouseTest, UpdateKeepsThePreviousMaskAndPutsTheCursorOnThePointer)
{
    setMouse(400, 350, LEFT | RIGHT);
    hiiri.update();
    EXPECT_EQ(hiiri.buttons, LEFT | RIGHT);
    EXPECT_EQ(hiiri.prevButtons, 0);
    EXPECT_FLOAT_EQ(hiiri.cursor.getX(), 400.0f);
    EXPECT_FLOAT_EQ(hiiri.cursor.getY(), 350.0f);
    setMouse(17, 23, MIDDLE);
    hiiri.update();
    EXPECT_EQ(hiiri.prevButtons, LEFT | RIGHT);
    EXPECT_EQ(hiiri.buttons, MIDDLE);
    EXPECT_EQ(hiiri.pressed(1), 0);
    EXPECT_EQ(hiiri.pressed(2), 1);
    EXPECT_EQ(hiiri.pressed(3), 0);
}

TEST_F(MouseTest, CheckAreaNeedsThePointerStrictlyInsideAllFourBorders)
{
    struct Case {
        int x, y, hit;
    } cases[] = {
        {350, 312, 1}, {698, 415, 1}, {500, 400, 1},  // inside, corners included
        {349, 350, 0}, {699, 350, 0},                 // on the left and right borders
        {500, 311, 0}, {500, 416, 0},                 // on the top and bottom borders
        {348, 350, 0}, {700, 350, 0}, {500, 420, 0},  // outside, the gap below included
    };
    for (const Case& c : cases)
        EXPECT_EQ(clickAfter(0, c.x, c.y, LEFT), c.hit) << "at " << c.x << ", " << c.y;
}

TEST_F(MouseTest, OnlyALeftPressSeenFirstAtTheLatestSampleIsAClick)
{
    struct Case {
        Uint8 before, now;
        int hit;
        const char* what;
    } cases[] = {
        {0, LEFT, 1, "press"},
        {LEFT, LEFT, 0, "held"},
        {LEFT, 0, 0, "release"},
        {0, 0, 0, "nothing"},
        {0, MIDDLE, 0, "middle press"},
        {0, RIGHT, 0, "right press"},
        {RIGHT, RIGHT | LEFT, 1, "left press while the right is held"},
        {LEFT, LEFT | MIDDLE, 0, "middle press while the left is held"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clickAfter(c.before, 500, 400, c.now), c.hit) << c.what;
}

TEST_F(MouseTest, HoldingTheButtonGivesOneClickAndMovingInWithItHeldGivesNone)
{
    setMouse(500, 400, 0);
    hiiri.update();
    int hits = 0;
    for (int frame = 0; frame < 5; ++frame) {
        setMouse(500, 400, LEFT);
        hiiri.update();
        hits += hiiri.checkArea(X1, Y1, X2, Y2);
        // The test changes nothing: asking twice in one frame gives the same answer.
        EXPECT_EQ(hiiri.checkArea(X1, Y1, X2, Y2), frame == 0 ? 1 : 0);
    }
    EXPECT_EQ(hits, 1);

    EXPECT_EQ(clickAfter(0, 100, 100, LEFT), 0);  // pressed outside
    setMouse(500, 400, LEFT);                     // and dragged in
    hiiri.update();
    EXPECT_EQ(hiiri.checkArea(X1, Y1, X2, Y2), 0);
}

}  // namespace
