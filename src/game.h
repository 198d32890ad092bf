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

// Pool sizes.
const int ENEMIES = 20;
const int STARS = 20;
const int BUBBLES = 10;
const int SCENERIES = 6;

// Tuning values.
extern int screenWidth;
extern int screenHeight;
extern int screenBpp;
extern int scrollSpeed;  // pixels per 10 ms
extern int gameState;

// The display and the single pictures.
extern SDL_Surface* screen;
extern SDL_Surface* background;
extern SDL_Surface* hud;
extern SDL_Surface* menuBG;
extern SDL_Surface* hiscoreBG;
extern SDL_Surface* gameOver;
extern SDL_Surface* paused;
extern SDL_Surface* tummennuskalvo;  // "dimming film": the pause screen's overlay

extern TTF_Font* verdana32;
extern TTF_Font* verdana;

extern Mix_Chunk* birdHit;
extern Mix_Chunk* bubbleHit;
extern Mix_Chunk* slimeHit;

extern SpriteBase* sceneries;  // the landscape pieces, a heap array
extern int lastScenery;

// The clock. The game clock is double so that it keeps counting exactly through long runs.
extern int curTime;
extern int prevTime;
extern int timeDifference;
extern float deltaTime;  // the frame's step in units of 10 ms
extern double counter;   // milliseconds of RUNNING time since the program started

// The global objects, in the order they are constructed.
extern Quimbo quimbo;
extern SpriteBase quimboNormal;
extern SpriteBase quimboZap;
extern SpriteBase quimboBubble;
extern SpriteBase quimboFalling;
extern SpriteBase quimboSlime;
extern SpriteBase fartyFart;
extern Sprite fart;  // the blast cloud
extern Sprite scenery[SCENERIES];
extern SDL_Color Red;
extern SDL_Color Green;
extern SDL_Color Blue;
extern SDL_Color Black;
extern SDL_Color White;
extern Enemy enemy[ENEMIES];
extern SpriteBase birdLNormal;
extern SpriteBase birdLDying;
extern SpriteBase birdLFalling;
extern SpriteBase birdRNormal;
extern SpriteBase birdRDying;
extern SpriteBase birdRFalling;
extern SpriteBase planeNormal;
extern SpriteBase planeFalling;
extern SpriteBase bubbleBase;
extern SpriteBase slimeNormal;
extern SpriteBase slimeBlowing;
extern Bubble bubble[BUBBLES];
extern SpriteBase starBase;
extern Star star[STARS];
extern SpriteBase dpalloBase;
extern DorpoPallo dpallo;
extern Mouse hiiri;  // "mouse"
extern SpriteBase curBase;

#endif
