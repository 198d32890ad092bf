// Bubbles that rise from the landscape and carry the magician upwards.
#ifndef QUIMBO_ACTORS_BUBBLE_H
#define QUIMBO_ACTORS_BUBBLE_H

#include "graphics.h"

class Bubble {
public:
    bool active;
    float riseSpeed;  // pixels per 10 ms
    Sprite sprite;    // its whole frame is the contact box
    bool rising;      // stopped on its last frame and climbing
    bool started;     // its animation was started once it came left of x 1000

    Bubble() : sprite() {}
    ~Bubble() {}

    void move();
    void clear();
    void draw() { sprite.draw(); }
};

bool addBubble(Sprite& source);

#endif
