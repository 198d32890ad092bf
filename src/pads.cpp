// The game pads: each pad presses the game's own keys and holds its arrows, on every screen.
#include "game.h"

// In the browser a pad with the standard layout numbers its buttons its own way.
#ifdef __EMSCRIPTEN__
static const bool IN_BROWSER = true;
#else
static const bool IN_BROWSER = false;
#endif

// A pad is looked for again this often, so that one plugged in plays within two seconds.
static const Uint32 RESCAN_PERIOD_MS = 1000;

// The arrows a part of a pad holds.
static const int ARROW_UP = 1;
static const int ARROW_DOWN = 2;
static const int ARROW_LEFT = 4;
static const int ARROW_RIGHT = 8;

// The layouts the pad drivers give. SDL's own order (its HIDAPI drivers, virtual pads): A, B,
// X, Y, Back, Guide, Start, the two stick clicks, the shoulders, then the d-pad.
static const PadLayout SDL_ORDER = {0, 1, 6, 4, 11, 12, 13, 14};
// The browser's standard layout: A, B, X, Y, the shoulders, the triggers, Select, Start, the two
// stick clicks, the d-pad, Home.
static const PadLayout BROWSER_STANDARD = {0, 1, 9, 8, 12, 13, 14, 15};
// Xbox-style pads through the system's own driver (Linux, Windows XInput): A, B, X, Y, the
// shoulders, Back, Start, then Guide and the stick clicks; the d-pad is a hat.
static const PadLayout XBOX_WITH_HAT = {0, 1, 7, 6, -1, -1, -1, -1};
// PlayStation-style pads through Linux's driver: the four face buttons, the shoulders, the
// triggers, Share, Options, then PS and the stick clicks; the d-pad is a hat.
static const PadLayout PLAYSTATION_WITH_HAT = {0, 1, 9, 8, -1, -1, -1, -1};
// Any other pad: the first button casts (the stick and the hat steer on every pad).
static const PadLayout FIRST_BUTTON_ONLY = {0, -1, -1, -1, -1, -1, -1, -1};

PadLayout padLayoutFor(int buttons, int hats, bool browser)
{
    if (browser)
        return buttons >= 16 ? BROWSER_STANDARD : FIRST_BUTTON_ONLY;
    if (buttons >= 15)
        return SDL_ORDER;
    if (hats >= 1 && buttons >= 13)
        return PLAYSTATION_WITH_HAT;
    if (hats >= 1 && buttons >= 10)
        return XBOX_WITH_HAT;
    return FIRST_BUTTON_ONLY;
}

// What the pad's buttons do on each screen, as the keys of the key table.
enum PadRole { ROLE_NONE, ROLE_A, ROLE_B, ROLE_START, ROLE_BACK };
struct PadKey {
    int state;
    PadRole role;
    int key;
};
static const PadKey PAD_KEYS[] = {
    {RUNNING, ROLE_A, SDLK_SPACE},      {RUNNING, ROLE_B, SDLK_LCTRL},
    {RUNNING, ROLE_START, SDLK_p},      {RUNNING, ROLE_BACK, SDLK_ESCAPE},
    {PAUSED, ROLE_START, SDLK_RETURN},  {PAUSED, ROLE_A, SDLK_RETURN},
    {PAUSED, ROLE_BACK, SDLK_ESCAPE},   {PAUSED, ROLE_B, SDLK_ESCAPE},
    {GAMEOVER, ROLE_A, SDLK_RETURN},    {GAMEOVER, ROLE_START, SDLK_RETURN},
    {GAMEOVER, ROLE_BACK, SDLK_ESCAPE}, {GAMEOVER, ROLE_B, SDLK_ESCAPE},
};

static PadRole roleOf(const PadLayout& layout, int button)
{
    if (button == layout.a)
        return ROLE_A;
    if (button == layout.b)
        return ROLE_B;
    if (button == layout.start)
        return ROLE_START;
    if (button == layout.back)
        return ROLE_BACK;
    return ROLE_NONE;
}

