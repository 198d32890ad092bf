// The game shell: start-up and shut-down, the frame loop, the screens, the reset, steering and
// the spawn timers.
#ifndef QUIMBO_SHELL_SHELL_H
#define QUIMBO_SHELL_SHELL_H

int gameInit();
int gameShutdown();
int gameMain();
void resetGame();
// Empties every pool: no enemy, star, bubble or bonus ball in play (part of the reset).
void clearActors();

// One pass of the frame loop: clock, events, the state's work, flip and a 1 ms sleep.
void gameFrame(bool& quit);
void updateClock();
// Applies the first row of the key table that matches the key and the current state.
void applyKey(int key, bool& quit);
// The fixed sequence of a RUNNING frame, drawing included.
void runningUpdate();

void steerPlayer();
void enemySpawnTimer();
void ballLaunchTimer();

void drawPauseScreen();
void drawGameOverScreen();
void mainMenuFrame(bool& quit);
void drawHiscoreScreen();

// The blast's looping sound plays on this channel.
const int BLAST_CHANNEL = 3;
// Stops the blast's loop when a game ends early; safe with the mixer closed.
void haltBlastSound();

#endif
