// The game pads: the keys their buttons press on each screen, the arrows they hold, the menu's
// pointer, and pads that come and go.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// The buttons of a pad in SDL's own order (its virtual and HIDAPI pads).
const int A = 0, B = 1, X = 2, BACK = 4, START = 6, DPAD_UP = 11, DPAD_DOWN = 12;

SDL_Event buttonEvent(int pad, int button, bool down)
{
    SDL_Event event = {};
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.which = static_cast<Uint8>(pad);
    event.jbutton.button = static_cast<Uint8>(button);
    event.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

SDL_Event axisEvent(int pad, int axis, int value)
{
    SDL_Event event = {};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.which = static_cast<Uint8>(pad);
    event.jaxis.axis = static_cast<Uint8>(axis);
    event.jaxis.value = static_cast<Sint16>(value);
    return event;
}

SDL_Event hatEvent(int pad, int value)
{
    SDL_Event event = {};
    event.type = SDL_JOYHATMOTION;
    event.jhat.which = static_cast<Uint8>(pad);
    event.jhat.value = static_cast<Uint8>(value);
    return event;
}

class Pads : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gameStarted());
        plugIn(0, padLayoutFor(15, 0, false));
    }

    // A pad in slot `slot`, with nothing held; no joystick behind it.
    void plugIn(int slot, PadLayout layout)
    {
        pads.pad[slot] = Pad();
        pads.pad[slot].present = true;
        pads.pad[slot].layout = layout;
    }

    int press(int button, int state, int pad = 0)
    {
        int key = pads.keyFor(buttonEvent(pad, button, true), state);
        pads.keyFor(buttonEvent(pad, button, false), state);
        return key;
    }

    // The frame loop's own frame, with the pad's events in the queue.
    void frame(std::initializer_list<SDL_Event> events)
    {
        ticks += 10;
        setWallClock(ticks);
        pads.lastScan = ticks;  // no look for real pads in the middle of the test
        for (SDL_Event event : events)
            SDL_PushEvent(&event);
        bool quit = false;
        gameFrame(quit);
    }

    Uint32 ticks = 1000;
};

TEST_F(Pads, EachButtonPressesItsScreensKey)
{
    struct Case {
        int state, button, key;
    } cases[] = {
        {RUNNING, A, SDLK_SPACE},
        {RUNNING, B, SDLK_LCTRL},
        {RUNNING, START, SDLK_p},
        {RUNNING, BACK, SDLK_ESCAPE},
        {RUNNING, X, 0},
        {RUNNING, DPAD_UP, 0},
        {PAUSED, START, SDLK_RETURN},
        {PAUSED, A, SDLK_RETURN},
        {PAUSED, BACK, SDLK_ESCAPE},
        {PAUSED, B, SDLK_ESCAPE},
        {PAUSED, X, 0},
        {GAMEOVER, A, SDLK_RETURN},
        {GAMEOVER, START, SDLK_RETURN},
        {GAMEOVER, BACK, SDLK_ESCAPE},
        {GAMEOVER, B, SDLK_ESCAPE},
        {HISCORE, X, SDLK_RETURN},
        {HISCORE, DPAD_DOWN, SDLK_RETURN},
        {MAINMENU, BACK, 0},
        {MAINMENU, START, 0},
        {MAINMENU, A, 0},  // A presses the menu's button instead
    };
    for (const Case& c : cases)
        EXPECT_EQ(press(c.button, c.state), c.key) << "state " << c.state << " button " << c.button;
    // A press reported again while the button is still down (a pad opened anew) is no press.
    EXPECT_EQ(pads.keyFor(buttonEvent(0, A, true), RUNNING), SDLK_SPACE);
    EXPECT_EQ(pads.keyFor(buttonEvent(0, A, true), RUNNING), 0);
    pads.keyFor(buttonEvent(0, A, false), RUNNING);
    // Events of pads not opened, in slots past the last, change nothing.
    for (int which : {1, MAX_PADS, 255}) {
        EXPECT_EQ(pads.keyFor(buttonEvent(which, A, true), RUNNING), 0);
        pads.keyFor(axisEvent(which, 1, 32767), RUNNING);
    }
    EXPECT_FALSE(pads.holdsAnything());
}

