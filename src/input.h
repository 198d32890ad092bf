// The mouse: the menu's own cursor sprite and its click areas.
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

#endif
