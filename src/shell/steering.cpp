// Steering the magician with the held arrow keys inside the play area. A pad's arrows count as
// held keys too: the keyboard and the pads held together act as both held.
#include "game.h"

// The play area's edges, as the sprite's float position meets them.
static const float PLAY_LEFT = static_cast<float>(PLAY_AREA.left);
static const float PLAY_RIGHT = static_cast<float>(PLAY_AREA.right);
static const float PLAY_TOP = static_cast<float>(PLAY_AREA.top);
static const float PLAY_BOTTOM = static_cast<float>(PLAY_AREA.bottom);

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
    if (keys[SDLK_UP] || pads.holds(SDLK_UP)) {
        sprite.addY(back * deltaTime);
        if (sprite.getY() < PLAY_TOP)
            sprite.setY(PLAY_TOP);
    }
    if (keys[SDLK_DOWN] || pads.holds(SDLK_DOWN)) {
        sprite.addY(forth * deltaTime);
        if (sprite.getY() > PLAY_BOTTOM - sprite.getH())
            sprite.setY(PLAY_BOTTOM - sprite.getH());
    }
    if (keys[SDLK_LEFT] || pads.holds(SDLK_LEFT)) {
        sprite.addX(back * deltaTime);
        if (sprite.getX() < PLAY_LEFT)
            sprite.setX(PLAY_LEFT);
    }
    if (keys[SDLK_RIGHT] || pads.holds(SDLK_RIGHT)) {
        sprite.addX(forth * deltaTime);
        if (sprite.getX() > PLAY_RIGHT - sprite.getW())
            sprite.setX(PLAY_RIGHT - sprite.getW());
    }
}
