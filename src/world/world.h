// The world on the screen: the scrolling landscape band and the picture of a running frame.
#ifndef QUIMBO_WORLD_WORLD_H
#define QUIMBO_WORLD_WORLD_H

void loadSceneries(int count);
// The band's starting layout: piece k on sheet k, 256 pixels apart, standing on y 640.
void layOutSceneries();
// Scrolls the band and re-places the pieces that left the screen at the left.
void sceneryStep();
void drawGame();

// The head-up display: the panel's top edge on the screen, and the top-left corner of each of
// its three white figures.
struct ScreenPoint {
    int x;
    int y;
};
const int HUD_TOP = 640;
const ScreenPoint HEALTH_AT = {171, 684};
const ScreenPoint MAGIC_AT = {432, 684};
const ScreenPoint SCORE_AT = {704, 714};
// The three figures, as a running frame writes them over the panel: health and magic in per
// cent, the score bare.
void drawHudFigures();

#endif
