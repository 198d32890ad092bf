// The screens around the play: pause, game over, the main menu's click areas, the high scores.
// Pictures of known colours stand in for the game's own, so every pixel tells where it came from.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

const Uint32 FROZEN = 0xffffff;  // what the screen held before
const Uint32 FILM = 0x0a141e;
const Uint32 BOX = 0xc80000;
const Uint32 PICTURE = 0x0000c8;
const Uint32 MENU = 0x005a00;
const Uint32 CURSOR = 0xfafa00;

class Screens : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gameStarted());
        fillRect(screen, nullptr, FROZEN);
    }
};

TEST_F(Screens, PauseTilesTheFilmEveryTwoPixelsOverTheFrozenFrameAndCentresTheBox)
{
    // A 2 by 2 film whose only opaque pixel is its top-left one.
    SDL_Surface* film = solidSurface(2, 2, 0x00ff00);
    SDL_Rect dot = {0, 0, 1, 1};
    fillRect(film, &dot, FILM);
    SDL_SetColorKey(film, SDL_SRCCOLORKEY, SDL_MapRGB(film->format, 0, 255, 0));
    PictureSwap filmSwap(tummennuskalvo, film);
    PictureSwap box(paused, solidSurface(101, 61, BOX));  // centred at (512 - 50, 384 - 30)

    drawPauseScreen();
    struct Pixel {
        int x, y;
        Uint32 rgb;
    } pixels[] = {
        {0, 0, FILM},     {1, 0, FROZEN},    {0, 1, FROZEN},      {1, 1, FROZEN},
        {2, 2, FILM},     {1022, 766, FILM}, {1023, 767, FROZEN}, {1022, 767, FROZEN},
        {462, 354, BOX},  {562, 414, BOX},   {460, 354, FILM},    {564, 414, FILM},
        {462, 352, FILM}, {462, 416, FILM},  {461, 355, FROZEN},
    };
    for (const Pixel& p : pixels)
        EXPECT_EQ(screenPixel(p.x, p.y), p.rgb) << "at " << p.x << ", " << p.y;
}

TEST_F(Screens, GameOverIsBlackWithThePictureCentredAndTheScoreInRedInsideIt)
{
    PictureSwap picture(gameOver, solidSurface(301, 201, PICTURE));  // centred at (362, 284)
    quimbo.score = 42;
    drawGameOverScreen();
    const int cx = 362, cy = 284;
    struct Pixel {
        int x, y;
        Uint32 rgb;
    } pixels[] = {
        {0, 0, 0},
        {1023, 767, 0},
        {cx - 1, cy, 0},
        {cx, cy - 1, 0},
        {cx, cy, PICTURE},
        {cx + 300, cy + 200, PICTURE},
        {cx + 301, cy + 200, 0},
        {cx + 300, cy + 201, 0},
    };
    for (const Pixel& p : pixels)
        EXPECT_EQ(screenPixel(p.x, p.y), p.rgb) << "at " << p.x << ", " << p.y;

    ASSERT_TRUE(loadedFrom(verdana, "Data/Fonts/verdanab.ttf"));
    int w = 0, h = 0;
    TTF_SizeText(verdana, "42", &w, &h);
    int written = 0, red = 0;
    for (int y = cy; y <= cy + 200; ++y) {
        for (int x = cx; x <= cx + 300; ++x) {
            Uint32 rgb = screenPixel(x, y);
            if (rgb == PICTURE)
                continue;
            ++written;
            red += (rgb >> 16) > 0xc0 && ((rgb >> 8) & 0xff) < 0x40 ? 1 : 0;
            EXPECT_TRUE(x >= cx + 234 && x < cx + 234 + w && y >= cy + 43 && y < cy + 43 + h)
                << "text at " << x << ", " << y;
        }
    }
    EXPECT_GT(written, 0);
    EXPECT_GT(red, 0);
}

