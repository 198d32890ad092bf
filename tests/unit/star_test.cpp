// The magic stars: where they start, how they fly, whom they bring down and for how much.
#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// An enemy in slot i whose hit box is the given rectangle, in the given state.
Enemy& target(int i, int type, SDL_Rect box, int state = NORMAL, int direction = -1)
{
    Enemy& e = placeEnemy(i, type, box.x, box.y, direction);
    e.state = state;
    e.hitBox = box;
    return e;
}

// A star flying at `velocity` from (x, y).
Star& shoot(int i, float x, float y, float velocity)
{
    Star& s = star[i];
    s.clear();
    s.init(x, y);
    s.sprite.setXY(x, y);
    s.velocity = velocity;
    return s;
}

}  // namespace

TEST(Star, AddStarTakesFreeSlotsInIndexOrderFromThePlayersCentreWithItsRolls)
{
    quimbo.sprite.setXY(400.5f, 200.25f);
    const float cx = 400.5f + static_cast<float>(quimbo.sprite.getW() / 2);
    const float cy = 200.25f + static_cast<float>(quimbo.sprite.getH() / 2);
    star[1].active = star[3].active = true;
    star[1].velocity = star[3].velocity = 9.0f;

    srand(77);
    EXPECT_TRUE(addStar(3));
    srand(77);
    for (int slot : {0, 2, 4}) {
        SCOPED_TRACE(slot);
        rand();  // the clear's frame time, overwritten by the launch
        const int spread = rand() % 20 - 10;
        const int velocity = rand() % 4 + 2;
        const int frameMs = rand() % 2 + 1;
        const Star& s = star[slot];
        EXPECT_TRUE(s.active);
        EXPECT_FLOAT_EQ(star[slot].sprite.getX(), cx);
        EXPECT_FLOAT_EQ(star[slot].sprite.getY(), cy + spread);
        EXPECT_FLOAT_EQ(s.velocity, static_cast<float>(velocity));
        EXPECT_FLOAT_EQ(s.sprite.speed, static_cast<float>(frameMs));
        EXPECT_EQ(s.hitBox.w, 15);
        EXPECT_EQ(s.hitBox.h, 15);
    }
    EXPECT_FALSE(star[5].active);
    EXPECT_FLOAT_EQ(star[1].velocity, 9.0f);
    EXPECT_FLOAT_EQ(star[3].velocity, 9.0f);
}

TEST(Star, AddStarPlacesNothingForNoCountAndOnlyWhatIsFree)
{
    EXPECT_TRUE(addStar(0));
    EXPECT_TRUE(addStar(-2));
    EXPECT_EQ(activeCount(star), 0);
    EXPECT_TRUE(addStar(STARS));
    star[7].active = false;
    EXPECT_TRUE(addStar(5));  // one slot free: one star
    EXPECT_EQ(activeCount(star), STARS);
}

TEST(Star, FlightIsVelocityTimesDeltaTimeWithAWobbleOfOneStepUpOrDown)
{
    setFrameTime(20);
    Star& s = shoot(0, 100.0f, 300.0f, 4.0f);
    std::set<float> wobbles;
    for (int frame = 0; frame < 60; ++frame) {
        const float y = s.sprite.getY();
        s.move();
        wobbles.insert(s.sprite.getY() - y);
    }
    EXPECT_FLOAT_EQ(s.sprite.getX(), 100.0f + 60 * 8.0f);
    EXPECT_EQ(wobbles, (std::set<float>{-2.0f, 0.0f, 2.0f}));
}

TEST(Star, OneStarBringsDownEveryEnemyItTouchesScoringEachAndPassesOverTheRest)
{
    setFrameTime(10);
    const SDL_Rect box{600, 300, 48, 9};
    // Enemies that are down, freed or not shootable lie between those it brings down.
    target(0, BIRD, box, DYING);
    target(1, PLANE, box, FALLING);
    target(3, SLIME, box, BLOWING);
    target(4, BIRD, box).active = false;
    target(7, PLANE, box).shootable = false;
    Enemy& fromLeft = target(2, BIRD, box, NORMAL, 1);
    Enemy& fromRight = target(5, BIRD, box, BIT, -1);
    Enemy& plane = target(6, PLANE, box);
    Enemy& slime = target(9, SLIME, box);
    Star& s = shoot(0, 590.0f, 298.0f, 2.0f);
    s.move();
    EXPECT_FALSE(s.active);
    EXPECT_EQ(quimbo.score, 100 + 100 + 500 + 750);
    struct Down {
        Enemy& e;
        int state;
        SpriteBase* sheet;
    } downs[] = {{fromLeft, DYING, &birdLDying},
                 {fromRight, DYING, &birdRDying},
                 {plane, FALLING, &planeFalling},
                 {slime, BLOWING, &slimeBlowing}};
    for (const Down& d : downs) {
        EXPECT_EQ(d.e.state, d.state);
        EXPECT_EQ(d.e.sprite.base, d.sheet);
        EXPECT_EQ(d.e.sprite.frame, 0);
        EXPECT_TRUE(d.e.active);
    }
    const int unchanged[][2] = {{0, DYING}, {1, FALLING}, {3, BLOWING}, {4, NORMAL}, {7, NORMAL}};
    for (const auto& u : unchanged)
        EXPECT_EQ(enemy[u[0]].state, u[1]) << "enemy " << u[0];
    EXPECT_EQ(enemy[1].sprite.base, &planeNormal);
}

TEST(Star, AStarPastTheRightEdgeStillHitsInThatCall)
{
    setFrameTime(10);
    Enemy& bird = target(0, BIRD, SDL_Rect{1020, 300, 48, 9});
    Star& s = shoot(0, 1020.0f, 298.0f, 5.0f);
    s.move();
    EXPECT_EQ(s.hitBox.x, 1025);
    EXPECT_FALSE(s.active);
    EXPECT_EQ(bird.state, DYING);
    EXPECT_EQ(quimbo.score, 100);

    // At exactly the screen width it flies on.
    Star& edge = shoot(1, 1019.0f, 100.0f, 5.0f);
    edge.move();
    EXPECT_TRUE(edge.active);
}

TEST(Star, ABittenEnemyIsHitOnlyWhereItsBoxStoppedAtTheBite)
{
    setFrameTime(10);
    Enemy& bird = target(0, BIRD, SDL_Rect{500, 300, 48, 9}, BIT);
    bird.sprite.setXY(800.0f, 285.0f);  // flown on since the bite
    Star& atSprite = shoot(0, 795.0f, 298.0f, 2.0f);
    atSprite.move();
    EXPECT_TRUE(atSprite.active);
    EXPECT_EQ(bird.state, BIT);
    Star& atBox = shoot(1, 495.0f, 298.0f, 2.0f);
    atBox.move();
    EXPECT_FALSE(atBox.active);
    EXPECT_EQ(bird.state, DYING);
    EXPECT_EQ(quimbo.score, 100);
}
