// Start-up and shut-down: the display, the mixer, the caption, the pointer and every asset in
// place.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

#include "test_support.h"

namespace {

bool dataPresent(const char* dir)
{
    struct stat info;
    return stat(dir, &info) == 0 && S_ISDIR(info.st_mode);
}

bool keyedOutGreen(SDL_Surface* s)
{
    return (s->flags & SDL_SRCCOLORKEY) != 0 &&
           s->format->colorkey == SDL_MapRGB(s->format, 0, 255, 0);
}

std::vector<Mix_Chunk*> allSounds()
{
    return {quimbo.zapSound, quimbo.fallSound, quimbo.fartSound, quimbo.hurtSound,
            birdHit,         bubbleHit,        slimeHit};
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

TEST_F(StartUp, EverySheetIsSplitAsCataloguedAndEverySpriteIsBoundToIt)
{
    struct Sheet {
        SpriteBase* sheet;
        int frames;
        const char* name;
    } sheets[] = {
        {&quimboNormal, 3, "quimbo_normal"},
        {&quimboZap, 3, "quimbo_zap"},
        {&quimboBubble, 1, "quimbo_bubble"},
        {&quimboFalling, 6, "quimbo_falling"},
        {&quimboSlime, 1, "quimbo_slime"},
        {&fartyFart, 8, "boost"},
        {&starBase, 8, "zap"},
        {&dpalloBase, 1, "dorpoball"},
        {&birdRNormal, 14, "birdr_normal"},
        {&birdRDying, 6, "birdr_dying"},
        {&birdRFalling, 2, "birdr_falling"},
        {&birdLNormal, 14, "birdl_normal"},
        {&birdLDying, 6, "birdl_dying"},
        {&birdLFalling, 2, "birdl_falling"},
        {&planeNormal, 2, "plane_normal"},
        {&planeFalling, 2, "plane_falling"},
        {&slimeNormal, 6, "slime"},
        {&slimeBlowing, 4, "slime_blowing"},
        {&bubbleBase, 4, "bubble"},
        {&curBase, 1, "cursor"},
        {&sceneries[0], 1, "scenery0"},
        {&sceneries[5], 1, "scenery5"},
    };
    bool pictures = dataPresent("Data/Gfx");
    for (const Sheet& s : sheets) {
        EXPECT_EQ(s.sheet->frames, s.frames) << s.name;
        EXPECT_TRUE(!pictures || keyedOutGreen(s.sheet->image)) << s.name;
    }
    EXPECT_EQ(fart.base, &fartyFart);
    for (int i = 0; i < STARS; ++i)
        EXPECT_EQ(star[i].sprite.base, &starBase) << "star " << i;
    EXPECT_EQ(dpallo.sprite.base, &dpalloBase);
    EXPECT_EQ(hiiri.cursor.base, &curBase);
    EXPECT_EQ(hiiri.cursor.target, screen);
}

TEST_F(StartUp, PicturesFontsAndSoundsAreLoadedAndThePauseFilmKeysOutGreen)
{
    if (!dataPresent("Data/Gfx"))
        GTEST_SKIP() << "Data/ is not there yet";
    for (SDL_Surface* picture :
         {background, hud, menuBG, hiscoreBG, gameOver, paused, tummennuskalvo})
        ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(keyedOutGreen(tummennuskalvo));
    EXPECT_FALSE(keyedOutGreen(background));
    EXPECT_NE(verdana32, nullptr);
    EXPECT_NE(verdana, nullptr);
    for (Mix_Chunk* sound : allSounds())
        EXPECT_NE(sound, nullptr);
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
    restartGame();  // for the tests after this one
    EXPECT_TRUE(gameStarted());
}

}  // namespace
