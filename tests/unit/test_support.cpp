#include "test_support.h"

#include "sheets.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>

static bool started = false;

bool gameStarted()
{
    return started;
}

// The game as start-up and the first reset left it: each global of game.h's lists is copied
// once here, and put back by the copy's own restorer.
class Baseline {
public:
    void take()
    {
        restorers.clear();
#define KEEP_VALUE(type, name) keep(name);
#define KEEP_POOL(type, name, count) keepAll(name);
#define KEEP_PICTURE(name) keep(name);
        QUIMBO_VALUES(KEEP_VALUE)
        QUIMBO_POOLS(KEEP_POOL)
        QUIMBO_PICTURES(KEEP_PICTURE)
#undef KEEP_VALUE
#undef KEEP_POOL
#undef KEEP_PICTURE
        for (SpriteBase* sheet : gameSheets())
            keepSheet(*sheet);
    }

    void restore()
    {
        for (auto& restore : restorers)
            restore();
    }

private:
    std::vector<std::function<void()>> restorers;

    template <class T> void keep(T& live)
    {
        T saved = live;
        restorers.push_back([&live, saved] { live = saved; });
    }
    template <class T, std::size_t N> void keepAll(T (&live)[N])
    {
        for (T& item : live)
            keep(item);
    }
    void keepSheet(SpriteBase& sheet)
    {
        keep(sheet.image), keep(sheet.loaded), keep(sheet.frames), keep(sheet.frameW),
            keep(sheet.frameH);
    }
};

static Baseline baseline;

void startGameForTests()
{
    started = gameInit() != 0;
    if (!started)
        return;
    resetGame();
    baseline.take();
}

void stopGameForTests()
{
    releaseSheetPictures();
    gameShutdown();
    started = false;
}

void restartGame()
{
    stopGameForTests();
    startGameForTests();
}

// The seed every test starts from, so that what rand() gives does not depend on the order.
static const unsigned TEST_SEED = 1;
static double clockOrigin = 0.0;

double gameClockOrigin()
{
    return clockOrigin;
}

// Ticks the score and magic clocks and both spawn timers at a game time beyond any earlier
// test's, then puts back what those ticks changed.
static void startClocksAfresh()
{
    clockOrigin = std::max(clockOrigin, counter) + 1.0e6;
    counter = clockOrigin;
    quimbo.state = NORMAL;
    quimbo.health = 100;
    quimbo.magic = 0;
    quimbo.update();
    enemySpawnTimer();
    ballLaunchTimer();
    baseline.restore();
    counter = clockOrigin;
}

void beginTest()
{
    if (!started)
        return;
    baseline.restore();
    startClocksAfresh();
    srand(TEST_SEED);
}

void endTest()
{
    releaseAllKeys();
    releaseWallClock();
    releaseMouse();
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {
    }
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        Mix_HaltChannel(-1);
    // A test that shut the game down leaves it to be started again for the next.
    if (started && SDL_WasInit(SDL_INIT_VIDEO) == 0)
        restartGame();
    if (started) {
        clockOrigin = std::max(clockOrigin, counter);
        baseline.restore();
        SDL_ShowCursor(0);
    }
}

::testing::AssertionResult loadedFrom(const void* loaded, const char* file)
{
    if (loaded != nullptr)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << file << " did not load: is it missing from Data/?";
}

void setFrameTime(int ms)
{
    timeDifference = ms;
    deltaTime = static_cast<float>(ms * 0.1);
}

static std::atomic<bool> ticksFaked{false};
static std::atomic<Uint32> fakeTicks{0};

extern "C" Uint32 SDL_GetTicks(void)
{
    if (ticksFaked)
        return fakeTicks;
    using TicksFn = Uint32 (*)(void);
    static TicksFn real = reinterpret_cast<TicksFn>(dlsym(RTLD_NEXT, "SDL_GetTicks"));
    return real();
}

void setWallClock(Uint32 ms)
{
    fakeTicks = ms;
    ticksFaked = true;
}

void releaseWallClock()
{
    ticksFaked = false;
}

static bool mouseFaked = false;
static int fakeX = 0, fakeY = 0;
static Uint8 fakeButtons = 0;

extern "C" Uint8 SDL_GetMouseState(int* x, int* y)
{
    if (!mouseFaked) {
        using StateFn = Uint8 (*)(int*, int*);
        static StateFn real = reinterpret_cast<StateFn>(dlsym(RTLD_NEXT, "SDL_GetMouseState"));
        return real(x, y);
    }
    if (x != nullptr)
        *x = fakeX;
    if (y != nullptr)
        *y = fakeY;
    return fakeButtons;
}

void setMouse(int x, int y, Uint8 buttons)
{
    mouseFaked = true;
    fakeX = x;
    fakeY = y;
    fakeButtons = buttons;
}

void releaseMouse()
{
    mouseFaked = false;
}

void releaseAllKeys()
{
    int count = 0;
    Uint8* keys = SDL_GetKeyState(&count);
    for (int i = 0; i < count; ++i)
        keys[i] = 0;
}

void fillRect(SDL_Surface* s, SDL_Rect* area, Uint32 rgb)
{
    SDL_FillRect(s, area, SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 0xff, rgb & 0xff));
}

SDL_Surface* solidSurface(int w, int h, Uint32 rgb)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
    fillRect(s, nullptr, rgb);
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

Uint32 screenPixel(int x, int y)
{
    return surfacePixel(screen, x, y);
}

int differingPixels(SDL_Surface* a, SDL_Surface* b)
{
    int n = 0;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            n += surfacePixel(a, x, y) != surfacePixel(b, x, y) ? 1 : 0;
    return n;
}

TestSheet::TestSheet(int frames, int w, int h, SDL_Surface* image)
{
    base.image = image;
    base.loaded = 1;
    base.frames = frames;
    base.frameW = w;
    base.frameH = h;
}

PictureSwap::~PictureSwap()
{
    SDL_FreeSurface(field);
    field = saved;
}

SilentSound::SilentSound() : samples(22050 * 2 * 4, 0)
{
    chunk = Mix_QuickLoad_RAW(samples.data(), static_cast<Uint32>(samples.size()));
}

SilentSound::~SilentSound()
{
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        Mix_HaltChannel(-1);
    Mix_FreeChunk(chunk);
}

Enemy& placeEnemy(int i, int type, float x, float y, int direction)
{
    Enemy& e = enemy[i];
    e.clear();
    e.active = true;
    e.shootable = true;
    e.type = type;
    if (type == BIRD) {
        e.direction = direction;
        e.sprite.init(direction == 1 ? &birdLNormal : &birdRNormal, screen);
        e.hitOffset = SDL_Rect{0, 15, 48, 9};
    } else if (type == PLANE) {
        e.sprite.init(&planeNormal, screen);
        e.hitOffset = SDL_Rect{6, 10, 83, 24};
    } else {
        e.sprite.init(&slimeNormal, screen);
        e.hitOffset = SDL_Rect{0, 10, static_cast<Uint16>(slimeNormal.frameW),
                               static_cast<Uint16>(slimeNormal.frameH)};
    }
    e.hitBox.w = e.hitOffset.w;
    e.hitBox.h = e.hitOffset.h;
    e.sprite.setXY(x, y);
    return e;
}

StdoutCapture::StdoutCapture()
{
    testing::internal::CaptureStdout();
}

std::string StdoutCapture::text()
{
    if (!done) {
        captured = testing::internal::GetCapturedStdout();
        done = true;
    }
    return captured;
}

StdoutCapture::~StdoutCapture()
{
    text();
}
