// The magic stars that the attack sends out.
#ifndef QUIMBO_ACTORS_STAR_H
#define QUIMBO_ACTORS_STAR_H

#include "graphics.h"

class Star {
public:
    float velocity;  // pixels per 10 ms, always to the right
    Sprite sprite;
    bool active;
    SDL_Rect hitOffset;
    SDL_Rect hitBox;

    Star() : sprite() {}
    ~Star() {}

    void init(float x, float y);
    void move();
    void clear();
    void draw() { sprite.draw(); }
};

bool addStar(int count);

#endif
