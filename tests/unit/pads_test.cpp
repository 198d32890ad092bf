// The game pads: the keys their buttons press on each screen and the menu's pointer, the
// layouts, the arrows they hold, and the pads held with the keyboard and pulled out.
#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"

namespace {

// A pad in SDL's own order (its virtual and HIDAPI pads).
const int A = 0, B = 1, X = 2, BACK = 4, START = 6, UP = 11, DOWN = 12, RIGHT = 14;
const Uint8 PRESS = SDL_JOYBUTTONDOWN, LET_GO = SDL_JOYBUTTONUP, AXIS = SDL_JOYAXISMOTION;

// An event of pad `which`: a button or an axis (the first hat if `number` is -1).
SDL_Event padEvent(Uint8 type, int number, int value = 0, int which = 0)
{
    SDL_Event e = {};
    e.type = number < 0 ? Uint8(SDL_JOYHATMOTION) : type;
    if (number < 0)
        e.jhat.which = Uint8(which), e.jhat.value = Uint8(value);
    else if (type == AXIS)
        e.jaxis.which = Uint8(which), e.jaxis.axis = Uint8(number), e.jaxis.value = Sint16(value);
    else
        e.jbutton.which = Uint8(which), e.jbutton.button = Uint8(number);
    return e;
}

class Pads : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gameStarted());
        pads.pad[0].present = true;  // a pad with no joystick behind it
        pads.pad[0].layout = padLayoutFor(15, 0, false);
    }
    int send(Uint8 type, int number, int value = 0, int state = RUNNING, int which = 0)
    {
        return pads.keyFor(padEvent(type, number, value, which), state);
    }
    int press(int button, int state)
    {
        int key = send(PRESS, button, 0, state);
        send(LET_GO, button, 0, state);
        return key;
    }
    int held() const  // the arrows held: bits up, down, left, right
    {
        return pads.holds(SDLK_UP) | pads.holds(SDLK_DOWN) << 1 | pads.holds(SDLK_LEFT) << 2 |
               pads.holds(SDLK_RIGHT) << 3;
    }
};

TEST_F(Pads, EachScreenTakesItsButtonsAndTheMenuPointerFollowsTheDpad)
{
    const int buttons[] = {A, B, START, BACK, X, UP};
    const int R = SDLK_RETURN, E = SDLK_ESCAPE;
    const int screens[][7] = {
        {RUNNING, SDLK_SPACE, SDLK_LCTRL, SDLK_p, E, 0, 0},
        {PAUSED, R, E, R, E, 0, 0},
        {GAMEOVER, R, E, R, E, 0, 0},
        {HISCORE, R, R, R, R, R, R},
        {MAINMENU, 0, 0, 0, 0, 0, 0},  // A presses what the pointer is on instead
    };
    for (const auto& s : screens)
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(press(buttons[i], s[0]), s[i + 1]) << s[0] << ", " << buttons[i];
    // A press reported again while still down (a pad opened anew) is no press; events of pads
    // not opened change nothing.
    EXPECT_EQ(send(PRESS, A) + 1000 * send(PRESS, A), SDLK_SPACE);
    send(LET_GO, A);
    for (int which : {1, MAX_PADS, 255})
        EXPECT_EQ(send(PRESS, A, 0, RUNNING, which) + send(AXIS, 1, 32767, RUNNING, which), 0);
    EXPECT_FALSE(pads.holdsAnything());

    // The first Up or Down takes the pointer to START, each after moves it, stopping at the
    // ends; A presses the button under it, until the mouse moves and takes the pointer back.
    pads.menuChoice = -1;
    setMouse(10, 10, 0);
    hiiri.update();
    const int steps[][2] = {{DOWN, 0}, {DOWN, 1}, {DOWN, 2}, {DOWN, 2}, {UP, 1}, {UP, 0}, {UP, 0}};
    for (const auto& step : steps)
        EXPECT_EQ((press(step[0], MAINMENU), pads.menuChoice), step[1]);
    auto pressed = [](const ScreenArea& a) {
        pads.placePointer(hiiri);
        return pads.pressesArea(hiiri, a.left, a.top, a.right, a.bottom);
    };
    pads.newFrame();
    send(PRESS, A, 0, MAINMENU);
    EXPECT_TRUE(pressed(START_AREA));
    setMouse(500, 480, 0);
    hiiri.update();
    EXPECT_TRUE(pressed(HISCORE_AREA) && pads.menuChoice == -1);
}

