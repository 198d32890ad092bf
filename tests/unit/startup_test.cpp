// Start-up and shut-down: the display, the mixer, the caption, the pointer and every asset in
// place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue.h"
#include "sheets.h"
#include "test_support.h"

namespace {

bool keyedOutGreen(SDL_Surface* s)
{
    return s != nullptr && (s->flags & SDL_SRCCOLORKEY) != 0 &&
           s->format->colorkey == SDL_MapRGB(s->format, 0, 255, 0);
}

std::vector<Mix_Chunk*> allSounds()
{
    return {quimbo.zapSound, quimbo.fallSound, quimbo.fartSound, quimbo.hurtSound,
            birdHit,         bubbleHit,        slimeHit};
}

// Two pictures in the same pixel format with the same size and the same pixels.
bool samePixels(SDL_Surface* a, SDL_Surface* b)
{
    if (a == nullptr || b == nullptr || a->w != b->w || a->h != b->h ||
        a->format->BytesPerPixel != b->format->BytesPerPixel)
        return false;
    const size_t row = static_cast<size_t>(a->w) * a->format->BytesPerPixel;
    for (int y = 0; y < a->h; ++y)
        if (memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch,
                   static_cast<Uint8*>(b->pixels) + y * b->pitch, row) != 0)
            return false;
    return true;
}

std::string faceOf(TTF_Font* font)
{
    const char* family = TTF_FontFaceFamilyName(font);
    const char* style = TTF_FontFaceStyleName(font);
    return std::string(family ? family : "") + " " + (style ? style : "");
}

// Runs `load` with its progress line kept off the test's output.
template <class Load> SDL_Surface* quietly(Load load)
{
    StdoutCapture quiet;
    return load();
}

class StartUp : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gameStarted()); }
};

TEST_F(StartUp, CaptionIsHandedToSdlAsUtf8)
{
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Quimbo Harvo & Zelv\xc3\xa4 Dorpo");
    EXPECT_EQ(icon, nullptr);
}

TEST_F(StartUp, DisplayIsAFullScreenSoftwareSurfaceThatKeepsItsPixels)
{
    EXPECT_EQ(screen->w, 1024);
    EXPECT_EQ(screen->h, 768);
    EXPECT_EQ(screen->format->BitsPerPixel, 32);
    EXPECT_NE(screen->flags & SDL_FULLSCREEN, 0u);
    EXPECT_EQ(screen->flags & SDL_DOUBLEBUF, 0u);
    EXPECT_EQ(screen->flags & SDL_HWSURFACE, 0u);
}

TEST_F(StartUp, MixerPlays22050HzSigned16BitMono)
{
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0);
    EXPECT_EQ(frequency, 22050);
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(Mix_AllocateChannels(-1), 8);
}

TEST_F(StartUp, SystemPointerStaysHiddenInEveryState)
{
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), 0);
    for (int state : {MAINMENU, HISCORE, RUNNING, PAUSED, GAMEOVER, STORY}) {
        gameState = state;
        bool quit = false;
        gameFrame(quit);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), 0) << "state " << state;
    }
}

