#include "scenes.h"

#include <cstdlib>

#include "game.h"
#include "sheets.h"

// The part of the screen where the scene's actors are pinned: the sky above the landscape.
static const int SKY_LEFT = 40;
static const int SKY_WIDTH = 900;
static const int SKY_HEIGHT = 480;
// The full scene's magician sits in the blast, which makes it untouchable and its cloud shown.
static const int BLAST_SCROLL = 12;
// The steady hand casts once the attack would send ten stars and blasts every 20 s of play.
static const int CAST_MAGIC = 50;
static const long BLAST_EVERY_FRAMES = 2000;

void stepClock()
{
    timeDifference = BENCH_FRAME_MS;
    deltaTime = static_cast<float>(BENCH_FRAME_MS * 0.1);
}

static float skyX()
{
    return static_cast<float>(SKY_LEFT + rand() % SKY_WIDTH);
}
static float skyY()
{
    return static_cast<float>(rand() % SKY_HEIGHT);
}

static void healPlayer()
{
    quimbo.health = 100;
    if (quimbo.state == FALLING)
        quimbo.reset();
    gameState = RUNNING;
}

void keepQuiet()
{
    clearActors();
    healPlayer();
    stepClock();
}

// An enemy of the wanted kind, re-rolled until the game's own spawn gives that kind.
static void spawnEnemy(Enemy& e, int kind)
{
    do {
        e.clear();
        e.init();
    } while (e.type != kind);
    e.sprite.setXY(skyX(), skyY());
}

SceneTally fullTally = {0, 0, 0, 0, 0};

// Counts what the frame just drawn left active; the first call of a batch finds the scene that
// another kind of frame left behind, which does not count.
static void tallyFull()
{
    if (quimbo.state != FARTED)
        return;
    ++fullTally.frames;
    for (int i = 0; i < ENEMIES; ++i)
        fullTally.enemies += enemy[i].active ? 1 : 0;
    for (int i = 0; i < STARS; ++i)
        fullTally.stars += star[i].active ? 1 : 0;
    for (int i = 0; i < BUBBLES; ++i)
        fullTally.bubbles += bubble[i].active ? 1 : 0;
    fullTally.balls += dpallo.active ? 1 : 0;
}

void keepFull()
{
    tallyFull();
    healPlayer();
    if (quimbo.state != FARTED) {
        quimbo.state = FARTED;
        scrollSpeed = BLAST_SCROLL;
    }
    // The blast never runs out while the scene is held.
    quimbo.fartTime = counter;
    for (int i = 0; i < ENEMIES; ++i)
        if (!enemy[i].active)
            spawnEnemy(enemy[i], i % DIFENEMIES);
    for (int i = 0; i < STARS; ++i) {
        if (!star[i].active) {
            star[i].clear();
            star[i].init(skyX(), skyY());
        }
    }
    for (int i = 0; i < BUBBLES; ++i) {
        if (!bubble[i].active) {
            bubble[i].clear();
            bubble[i].sprite.setXY(skyX(), skyY());
            bubble[i].active = true;
        }
    }
    if (!dpallo.active) {
        dpallo.sprite.setXY(skyX(), skyY());
        dpallo.active = true;
    }
    stepClock();
}

// Ends a held blast the way the game does, so the steady hand plays on normal terms.
static void endHeldBlast()
{
    if (quimbo.state == FARTED) {
        quimbo.state = NORMAL;
        scrollSpeed = 3;
    }
}

void keepPlaying(long frame)
{
    if (frame == 0)
        endHeldBlast();
    healPlayer();
    if (quimbo.state == NORMAL && frame % BLAST_EVERY_FRAMES == BLAST_EVERY_FRAMES - 1)
        quimbo.pierase();
    else if (quimbo.state == NORMAL && quimbo.magic >= CAST_MAGIC)
        quimbo.taio();
    stepClock();
}

static void blitOnce(SDL_Surface* picture)
{
    if (picture == nullptr || screen == nullptr)
        return;
    SDL_Rect dest = {0, 0, 0, 0};
    SDL_UpperBlit(picture, nullptr, screen, &dest);
}

void primePictures()
{
    for (SpriteBase* sheet : gameSheets())
        blitOnce(sheet->image);
    for (SDL_Surface* picture : singlePictures())
        blitOnce(picture);
}
