// Box contact: closed intervals on both axes, in all three forms.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

SDL_Rect rect(int x, int y, int w, int h)
{
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    return r;
}

// A sheet of 10 by 10 frames with no picture: the contact test reads only the frame size.
struct TenByTen {
    SpriteBase sheet;
    TenByTen()
    {
        sheet.loaded = 1;
        sheet.frames = 1;
        sheet.frameW = 10;
        sheet.frameH = 10;
    }
    Sprite at(float x, float y)
    {
        Sprite s;
        s.init(&sheet, nullptr);
        s.setXY(x, y);
        return s;
    }
};

TEST(Collision, RectanglesTouchingAtAnEdgeOrCornerAreInContactEitherWayRound)
{
    struct Case { SDL_Rect a, b; bool contact; const char* what; } cases[] = {
        {rect(0, 0, 10, 10), rect(10, 0, 10, 10), true, "shared right edge"},
        {rect(0, 0, 10, 10), rect(11, 0, 10, 10), false, "one pixel apart"},
        {rect(0, 0, 10, 10), rect(0, 10, 10, 10), true, "shared bottom edge"},
        {rect(0, 0, 10, 10), rect(0, 11, 10, 10), false, "one pixel below"},
        {rect(0, 0, 10, 10), rect(10, 10, 10, 10), true, "corner only"},
        {rect(0, 0, 10, 10), rect(11, 11, 10, 10), false, "diagonally apart"},
        {rect(0, 0, 10, 10), rect(5, 3, 0, 0), true, "a point inside"},
        {rect(0, 0, 10, 10), rect(5, -5, 0, 30), true, "a line across"},
        {rect(-20, 0, 10, 10), rect(-15, 5, 2, 2), true, "left of the screen, inside"},
        {rect(-20, 0, 10, 10), rect(-9, 5, 2, 2), false, "left of the screen, apart"},
        {rect(-20, -20, 10, 10), rect(-10, -10, 5, 5), true, "negative corner"},
        // The edges are summed in 32 bits: 32000 + 1000 must not wrap to a negative 16-bit value.
        {rect(32000, 0, 1000, 10), rect(32500, 5, 10, 10), true, "right edge beyond 16 bits"},
        {rect(0, 32000, 10, 1000), rect(5, 32500, 10, 10), true, "bottom edge beyond 16 bits"},
        {rect(0, 0, 65535, 10), rect(30000, 0, 10, 10), true, "widest box"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(collisionBox(c.a, c.b), c.contact) << c.what;
        EXPECT_EQ(collisionBox(c.b, c.a), c.contact) << c.what << ", swapped";
    }
}

TEST(Collision, RectangleAgainstSpriteComparesWithTheSpritesFloatEdges)
{
    TenByTen sheet;
    Sprite sprite = sheet.at(10.5f, 0.0f);  // right edge 20.5
    struct Case { SDL_Rect a; bool contact; } cases[] = {
        {rect(20, 0, 5, 5), true},
        {rect(21, 0, 5, 5), false},
        {rect(5, 0, 5, 5), false},   // right edge 10 is left of 10.5
        {rect(6, 0, 5, 5), true},
        {rect(12, 10, 5, 5), true},  // top on the sprite's bottom edge
        {rect(12, 11, 5, 5), false},
        {rect(12, -5, 5, 5), true},  // bottom on the sprite's top edge
        {rect(12, -6, 5, 5), false},
    };
    for (Case& c : cases)
        EXPECT_EQ(collisionBox(c.a, sprite), c.contact) << "rectangle at " << c.a.x << ", " << c.a.y;
}

TEST(Collision, SpritesTouchingAtAnEdgeAreInContact)
{
    TenByTen sheet;
    Sprite a = sheet.at(0.0f, 0.0f);
    Sprite touching = sheet.at(10.0f, 10.0f);
    Sprite apart = sheet.at(10.25f, 0.0f);
    Sprite below = sheet.at(0.0f, 10.25f);
    EXPECT_TRUE(collisionBox(a, touching));
    EXPECT_TRUE(collisionBox(touching, a));
    EXPECT_FALSE(collisionBox(a, apart));
    EXPECT_FALSE(collisionBox(apart, a));
    EXPECT_FALSE(collisionBox(a, below));
    EXPECT_FALSE(collisionBox(below, a));
}

}  // namespace