static int dpadArrowOf(const PadLayout& layout, int button)
{
    if (button == layout.up)
        return ARROW_UP;
    if (button == layout.down)
        return ARROW_DOWN;
    if (button == layout.left)
        return ARROW_LEFT;
    if (button == layout.right)
        return ARROW_RIGHT;
    return 0;
}

static int stickArrows(int x, int y)
{
    int arrows = 0;
    if (y < -PAD_DEAD_ZONE)
        arrows |= ARROW_UP;
    if (y > PAD_DEAD_ZONE)
        arrows |= ARROW_DOWN;
    if (x < -PAD_DEAD_ZONE)
        arrows |= ARROW_LEFT;
    if (x > PAD_DEAD_ZONE)
        arrows |= ARROW_RIGHT;
    return arrows;
}

static int hatArrows(int hat)
{
    return ((hat & SDL_HAT_UP) ? ARROW_UP : 0) | ((hat & SDL_HAT_DOWN) ? ARROW_DOWN : 0) |
           ((hat & SDL_HAT_LEFT) ? ARROW_LEFT : 0) | ((hat & SDL_HAT_RIGHT) ? ARROW_RIGHT : 0);
}

static Uint32 buttonBit(int button)
{
    return button >= 0 && button < 32 ? Uint32(1) << button : 0;
}

void Pads::start()
{
    started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (started)
        openAll();
    lastScan = SDL_GetTicks();
}

void Pads::stop()
{
    closeAll();
    if (started)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    started = false;
}

void Pads::openAll()
{
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count && i < MAX_PADS; ++i) {
        SDL_Joystick* joystick = SDL_JoystickOpen(i);
        if (joystick == nullptr)
            continue;
        Pad& p = pad[i];
        p.present = true;
        p.joystick = joystick;
        int buttons = SDL_JoystickNumButtons(joystick);
        p.layout = padLayoutFor(buttons, SDL_JoystickNumHats(joystick), IN_BROWSER);
        // What the pad holds as it is opened counts as held, so that a look for new pads in
        // the middle of a move neither drops the move nor takes a held button for a new press.
        if (SDL_JoystickNumAxes(joystick) >= 2) {
            p.stickX = SDL_JoystickGetAxis(joystick, 0);
            p.stickY = SDL_JoystickGetAxis(joystick, 1);
            p.stick = stickArrows(p.stickX, p.stickY);
        }
        if (SDL_JoystickNumHats(joystick) >= 1)
            p.hat = hatArrows(SDL_JoystickGetHat(joystick, 0));
        for (int b = 0; b < buttons && b < 32; ++b) {
            if (SDL_JoystickGetButton(joystick, b)) {
                p.buttons |= buttonBit(b);
                p.dpad |= dpadArrowOf(p.layout, b);
            }
        }
    }
    SDL_JoystickEventState(SDL_ENABLE);
}

void Pads::closeAll()
{
    for (Pad& p : pad) {
        if (p.joystick != nullptr)
            SDL_JoystickClose(p.joystick);
        p = Pad();
    }
}

// SDL only learns of pads plugged in or pulled out when its joystick support starts again.
// That waits until no pad holds anything: a pad opened anew may report a button still held as
// a fresh press, which would cast or pause a second time. A pad pulled out lets go of
// everything first.
void Pads::rescanWhenDue(Uint32 now)
{
    if (!started || now - lastScan < RESCAN_PERIOD_MS || holdsAnything())
        return;
    lastScan = now;
    closeAll();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    started = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (started)
        openAll();
}

bool Pads::holds(int arrowKey) const
{
    int arrow = arrowKey == SDLK_UP      ? ARROW_UP
                : arrowKey == SDLK_DOWN  ? ARROW_DOWN
                : arrowKey == SDLK_LEFT  ? ARROW_LEFT
                : arrowKey == SDLK_RIGHT ? ARROW_RIGHT
                                         : 0;
    for (const Pad& p : pad)
        if (p.present && (arrowsOf(p) & arrow) != 0)
            return true;
    return false;
}

bool Pads::holdsAnything() const
{
    for (const Pad& p : pad)
        if (p.present && (arrowsOf(p) != 0 || p.buttons != 0))
            return true;
    return false;
}

