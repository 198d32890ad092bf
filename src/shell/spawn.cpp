// The timers that bring in the enemies and launch the bonus ball, on the game clock.
#include <cstdlib>

#include "game.h"

void enemySpawnTimer()
{
    // Game-clock time of the last spawn; a new game does not restart it.
    static double lastEnemyAdd = 0.0;
    // A fresh threshold every frame: the interval is always over 200 ms, leaning low.
    int threshold = rand() % 250 + 200;
    if (counter - lastEnemyAdd > threshold) {
        addEnemy();
        lastEnemyAdd = counter;
    }
}

void ballLaunchTimer()
{
    static double lastDpallo = 0.0;
    int threshold = rand() % 5000 + 7500;
    if (counter - lastDpallo > threshold) {
        // Enters just beyond the right edge; a ball still flying is put back there.
        dpallo.sprite.setX(static_cast<float>(screenWidth));
        dpallo.sprite.setY(static_cast<float>(rand() % 415));
        dpallo.active = true;
        lastDpallo = counter;
    }
}
