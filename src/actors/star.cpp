#include "game.h"

#include <cstdlib>

static const int STAR_BOX = 15;  // a star's box is 15 by 15 whatever its picture

static const int BIRD_POINTS = 100;
static const int PLANE_POINTS = 500;
static const int SLIME_POINTS = 750;

bool addStar(int count)
{
    int placed = 0;
    // Integer halves: the centre of the magician's current frame.
    float x = quimbo.sprite.getX() + static_cast<float>(quimbo.sprite.getW() / 2);
    float y = quimbo.sprite.getY() + static_cast<float>(quimbo.sprite.getH() / 2);
    for (int i = 0; i < STARS && placed < count; ++i) {
        if (!star[i].active) {
            star[i].clear();
            star[i].init(x, y);
            ++placed;
        }
    }
    return true;
}

void Star::init(float x, float y)
{
    active = true;
    sprite.setXY(x, y + static_cast<float>(rand() % 20 - 10));
    velocity = static_cast<float>(rand() % 4 + 2);
    sprite.setSpeed(static_cast<float>(rand() % 2 + 1));
}

void Star::clear()
{
    hitOffset.x = 0;
    hitOffset.y = 0;
    hitOffset.w = STAR_BOX;
    hitOffset.h = STAR_BOX;
    hitBox.w = STAR_BOX;
    hitBox.h = STAR_BOX;
    velocity = 0.0f;
    active = false;
    sprite.setSpeed(static_cast<float>(rand() % 80 + 40));
}

static bool canBeHit(Enemy& e)
{
    return e.active && e.shootable && e.state != DYING && e.state != FALLING && e.state != BLOWING;
}

// Brings the enemy down by its kind and scores it.
static void strike(Enemy& e)
{
    if (e.type == BIRD) {
        e.state = DYING;
        e.sprite.init(e.direction == 1 ? &birdLDying : &birdRDying, screen);
        quimbo.score += BIRD_POINTS;
        Mix_PlayChannelTimed(STAR_HIT_CHANNEL, birdHit, 0, -1);
    } else if (e.type == PLANE) {
        e.state = FALLING;
        e.sprite.init(&planeFalling, screen);
        quimbo.score += PLANE_POINTS;
    } else if (e.type == SLIME) {
        e.state = BLOWING;
        e.sprite.init(&slimeBlowing, screen);
        quimbo.score += SLIME_POINTS;
    }
}

void Star::move()
{
    sprite.addX(velocity * deltaTime);
    sprite.addY(static_cast<float>(rand() % 3 - 1) * deltaTime);
    placeHitBox(hitBox, hitOffset, sprite);
    // Past the right edge the star is spent, but it still hits in this frame.
    if (sprite.getX() > static_cast<float>(screenWidth))
        active = false;
    // Every enemy the star touches goes down, even after the first hit used the star up.
    for (int i = 0; i < ENEMIES; ++i) {
        if (canBeHit(enemy[i]) && collisionBox(hitBox, enemy[i].hitBox)) {
            strike(enemy[i]);
            active = false;
        }
    }
}
