// The screens around the play: pause, game over, the main menu and the high-score table.
#include "game.h"

// The pause film is tiled at this pitch over the frozen frame.
static const int FILM_PITCH = 2;

// The fixed high-score table's rows; its columns are in layout.h.
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

// One row of the film's tiles, laid on a strip keyed like the film: laying the strip on every
// row leaves the very pixels that the row's tiles one by one would, in 896 blits a frame
// instead of 196,608 (a slow phone's pause frame was almost nothing else). That holds for a
// keyed film without alpha that fits in its pitch, so that its tiles never overlap: the game's
// own 2x2 film. Any other film is tiled one by one. The strip lives for one frame only.
static SDL_Surface* filmRowStrip(SDL_Surface* film)
{
    const SDL_PixelFormat* f = film->format;
    bool keyedOpaque = (film->flags & SDL_SRCCOLORKEY) != 0 && (film->flags & SDL_SRCALPHA) == 0 &&
                       f->Amask == 0 && f->palette == nullptr;
    if (!keyedOpaque || film->w > FILM_PITCH || film->h > FILM_PITCH || screenWidth < FILM_PITCH)
        return nullptr;
    SDL_Surface* strip = SDL_CreateRGBSurface(SDL_SWSURFACE, screenWidth, film->h, f->BitsPerPixel,
                                              f->Rmask, f->Gmask, f->Bmask, 0);
    if (strip == nullptr)
        return nullptr;
    SDL_FillRect(strip, nullptr, f->colorkey);
    SDL_SetColorKey(strip, SDL_SRCCOLORKEY, f->colorkey);
    for (int i = 0; i < screenWidth / FILM_PITCH; ++i)
        drawImg(film, strip, FILM_PITCH * i, 0);
    return strip;
}

void drawPauseScreen()
{
    // The film lies over whatever the screen still holds: the last running frame.
    SDL_Surface* strip = tummennuskalvo && screen ? filmRowStrip(tummennuskalvo) : nullptr;
    for (int j = 0; j < screenHeight / FILM_PITCH; ++j) {
        if (strip != nullptr) {
            drawImg(strip, screen, 0, FILM_PITCH * j);
            continue;
        }
        for (int i = 0; i < screenWidth / FILM_PITCH; ++i)
            drawImg(tummennuskalvo, screen, FILM_PITCH * i, FILM_PITCH * j);
    }
    if (strip != nullptr)
        SDL_FreeSurface(strip);
    drawImg(paused, screen, centredX(paused), centredY(paused));
}

void drawGameOverScreen()
{
    if (screen != nullptr)
        SDL_FillRect(screen, nullptr, 0);
    int cx = centredX(gameOver);
    int cy = centredY(gameOver);
    drawImg(gameOver, screen, cx, cy);
    writeLines(screen, verdana, cx + GAME_OVER_SCORE_AT.x, cy + GAME_OVER_SCORE_AT.y, Red, "%d",
               quimbo.score);
}

static bool clicked(const ScreenArea& area)
{
    return hiiri.checkArea(area.left, area.top, area.right, area.bottom) != 0 ||
           pads.pressesArea(hiiri, area.left, area.top, area.right, area.bottom);
}

void mainMenuFrame(bool& quit)
{
    hiiri.update();
    pads.placePointer(hiiri);
    drawImg(menuBG, screen, 0, 0);
    hiiri.draw();
    // The new state shows from the next frame: this one still shows the menu.
    if (clicked(START_AREA)) {
        resetGame();
        gameState = RUNNING;
    } else if (clicked(HISCORE_AREA)) {
        gameState = HISCORE;
    } else if (clicked(QUIT_AREA)) {
        quit = true;
    }
}

void drawHiscoreScreen()
{
    drawImg(hiscoreBG, screen, 0, 0);
    for (const TableRow& row : HISCORE_ROWS) {
        writeLines(screen, verdana32, TABLE_NAME_X, row.y, Black, "%s", row.name);
        writeLines(screen, verdana32, TABLE_SCORE_X, row.y, Black, "%s", row.score);
    }
}