// The menu's buttons from top to bottom, where the pad puts the pointer: their middles.
static const ScreenArea* const MENU_BUTTONS[] = {&START_AREA, &HISCORE_AREA, &QUIT_AREA};
static const int MENU_BUTTON_COUNT = 3;

// Up and down newly held on the menu: the first puts the pointer on START, each after moves it
// one button up or down, stopping at the ends.
void Pads::movePointer(int arrowsBefore, int arrowsAfter)
{
    int pressed = arrowsAfter & ~arrowsBefore;
    int step = (pressed & ARROW_DOWN ? 1 : 0) - (pressed & ARROW_UP ? 1 : 0);
    if ((pressed & (ARROW_UP | ARROW_DOWN)) == 0)
        return;
    if (menuChoice < 0)
        menuChoice = 0;
    else
        menuChoice += step;
    if (menuChoice < 0)
        menuChoice = 0;
    if (menuChoice >= MENU_BUTTON_COUNT)
        menuChoice = MENU_BUTTON_COUNT - 1;
    SDL_GetMouseState(&mouseX, &mouseY);
}

void Pads::placePointer(Mouse& mouse)
{
    if (menuChoice < 0 || menuChoice >= MENU_BUTTON_COUNT)
        return;
    // A mouse that has moved since takes the pointer back.
    if (static_cast<int>(mouse.cursor.getX()) != mouseX ||
        static_cast<int>(mouse.cursor.getY()) != mouseY) {
        menuChoice = -1;
        return;
    }
    const ScreenArea& area = *MENU_BUTTONS[menuChoice];
    mouse.cursor.setXY(static_cast<float>((area.left + area.right) / 2),
                       static_cast<float>((area.top + area.bottom) / 2));
}

bool Pads::pressesArea(Mouse& mouse, int x1, int y1, int x2, int y2) const
{
    // The same strict box as a click takes.
    float cx = mouse.cursor.getX();
    float cy = mouse.cursor.getY();
    return menuPress && static_cast<float>(x1) < cx && cx < static_cast<float>(x2) &&
           static_cast<float>(y1) < cy && cy < static_cast<float>(y2);
}

int Pads::keyForButton(Pad& p, int button, int state)
{
    // A button already down (counted so when the pad was opened) is no new press.
    if ((p.buttons & buttonBit(button)) != 0)
        return 0;
    p.buttons |= buttonBit(button);
    p.dpad |= dpadArrowOf(p.layout, button);
    if (state == HISCORE)
        return SDLK_RETURN;  // any button leaves the table
    PadRole role = roleOf(p.layout, button);
    if (state == MAINMENU && role == ROLE_A)
        menuPress = true;
    for (const PadKey& row : PAD_KEYS)
        if (row.state == state && row.role == role)
            return row.key;
    return 0;
}

int Pads::keyFor(const SDL_Event& event, int state)
{
    int which = -1;
    if (event.type == SDL_JOYAXISMOTION)
        which = event.jaxis.which;
    else if (event.type == SDL_JOYHATMOTION)
        which = event.jhat.which;
    else if (event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYBUTTONUP)
        which = event.jbutton.which;
    if (which < 0 || which >= MAX_PADS || !pad[which].present)
        return 0;
    Pad& p = pad[which];
    int before = arrowsOf(p);
    int key = 0;
    if (event.type == SDL_JOYAXISMOTION) {
        if (event.jaxis.axis == 0)
            p.stickX = event.jaxis.value;
        else if (event.jaxis.axis == 1)
            p.stickY = event.jaxis.value;
        p.stick = stickArrows(p.stickX, p.stickY);
    } else if (event.type == SDL_JOYHATMOTION) {
        if (event.jhat.hat == 0)
            p.hat = hatArrows(event.jhat.value);
    } else if (event.type == SDL_JOYBUTTONDOWN) {
        key = keyForButton(p, event.jbutton.button, state);
    } else {
        p.buttons &= ~buttonBit(event.jbutton.button);
        p.dpad &= ~dpadArrowOf(p.layout, event.jbutton.button);
    }
    if (state == MAINMENU)
        movePointer(before, arrowsOf(p));
    return key;
}