// The game's own loads, matched to the catalogue by content: every catalogued picture is in
// a sheet split as catalogued, or in one of the single pictures.
TEST_F(StartUp, EveryCataloguedPictureIsLoadedSplitAsCataloguedAndKeyedOutGreen)
{
    std::vector<CatalogueEntry> pictures = readCatalogue("picture");
    ASSERT_FALSE(pictures.empty()) << QUIMBO_CATALOGUE;
    const std::vector<SpriteBase*> sheets = gameSheets();
    for (const CatalogueEntry& e : pictures) {
        SCOPED_TRACE(e.file);
        SDL_Surface* original = quietly([&] { return loadImg(e.path().c_str()); });
        ASSERT_TRUE(loadedFrom(original, e.path().c_str()));
        SpriteBase* sheet = nullptr;
        for (SpriteBase* candidate : sheets)
            if (samePixels(candidate->image, original))
                sheet = candidate;
        SDL_Surface* single = nullptr;
        for (SDL_Surface* candidate : singlePictures())
            if (samePixels(candidate, original))
                single = candidate;
        SDL_FreeSurface(original);
        if (!e.isSheet()) {
            EXPECT_NE(single, nullptr) << "no single picture of the game holds it";
            continue;
        }
        ASSERT_NE(sheet, nullptr) << "no sheet of the game holds it";
        EXPECT_EQ(sheet->frames, e.frames);
        EXPECT_EQ(sheet->frameW, e.width);
        if (e.height > 0) {
            EXPECT_EQ(sheet->frameH, e.height);
        }
        EXPECT_TRUE(keyedOutGreen(sheet->image));
    }
    EXPECT_TRUE(keyedOutGreen(tummennuskalvo));
    EXPECT_FALSE(keyedOutGreen(background));
}

TEST_F(StartUp, EveryCataloguedSoundAndFontIsLoaded)
{
    for (const CatalogueEntry& e : readCatalogue("sound")) {
        Mix_Chunk* original = Mix_LoadWAV(e.path().c_str());
        ASSERT_TRUE(loadedFrom(original, e.path().c_str()));
        int matches = 0;
        for (Mix_Chunk* sound : allSounds())
            matches += sound != nullptr && sound->alen == original->alen &&
                       memcmp(sound->abuf, original->abuf, original->alen) == 0;
        EXPECT_EQ(matches, 1) << e.path() << " is not among the game's sounds";
        Mix_FreeChunk(original);
    }
    std::vector<std::string> faces;
    for (TTF_Font* font : {verdana32, verdana})
        if (font != nullptr)
            faces.push_back(faceOf(font));
    for (const CatalogueEntry& e : readCatalogue("font")) {
        TTF_Font* original = TTF_OpenFont(e.path().c_str(), 10);
        ASSERT_TRUE(loadedFrom(original, e.path().c_str()));
        EXPECT_EQ(std::count(faces.begin(), faces.end(), faceOf(original)), 1) << e.path();
        TTF_CloseFont(original);
    }
}

TEST_F(StartUp, EverySpriteIsBoundToItsSheet)
{
    EXPECT_EQ(fart.base, &fartyFart);
    for (int i = 0; i < STARS; ++i)
        EXPECT_EQ(star[i].sprite.base, &starBase) << "star " << i;
    EXPECT_EQ(dpallo.sprite.base, &dpalloBase);
    EXPECT_EQ(hiiri.cursor.base, &curBase);
    EXPECT_EQ(hiiri.cursor.target, screen);
}

// The order of the game's own loads, as it prints them, is the catalogue's.
TEST_F(StartUp, PicturesAreLoadedInTheCataloguesOrder)
{
    StdoutCapture out;
    restartGame();
    std::vector<std::string> printed;
    std::istringstream lines(out.text());
    const std::string before = "Image ", after = " loaded successfully!";
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(before, 0) == 0 && line.size() > before.size() + after.size())
            printed.push_back(
                line.substr(before.size(), line.size() - before.size() - after.size()));
    std::vector<std::string> catalogued;
    for (const CatalogueEntry& e : readCatalogue("picture"))
        catalogued.push_back(e.path());
    EXPECT_EQ(printed, catalogued);
}

TEST_F(StartUp, ShutdownTwiceIsHarmlessAndLeavesNothingToReleaseAgain)
{
    EXPECT_EQ(gameShutdown(), 1);
    EXPECT_EQ(gameShutdown(), 1);
    for (SDL_Surface* picture :
         {screen, background, hud, menuBG, hiscoreBG, gameOver, paused, tummennuskalvo})
        EXPECT_EQ(picture, nullptr);
    EXPECT_EQ(verdana32, nullptr);
    EXPECT_EQ(verdana, nullptr);
    for (Mix_Chunk* sound : allSounds())
        EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(sceneries, nullptr);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

}  // namespace
