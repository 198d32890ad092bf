#include "test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

static bool started = false;

bool gameStarted() { return started; }

void startGameForTests()
{
    started = gameInit() != 0;
    if (started)
        resetGame();
}

void setFrameTime(int ms)
{
    timeDifference = ms;
    deltaTime = static_cast<float>(ms * 0.1);
}

void holdKey(SDLKey key, bool down)
{
    Uint8* keys = SDL_GetKeyState(nullptr);
    keys[key] = down ? 1 : 0;
}

void releaseAllKeys()
{
    int count = 0;
    Uint8* keys = SDL_GetKeyState(&count);
    for (int i = 0; i < count; ++i)
        keys[i] = 0;
}

void pushKeyDown(SDLKey key)
{
    SDL_Event event;
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.which = 0;
    event.key.keysym.scancode = 0;
    event.key.keysym.sym = key;
    event.key.keysym.mod = KMOD_NONE;
    event.key.keysym.unicode = 0;
    SDL_PushEvent(&event);
}

Uint32 screenPixel(int x, int y)
{
    SDL_LockSurface(screen);
    Uint8* row = static_cast<Uint8*>(screen->pixels) + y * screen->pitch;
    Uint32 value = reinterpret_cast<Uint32*>(row)[x];
    SDL_UnlockSurface(screen);
    Uint8 r, g, b;
    SDL_GetRGB(value, screen->format, &r, &g, &b);
    return (static_cast<Uint32>(r) << 16) | (static_cast<Uint32>(g) << 8) | b;
}

StdoutCapture::StdoutCapture() : done(false)
{
    fflush(stdout);
    char name[] = "/tmp/quimbo-stdout-XXXXXX";
    int fd = mkstemp(name);
    path = name;
    savedFd = dup(1);
    dup2(fd, 1);
    close(fd);
}

std::string StdoutCapture::text()
{
    if (!done) {
        fflush(stdout);
        dup2(savedFd, 1);
        close(savedFd);
        done = true;
    }
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

StdoutCapture::~StdoutCapture()
{
    text();
    unlink(path.c_str());
}
