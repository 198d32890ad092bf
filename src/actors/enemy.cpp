#include "game.h"

#include <cstdlib>

static const float LEFT_BOUND = -150.0f;     // an enemy this far left is gone for good
static const float BOTTOM_BOUND = 768.0f;    // a falling enemy below this is gone
static const float ENEMY_FALL_SPEED = 3.0f;  // pixels per 10 ms
static const int BIRD_WIDTH = 48;            // a left-entering bird starts just off screen

static const int BIRD_BITE = 10;
static const int PLANE_BITE = 50;

static void setRect(SDL_Rect& r, int x, int y, int w, int h)
{
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
}

bool addEnemy()
{
    for (int i = 0; i < ENEMIES; ++i) {
        if (!enemy[i].active) {
            enemy[i].clear();
            enemy[i].init();
            return true;
        }
    }
    return false;
}

void loadEnemies()
{
    birdRNormal.init("Data/Gfx/birdr_normal.PNG", 14, 0, 255, 0);
    birdRDying.init("Data/Gfx/birdr_dying.PNG", 6, 0, 255, 0);
    birdRFalling.init("Data/Gfx/birdr_falling.PNG", 2, 0, 255, 0);
    birdLNormal.init("Data/Gfx/birdl_normal.PNG", 14, 0, 255, 0);
    birdLDying.init("Data/Gfx/birdl_dying.PNG", 6, 0, 255, 0);
    birdLFalling.init("Data/Gfx/birdl_falling.PNG", 2, 0, 255, 0);
    planeNormal.init("Data/Gfx/plane_normal.PNG", 2, 0, 255, 0);
    planeFalling.init("Data/Gfx/plane_falling.PNG", 2, 0, 255, 0);
    slimeNormal.init("Data/Gfx/slime.PNG", 6, 0, 255, 0);
    slimeBlowing.init("Data/Gfx/slime_blowing.PNG", 4, 0, 255, 0);
    bubbleBase.init("Data/Gfx/bubble.PNG", 4, 0, 255, 0);
}

void Enemy::init()
{
    // The rolls come in a fixed order: kind, height, then the kind's own.
    int roll = rand() % 100;
    type = roll < 60 ? BIRD : roll < 80 ? PLANE : SLIME;
    active = true;
    shootable = true;
    sprite.setY(static_cast<float>(rand() % 480));

    if (type == BIRD) {
        if (rand() % 2 == 0) {
            direction = -1;
            sprite.setX(static_cast<float>(screenWidth));
            sprite.init(&birdRNormal, screen);
        } else {
            direction = 1;
            sprite.setX(static_cast<float>(-BIRD_WIDTH));
            sprite.init(&birdLNormal, screen);
        }
        velocity = static_cast<float>(direction * (1 + rand() % 4) - scrollSpeed);
        setRect(hitOffset, 0, 15, 48, 9);
        sprite.setSpeed(static_cast<float>(40 + rand() % 80));
    } else if (type == PLANE) {
        sprite.init(&planeNormal, screen);
        velocity = static_cast<float>(-(scrollSpeed + 3));
        sprite.setX(static_cast<float>(screenWidth));
        setRect(hitOffset, 6, 10, 83, 24);
        sprite.setSpeed(46.0f);
    } else {
        sprite.init(&slimeNormal, screen);
        velocity = static_cast<float>(-(scrollSpeed + 6));
        sprite.setX(static_cast<float>(screenWidth));
        // A slime's whole frame is its hit box.
        setRect(hitOffset, 0, 10, slimeNormal.frameW, slimeNormal.frameH);
        sprite.setSpeed(100.0f);
    }
    hitBox.w = hitOffset.w;
    hitBox.h = hitOffset.h;
}

// A bird or plane touching the magician costs health and ends its attack, bubble or slime.
static void bite(Enemy& e)
{
    if (quimbo.state == FARTED || quimbo.state == FALLING)
        return;
    quimbo.health -= e.type == BIRD ? BIRD_BITE : PLANE_BITE;
    if (quimbo.state != NORMAL) {
        quimbo.state = NORMAL;
        scrollSpeed = SCROLL_SPEED;
        quimbo.sprite.init(&quimboNormal, screen);
    }
    e.state = BIT;
    Mix_PlayChannelTimed(HURT_CHANNEL, quimbo.hurtSound, 0, -1);
}

// A slime covers the magician and is used up.
static void slimePlayer(Enemy& e)
{
    if (quimbo.state == FARTED || quimbo.state == FALLING || quimbo.state == BUBBLED)
        return;
    quimbo.state = SLIMEY;
    quimbo.slimeTime = counter;
    quimbo.sprite.init(&quimboSlime, screen);
    scrollSpeed = SCROLL_SPEED;
    e.clear();
    Mix_PlayChannelTimed(SLIME_CHANNEL, slimeHit, 0, -1);
}

void Enemy::move()
{
    sprite.addX(velocity * deltaTime);
    if (sprite.getX() <= LEFT_BOUND)
        clear();
    if (type == BIRD && sprite.getX() > static_cast<float>(screenWidth))
        clear();

    if ((type == BIRD || type == PLANE) && state == NORMAL) {
        placeHitBox(hitBox, hitOffset, sprite);
        if (collisionBox(hitBox, quimbo.hitBox))
            bite(*this);
    } else if (type == SLIME && state == NORMAL) {
        placeHitBox(hitBox, hitOffset, sprite);
        if (collisionBox(hitBox, quimbo.hitBox))
            slimePlayer(*this);
    } else if (type == BIRD && state == DYING) {
        if (sprite.animationEnd()) {
            sprite.init(direction == 1 ? &birdLFalling : &birdRFalling, screen);
            state = FALLING;
        }
    } else if ((type == BIRD || type == PLANE) && state == FALLING) {
        sprite.addY(ENEMY_FALL_SPEED * deltaTime);
        if (sprite.getY() > BOTTOM_BOUND)
            clear();
    } else if (type == SLIME && state == BLOWING) {
        if (sprite.animationEnd())
            clear();
    }
}

void Enemy::clear()
{
    direction = 0;
    velocity = 0.0f;
    type = BIRD;
    active = false;
    state = NORMAL;
    shootable = false;
    setRect(hitOffset, 0, 0, 0, 0);
    setRect(hitBox, 0, 0, 0, 0);
}
