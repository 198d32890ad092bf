// Box contact: closed intervals on both axes, in all three forms.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// A 10 by 10 sprite with no picture: the contact test reads only the frame size.
Sprite at(float x, float y)
{
    static TestSheet sheet(1, 10, 10);
    Sprite s;
    s.init(&sheet.base, nullptr);
    s.setXY(x, y);
    return s;
}

TEST(Collision, RectanglesTouchingAtAnEdgeOrCornerAreInContactEitherWayRound)
{
    struct Case {
        SDL_Rect a, b;
        bool contact;
        const char* what;
    } cases[] = {
        {{0, 0, 10, 10}, {10, 0, 10, 10}, true, "shared right edge"},
        {{0, 0, 10, 10}, {11, 0, 10, 10}, false, "one pixel apart"},
        {{0, 0, 10, 10}, {0, 10, 10, 10}, true, "shared bottom edge"},
        {{0, 0, 10, 10}, {0, 11, 10, 10}, false, "one pixel below"},
        {{0, 0, 10, 10}, {10, 10, 10, 10}, true, "corner only"},
        {{0, 0, 10, 10}, {11, 11, 10, 10}, false, "diagonally apart"},
        {{0, 0, 10, 10}, {5, 3, 0, 0}, true, "a point inside"},
        {{0, 0, 10, 10}, {5, -5, 0, 30}, true, "a line across"},
        {{-20, 0, 10, 10}, {-15, 5, 2, 2}, true, "left of the screen, inside"},
        {{-20, 0, 10, 10}, {-9, 5, 2, 2}, false, "left of the screen, apart"},
        {{-20, -20, 10, 10}, {-10, -10, 5, 5}, true, "negative corner"},
        // The edges are summed in 32 bits: 32000 + 1000 must not wrap to a negative 16-bit value.
        {{32000, 0, 1000, 10}, {32500, 5, 10, 10}, true, "right edge beyond 16 bits"},
        {{0, 32000, 10, 1000}, {5, 32500, 10, 10}, true, "bottom edge beyond 16 bits"},
        {{0, 0, 65535, 10}, {30000, 0, 10, 10}, true, "widest box"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(collisionBox(c.a, c.b), c.contact) << c.what;
        EXPECT_EQ(collisionBox(c.b, c.a), c.contact) << c.what << ", swapped";
    }
}

TEST(Collision, RectangleAgainstSpriteComparesWithTheSpritesFloatEdges)
{
    Sprite sprite = at(10.5f, 0.0f);  // right edge 20.5
    struct Case {
        SDL_Rect a;
        bool contact;
    } cases[] = {
        {{20, 0, 5, 5}, true},   {{21, 0, 5, 5}, false},
        {{5, 0, 5, 5}, false},                            // right edge 10 is left of 10.5
        {{6, 0, 5, 5}, true},    {{12, 10, 5, 5}, true},  // top on the sprite's bottom edge
        {{12, 11, 5, 5}, false}, {{12, -5, 5, 5}, true},  // bottom on the sprite's top edge
        {{12, -6, 5, 5}, false},
    };
    for (Case& c : cases)
        EXPECT_EQ(collisionBox(c.a, sprite), c.contact)
            << "rectangle at " << c.a.x << ", " << c.a.y;
}

TEST(Collision, SpritesTouchingAtAnEdgeAreInContact)
{
    Sprite a = at(0.0f, 0.0f);
    struct Case {
        float x, y;
        bool contact;
    } cases[] = {{10.0f, 10.0f, true}, {10.25f, 0.0f, false}, {0.0f, 10.25f, false}};
    for (const Case& c : cases) {
        Sprite b = at(c.x, c.y);
        EXPECT_EQ(collisionBox(a, b), c.contact) << c.x << ", " << c.y;
        EXPECT_EQ(collisionBox(b, a), c.contact) << c.x << ", " << c.y;
    }
}

}  // namespace
