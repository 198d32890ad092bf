// The picture of a running frame: its layers back to front and the HUD's three figures.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

SDL_Surface* solidSurface(int w, int h, Uint32 rgb)
{
    SDL_PixelFormat* f = screen->format;
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, f->Rmask, f->Gmask, f->Bmask, 0);
    Uint32 colour = SDL_MapRGB(s->format, (rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
    SDL_FillRect(s, nullptr, colour);
    return s;
}

Uint32 surfacePixel(SDL_Surface* s, int x, int y)
{
    SDL_LockSurface(s);
    Uint32 value = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
    SDL_UnlockSurface(s);
    Uint8 r, g, b;
    SDL_GetRGB(value, s->format, &r, &g, &b);
    return (static_cast<Uint32>(r) << 16) | (static_cast<Uint32>(g) << 8) | b;
}

// A one-frame sheet of a single colour, so every layer shows as itself.
struct SolidSheet {
    SpriteBase base;
    SolidSheet(int w, int h, Uint32 rgb)
    {
        base.image = solidSurface(w, h, rgb);
        base.loaded = 1;
        base.frames = 1;
        base.frameW = w;
        base.frameH = h;
    }
};

// Puts a picture of ours into one of the game's picture globals for the life of the object.
struct PictureSwap {
    SDL_Surface*& field;
    SDL_Surface* saved;
    PictureSwap(SDL_Surface*& f, SDL_Surface* mine) : field(f), saved(f) { field = mine; }
    ~PictureSwap()
    {
        SDL_FreeSurface(field);
        field = saved;
    }
};

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
    SolidSheet cloud{60, 35, CLOUD}, foe{40, 40, ENEMY}, player{40, 20, PLAYER},
        ball{40, 40, BUBBLE}, spark{40, 40, STAR}, land{40, 60, LAND}, bonus{40, 60, BALL};
    PictureSwap back{background, solidSurface(1024, 768, BACKGROUND)};
    PictureSwap panel{hud, solidSurface(1024, 128, HUD)};
    SpriteBase* cloudSheet = fart.base;

    void TearDown() override { fart.base = cloudSheet; }

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

    static void placeOn(Sprite& s, SolidSheet& sheet, int x, int y)
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
        all.push_back({0, 640, 1024, 128, HUD});
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

TEST_F(DrawGame, LayersGoBackToFrontWithTheBlastCloudAtThePlayersTopLeft)
{
    layOut();
    quimbo.state = FARTED;
    drawGame();
    expectPicture(layers(true));
    EXPECT_FLOAT_EQ(fart.getX(), 100.0f);
    EXPECT_FLOAT_EQ(fart.getY(), 600.0f);
}

TEST_F(DrawGame, TheBlastCloudShowsOnlyWhileTheBlastLasts)
{
    layOut();
    for (int state : {NORMAL, ATTACKING, BUBBLED, SLIMEY, FALLING}) {
        SCOPED_TRACE(state);
        quimbo.state = state;
        drawGame();
        expectPicture(layers(false));
    }
}

namespace {

// The figure as the HUD should show it: the text in white over the panel, its top-left at (x, y).
void expectFigure(const std::string& text, int x, int y)
{
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
    if (verdana32 == nullptr)  // until the game's own font is in place, any font shows the rule
        verdana32 = TTF_OpenFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 32);
    if (verdana32 == nullptr)
        GTEST_SKIP() << "no font to render with";
    layOut();
    quimbo.sprite.setXY(900.0f, 100.0f);
    dpallo.active = false;
    struct Row { int health, magic, score; };
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
        expectFigure(health, 171, 684);
        expectFigure(magic, 432, 684);
        expectFigure(score, 704, 714);
    }
}
