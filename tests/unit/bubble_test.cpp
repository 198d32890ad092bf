// Bubbles: released by the landscape, drifting, rising, and catching the magician.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// A fresh bubble in slot i at (x, y), as the landscape releases it.
Bubble& release(int i, float x, float y)
{
    Bubble& b = bubble[i];
    b.clear();
    b.sprite.setXY(x, y);
    b.active = true;
    return b;
}

// Puts the player's hit box far from every bubble of a test.
void playerAway() { quimbo.hitBox = SDL_Rect{-500, -500, 96, 46}; }

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

    for (int i = 0; i < BUBBLES; ++i)
        bubble[i].active = true;
    bubble[4].sprite.setXY(1.0f, 2.0f);
    EXPECT_FALSE(addBubble(piece));
    EXPECT_FLOAT_EQ(bubble[4].sprite.getX(), 1.0f);
    EXPECT_FLOAT_EQ(bubble[4].sprite.getY(), 2.0f);
}

TEST(Bubble, DriftsWithTheScrollAndStartsItsAnimationLeftOf1000)
{
    playerAway();
    setFrameTime(10);
    scrollSpeed = 3;
    Bubble& b = release(0, 1006.0f, 500.0f);
    b.sprite.animating = 0;
    b.move();
    EXPECT_FLOAT_EQ(b.sprite.getX(), 1003.0f);
    EXPECT_FALSE(b.started);
    b.move();
    EXPECT_FLOAT_EQ(b.sprite.getX(), 1000.0f);
    EXPECT_FALSE(b.started);
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
    setFrameTime(20);
    scrollSpeed = 3;
    // Right of the line the last frame does not stop it.
    Bubble& b = release(0, 1010.0f, 400.0f);
    b.sprite.frame = bubbleBase.frames - 1;
    b.move();
    EXPECT_FALSE(b.rising);
    EXPECT_FLOAT_EQ(b.sprite.getY(), 400.0f);
    // Crossing the line on the last frame: started, stopped and rising in the same call.
    b.move();
    EXPECT_TRUE(b.started);
    EXPECT_TRUE(b.rising);
    EXPECT_EQ(b.sprite.animating, 0);
    EXPECT_FLOAT_EQ(b.sprite.getY(), 395.0f);
    // Any other frame left of the line lets it drift on.
    Bubble& other = release(1, 990.0f, 400.0f);
    other.sprite.frame = bubbleBase.frames - 2;
    other.move();
    EXPECT_FALSE(other.rising);
    b.sprite.frame = 0;  // rising goes on whatever the frame
    b.move();
    EXPECT_FLOAT_EQ(b.sprite.getY(), 390.0f);
    EXPECT_EQ(b.sprite.animating, 0);
}

TEST(Bubble, LeavesAtTheLeftEdgeOrTheTopEdge)
{
    playerAway();
    setFrameTime(10);
    scrollSpeed = 3;
    Bubble& left = release(0, 3.0f, 400.0f);
    left.move();
    EXPECT_TRUE(left.active);  // x 0 is still on the screen
    left.move();
    EXPECT_FALSE(left.active);
    EXPECT_FLOAT_EQ(left.riseSpeed, 2.5f);

    Bubble& top = release(1, 500.0f, 2.5f);
    top.rising = true;
    top.move();
    EXPECT_TRUE(top.active);  // y 0
    top.move();
    EXPECT_FALSE(top.active);
    EXPECT_FALSE(top.rising);
}

TEST(Bubble, CatchesANormalAttackingOrBubbledPlayerButNotABlastingSlimedOrFallingOne)
{
    struct Row { int state; bool caught; };
    const Row rows[] = {{NORMAL, true}, {ATTACKING, true}, {BUBBLED, true},
                        {FARTED, false}, {SLIMEY, false}, {FALLING, false}};
    setFrameTime(10);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        resetGame();
        quimbo.hitBox = SDL_Rect{400, 300, 96, 46};
        quimbo.state = row.state;
        quimbo.bubbleTime = 5.0;
        counter = 2500.0;
        SpriteBase* sheet = quimbo.sprite.base;
        Bubble& b = release(0, 453.0f, 320.0f);
        b.move();
        if (row.caught) {
            EXPECT_EQ(quimbo.state, BUBBLED);
            EXPECT_EQ(quimbo.bubbleTime, 2500.0);
            EXPECT_EQ(quimbo.sprite.base, &quimboBubble);
            EXPECT_FALSE(b.active);
        } else {
            EXPECT_EQ(quimbo.state, row.state);
            EXPECT_EQ(quimbo.bubbleTime, 5.0);
            EXPECT_EQ(quimbo.sprite.base, sheet);
            EXPECT_TRUE(b.active);
            EXPECT_FLOAT_EQ(b.sprite.getX(), 450.0f);
        }
    }
}

TEST(Bubble, ABubbleClearedAtTheLeftOrTopEdgeStillCatchesInThatCall)
{
    setFrameTime(10);
    scrollSpeed = 3;
    quimbo.hitBox = SDL_Rect{-40, 200, 96, 46};
    Bubble& left = release(0, 1.0f, 220.0f);
    left.move();
    EXPECT_EQ(quimbo.state, BUBBLED);
    EXPECT_FALSE(left.active);

    resetGame();
    quimbo.hitBox = SDL_Rect{400, -40, 96, 46};
    Bubble& top = release(0, 450.0f, 1.0f);
    top.rising = true;
    top.move();
    EXPECT_EQ(quimbo.state, BUBBLED);
    EXPECT_FALSE(top.active);
}
