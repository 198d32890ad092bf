#include "game.h"

static const float BUBBLE_SOURCE_DX = 60.0f;  // where the pond on landscape piece 0 bubbles
static const float BUBBLE_SOURCE_DY = 6.0f;
static const float START_LINE = 1000.0f;  // the animation starts left of this x
static const float RISE_SPEED = 2.5f;     // pixels per 10 ms
static const float BUBBLE_FRAME_MS = 100.0f;

bool addBubble(Sprite& source)
{
    for (int i = 0; i < BUBBLES; ++i) {
        if (!bubble[i].active) {
            bubble[i].sprite.setXY(source.getX() + BUBBLE_SOURCE_DX,
                                   source.getY() + BUBBLE_SOURCE_DY);
            bubble[i].active = true;
            return true;
        }
    }
    return false;
}

void Bubble::clear()
{
    active = false;
    riseSpeed = RISE_SPEED;
    sprite.init(&bubbleBase, screen);
    sprite.setSpeed(BUBBLE_FRAME_MS);
    rising = false;
    started = false;
}

void Bubble::move()
{
    sprite.addX(-scrollSpeed * deltaTime);
    if (sprite.getX() < 0.0f)
        clear();
    if (sprite.getX() < START_LINE && !started) {
        sprite.start();
        started = true;
    }
    // Once formed, the bubble stops on its last frame and rises.
    if (sprite.getX() < START_LINE && sprite.animationEnd() && !rising) {
        sprite.pause();
        rising = true;
    }
    if (rising) {
        sprite.addY(-riseSpeed * deltaTime);
        if (sprite.getY() < 0.0f)
            clear();
    }
    // A bubble cleared above keeps its place, so it can still catch the magician in this call.
    if (collisionBox(quimbo.hitBox, sprite)) {
        if (quimbo.state == FARTED || quimbo.state == SLIMEY || quimbo.state == FALLING)
            return;
        quimbo.state = BUBBLED;
        quimbo.bubbleTime = counter;
        quimbo.sprite.init(&quimboBubble, screen);
        clear();
        Mix_PlayChannelTimed(BUBBLE_CHANNEL, bubbleHit, 0, -1);
    }
}
