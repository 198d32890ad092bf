// Every name the game shares: constants, globals, classes and free functions.
#ifndef QUIMBO_GAME_H
#define QUIMBO_GAME_H

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include "graphics.h"
#include "input.h"
#include "actors/bubble.h"
#include "actors/dorpopallo.h"
#include "actors/enemy.h"
#include "actors/quimbo.h"
#include "actors/star.h"
#include "shell/shell.h"
#include "world/world.h"

// Game states.
const int RUNNING = 0;
const int PAUSED = 1;
const int GAMEOVER = 2;
const int MAINMENU = 3;
const int HISCORE = 4;
const int STORY = 5;  // declared, never entered

// Enemy types.
const int BIRD = 0;
const int PLANE = 1;
const int SLIME = 2;
const int DIFENEMIES = 3;

// NORMAL and FALLING serve the enemies and the player alike.
const int NORMAL = 0;
const int FALLING = 2;
// Enemy states.
const int DYING = 1;
const int BIT = 3;      // has bitten the player and flies on harmlessly
const int BLOWING = 4;  // a shot slime bursting
// Player states.
const int ATTACKING = 1;
const int FARTED = 3;  // the blast
const int BUBBLED = 4;
const int SLIMEY = 5;

// The world scrolls this many pixels per 10 ms, except while the magician is slimed or blasts.
const int SCROLL_SPEED = 3;
const int SLIMED_SCROLL_SPEED = 1;
// The blast makes the world scroll, and the score grow, this many times as fast.
const int BLAST_FACTOR = 4;
// The magician's health at the start of a game and at most, in per cent.
const int FULL_HEALTH = 100;

// Pool sizes.
const int ENEMIES = 20;
const int STARS = 20;
const int BUBBLES = 10;
const int SCENERIES = 6;

// Every global, named once in one of the four lists below: this header declares each from its
// list, globals.cpp defines each in the order the game constructs them, and the tests put each
// back between tests as start-up left it. A unit test checks that globals.cpp defines exactly
// the globals listed here, so a new global goes into its list and into globals.cpp, nowhere
// else.
//
// The lists are laid out by hand, a few names to a line.
// clang-format off
// Values and objects, X(type, name).
#define QUIMBO_VALUES(X)                                                                      \
    X(int, screenWidth) X(int, screenHeight) X(int, screenBpp)                               \
    X(int, scrollSpeed) /* pixels per 10 ms */                                                \
    X(int, gameState)                                                                         \
    X(SDL_Surface*, screen) /* the display */                                                 \
    X(TTF_Font*, verdana32) X(TTF_Font*, verdana)                                             \
    X(Mix_Chunk*, birdHit) X(Mix_Chunk*, bubbleHit) X(Mix_Chunk*, slimeHit)                   \
    X(SpriteBase*, sceneries) /* the landscape pieces, a heap array */                        \
    X(int, lastScenery)                                                                       \
    /* The clock. The game clock is double so that it keeps counting exactly through long    \
       runs. */                                                                               \
    X(int, curTime) X(int, prevTime) X(int, timeDifference)                                   \
    X(float, deltaTime) /* the frame's step in units of 10 ms */                              \
    X(double, counter)  /* milliseconds of RUNNING time since the program started */          \
    X(Quimbo, quimbo)                                                                         \
    X(Sprite, fart) /* the blast cloud */                                                     \
    X(SDL_Color, Red) X(SDL_Color, Green) X(SDL_Color, Blue) X(SDL_Color, Black)              \
    X(SDL_Color, White)                                                                       \
    X(DorpoPallo, dpallo)                                                                     \
    X(Mouse, hiiri) /* "mouse" */                                                             \
    X(Pads, pads)

// The pools of actors, X(type, name, count).
#define QUIMBO_POOLS(X)                                                                       \
    X(Sprite, scenery, SCENERIES) X(Enemy, enemy, ENEMIES) X(Bubble, bubble, BUBBLES)         \
    X(Star, star, STARS)

// The pictures start-up loads whole, outside any sheet, X(name).
#define QUIMBO_PICTURES(X)                                                                    \
    X(background) X(hud) X(menuBG) X(hiscoreBG) X(gameOver) X(paused)                         \
    X(tummennuskalvo) /* "dimming film": the pause screen's overlay */

// The sprite sheets in globals of their own, X(name); the landscape's are in `sceneries`.
#define QUIMBO_SHEETS(X)                                                                      \
    X(quimboNormal) X(quimboZap) X(quimboBubble) X(quimboFalling) X(quimboSlime)             \
    X(fartyFart) X(birdLNormal) X(birdLDying) X(birdLFalling) X(birdRNormal) X(birdRDying)    \
    X(birdRFalling) X(planeNormal) X(planeFalling) X(bubbleBase) X(slimeNormal)               \
    X(slimeBlowing) X(starBase) X(dpalloBase) X(curBase)
// clang-format on

#define QUIMBO_DECLARE_VALUE(type, name) extern type name;
#define QUIMBO_DECLARE_POOL(type, name, count) extern type name[count];
#define QUIMBO_DECLARE_PICTURE(name) extern SDL_Surface* name;
#define QUIMBO_DECLARE_SHEET(name) extern SpriteBase name;
QUIMBO_VALUES(QUIMBO_DECLARE_VALUE)
QUIMBO_POOLS(QUIMBO_DECLARE_POOL)
QUIMBO_PICTURES(QUIMBO_DECLARE_PICTURE)
QUIMBO_SHEETS(QUIMBO_DECLARE_SHEET)
#undef QUIMBO_DECLARE_VALUE
#undef QUIMBO_DECLARE_POOL
#undef QUIMBO_DECLARE_PICTURE
#undef QUIMBO_DECLARE_SHEET

#endif
