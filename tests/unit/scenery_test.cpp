// The landscape band: its scroll and the re-placement of its pieces.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

int sheetOf(int i)
{
    return static_cast<int>(scenery[i].base - sceneries);
}

float bandY(int sheet)
{
    return static_cast<float>(640 - sceneries[sheet].frameH);
}

// A seed whose first rand() % 5 is the wanted piece.
unsigned seedForFirstPiece(int piece)
{
    for (unsigned seed = 1;; ++seed) {
        srand(seed);
        if (rand() % 5 == piece) {
            srand(seed);
            return seed;
        }
    }
}

}  // namespace

TEST(Scenery, APieceAtOrPastMinus256IsReplacedAt254RightOfItsLeftNeighbour)
{
    setFrameTime(10);  // step 3
    // Piece 2 lands exactly on -256 and goes; piece 3 stops just short of it.
    scenery[2].setX(-253.0f);
    scenery[3].setX(-252.5f);
    scenery[1].setX(100.0f);
    sceneryStep();
    EXPECT_FLOAT_EQ(scenery[2].getX(), 97.0f + 254.0f);
    EXPECT_FLOAT_EQ(scenery[2].getY(), bandY(sheetOf(2)));
    EXPECT_FLOAT_EQ(scenery[3].getX(), -255.5f);
}

TEST(Scenery, PieceZeroGoesAfterPieceFiveCountingTheStepPieceFiveIsAboutToTake)
{
    scrollSpeed = 3;
    setFrameTime(20);  // step 6
    scenery[0].setX(-252.0f);
    scenery[5].setX(700.0f);
    sceneryStep();
    EXPECT_FLOAT_EQ(scenery[5].getX(), 694.0f);
    EXPECT_FLOAT_EQ(scenery[0].getX(), 694.0f + 254.0f);
}

TEST(Scenery, ALongFrameKeepsTheBandClosed)
{
    // Half a second at the blast's speed carries pieces 0 and 1 far past the line in one frame.
    scrollSpeed = 12;
    setFrameTime(500);
    sceneryStep();
    EXPECT_FLOAT_EQ(scenery[5].getX(), 1280.0f - 600.0f);
    EXPECT_FLOAT_EQ(scenery[0].getX(), scenery[5].getX() + 254.0f);
    EXPECT_FLOAT_EQ(scenery[1].getX(), scenery[0].getX() + 254.0f);
    EXPECT_FLOAT_EQ(scenery[2].getX(), 512.0f - 600.0f);
}

TEST(Scenery, ChoicesNeverRepeatNeverTakeSheetFiveAndTheFirstIsNeverZero)
{
    ASSERT_EQ(lastScenery, 0);
    srand(seedForFirstPiece(0));  // the first draw would be 0: it must be drawn again
    setFrameTime(10);
    scrollSpeed = 3;
    std::vector<int> chosen;
    for (int frame = 0; frame < 10000; ++frame) {
        float before[SCENERIES];
        for (int k = 0; k < SCENERIES; ++k)
            before[k] = scenery[k].getX();
        sceneryStep();
        // Re-placed pieces jump to the right; they are chosen in index order.
        for (int k = 0; k < SCENERIES; ++k) {
            if (scenery[k].getX() > before[k])
                chosen.push_back(sheetOf(k));
        }
        if (!chosen.empty()) {
            EXPECT_EQ(lastScenery, chosen.back());
        }
    }
    ASSERT_GT(chosen.size(), 100u);
    EXPECT_NE(chosen[0], 0);
    for (size_t i = 1; i < chosen.size(); ++i)
        EXPECT_NE(chosen[i], chosen[i - 1]) << "re-placement " << i;
    for (int sheet = 0; sheet < SCENERIES; ++sheet)
        EXPECT_EQ(std::count(chosen.begin(), chosen.end(), sheet) > 0, sheet != 5) << sheet;
}

TEST(Scenery, ANewGameKeepsTheLastChoiceSoItIsNotRepeated)
{
    lastScenery = 3;
    resetGame();
    EXPECT_EQ(lastScenery, 3);
    srand(seedForFirstPiece(3));
    setFrameTime(10);
    scenery[0].setX(-254.0f);
    sceneryStep();
    EXPECT_NE(sheetOf(0), 3);
}

TEST(Scenery, ChoosingSheetZeroReleasesABubbleAt60Right6Down)
{
    lastScenery = 2;
    srand(seedForFirstPiece(0));
    setFrameTime(10);
    scenery[3].setX(-255.0f);
    sceneryStep();
    ASSERT_EQ(sheetOf(3), 0);
    ASSERT_TRUE(bubble[0].active);
    EXPECT_FLOAT_EQ(bubble[0].sprite.getX(), scenery[3].getX() + 60.0f);
    EXPECT_FLOAT_EQ(bubble[0].sprite.getY(), scenery[3].getY() + 6.0f);
    EXPECT_EQ(activeCount(bubble), 1);

    // Another sheet releases nothing.
    lastScenery = 0;
    srand(seedForFirstPiece(4));
    scenery[4].setX(-255.0f);
    sceneryStep();
    ASSERT_EQ(sheetOf(4), 4);
    EXPECT_EQ(activeCount(bubble), 1);
}
