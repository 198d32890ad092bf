// Quimbo, the magician on the flying carpet: the one player object.
#ifndef QUIMBO_ACTORS_QUIMBO_H
#define QUIMBO_ACTORS_QUIMBO_H

#include <SDL_mixer.h>

#include "graphics.h"

class Quimbo {
public:
    int health;   // per cent
    float speed;  // steering speed, pixels per 10 ms
    // Game-clock stamps of the blast, the bubble and the slime (double, so they stay exact
    // for as long as the game clock does).
    double fartTime;
    double bubbleTime;
    double slimeTime;
    int state;
    int magic;
    int score;
    Sprite sprite;
    SDL_Rect hitOffset;  // where the hit box lies inside the frame
    SDL_Rect hitBox;     // the hit box on the screen
    Mix_Chunk* zapSound;
    Mix_Chunk* fallSound;
    Mix_Chunk* fartSound;
    Mix_Chunk* hurtSound;

    Quimbo();
    ~Quimbo() {}

    void reset();
    void taio();    // "conjure": the magic attack
    int pierase();  // the blast; 1 when it went off
    void update();
    void draw() { sprite.draw(); }
};

#endif
