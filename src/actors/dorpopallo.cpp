#include "game.h"

static const int BALL_HEAL = 25;

void DorpoPallo::move()
{
    // The ball follows the landscape, so the scroll is added every frame.
    sprite.addX((velocity - scrollSpeed) * deltaTime);
    if (sprite.getX() < 0.0f)
        active = false;
    if (collisionBox(quimbo.hitBox, sprite)) {
        quimbo.health += BALL_HEAL;
        if (quimbo.health > FULL_HEALTH)
            quimbo.health = FULL_HEALTH;
        active = false;
    }
}
