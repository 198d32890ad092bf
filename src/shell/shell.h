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

// The mixer's channels, one table for every sound start-up loads. A sound on a channel of its
// own cuts off only its own last play there; the magic attack's takes the first free channel.
const int FIRST_FREE_CHANNEL = -1;  // zapSound: the magic attack
const int BLAST_BIRD_CHANNEL = 0;   // birdHit: each bird the blast sends down
const int STAR_HIT_CHANNEL = 1;     // birdHit: a star hitting an enemy
const int FALL_CHANNEL = 2;         // fallSound: the magician starting to fall
const int BLAST_CHANNEL = 3;        // fartSound: looping for as long as the blast lasts
const int HURT_CHANNEL = 4;         // hurtSound: a bird or plane biting the magician
const int SLIME_CHANNEL = 6;        // slimeHit: a slime covering the magician
const int BUBBLE_CHANNEL = 7;       // bubbleHit: a bubble catching the magician
// Stops the blast's loop when a game ends early; safe with the mixer closed.
void haltBlastSound();
// Every playing channel stops where it stands while the game is paused, and goes on after.
void pauseSounds();
void resumeSounds();

#endif
