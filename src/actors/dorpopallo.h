// The bonus ball ("dorpo ball") that gives back health.
#ifndef QUIMBO_ACTORS_DORPOPALLO_H
#define QUIMBO_ACTORS_DORPOPALLO_H

#include "graphics.h"

class DorpoPallo {
public:
    bool active;
    float velocity;  // its own speed; the scroll is added every frame
    Sprite sprite;   // its whole frame is the contact box

    DorpoPallo() : sprite() {}
    ~DorpoPallo() {}

    void move();
    void draw() { sprite.draw(); }
};

#endif
