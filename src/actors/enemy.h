// Birds, planes and slimes: the fixed pool of enemies.
#ifndef QUIMBO_ACTORS_ENEMY_H
#define QUIMBO_ACTORS_ENEMY_H

#include "graphics.h"

class Enemy {
public:
    float velocity;  // pixels per 10 ms, the scroll of its spawn moment included
    Sprite sprite;
    int type;
    int direction;  // birds: -1 entered at the right, +1 at the left; 0 otherwise
    bool active;
    int state;
    bool shootable;
    SDL_Rect hitOffset;
    SDL_Rect hitBox;  // follows the sprite only while the enemy is NORMAL

    Enemy() : sprite() {}
    ~Enemy() {}

    void init();
    void move();
    void clear();
    void draw() { sprite.draw(); }
};

bool addEnemy();
void loadEnemies();

#endif
