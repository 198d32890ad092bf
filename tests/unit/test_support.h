// Shared set-up for the unit tests: the game started headless with its real data, and small
// helpers and test doubles to drive it.
#ifndef QUIMBO_TEST_SUPPORT_H
#define QUIMBO_TEST_SUPPORT_H

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game.h"
#include "helpers.h"

// Started by test_main.cpp before the tests: gameInit headless, then the first reset.
bool gameStarted();

// Every test starts from the game as start-up and the first reset left it, whatever the tests
// before it did: test_main.cpp puts back every global object, sheet, picture, font, sound and
// tuning value after each test, releases the keys, the mouse and the wall clock, empties the
// event queue, silences the mixer and seeds rand() alike.
//
// The game's own clocks (the score and magic ticks and the two spawn timers) keep their last
// tick in function statics that nothing resets, and they only ever move forward. So each test
// gets a game clock of its own instead: `counter` starts at gameClockOrigin(), a time later than
// any earlier test reached, with every one of those clocks just ticked there. A test that sets
// the game clock sets it relative to the origin.
double gameClockOrigin();

// Shuts the game down and starts it again; start-up becomes the new baseline, with whatever
// else the test changed. A test that shuts the game down and leaves it so gets it restarted
// after it ends.
void restartGame();

// For test_main.cpp: the game's start and stop around the run, and the fresh game each test
// begins with and leaves behind.
void startGameForTests();
void stopGameForTests();
void beginTest();
void endTest();

// Passes when start-up loaded the named data file (`loaded` is what it made of it); fails with
// the file's name otherwise, so that a missing file shows as a failure, never as a skip.
::testing::AssertionResult loadedFrom(const void* loaded, const char* file);

// Sets the frame clock as a frame of `ms` milliseconds would.
void setFrameTime(int ms);

// The wall clock: while set, SDL_GetTicks answers the game with it.
void setWallClock(Uint32 ms);
void releaseWallClock();

// The mouse: the dummy driver has no buttons, so while set SDL_GetMouseState answers with this.
void setMouse(int x, int y, Uint8 buttons);
void releaseMouse();

// holdKey and pushKeyDown come from helpers.h; this lets every held key go.
void releaseAllKeys();

// A 32-bit 0xRRGGBB surface filled with one colour, and pixels read back as 0xRRGGBB.
SDL_Surface* solidSurface(int w, int h, Uint32 rgb);
void fillRect(SDL_Surface* s, SDL_Rect* area, Uint32 rgb);
Uint32 surfacePixel(SDL_Surface* s, int x, int y);
Uint32 screenPixel(int x, int y);
int differingPixels(SDL_Surface* a, SDL_Surface* b);

// A sheet of `frames` frames of w by h, with an optional picture it then owns.
struct TestSheet {
    SpriteBase base;
    TestSheet(int frames, int w, int h, SDL_Surface* image = nullptr);
};

// Puts a picture of ours in place of one of the game's until the object goes.
struct PictureSwap {
    SDL_Surface*& field;
    SDL_Surface* saved;
    PictureSwap(SDL_Surface*& f, SDL_Surface* mine) : field(f), saved(f) { field = mine; }
    ~PictureSwap();
};

// Seconds of silence of our own, so that a channel can be seen playing without the data files.
struct SilentSound {
    std::vector<Uint8> samples;
    Mix_Chunk* chunk;
    SilentSound();
    ~SilentSound();
};

// An active, shootable enemy of the given kind in slot i at (x, y), on its flying sheet.
Enemy& placeEnemy(int i, int type, float x, float y, int direction = -1);

inline bool operator==(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

inline std::ostream& operator<<(std::ostream& out, const SDL_Rect& r)
{
    return out << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

template <class T, std::size_t N> int activeCount(T (&pool)[N])
{
    int n = 0;
    for (T& item : pool)
        n += item.active ? 1 : 0;
    return n;
}

// Captures what a piece of code writes to standard output.
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    std::string text();

private:
    std::string captured;
    bool done = false;
};

#endif
