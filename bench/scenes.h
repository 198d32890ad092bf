// The scenes the benchmark times: each prepares the game between frames, outside the timed
// region, and leaves the frame itself to the game's own routines.
#ifndef QUIMBO_BENCH_SCENES_H
#define QUIMBO_BENCH_SCENES_H

// Every RUNNING frame of the benchmark takes this much game time, like a steady 100 fps.
const int BENCH_FRAME_MS = 10;

// Sets the frame clock for one RUNNING frame of BENCH_FRAME_MS.
void stepClock();

// A game just after its reset: no enemy, star, bubble or ball. Whatever the spawn timers
// brought in during the last frame is taken away again.
void keepQuiet();

// The busiest picture the game can show: 20 enemies of all three kinds, 20 stars, 10 bubbles,
// the bonus ball and the magician in the blast. Empty slots are filled again on the screen.
void keepFull();

// What the full scene's frames drew, summed over the frames: the actors still active at the end
// of each frame, before the next refill.
struct SceneTally {
    long frames;
    long enemies;
    long stars;
    long bubbles;
    long balls;
};
extern SceneTally fullTally;

// A game played on by a steady hand: the magician casts whenever the magic allows, sets off
// a blast now and then and is healed between frames, so the game never ends.
void keepPlaying(long frame);

// SDL links a picture to the screen at its first blit, with one small allocation; every picture
// is blitted once before measuring, so that a sheet's first appearance does not count as a
// frame's allocation.
void primePictures();

#endif