TEST_F(Pads, EachLayoutFindsItsButtons)
{
    const int cases[][11] = {
        // buttons, hats, in the browser: A, B, Start, Back and the d-pad's four buttons
        {15, 0, false, 0, 1, 6, 4, 11, 12, 13, 14},  // SDL's order (HIDAPI, virtual)
        {21, 1, false, 0, 1, 6, 4, 11, 12, 13, 14},
        {17, 0, true, 0, 1, 9, 8, 12, 13, 14, 15},      // the browser's standard layout
        {11, 1, false, 0, 1, 7, 6, -1, -1, -1, -1},     // Xbox-style, d-pad on the hat
        {13, 1, false, 0, 1, 9, 8, -1, -1, -1, -1},     // PlayStation-style
        {12, 0, false, 0, -1, -1, -1, -1, -1, -1, -1},  // unknown: the first button casts
        {11, 1, true, 0, -1, -1, -1, -1, -1, -1, -1},
    };
    for (const auto& c : cases) {
        PadLayout got = padLayoutFor(c[0], c[1], c[2]);
        EXPECT_EQ(memcmp(&got, &c[3], sizeof got), 0)
            << c[0] << " buttons, " << c[1] << ", " << c[2];
    }
}

TEST_F(Pads, StickPastTheDeadZoneHatAndDpadHoldArrows)
{
    const int U = 1, D = 2, L = 4, R = 8;
    const int cases[][3] = {{8192, -8192, 0},      {8193, 0, R},  {-8193, 0, L},
                            {0, -32768, U},        {0, 32767, D}, {7000, -7000, 0},
                            {-20000, 20000, D | L}};
    for (const auto& c : cases) {
        send(AXIS, 0, c[0]);
        send(AXIS, 1, c[1]);
        EXPECT_EQ(held(), c[2]) << c[0] << ", " << c[1];
    }
    send(AXIS, 0, 0);
    send(AXIS, 1, 0);
    send(AXIS, 2, 32767);  // the right stick steers nothing
    send(0, -1, SDL_HAT_RIGHTUP);
    EXPECT_EQ(held(), U | R);
    send(0, -1, SDL_HAT_CENTERED);
    send(PRESS, DOWN);
    EXPECT_EQ(held(), D);
}

TEST_F(Pads, PadAndKeyboardSteerTogetherAndAPadPulledOutHoldsNothing)
{
    quimbo.sprite.setXY(400.0f, 200.0f);
    setFrameTime(10);
    holdKey(SDLK_RIGHT, true);
    send(AXIS, 0, 32767);
    send(AXIS, 0, 0);  // the pad lets go: the key still holds
    steerPlayer();
    holdKey(SDLK_RIGHT, false);
    send(PRESS, RIGHT);
    steerPlayer();
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 406.0f);
    pads.pad[1] = pads.pad[0];
    send(LET_GO, RIGHT, 0, RUNNING, 1);  // another pad's release lets go of nothing of this one
    EXPECT_TRUE(pads.holds(SDLK_RIGHT));

    // No look for new pads while one holds anything: it would drop the move. A pad pulled out
    // lets go of everything first (SDL releases its buttons and axes); then the look is made.
    pads.lastScan = 0;
    pads.rescanWhenDue(5000);
    EXPECT_EQ(pads.lastScan, 0u);
    send(LET_GO, RIGHT);
    pads.rescanWhenDue(5000);
    EXPECT_EQ(pads.lastScan, 5000u);
    EXPECT_FALSE(pads.pad[0].present || pads.pad[1].present || pads.holdsAnything());
}

}  // namespace
