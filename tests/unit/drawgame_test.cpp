// The picture of a running frame: its layers back to front and the HUD's three figures.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

const Uint32 BACKGROUND = 0x202020, CLOUD = 0xff8000, ENEMY = 0xc00000, PLAYER = 0x0000c0,
             BUBBLE = 0x00c0c0, STAR = 0xc0c000, LAND = 0x806040, HUD = 0x404080, BALL = 0xc000c0;

struct Layer {
    int x, y, w, h;
    Uint32 colour;
};

// Paints the layers back to front at one pixel, as the frame should.
Uint32 expectedAt(const std::vector<Layer>& layers, int x, int y)
{
    Uint32 colour = BACKGROUND;
    for (const Layer& l : layers)
        if (x >= l.x && x < l.x + l.w && y >= l.y && y < l.y + l.h)
            colour = l.colour;
    return colour;
}

class DrawGame : public ::testing::Test {
protected:
    // One-frame sheets of a single colour, so every layer shows as itself.
    TestSheet cloud = solid(60, 35, CLOUD), foe = solid(40, 40, ENEMY),
              player = solid(40, 20, PLAYER), ball = solid(40, 40, BUBBLE),
              spark = solid(40, 40, STAR), land = solid(40, 60, LAND), bonus = solid(40, 60, BALL);
    PictureSwap back{background, solidSurface(1024, 768, BACKGROUND)};
    PictureSwap panel{hud, solidSurface(1024, 128, HUD)};

    // A staircase of overlapping pieces: each overlaps the one drawn before it.
    void layOut()
    {
        fart.base = &cloud.base;
        fart.setXY(500.0f, 100.0f);  // wherever the last blast left it
        quimbo.sprite.init(&player.base, screen);
        quimbo.sprite.setXY(100.0f, 600.0f);
        placeOn(enemy[0].sprite, foe, 130, 600);
        enemy[0].active = true;
        placeOn(bubble[0].sprite, ball, 160, 600);
        bubble[0].active = true;
        placeOn(star[0].sprite, spark, 190, 600);
        star[0].active = true;
        placeOn(scenery[0], land, 220, 600);
        for (int k = 1; k < SCENERIES; ++k)
            placeOn(scenery[k], land, 2000, 600);
        placeOn(dpallo.sprite, bonus, 250, 600);
        dpallo.active = true;
        // Switched-off actors are not drawn, wherever they are.
        placeOn(enemy[1].sprite, foe, 300, 600);
        placeOn(bubble[1].sprite, ball, 300, 600);
        placeOn(star[1].sprite, spark, 300, 600);
    }

    static TestSheet solid(int w, int h, Uint32 rgb)
    {
        return TestSheet(1, w, h, solidSurface(w, h, rgb));
    }

    static void placeOn(Sprite& s, TestSheet& sheet, int x, int y)
    {
        s.init(&sheet.base, screen);
        s.setXY(static_cast<float>(x), static_cast<float>(y));
    }

    std::vector<Layer> layers(bool blast)
    {
        std::vector<Layer> all;
        if (blast)
            all.push_back({100, 600, 60, 35, CLOUD});  // at the player's top-left corner
        all.push_back({130, 600, 40, 40, ENEMY});
        all.push_back({100, 600, 40, 20, PLAYER});
        all.push_back({160, 600, 40, 40, BUBBLE});
        all.push_back({190, 600, 40, 40, STAR});
        all.push_back({220, 600, 40, 60, LAND});
        all.push_back({0, HUD_TOP, 1024, 128, HUD});
        all.push_back({250, 600, 40, 60, BALL});
        return all;
    }

    void expectPicture(const std::vector<Layer>& model)
    {
        int wrong = 0;
        for (int y = 590; y < 670; ++y)
            for (int x = 90; x < 350; ++x)
                if (screenPixel(x, y) != expectedAt(model, x, y) && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << screenPixel(x, y) << ", expected " << expectedAt(model, x, y);
        EXPECT_EQ(wrong, 0);
    }
};

}  // namespace

TEST_F(DrawGame, LayersGoBackToFrontWithTheBlastCloudAtThePlayersTopLeftOnlyDuringTheBlast)
{
    layOut();
    for (int state : {FARTED, NORMAL, ATTACKING, BUBBLED, SLIMEY, FALLING}) {
        SCOPED_TRACE(state);
        quimbo.state = state;
        drawGame();
        expectPicture(layers(state == FARTED));
    }
    EXPECT_FLOAT_EQ(fart.getX(), 100.0f);
    EXPECT_FLOAT_EQ(fart.getY(), 600.0f);
}

namespace {

// The figure as the HUD should show it: the text in white over the panel, its top-left at `at`.
void expectFigure(const std::string& text, ScreenPoint at)
{
    const int x = at.x, y = at.y;
    SCOPED_TRACE(text);
    SDL_Surface* glyphs = TTF_RenderText_Blended(verdana32, text.c_str(), White);
    ASSERT_NE(glyphs, nullptr);
    // Some room to the right, where nothing more may be written.
    const int w = glyphs->w + 40, h = glyphs->h;
    SDL_Surface* want = solidSurface(w, h, HUD);
    SDL_UpperBlit(glyphs, nullptr, want, nullptr);
    int wrong = 0;
    for (int j = 0; j < h && y + j < 768; ++j)
        for (int i = 0; i < w; ++i)
            wrong += screenPixel(x + i, y + j) != surfacePixel(want, i, j) ? 1 : 0;
    EXPECT_EQ(wrong, 0);
    SDL_FreeSurface(want);
    SDL_FreeSurface(glyphs);
}

}  // namespace

TEST_F(DrawGame, HudFiguresShowHealthAndMagicInPerCentAndTheBareScoreUnclamped)
{
    ASSERT_TRUE(loadedFrom(verdana32, "Data/Fonts/verdana.ttf"));
    layOut();
    quimbo.sprite.setXY(900.0f, 100.0f);
    dpallo.active = false;
    struct Row {
        int health, magic, score;
    };
    const Row rows[] = {{-15, 100, 0}, {100, 7, 123456}, {0, 0, -40}};
    for (const Row& row : rows) {
        quimbo.health = row.health;
        quimbo.magic = row.magic;
        quimbo.score = row.score;
        drawGame();
        char health[32], magic[32], score[32];
        snprintf(health, sizeof health, "%d %%", row.health);
        snprintf(magic, sizeof magic, "%d %%", row.magic);
        snprintf(score, sizeof score, "%d", row.score);
        expectFigure(health, HEALTH_AT);
        expectFigure(magic, MAGIC_AT);
        expectFigure(score, SCORE_AT);
    }
}
