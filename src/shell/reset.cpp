// The game reset: the world as a new game finds it.
#include <cstdio>

#include "game.h"

void haltBlastSound()
{
    // Only an open mixer has channels to halt.
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        Mix_HaltChannel(BLAST_CHANNEL);
}

void pauseSounds()
{
    // The paused world stands still, and so does what it was sounding: the blast's loop must
    // not run on through the pause, or its 5 s of game time would outlast the sound.
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        Mix_Pause(-1);
}

void resumeSounds()
{
    // Each paused channel goes on from where it stood.
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        Mix_Resume(-1);
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
