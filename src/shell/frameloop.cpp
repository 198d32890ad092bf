// The frame loop: the clock, the key table, the game states and the RUNNING sequence.
#include "game.h"

// SDL key symbols of the key table.
static const int KEY_RETURN = SDLK_RETURN;
static const int KEY_ESCAPE = SDLK_ESCAPE;
static const int KEY_SPACE = SDLK_SPACE;
static const int KEY_P = SDLK_p;
static const int KEY_LEFT_CTRL = SDLK_LCTRL;

void updateClock()
{
    curTime = static_cast<int>(SDL_GetTicks());
    // Unsigned arithmetic keeps the difference right across the tick count's wrap.
    timeDifference = static_cast<int>(static_cast<Uint32>(curTime) - static_cast<Uint32>(prevTime));
    deltaTime = static_cast<float>(timeDifference * 0.1);
    prevTime = curTime;
}

void applyKey(int key, bool& quit)
{
    bool running = gameState == RUNNING;
    if (running && (key == KEY_ESCAPE || key == KEY_P)) {
        gameState = PAUSED;
        pauseSounds();
    } else if (gameState == PAUSED && key == KEY_ESCAPE) {
        // A game given up during the blast must not leave its sound looping on.
        haltBlastSound();
        resumeSounds();
        gameState = GAMEOVER;
    } else if (gameState == PAUSED && (key == KEY_RETURN || key == KEY_P)) {
        gameState = RUNNING;
        resumeSounds();
    } else if (gameState == GAMEOVER && key == KEY_RETURN) {
        resetGame();
        gameState = RUNNING;
    } else if (gameState == GAMEOVER && key == KEY_ESCAPE) {
        gameState = MAINMENU;
    } else if (running && key == KEY_SPACE && quimbo.state == NORMAL) {
        quimbo.taio();
    } else if (running && key == KEY_LEFT_CTRL && quimbo.state == NORMAL) {
        quimbo.pierase();
    } else if (gameState == MAINMENU && key == KEY_ESCAPE) {
        quit = true;
    } else if (gameState == HISCORE) {
        gameState = MAINMENU;
    }
}

static void drainEvents(bool& quit)
{
    pads.newFrame();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit = true;
        } else if (event.type == SDL_KEYDOWN) {
            applyKey(event.key.keysym.sym, quit);
        } else {
            // A pad's button presses the key it stands for on the screen of the moment.
            int key = pads.keyFor(event, gameState);
            if (key != 0)
                applyKey(key, quit);
        }
    }
    // With the queue empty no pad event can be left over from before the pads are counted anew.
    pads.rescanWhenDue(static_cast<Uint32>(curTime));
}

static void moveEnemies()
{
    for (int i = 0; i < ENEMIES; ++i) {
        if (enemy[i].active)
            enemy[i].move();
        // An enemy is dropped as soon as its left edge passes the left border.
        if (enemy[i].active && enemy[i].sprite.getX() < 0)
            enemy[i].active = false;
    }
}

void runningUpdate()
{
    counter += timeDifference;
    steerPlayer();
    quimbo.update();
    sceneryStep();
    enemySpawnTimer();
    moveEnemies();
    for (int i = 0; i < STARS; ++i)
        if (star[i].active)
            star[i].move();
    ballLaunchTimer();
    if (dpallo.active)
        dpallo.move();
    for (int i = 0; i < BUBBLES; ++i)
        if (bubble[i].active)
            bubble[i].move();
    drawGame();
}

static void doStateWork(bool& quit)
{
    switch (gameState) {
    case RUNNING:
        runningUpdate();
        break;
    case PAUSED:
        drawPauseScreen();
        break;
    case GAMEOVER:
        drawGameOverScreen();
        break;
    case MAINMENU:
        mainMenuFrame(quit);
        break;
    case HISCORE:
        drawHiscoreScreen();
        break;
    default:  // STORY has no work
        break;
    }
}

void gameFrame(bool& quit)
{
    updateClock();
    drainEvents(quit);
    doStateWork(quit);
    if (screen != nullptr)
        SDL_Flip(screen);
    SDL_Delay(1);
}

int gameMain()
{
    resetGame();
    bool quit = false;
    while (!quit)
        gameFrame(quit);
    return 1;
}
