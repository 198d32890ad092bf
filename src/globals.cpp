// Every global object of the game, defined in the order in which it is constructed.
#include "game.h"

int screenWidth = 1024;
int screenHeight = 768;
int screenBpp = 32;
int scrollSpeed = SCROLL_SPEED;
int gameState = MAINMENU;

SDL_Surface* screen = nullptr;
SDL_Surface* background = nullptr;
SDL_Surface* hud = nullptr;
SDL_Surface* menuBG = nullptr;
SDL_Surface* hiscoreBG = nullptr;
SDL_Surface* gameOver = nullptr;
SDL_Surface* paused = nullptr;
SDL_Surface* tummennuskalvo = nullptr;

TTF_Font* verdana32 = nullptr;
TTF_Font* verdana = nullptr;

Mix_Chunk* birdHit = nullptr;
Mix_Chunk* bubbleHit = nullptr;
Mix_Chunk* slimeHit = nullptr;

SpriteBase* sceneries = nullptr;
int lastScenery = 0;

int curTime = 0;
int prevTime = 0;
int timeDifference = 0;
float deltaTime = 0.0f;
double counter = 0.0;

Quimbo quimbo;
SpriteBase quimboNormal;
SpriteBase quimboZap;
SpriteBase quimboBubble;
SpriteBase quimboFalling;
SpriteBase quimboSlime;
SpriteBase fartyFart;
Sprite fart;
Sprite scenery[SCENERIES];
SDL_Color Red = newColor(255, 0, 0, 0);
SDL_Color Green = newColor(0, 255, 0, 0);
SDL_Color Blue = newColor(0, 0, 255, 0);
SDL_Color Black = newColor(0, 0, 0, 0);
SDL_Color White = newColor(255, 255, 255, 0);
Enemy enemy[ENEMIES];
SpriteBase birdLNormal;
SpriteBase birdLDying;
SpriteBase birdLFalling;
SpriteBase birdRNormal;
SpriteBase birdRDying;
SpriteBase birdRFalling;
SpriteBase planeNormal;
SpriteBase planeFalling;
SpriteBase bubbleBase;
SpriteBase slimeNormal;
SpriteBase slimeBlowing;
Bubble bubble[BUBBLES];
SpriteBase starBase;
Star star[STARS];
SpriteBase dpalloBase;
DorpoPallo dpallo;
Mouse hiiri;
SpriteBase curBase;
Pads pads;
