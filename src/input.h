// The mouse: the menu's own cursor sprite and its click areas. Beside it, the game pads, which
// press the game's own keys.
#ifndef QUIMBO_INPUT_H
#define QUIMBO_INPUT_H

#include "graphics.h"

class Mouse {
public:
    int buttons;      // button mask of the latest update (bit 0 is the left button)
    int prevButtons;  // button mask of the update before
    Sprite cursor;    // its top-left pixel is the pointer's hot spot

    Mouse() : cursor() {}
    ~Mouse() {}

    void setSprite(SpriteBase& sheet, SDL_Surface* surface) { cursor.init(&sheet, surface); }
    void update();
    void draw() { cursor.draw(); }
    int pressed(int button) { return (buttons >> (button - 1)) & 1; }
    // A left-button press seen first at the latest update, with the pointer strictly inside.
    int checkArea(int x1, int y1, int x2, int y2);
};

// Game pads. A pad presses the keys the game already knows (the frame loop applies them through
// its key table) and holds the arrows that steering reads. Pads come and go while the game runs;
// with no pad, or no joystick support at all, none of this does anything.
const int MAX_PADS = 8;  // pads beyond these are not read
// A tilt of the stick counts once past about a quarter of its travel (SDL axes reach 32767).
const int PAD_DEAD_ZONE = 8192;

// The buttons of a pad that do something, by their number on that pad; -1 where it has none.
struct PadLayout {
    int a;      // the bottom face button
    int b;      // the right face button
    int start;  // Start
    int back;   // Back / Select
    int up;     // the d-pad, where a pad reports it as buttons rather than as a hat
    int down;
    int left;
    int right;
};
// Where the buttons are on a pad with this many buttons and hats (the stick is always the first
// two axes, the d-pad the first hat or the layout's buttons). `browser` is true in the web build.
PadLayout padLayoutFor(int buttons, int hats, bool browser);

struct Pad {
    bool present;
    SDL_Joystick* joystick;  // null in the unit tests' pads
    PadLayout layout;
    // The arrows each part of the pad holds, as PAD_ARROW bits.
    int stick;
    int hat;
    int dpad;
    Uint32 buttons;  // the buttons 0 to 31 held down
    int stickX;      // the first two axes' latest values
    int stickY;
};

class Pads {
public:
    bool started = false;  // the joystick subsystem is up
    Pad pad[MAX_PADS] = {};
    Uint32 lastScan = 0;
    // The menu's pointer as the pad placed it: -1 while the mouse has it, else 0 START,
    // 1 HISCORES, 2 QUIT.
    int menuChoice = -1;
    int mouseX = 0;  // where the mouse stood when the pad took the pointer
    int mouseY = 0;
    bool menuPress = false;  // A pressed on the menu this frame

    // Opens every pad there is; a joystick subsystem that cannot start leaves the game as it was.
    void start();
    void stop();
    // Before a frame's events: forgets the last frame's menu press.
    void newFrame() { menuPress = false; }
    // After a frame's events: about once a second, while no pad holds anything, looks again for
    // pads plugged in or pulled out.
    void rescanWhenDue(Uint32 now);
    // Takes one event of a pad and returns the key it presses on the screen `state`, 0 for none.
    int keyFor(const SDL_Event& event, int state);
    // Whether some pad holds this arrow key (SDLK_UP, SDLK_DOWN, SDLK_LEFT or SDLK_RIGHT).
    bool holds(int arrowKey) const;
    bool holdsAnything() const;
    // On the menu: the pointer goes where the pad put it, until the mouse moves.
    void placePointer(Mouse& mouse);
    // A press of A with the pointer strictly inside the box (the bounds excluded, as a click).
    bool pressesArea(Mouse& mouse, int x1, int y1, int x2, int y2) const;

private:
    void openAll();
    void closeAll();
    int arrowsOf(const Pad& p) const { return p.stick | p.hat | p.dpad; }
    void movePointer(int arrowsBefore, int arrowsAfter);
    int keyForButton(Pad& p, int button, int state);
};

#endif
