// The game reset: the world as a new game finds it.
#include <cstdio>

#include "game.h"

void haltBlastSound()
{
    // Only an open mixer has channels to halt.
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        Mix_HaltChannel(BLAST_CHANNEL);
}

void clearActors()
{
    for (int i = 0; i < ENEMIES; ++i)
        enemy[i].clear();
    // Stars only lose their flag: the rest waits for their next launch.
    for (int i = 0; i < STARS; ++i)
        star[i].active = false;
    for (int i = 0; i < BUBBLES; ++i)
        bubble[i].clear();
    dpallo.active = false;
}

void resetGame()
{
    quimbo.reset();
    layOutSceneries();
    clearActors();
    scrollSpeed = SCROLL_SPEED;
    // A blast that was still sounding when its game ended stops here.
    haltBlastSound();
    printf("Game succesfully reseted\n");
}