TEST_F(Screens, MenuClickActsOnlyStrictlyInsideOneOfTheThreeAreas)
{
    enum Effect { NOTHING, START, SCORES, QUIT };
    struct Case {
        int x, y;
        Effect effect;
    } cases[] = {
        {350, 312, START},  {698, 415, START},  {349, 350, NOTHING}, {500, 416, NOTHING},
        {500, 432, SCORES}, {500, 535, SCORES}, {500, 536, NOTHING}, {500, 545, NOTHING},
        {500, 552, QUIT},   {698, 655, QUIT},   {500, 656, NOTHING}, {300, 600, NOTHING},
    };
    for (const Case& c : cases) {
        gameState = MAINMENU;
        hiiri.buttons = 0;  // the button was up at the sample before
        setMouse(c.x, c.y, SDL_BUTTON(SDL_BUTTON_LEFT));
        bool quit = false;
        StdoutCapture out;
        mainMenuFrame(quit);
        std::string printed = out.text();
        EXPECT_EQ(gameState, c.effect == START    ? RUNNING
                             : c.effect == SCORES ? HISCORE
                                                  : MAINMENU)
            << "at " << c.x << ", " << c.y;
        EXPECT_EQ(quit, c.effect == QUIT) << "at " << c.x << ", " << c.y;
        EXPECT_EQ(printed, c.effect == START ? "Game succesfully reseted\n" : "")
            << "at " << c.x << ", " << c.y;
    }
}

TEST_F(Screens, TheFrameOfAClickStillShowsTheMenuWithTheCursor)
{
    PictureSwap menu(menuBG, solidSurface(1024, 768, MENU));
    TestSheet arrow(1, 8, 8, solidSurface(8, 8, CURSOR));
    hiiri.setSprite(arrow.base, screen);

    quimbo.score = 55;
    hiiri.buttons = 0;
    setMouse(360, 320, SDL_BUTTON(SDL_BUTTON_LEFT));
    bool quit = false;
    StdoutCapture quiet;
    mainMenuFrame(quit);
    EXPECT_EQ(gameState, RUNNING);
    EXPECT_EQ(quimbo.score, 0);  // the reset ran in this frame
    EXPECT_EQ(screenPixel(360, 320), CURSOR);
    EXPECT_EQ(screenPixel(367, 327), CURSOR);
    EXPECT_EQ(screenPixel(359, 320), MENU);
    EXPECT_EQ(screenPixel(368, 320), MENU);
    EXPECT_EQ(screenPixel(1023, 767), MENU);
    hiiri.setSprite(curBase, screen);
}

TEST_F(Screens, HighScoreTableShowsItsTenFixedRowsWhateverWasScored)
{
    ASSERT_TRUE(loadedFrom(verdana32, "Data/Fonts/verdana.ttf"));
    PictureSwap back(hiscoreBG, solidSurface(1024, 768, FROZEN));
    struct Row {
        int y;
        const char* name;
        const char* score;
    } rows[] = {
        {160, "1. zedko", "5345234"}, {205, "2. bumar", "2342355"}, {245, "3. zedko", "2312434"},
        {290, "4. zedko", "2212332"}, {335, "5. bumar", "1565455"}, {375, "6. bumar", "1453432"},
        {420, "7. bumar", "1345234"}, {465, "8. zedko", "1332434"}, {510, "9. bumar", "1323323"},
        {555, "10. bumar", "-1"},
    };
    SDL_Surface* expected = solidSurface(1024, 768, FROZEN);
    for (const Row& row : rows) {
        writeLines(expected, verdana32, 300, row.y, Black, "%s", row.name);
        writeLines(expected, verdana32, 500, row.y, Black, "%s", row.score);
    }

    quimbo.score = 9999999;
    hiiri.buttons = 5;
    hiiri.cursor.setXY(3.0f, 4.0f);
    setMouse(600, 600, 0);
    drawHiscoreScreen();
    EXPECT_EQ(differingPixels(screen, expected), 0);
    // The mouse is neither sampled nor drawn here.
    EXPECT_EQ(hiiri.buttons, 5);
    EXPECT_EQ(hiiri.cursor.getX(), 3.0f);
    SDL_FreeSurface(expected);
}

}  // namespace
