// Shared set-up for the unit tests: the game started headless with its real data, and small
// helpers to drive it.
#ifndef QUIMBO_TEST_SUPPORT_H
#define QUIMBO_TEST_SUPPORT_H

#include <string>

#include "game.h"

// Started once per test process by the environment in test_main.cpp: gameInit with the dummy
// drivers, from the project root, then the reset that gameMain runs before its first frame.
bool gameStarted();

// Sets the frame clock as a frame of `ms` milliseconds would.
void setFrameTime(int ms);

// Presses or releases a key in SDL's key-state array, as a held key would.
void holdKey(SDLKey key, bool down);
void releaseAllKeys();

// Posts a key press event for the next gameFrame to drain.
void pushKeyDown(SDLKey key);

// Colour of one pixel of the display surface, as 0xRRGGBB.
Uint32 screenPixel(int x, int y);

// Captures what a piece of code writes to standard output.
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    std::string text();

private:
    int savedFd;
    std::string path;
    bool done;
};

#endif
