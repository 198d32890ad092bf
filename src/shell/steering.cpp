// Steering the magician with the held arrow keys inside the play area.
#include "game.h"

// The play area in the middle of the screen: 324 pixels wide (350 + 674 = 1024), 480 high.
static const float PLAY_LEFT = 350.0f;
static const float PLAY_RIGHT = 674.0f;
static const float PLAY_TOP = 0.0f;
static const float PLAY_BOTTOM = 480.0f;

void steerPlayer()
{
    if (quimbo.state == FALLING || quimbo.state == BUBBLED)
        return;
    Uint8* keys = SDL_GetKeyState(nullptr);
    Sprite& sprite = quimbo.sprite;
    float v = quimbo.speed;
    bool slimey = quimbo.state == SLIMEY;
    // Slime slows the steering to a third of the speed.
    float back = slimey ? v / -3.0f : -v;
    float forth = slimey ? v / 3.0f : v;

    // A limit holds only right after a move in its own direction.
    if (keys[SDLK_UP]) {
        sprite.addY(back * deltaTime);
        if (sprite.getY() < PLAY_TOP)
            sprite.setY(PLAY_TOP);
    }
    if (keys[SDLK_DOWN]) {
        sprite.addY(forth * deltaTime);
        if (sprite.getY() > PLAY_BOTTOM - sprite.getH())
            sprite.setY(PLAY_BOTTOM - sprite.getH());
    }
    if (keys[SDLK_LEFT]) {
        sprite.addX(back * deltaTime);
        if (sprite.getX() < PLAY_LEFT)
            sprite.setX(PLAY_LEFT);
    }
    if (keys[SDLK_RIGHT]) {
        sprite.addX(forth * deltaTime);
        if (sprite.getX() > PLAY_RIGHT - sprite.getW())
            sprite.setX(PLAY_RIGHT - sprite.getW());
    }
}
