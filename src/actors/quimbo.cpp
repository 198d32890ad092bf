#include "game.h"

#include <cstdio>

// Frame times of the magician's sheets, in milliseconds.
static const float NORMAL_FRAME_MS = 46.0f;
static const float ZAP_FRAME_MS = 120.0f;
static const float FALLING_FRAME_MS = 10.0f;

static const double CLOCK_TICK_MS = 100.0;  // score and magic clocks
static const double BLAST_MS = 5000.0;
static const double BUBBLE_MS = 4000.0;
static const double SLIME_MS = 5000.0;

static const float FALL_STEP = 6.0f;         // pixels per frame, not scaled by time
static const float BUBBLE_RISE_STEP = 3.0f;  // pixels per frame
static const int BLAST_HEALTH_COST = 25;

static void playOnce(int channel, Mix_Chunk* sound)
{
    Mix_PlayChannelTimed(channel, sound, 0, -1);
}

Quimbo::Quimbo() : sprite()
{
    hitOffset.x = 26;
    hitOffset.y = 36;
    hitOffset.w = 96;
    hitOffset.h = 46;
    hitBox.x = 0;
    hitBox.y = 0;
    hitBox.w = hitOffset.w;
    hitBox.h = hitOffset.h;
    // Only the plain start values: the sheets do not exist yet. The reset before the first
    // frame puts the sprite on its sheet.
    state = NORMAL;
    speed = 3.0f;
    health = FULL_HEALTH;
    magic = 100;
    score = 0;
    slimeTime = 0.0;
    fartTime = 0.0;
    bubbleTime = 0.0;
}

void Quimbo::reset()
{
    state = NORMAL;
    speed = 3.0f;
    health = FULL_HEALTH;
    magic = 100;
    score = 0;
    sprite.init(&quimboNormal, screen);
    sprite.setXY(static_cast<float>(MAGICIAN_START_CENTRE.x - sprite.getW() / 2),
                 static_cast<float>(MAGICIAN_START_CENTRE.y - sprite.getH() / 2));
    sprite.setSpeed(NORMAL_FRAME_MS);
    slimeTime = 0.0;
    fartTime = 0.0;
    bubbleTime = 0.0;
}

void Quimbo::taio()
{
    if (magic <= 10 || state == FARTED || state == BUBBLED || state == SLIMEY)
        return;
    // Two stars for every whole ten, from the centre of the frame shown before the attack.
    addStar((magic / 10) * 2);
    sprite.init(&quimboZap, screen);
    sprite.setSpeed(ZAP_FRAME_MS);
    state = ATTACKING;
    magic -= (magic / 10) * 10;
    playOnce(FIRST_FREE_CHANNEL, zapSound);
    printf("Quimbo taiko!\n");
}

int Quimbo::pierase()
{
    if (state == FARTED || state == BUBBLED || state == SLIMEY)
        return 0;
    health -= BLAST_HEALTH_COST;
    // Too weak for a blast: the next update starts the fall.
    if (health <= 0)
        return 0;
    fartTime = counter;
    scrollSpeed *= BLAST_FACTOR;
    state = FARTED;
    Mix_PlayChannelTimed(BLAST_CHANNEL, fartSound, -1, -1);
    // Every bird goes down, whatever it was doing; the blast scores nothing for them.
    for (int i = 0; i < ENEMIES; ++i) {
        if (enemy[i].active && enemy[i].type == BIRD) {
            enemy[i].state = DYING;
            playOnce(BLAST_BIRD_CHANNEL, birdHit);
        }
    }
    return 1;
}

void Quimbo::update()
{
    // Only ticks of the game clock, so the score and magic run on across games.
    static double lastScored = 0.0;
    static double lastTaikadded = 0.0;

    if (state == FALLING) {
        sprite.addY(FALL_STEP);
        if (sprite.getY() > static_cast<float>(screenHeight))
            gameState = GAMEOVER;
        return;
    }

    placeHitBox(hitBox, hitOffset, sprite);

    if (counter - lastScored > CLOCK_TICK_MS) {
        score += state == FARTED ? BLAST_FACTOR : 1;
        lastScored = counter;
    }

    if (health <= 0) {
        health = 0;
        sprite.init(&quimboFalling, screen);
        sprite.setSpeed(FALLING_FRAME_MS);
        state = FALLING;
        playOnce(FALL_CHANNEL, fallSound);
    }

    if (magic < 0)
        magic = 0;

    // Only the first case that applies: a frame that adds magic handles no timed state.
    if (magic <= 99 && counter - lastTaikadded > CLOCK_TICK_MS) {
        magic += 1;
        lastTaikadded = counter;
    } else if (state == ATTACKING && sprite.animationEnd()) {
        sprite.init(&quimboNormal, screen);
        sprite.setSpeed(NORMAL_FRAME_MS);
        state = NORMAL;
    } else if (state == FARTED && counter - fartTime > BLAST_MS) {
        haltBlastSound();
        scrollSpeed /= BLAST_FACTOR;
        state = NORMAL;
    } else if (state == BUBBLED) {
        sprite.addY(-BUBBLE_RISE_STEP);
        if (sprite.getY() < 0.0f)
            sprite.setY(0.0f);
        if (counter - bubbleTime > BUBBLE_MS) {
            state = NORMAL;
            sprite.init(&quimboNormal, screen);
        }
    } else if (state == SLIMEY) {
        scrollSpeed = SLIMED_SCROLL_SPEED;
        if (counter - slimeTime > SLIME_MS) {
            scrollSpeed = SCROLL_SPEED;
            state = NORMAL;
            sprite.init(&quimboNormal, screen);
        }
    }
}
