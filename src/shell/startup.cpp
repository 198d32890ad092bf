// Start-up and shut-down: the libraries, the video mode and every asset, loaded once.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <SDL_image.h>

#include "game.h"

// The mixer closes the file stream itself once the sound is read.
static Mix_Chunk* loadSound(const char* path)
{
    SDL_RWops* stream = SDL_RWFromFile(path, "rb");
    if (stream == nullptr)
        return nullptr;
    return Mix_LoadWAV_RW(stream, 1);
}

static void loadPlayerSheets()
{
    quimboNormal.init("Data/Gfx/quimbo_normal.PNG", 3, 0, 255, 0);
    quimboZap.init("Data/Gfx/quimbo_zap.PNG", 3, 0, 255, 0);
    quimboBubble.init("Data/Gfx/quimbo_bubble.PNG", 1, 0, 255, 0);
    quimboFalling.init("Data/Gfx/quimbo_falling.PNG", 6, 0, 255, 0);
    quimboSlime.init("Data/Gfx/quimbo_slime.PNG", 1, 0, 255, 0);
    fartyFart.init("Data/Gfx/boost.PNG", 8, 0, 255, 0);
}

static void loadPictures()
{
    background = loadImg("Data/Gfx/taustakuva.PNG");
    hud = loadImg("Data/Gfx/hudi.PNG");
    menuBG = loadImg("Data/Gfx/menu.PNG");
    hiscoreBG = loadImg("Data/Gfx/topten.PNG");
    gameOver = loadImg("Data/Gfx/gameover.PNG");
    paused = loadImg("Data/Gfx/pausebox.PNG");
}

static void setUpStars()
{
    starBase.init("Data/Gfx/zap.PNG", 8, 0, 255, 0);
    for (int i = 0; i < STARS; ++i)
        star[i].sprite.init(&starBase, screen);
}

static void setUpBall()
{
    dpalloBase.init("Data/Gfx/dorpoball.PNG", 1, 0, 255, 0);
    dpallo.sprite.init(&dpalloBase, screen);
    dpallo.velocity = -1.5f;
}

static void loadPauseFilm()
{
    tummennuskalvo = loadImg("Data/Gfx/pause.PNG");
    if (tummennuskalvo != nullptr)
        SDL_SetColorKey(tummennuskalvo, SDL_SRCCOLORKEY,
                        SDL_MapRGB(tummennuskalvo->format, 0, 255, 0));
}

static void loadSounds()
{
    quimbo.zapSound = loadSound("Data/Sound/aani4.wav");
    quimbo.fallSound = loadSound("Data/Sound/aani1.wav");
    quimbo.fartSound = loadSound("Data/Sound/boost.wav");
    quimbo.hurtSound = loadSound("Data/Sound/aww.wav");
    birdHit = loadSound("Data/Sound/aani5.wav");
    bubbleHit = loadSound("Data/Sound/bubble.wav");
    slimeHit = loadSound("Data/Sound/slime.wav");
}

// With no display at all SDL falls back to drawing off screen, where the game could be neither
// seen nor quit: that is no video device.
static bool hasDisplay()
{
    char driver[32] = {0};
    return SDL_VideoDriverName(driver, sizeof driver) != nullptr &&
           strcmp(driver, "offscreen") != 0;
}

int gameInit()
{
    // The game writes nothing to disk, and that includes the shader caches that OpenGL drivers
    // keep in the home directory when SDL presents the screen through them.
#ifdef _WIN32
    _putenv("MESA_SHADER_CACHE_DISABLE=true");  // Windows has no setenv
    _putenv("__GL_SHADER_DISK_CACHE=0");
#else
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
    setenv("__GL_SHADER_DISK_CACHE", "0", 1);
#endif
    int sdlStarted = SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    if (sdlStarted >= 0 && !hasDisplay()) {
        SDL_SetError("No available video device");
        sdlStarted = -1;
    }
    if (sdlStarted < 0) {
        fprintf(stderr, "Failed to initialize SDL: %s\n", SDL_GetError());
        gameShutdown();
        return 0;
    }
    if (TTF_Init() < 0) {
        fprintf(stderr, "Failed to initialize TTF\n");
        gameShutdown();
        return 0;
    }
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 1, 4096) < 0) {
        // The message really ends in the two characters "}n", with no line break.
        fprintf(stderr, "Failed to initialize SDL_mixer}n");
        gameShutdown();
        return 0;
    }
    // A software surface without double buffering keeps its pixels from frame to frame,
    // which the pause screen draws over.
    screen = SDL_SetVideoMode(screenWidth, screenHeight, screenBpp, SDL_FULLSCREEN);
    if (screen == nullptr) {
        fprintf(stderr, "Failed to set video mode: %s\n", SDL_GetError());
        gameShutdown();
        return 0;
    }

    loadPlayerSheets();
    fart.init(&fartyFart, screen);
    fart.setSpeed(10.0f);
    loadSceneries(SCENERIES);
    verdana32 = TTF_OpenFont("Data/Fonts/verdana.ttf", 32);
    verdana = TTF_OpenFont("Data/Fonts/verdanab.ttf", 14);
    loadPictures();
    setUpStars();
    setUpBall();
    srand(static_cast<unsigned>(time(nullptr)));
    loadEnemies();
    SDL_ShowCursor(1);
    curBase.init("Data/Gfx/cursor.PNG", 1, 0, 255, 0);
    loadPauseFilm();
    hiiri.setSprite(curBase, screen);
    hiiri.cursor.setSpeed(100.0f);
    // The game draws its own cursor on the menu; the system pointer stays hidden from here on.
    SDL_ShowCursor(0);
    loadSounds();
    // SDL takes the caption as UTF-8, so the "ä" is handed over as its two UTF-8 bytes.
    SDL_WM_SetCaption("Quimbo Harvo & Zelv\xc3\xa4 Dorpo", nullptr);
    // Pads are a second way to play: no pad support at all is no failure.
    pads.start();
    return 1;
}

static void freeSurface(SDL_Surface*& surface)
{
    if (surface != nullptr)
        SDL_FreeSurface(surface);
    surface = nullptr;
}

static void closeFont(TTF_Font*& font)
{
    if (font != nullptr)
        TTF_CloseFont(font);
    font = nullptr;
}

static void freeSound(Mix_Chunk*& chunk)
{
    if (chunk != nullptr)
        Mix_FreeChunk(chunk);
    chunk = nullptr;
}

int gameShutdown()
{
    // Freeing the display surface does nothing: SDL owns it until SDL_Quit.
    freeSurface(screen);
    freeSurface(background);
    freeSurface(hud);
    // The screens' pictures, the pause film and the landscape go too, so leak checks stay quiet.
    freeSurface(menuBG);
    freeSurface(hiscoreBG);
    freeSurface(gameOver);
    freeSurface(paused);
    freeSurface(tummennuskalvo);
    delete[] sceneries;
    sceneries = nullptr;

    closeFont(verdana32);
    closeFont(verdana);

    // Sounds go before the audio device closes; a second shut-down finds them null.
    freeSound(quimbo.zapSound);
    freeSound(quimbo.fallSound);
    freeSound(birdHit);
    freeSound(quimbo.fartSound);
    freeSound(quimbo.hurtSound);
    freeSound(bubbleHit);
    freeSound(slimeHit);

    Mix_CloseAudio();
    TTF_Quit();
    pads.stop();
    SDL_Quit();
    return 1;
}
