#include "input.h"

void Mouse::update()
{
    prevButtons = buttons;
    int px = 0;
    int py = 0;
    buttons = SDL_GetMouseState(&px, &py);
    cursor.setXY(static_cast<float>(px), static_cast<float>(py));
}

int Mouse::checkArea(int x1, int y1, int x2, int y2)
{
    float cx = cursor.getX();
    float cy = cursor.getY();
    bool inside = static_cast<float>(x1) < cx && cx < static_cast<float>(x2) &&
                  static_cast<float>(y1) < cy && cy < static_cast<float>(y2);
    bool pressEdge = (buttons & 1) != 0 && (prevButtons & 1) == 0;
    return inside && pressEdge ? 1 : 0;
}
