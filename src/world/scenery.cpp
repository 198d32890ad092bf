// The landscape band: six pieces scrolling right to left on the top edge of the HUD panel.
#include <cstdio>
#include <cstdlib>

#include "game.h"

static const int BAND_BOTTOM = 640;         // the pieces stand on the HUD panel's top edge
static const int START_SPACING = 256;       // the starting layout's spacing
static const float REPLACE_LINE = -256.0f;  // a piece this far left has left the screen
static const float REPLACE_GAP = 254.0f;    // re-placed neighbours overlap by 2 pixels
static const int CHOOSABLE_PIECES = 5;      // piece 5 shows only in the starting layout
static const int BUBBLING_PIECE = 0;        // the piece with the pond that releases bubbles

void loadSceneries(int count)
{
    sceneries = new SpriteBase[count];
    for (int i = 0; i < count; ++i) {
        char name[256];
        snprintf(name, sizeof name, "Data/Gfx/scenery%d.PNG", i);
        sceneries[i].init(name, 1, 0, 255, 0);
    }
}

void layOutSceneries()
{
    for (int k = 0; k < SCENERIES; ++k) {
        scenery[k].init(&sceneries[k], screen);
        scenery[k].setXY(static_cast<float>(START_SPACING * k),
                         static_cast<float>(BAND_BOTTOM - scenery[k].getH()));
    }
}

// Never the same piece twice in a row, wherever in the band the last one went.
static int choosePiece()
{
    int r = rand() % CHOOSABLE_PIECES;
    while (r == lastScenery)
        r = rand() % CHOOSABLE_PIECES;
    lastScenery = r;
    return r;
}

void sceneryStep()
{
    float step = -scrollSpeed * deltaTime;
    for (int i = 0; i < SCENERIES; ++i) {
        scenery[i].addX(step);
        if (scenery[i].getX() > REPLACE_LINE)
            continue;
        int r = choosePiece();
        scenery[i].init(&sceneries[r], screen);
        scenery[i].setY(static_cast<float>(BAND_BOTTOM - scenery[i].getH()));
        // Piece 0 follows piece 5, which has not moved yet this frame: its step is taken in
        // advance so that the gap is 254 after the frame.
        if (i == 0)
            scenery[0].setX(scenery[SCENERIES - 1].getX() + REPLACE_GAP - scrollSpeed * deltaTime);
        else
            scenery[i].setX(scenery[i - 1].getX() + REPLACE_GAP);
        if (r == BUBBLING_PIECE)
            addBubble(scenery[i]);
    }
}
