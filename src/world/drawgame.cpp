// The picture of a running frame, back to front, and the head-up display's three figures.
#include "game.h"

void drawGame()
{
    drawImg(background, screen, 0, 0);
    // The blast cloud puffs out behind the magician, anchored at its top-left corner.
    if (quimbo.state == FARTED) {
        fart.setXY(quimbo.sprite.getX(), quimbo.sprite.getY());
        fart.draw();
    }
    for (int i = 0; i < ENEMIES; ++i)
        if (enemy[i].active)
            enemy[i].draw();
    quimbo.draw();
    for (int i = 0; i < BUBBLES; ++i)
        if (bubble[i].active)
            bubble[i].draw();
    for (int i = 0; i < STARS; ++i)
        if (star[i].active)
            star[i].draw();
    // The landscape stands in front of every actor but the bonus ball.
    for (int i = 0; i < SCENERIES; ++i)
        scenery[i].draw();
    drawImg(hud, screen, 0, HUD_TOP);
    if (dpallo.active)
        dpallo.draw();
    drawHudFigures();
}

void drawHudFigures()
{
    writeLines(screen, verdana32, HEALTH_AT.x, HEALTH_AT.y, White, "%d %%", quimbo.health);
    writeLines(screen, verdana32, MAGIC_AT.x, MAGIC_AT.y, White, "%d %%", quimbo.magic);
    writeLines(screen, verdana32, SCORE_AT.x, SCORE_AT.y, White, "%d", quimbo.score);
}
