#include <gtest/gtest.h>

#include "test_support.h"

TEST(Smoke, GameStartsHeadlessWithTheDummyDrivers)
{
    ASSERT_TRUE(gameStarted());
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 1024);
    EXPECT_EQ(screen->h, 768);
}