TEST_F(Pads, EachLayoutFindsItsButtonsAndAnyOtherPadCastsWithItsFirst)
{
    struct Case {
        int buttons, hats;
        bool browser;
        PadLayout expected;
    } cases[] = {
        {15, 0, false, {0, 1, 6, 4, 11, 12, 13, 14}},  // SDL's order (HIDAPI, virtual)
        {21, 1, false, {0, 1, 6, 4, 11, 12, 13, 14}},
        {17, 0, true, {0, 1, 9, 8, 12, 13, 14, 15}},      // the browser's standard layout
        {11, 1, false, {0, 1, 7, 6, -1, -1, -1, -1}},     // Xbox-style, d-pad on the hat
        {13, 1, false, {0, 1, 9, 8, -1, -1, -1, -1}},     // PlayStation-style
        {12, 0, false, {0, -1, -1, -1, -1, -1, -1, -1}},  // no known layout
        {4, 1, false, {0, -1, -1, -1, -1, -1, -1, -1}},
        {11, 1, true, {0, -1, -1, -1, -1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        PadLayout got = padLayoutFor(c.buttons, c.hats, c.browser);
        const PadLayout& e = c.expected;
        EXPECT_TRUE(got.a == e.a && got.b == e.b && got.start == e.start && got.back == e.back &&
                    got.up == e.up && got.down == e.down && got.left == e.left &&
                    got.right == e.right)
            << c.buttons << " buttons, " << c.hats << " hats, browser " << c.browser;
    }

    // A pad of no known layout: its first button casts, its others do nothing.
    plugIn(1, padLayoutFor(4, 1, false));
    EXPECT_EQ(press(0, RUNNING, 1), SDLK_SPACE);
    EXPECT_EQ(press(1, RUNNING, 1), 0);
}

TEST_F(Pads, StickPastTheDeadZoneHatAndDpadHoldArrowsDiagonalsTwo)
{
    struct Case {
        int x, y;
        bool up, down, left, right;
    } cases[] = {
        {0, 0, false, false, false, false},        {8192, -8192, false, false, false, false},
        {8193, 0, false, false, false, true},      {-8193, 0, false, false, true, false},
        {0, -32768, true, false, false, false},    {0, 32767, false, true, false, false},
        {-20000, 20000, false, true, true, false}, {7000, -7000, false, false, false, false},
    };
    for (const Case& c : cases) {
        pads.keyFor(axisEvent(0, 0, c.x), RUNNING);
        pads.keyFor(axisEvent(0, 1, c.y), RUNNING);
        EXPECT_EQ(pads.holds(SDLK_UP), c.up) << c.x << ", " << c.y;
        EXPECT_EQ(pads.holds(SDLK_DOWN), c.down) << c.x << ", " << c.y;
        EXPECT_EQ(pads.holds(SDLK_LEFT), c.left) << c.x << ", " << c.y;
        EXPECT_EQ(pads.holds(SDLK_RIGHT), c.right) << c.x << ", " << c.y;
    }
    pads.keyFor(axisEvent(0, 2, 32767), RUNNING);  // the right stick steers nothing
    pads.keyFor(hatEvent(0, SDL_HAT_RIGHTUP), RUNNING);
    EXPECT_TRUE(pads.holds(SDLK_UP) && pads.holds(SDLK_RIGHT) && !pads.holds(SDLK_DOWN));
    pads.keyFor(hatEvent(0, SDL_HAT_CENTERED), RUNNING);
    pads.keyFor(buttonEvent(0, DPAD_DOWN, true), RUNNING);
    EXPECT_TRUE(pads.holds(SDLK_DOWN) && !pads.holds(SDLK_UP));
}

TEST_F(Pads, PadAndKeyboardHeldTogetherActAsBothAndLettingOneGoKeepsTheOther)
{
    quimbo.sprite.setXY(400.0f, 200.0f);
    setFrameTime(10);
    holdKey(SDLK_RIGHT, true);
    pads.keyFor(axisEvent(0, 0, 32767), RUNNING);
    pads.keyFor(axisEvent(0, 0, 0), RUNNING);  // the pad lets go: the key still holds
    steerPlayer();
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 403.0f);
    holdKey(SDLK_RIGHT, false);
    pads.keyFor(buttonEvent(0, 14, true), RUNNING);  // the d-pad's right
    pads.keyFor(hatEvent(0, SDL_HAT_CENTERED), RUNNING);
    steerPlayer();
    EXPECT_FLOAT_EQ(quimbo.sprite.getX(), 406.0f);
    // A second pad's release lets go of nothing the first holds.
    plugIn(1, padLayoutFor(15, 0, false));
    pads.keyFor(buttonEvent(1, 14, false), RUNNING);
    EXPECT_TRUE(pads.holds(SDLK_RIGHT));
}

TEST_F(Pads, MenuPointerStartsOnStartMovesAButtonAPressStopsAtTheEndsAndAPressesUnderIt)
{
    gameState = MAINMENU;
    setMouse(10, 10, 0);
    struct Case {
        int button;
        int choice;
    } cases[] = {{DPAD_DOWN, 0}, {DPAD_DOWN, 1}, {DPAD_DOWN, 2}, {DPAD_DOWN, 2},
                 {DPAD_UP, 1},   {DPAD_UP, 0},   {DPAD_UP, 0}};
    for (const Case& c : cases) {
        press(c.button, MAINMENU);
        EXPECT_EQ(pads.menuChoice, c.choice);
    }
    // Up, Up and A start a game, as a click on START does.
    pads.menuChoice = -1;
    frame({buttonEvent(0, DPAD_UP, true), buttonEvent(0, DPAD_UP, false)});
    frame({buttonEvent(0, DPAD_UP, true), buttonEvent(0, DPAD_UP, false)});
    EXPECT_EQ(gameState, MAINMENU);
    frame({buttonEvent(0, A, true)});
    EXPECT_EQ(gameState, RUNNING);
}

TEST_F(Pads, MouseMovedTakesThePointerBackAndAPressesWhatIsUnderIt)
{
    gameState = MAINMENU;
    setMouse(10, 10, 0);
    frame({buttonEvent(0, DPAD_DOWN, true), buttonEvent(0, DPAD_DOWN, false)});
    EXPECT_FLOAT_EQ(hiiri.cursor.getX(),
                    static_cast<float>((START_AREA.left + START_AREA.right) / 2));
    setMouse(500, 480, 0);  // over HISCORES
    frame({buttonEvent(0, A, true)});
    EXPECT_EQ(pads.menuChoice, -1);
    EXPECT_EQ(gameState, HISCORE);
    frame({buttonEvent(0, A, false), buttonEvent(0, X, true)});  // any button leaves the table
    EXPECT_EQ(gameState, MAINMENU);
}

TEST_F(Pads, LooksForNewPadsOnlyWhileNoPadHoldsAnything)
{
    pads.keyFor(buttonEvent(0, DPAD_DOWN, true), RUNNING);
    pads.lastScan = 0;
    pads.rescanWhenDue(5000);
    EXPECT_EQ(pads.lastScan, 0u) << "a look for pads would have dropped the held Down";
    EXPECT_TRUE(pads.holds(SDLK_DOWN));
    // A pad pulled out lets go of everything first (SDL releases its buttons and axes).
    pads.keyFor(buttonEvent(0, DPAD_DOWN, false), RUNNING);
    EXPECT_FALSE(pads.holdsAnything());
    pads.rescanWhenDue(5000);
    EXPECT_EQ(pads.lastScan, 5000u);
    EXPECT_FALSE(pads.holds(SDLK_DOWN));
}

}  // namespace
