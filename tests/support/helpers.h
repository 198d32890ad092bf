// Small helpers that the unit tests, the replay and the benchmark all use: printf into a
// std::string, and keys held or pressed the way SDL would report them to the game.
#ifndef QUIMBO_TESTS_HELPERS_H
#define QUIMBO_TESTS_HELPERS_H

#include <SDL.h>

#include <cstdarg>
#include <cstdio>
#include <string>

inline std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
inline std::string format(const char* pattern, ...)
{
    char text[512];
    va_list args;
    va_start(args, pattern);
    vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

// A key the game reads from SDL's key state (the arrows, Left Ctrl), held or let go.
inline void holdKey(SDLKey key, bool down)
{
    SDL_GetKeyState(nullptr)[key] = down ? 1 : 0;
}

// A key the game reads as an event (Space, P, Escape, Return), pressed once.
inline void pushKeyDown(SDLKey key)
{
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = KMOD_NONE;
    SDL_PushEvent(&event);
}

#endif
