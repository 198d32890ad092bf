// The program's entry: start up, play, shut down. The command line is ignored.
#include "game.h"

int main(int, char**)
{
    if (gameInit() != 0)
        gameMain();
    gameShutdown();
    return 0;
}
