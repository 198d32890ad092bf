// The unit tests' entry: the game is started headless once, and every test finds it as start-up
// left it, so the tests share one process and may run in any order.
#include <cstdlib>

#include <gtest/gtest.h>

#include "test_support.h"

class GameEnvironment : public ::testing::Environment {
public:
    void SetUp() override { startGameForTests(); }
    void TearDown() override { stopGameForTests(); }
};

// Runs around each test, outside its fixture: before the fixture is made and after it is gone,
// so that nothing a fixture owns is still pointed at when the globals are put back.
class FreshGame : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { beginTest(); }
    void OnTestEnd(const ::testing::TestInfo&) override { endTest(); }
};

int main(int argc, char** argv)
{
    // Headless unless a run asks otherwise: no window, and the mixer plays into nothing.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GameEnvironment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshGame);
    return RUN_ALL_TESTS();
}
