// Bubbles: released by the landscape, drifting, rising, and catching the magician.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// A fresh bubble in slot i at (x, y), as the landscape releases it, on a frame of `ms`.
Bubble& release(int i, float x, float y, int ms = 10)
{
    Bubble& b = bubble[i];
    b.clear();
    b.sprite.setXY(x, y);
    b.active = true;
    setFrameTime(ms);
    scrollSpeed = 3;
    return b;
}

// Puts the player's hit box far from every bubble of a test.
void playerAway()
{
    quimbo.hitBox = SDL_Rect{-500, -500, 96, 46};
}

}  // namespace

TEST(Bubble, AddBubblePlacesTheFirstFreeBubble60RightAnd6BelowThePiece)
{
    Sprite piece;
    piece.setXY(700.5f, 520.0f);
    bubble[0].active = true;
    EXPECT_TRUE(addBubble(piece));
    EXPECT_TRUE(bubble[1].active);
    EXPECT_FLOAT_EQ(bubble[1].sprite.getX(), 760.5f);
    EXPECT_FLOAT_EQ(bubble[1].sprite.getY(), 526.0f);
    EXPECT_FALSE(bubble[2].active);
    for (Bubble& b : bubble)
        b.active = true;
    bubble[4].sprite.setXY(1.0f, 2.0f);
    EXPECT_FALSE(addBubble(piece));
    EXPECT_FLOAT_EQ(bubble[4].sprite.getX(), 1.0f);
}

TEST(Bubble, DriftsWithTheScrollAndStartsItsAnimationLeftOf1000)
{
    playerAway();
    Bubble& b = release(0, 1006.0f, 500.0f);
    b.sprite.animating = 0;
    for (float x : {1003.0f, 1000.0f}) {
        b.move();
        EXPECT_FLOAT_EQ(b.sprite.getX(), x);
        EXPECT_FALSE(b.started);
    }
    b.move();
    EXPECT_TRUE(b.started);
    EXPECT_NE(b.sprite.animating, 0);
    scrollSpeed = 12;  // the blast's scroll
    b.move();
    EXPECT_FLOAT_EQ(b.sprite.getX(), 985.0f);
    EXPECT_FLOAT_EQ(b.sprite.getY(), 500.0f);
}

TEST(Bubble, StopsOnItsLastFrameLeftOf1000AndRisesAt2Point5)
{
    playerAway();
    Bubble& b = release(0, 1010.0f, 400.0f, 20);
    b.sprite.frame = bubbleBase.frames - 1;
    b.move();  // right of the line the last frame does not stop it
    EXPECT_FALSE(b.rising);
    // Crossing the line on the last frame: started, stopped and rising in the same call.
    b.move();
    EXPECT_TRUE(b.started && b.rising);
    EXPECT_EQ(b.sprite.animating, 0);
    EXPECT_FLOAT_EQ(b.sprite.getY(), 395.0f);
    b.sprite.frame = 0;  // rising goes on whatever the frame
    b.move();
    EXPECT_FLOAT_EQ(b.sprite.getY(), 390.0f);
    Bubble& other = release(1, 990.0f, 400.0f, 20);  // any other frame lets it drift on
    other.sprite.frame = bubbleBase.frames - 2;
    other.move();
    EXPECT_FALSE(other.rising);
}

TEST(Bubble, LeavesAtTheLeftEdgeOrTheTopEdgeAndStillCatchesInThatCall)
{
    // x 0 or y 0 is still on the screen, so the first two bubbles take two moves.
    struct Row {
        float x, y;
        bool rising;
        SDL_Rect player;
        int moves;
    };
    const Row rows[] = {{3.0f, 400.0f, false, {-500, -500, 96, 46}, 2},
                        {500.0f, 2.5f, true, {-500, -500, 96, 46}, 2},
                        {1.0f, 220.0f, false, {-40, 200, 96, 46}, 1},
                        {450.0f, 1.0f, true, {400, -40, 96, 46}, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << ", " << row.y);
        StdoutCapture quiet;
        resetGame();
        quimbo.hitBox = row.player;
        Bubble& b = release(0, row.x, row.y);
        b.rising = row.rising;
        for (int m = 1; m <= row.moves; ++m) {
            b.move();
            EXPECT_EQ(b.active, m < row.moves);
        }
        EXPECT_FALSE(b.rising);
        EXPECT_FLOAT_EQ(b.riseSpeed, 2.5f);
        EXPECT_EQ(quimbo.state, row.moves == 1 ? BUBBLED : NORMAL);
    }
}

TEST(Bubble, CatchesANormalAttackingOrBubbledPlayerButNotABlastingSlimedOrFallingOne)
{
    struct Row {
        int state;
        bool caught;
    };
    const Row rows[] = {{NORMAL, true},  {ATTACKING, true}, {BUBBLED, true},
                        {FARTED, false}, {SLIMEY, false},   {FALLING, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        StdoutCapture quiet;
        resetGame();
        quimbo.hitBox = SDL_Rect{400, 300, 96, 46};
        quimbo.state = row.state;
        quimbo.bubbleTime = 5.0;
        counter = 2500.0;
        SpriteBase* sheet = quimbo.sprite.base;
        Bubble& b = release(0, 453.0f, 320.0f);
        b.move();
        EXPECT_EQ(quimbo.state, row.caught ? BUBBLED : row.state);
        EXPECT_EQ(quimbo.bubbleTime, row.caught ? 2500.0 : 5.0);
        EXPECT_EQ(quimbo.sprite.base, row.caught ? &quimboBubble : sheet);
        EXPECT_EQ(b.active, !row.caught);
        EXPECT_FLOAT_EQ(b.sprite.getX(), 450.0f);
    }
}
