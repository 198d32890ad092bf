// The world on the screen: the scrolling landscape band and the picture of a running frame.
#ifndef QUIMBO_WORLD_WORLD_H
#define QUIMBO_WORLD_WORLD_H

#include "layout.h"

void loadSceneries(int count);
// The band's starting layout: piece k on sheet k, 256 pixels apart, standing on y 640.
void layOutSceneries();
// Scrolls the band and re-places the pieces that left the screen at the left.
void sceneryStep();
void drawGame();

// The head-up display's three figures (their places are in layout.h), as a running frame writes
// them over the panel: health and magic in per cent, the score bare.
void drawHudFigures();

#endif
