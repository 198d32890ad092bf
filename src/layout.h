// Where things sit on the 1024 x 768 screen: the places the game draws at, takes clicks in and
// keeps the magician inside. The tests read their places from this file too, so each is
// written down once: keep every place here a `const` of one line, a number or a brace list.
#ifndef QUIMBO_LAYOUT_H
#define QUIMBO_LAYOUT_H

struct ScreenPoint {
    int x;
    int y;
};
// A box by its edges.
struct ScreenArea {
    int left;
    int top;
    int right;
    int bottom;
};

// The head-up display: the panel's top edge on the screen, and the top-left corner of each of
// its three white figures.
const int HUD_TOP = 640;
const ScreenPoint HEALTH_AT = {171, 684};
const ScreenPoint MAGIC_AT = {432, 684};
const ScreenPoint SCORE_AT = {704, 714};

// The score's place inside the game-over picture, which is centred on the screen.
const ScreenPoint GAME_OVER_SCORE_AT = {234, 43};

// The fixed high-score table's two columns: names, then scores.
const int TABLE_NAME_X = 300;
const int TABLE_SCORE_X = 500;

// The main menu's click areas, bounds excluded: 350 by 105 pixels, 15 apart.
const ScreenArea START_AREA = {349, 311, 699, 416};
const ScreenArea HISCORE_AREA = {349, 431, 699, 536};
const ScreenArea QUIT_AREA = {349, 551, 699, 656};

// The play area in the middle of the screen that the magician steers inside: 324 pixels wide
// (350 + 674 = 1024), 480 high.
const ScreenArea PLAY_AREA = {350, 0, 674, 480};
// The magician's start: its frame is centred on this point.
const ScreenPoint MAGICIAN_START_CENTRE = {512, 320};

#endif
