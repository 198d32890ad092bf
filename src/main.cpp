// The program's entry: start up, play, shut down. The command line is ignored.
#include "game.h"

// On Windows SDL renames main to SDL_main, for an entry library of its own that writes the
// output to files beside the program. The game keeps its own entry there instead, so that
// its output goes to the standard handles it was started with, and nowhere without them.
#ifdef _WIN32
#undef main
#endif

int main(int, char**)
{
    bool started = gameInit() != 0;
    if (started)
        gameMain();
    gameShutdown();
    // A start-up that failed has said why on standard error; its status says so to whatever
    // started the game (a launcher, a desktop, a script).
    return started ? 0 : 1;
}
