// The unit tests' entry: the game is started headless once per test process.
#include <cstdlib>

#include <gtest/gtest.h>

#include "test_support.h"

void startGameForTests();

class GameEnvironment : public ::testing::Environment {
public:
    void SetUp() override { startGameForTests(); }
    void TearDown() override { gameShutdown(); }
};

int main(int argc, char** argv)
{
    // Headless unless a run asks otherwise: no window, and the mixer plays into nothing.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GameEnvironment);
    return RUN_ALL_TESTS();
}
