// The screens around the play: pause, game over, the main menu and the high-score table.
#include "game.h"

// The pause film is tiled at this pitch over the frozen frame.
static const int FILM_PITCH = 2;

// The score's place inside the game-over picture.
static const int SCORE_OFFSET_X = 234;
static const int SCORE_OFFSET_Y = 43;

// The menu's click areas (x1, y1, x2, y2), bounds excluded: 350 by 105 pixels, 15 apart.
static const int MENU_LEFT = 349;
static const int MENU_RIGHT = 699;
static const int START_TOP = 311, START_BOTTOM = 416;
static const int SCORES_TOP = 431, SCORES_BOTTOM = 536;
static const int QUIT_TOP = 551, QUIT_BOTTOM = 656;

// The fixed high-score table: names at x 300, scores at x 500.
static const int TABLE_NAME_X = 300;
static const int TABLE_SCORE_X = 500;
struct TableRow {
    int y;
    const char* name;
    const char* score;
};
static const TableRow HISCORE_ROWS[] = {
    {160, "1. zedko", "5345234"}, {205, "2. bumar", "2342355"}, {245, "3. zedko", "2312434"},
    {290, "4. zedko", "2212332"}, {335, "5. bumar", "1565455"}, {375, "6. bumar", "1453432"},
    {420, "7. bumar", "1345234"}, {465, "8. zedko", "1332434"}, {510, "9. bumar", "1323323"},
    {555, "10. bumar", "-1"},
};

static int centredX(SDL_Surface* picture)
{
    return screenWidth / 2 - (picture ? picture->w : 0) / 2;
}
static int centredY(SDL_Surface* picture)
{
    return screenHeight / 2 - (picture ? picture->h : 0) / 2;
}

void drawPauseScreen()
{
    // The film lies over whatever the screen still holds: the last running frame.
    for (int j = 0; j < screenHeight / FILM_PITCH; ++j)
        for (int i = 0; i < screenWidth / FILM_PITCH; ++i)
            drawImg(tummennuskalvo, screen, FILM_PITCH * i, FILM_PITCH * j);
    drawImg(paused, screen, centredX(paused), centredY(paused));
}

void drawGameOverScreen()
{
    if (screen != nullptr)
        SDL_FillRect(screen, nullptr, 0);
    int cx = centredX(gameOver);
    int cy = centredY(gameOver);
    drawImg(gameOver, screen, cx, cy);
    writeLines(screen, verdana, cx + SCORE_OFFSET_X, cy + SCORE_OFFSET_Y, Red, "%d", quimbo.score);
}

void mainMenuFrame(bool& quit)
{
    hiiri.update();
    drawImg(menuBG, screen, 0, 0);
    hiiri.draw();
    // The new state shows from the next frame: this one still shows the menu.
    if (hiiri.checkArea(MENU_LEFT, START_TOP, MENU_RIGHT, START_BOTTOM)) {
        resetGame();
        gameState = RUNNING;
    } else if (hiiri.checkArea(MENU_LEFT, SCORES_TOP, MENU_RIGHT, SCORES_BOTTOM)) {
        gameState = HISCORE;
    } else if (hiiri.checkArea(MENU_LEFT, QUIT_TOP, MENU_RIGHT, QUIT_BOTTOM)) {
        quit = true;
    }
}

void drawHiscoreScreen()
{
    drawImg(hiscoreBG, screen, 0, 0);
    for (const TableRow& row : HISCORE_ROWS) {
        writeLines(screen, verdana32, TABLE_NAME_X, row.y, Black, row.name);
        writeLines(screen, verdana32, TABLE_SCORE_X, row.y, Black, row.score);
    }
}
