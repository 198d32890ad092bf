// The graphics toolkit: colours, text lines, picture loading, sheets and sprite animation, with
// a few clipping cases by hand (clipping_test.cpp sweeps every place against SDL's own blit).
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "test_support.h"

namespace {

const Uint32 BACKDROP = 0x102030;

// Column c of a test picture has the colour (c + 1, 7, 9), so a drawn pixel tells its column.
Uint32 columnColour(int c)
{
    return (static_cast<Uint32>(c + 1) << 16) | 0x0709;
}

SDL_Surface* makeColumnPicture(int w, int h)
{
    SDL_Surface* s = solidSurface(w, h, 0);
    for (int c = 0; c < w; ++c) {
        SDL_Rect column = {static_cast<Sint16>(c), 0, 1, static_cast<Uint16>(h)};
        fillRect(s, &column, columnColour(c));
    }
    return s;
}

// A picture written to a file (and freed), then loaded as the game loads its own sheets.
std::string savePicture(SDL_Surface* s, const char* tag)
{
    std::string path = "/tmp/quimbo-graphics-" + std::to_string(getpid()) + "-" + tag + ".bmp";
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

class Graphics : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gameStarted());
        target = solidSurface(1024, 768, BACKDROP);
    }
    void TearDown() override { SDL_FreeSurface(target); }
    Uint32 at(int x, int y) { return surfacePixel(target, x, y); }
    SDL_Surface* target = nullptr;
};

TEST_F(Graphics, DrawImgRejectsOnlyPicturesWhollyOutsideTheTargetAndMissingOnes)
{
    SDL_Surface* picture = makeColumnPicture(100, 50);
    struct Case {
        int x, y, result;
    } cases[] = {
        {-100, 0, 1}, {-101, 0, 0}, {1024, 0, 1}, {1025, 0, 0},
        {0, -50, 1},  {0, -51, 0},  {0, 768, 1},  {0, 769, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(drawImg(picture, target, c.x, c.y), c.result) << "at " << c.x << ", " << c.y;
        // A picture only touching a border has nothing left to draw.
        EXPECT_EQ(at(0, 0), BACKDROP);
        EXPECT_EQ(at(1023, 767), BACKDROP);
    }
    EXPECT_EQ(drawImg(nullptr, target, 10, 10), 0);
    SDL_FreeSurface(picture);
}

TEST_F(Graphics, DrawImgClipsThePartOverTheBorders)
{
    SDL_Surface* picture = makeColumnPicture(100, 50);
    EXPECT_EQ(drawImg(picture, target, -30, 10), 1);  // columns 30 to 99 land on 0 to 69
    EXPECT_EQ(at(0, 10), columnColour(30));
    EXPECT_EQ(at(69, 59), columnColour(99));
    EXPECT_EQ(at(70, 10), BACKDROP);
    EXPECT_EQ(at(0, 60), BACKDROP);
    EXPECT_EQ(drawImg(picture, target, 1000, -20), 1);  // only the first 24 columns fit
    EXPECT_EQ(at(999, 0), BACKDROP);
    EXPECT_EQ(at(1000, 0), columnColour(0));
    EXPECT_EQ(at(1023, 29), columnColour(23));
    EXPECT_EQ(at(1023, 30), BACKDROP);
    SDL_FreeSurface(picture);
}

TEST(Colours, NewColorKeepsTheLow8BitsOfEachComponent)
{
    SDL_Color c = newColor(256 + 10, -1, 511, 0x1234);
    EXPECT_EQ(c.r, 10);
    EXPECT_EQ(c.g, 255);
    EXPECT_EQ(c.b, 255);
    EXPECT_EQ(c.unused, 0x34);
}

TEST_F(Graphics, WriteLinesWithAnEmptyFormatOrNoFontDrawsNothingAndReturnsZero)
{
    TTF_Font* font = verdana32 != nullptr ? verdana32 : verdana;
    // Calls the format check rightly refuses, made on purpose to see them come to no harm.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-extra-args"
#pragma GCC diagnostic ignored "-Wformat-zero-length"
#pragma GCC diagnostic ignored "-Wformat-security"
    EXPECT_EQ(writeLines(target, font, 10, 10, White, "", 5345234), 0);
    EXPECT_EQ(writeLines(target, font, 10, 10, White, nullptr), 0);
#pragma GCC diagnostic pop
    EXPECT_EQ(writeLines(target, nullptr, 10, 10, White, "%d", 7), 0);
    SDL_Surface* blank = solidSurface(1024, 768, BACKDROP);
    EXPECT_EQ(0, differingPixels(target, blank));
    SDL_FreeSurface(blank);
}

// The band of `rows` rows from `top` of a one-line text reappears `shift` rows lower.
bool textShifted(SDL_Surface* single, SDL_Surface* multi, int top, int rows, int shift)
{
    for (int y = top; y < top + rows; ++y)
        for (int x = 0; x < 300; ++x)
            if (surfacePixel(multi, x, y + shift) != surfacePixel(single, x, y))
                return false;
    return true;
}

TEST_F(Graphics, WriteLinesStepsEachLineDownByTheFontsLineSkip)
{
    ASSERT_TRUE(loadedFrom(verdana32, "Data/Fonts/verdana.ttf"));
    int skip = TTF_FontLineSkip(verdana32);
    SDL_Surface* single = solidSurface(1024, 768, BACKDROP);
    writeLines(single, verdana32, 10, 20, White, "8");
    // An empty line still takes its step; a closing newline adds only an empty line.
    struct Case {
        const char* text;
        int line;  // where the second "8" stands, in line steps
    } cases[] = {{"8\n8", 1}, {"8\n\n8", 2}, {"8\n\n\n8\n", 3}};
    for (const Case& c : cases) {
        fillRect(target, nullptr, BACKDROP);
        writeLines(target, verdana32, 10, 20, White, "%s", c.text);
        EXPECT_TRUE(textShifted(single, target, 20, skip, 0)) << c.text;
        EXPECT_TRUE(textShifted(single, target, 20, skip, c.line * skip)) << c.text;
    }
    fillRect(target, nullptr, BACKDROP);
    writeLines(target, verdana32, 10, 20, White, "8\n");
    EXPECT_EQ(0, differingPixels(target, single));
    SDL_FreeSurface(single);
}

TEST_F(Graphics, WriteLinesExpandsTheFormatWholeBeforeDrawing)
{
    ASSERT_TRUE(loadedFrom(verdana32, "Data/Fonts/verdana.ttf"));
    SDL_Surface* literal = solidSurface(1024, 768, BACKDROP);
    writeLines(literal, verdana32, 5, 5, White, "5345234 %%");
    EXPECT_EQ(writeLines(target, verdana32, 5, 5, White, "%d %%", 5345234), 1);
    EXPECT_EQ(0, differingPixels(target, literal));
    SDL_FreeSurface(literal);
}

TEST_F(Graphics, LoadImgReportsAMissingFileOnStandardErrorAndAnnouncesALoadedOne)
{
    std::string path = savePicture(
        SDL_CreateRGBSurface(SDL_SWSURFACE, 6, 4, 24, 0xff, 0xff00, 0xff0000, 0), "load");
    struct Case {
        std::string path, printed, errors;
    } cases[] = {
        {"Data/Gfx/no_such_picture.PNG", "", "ERROR opening image Data/Gfx/no_such_picture.PNG\n"},
        {path, "Image " + path + " loaded successfully!\n", ""},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        StdoutCapture out;
        SDL_Surface* loaded = loadImg(c.path.c_str());
        EXPECT_EQ(out.text(), c.printed);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.errors);
        EXPECT_EQ(loaded == nullptr, c.printed.empty());
        if (loaded == nullptr)
            continue;
        EXPECT_EQ(loaded->format->BitsPerPixel, screen->format->BitsPerPixel);
        EXPECT_EQ(loaded->format->Rmask, screen->format->Rmask);
        EXPECT_EQ(loaded->format->Bmask, screen->format->Bmask);
        EXPECT_EQ(loaded->flags & SDL_SRCCOLORKEY, 0u);  // the key belongs to the sheets
        SDL_FreeSurface(loaded);
    }
    unlink(path.c_str());
}

TEST_F(Graphics, SheetSplitsByIntegerDivisionAndKeysOutPureGreen)
{
    SDL_Surface* picture = makeColumnPicture(100, 20);
    SDL_Rect key = {67, 0, 1, 20};
    fillRect(picture, &key, 0x00ff00);
    std::string path = savePicture(picture, "sheet");
    SpriteBase sheet;
    StdoutCapture quiet;
    EXPECT_EQ(sheet.init(path.c_str(), 3, 0, 255, 0), 1);
    unlink(path.c_str());
    EXPECT_EQ(sheet.loaded, 1);
    EXPECT_EQ(sheet.frameW, 33);
    EXPECT_EQ(sheet.frameH, 20);

    // Frame 2 is the columns 66 to 98: column 67 is transparent and column 99 never shows.
    Sprite sprite;
    sprite.init(&sheet, target);
    sprite.frame = 2;
    sprite.animating = 0;
    sprite.draw();
    EXPECT_EQ(at(0, 0), columnColour(66));
    EXPECT_EQ(at(1, 0), BACKDROP);
    EXPECT_EQ(at(32, 19), columnColour(98));
    EXPECT_EQ(at(33, 0), BACKDROP);
    EXPECT_EQ(at(0, 20), BACKDROP);
}

TEST_F(Graphics, SheetWhosePictureIsMissingDrawsNothingAndHasNoSize)
{
    SpriteBase sheet;
    testing::internal::CaptureStderr();
    EXPECT_EQ(sheet.init("Data/Gfx/no_such_sheet.PNG", 4, 0, 255, 0), 1);
    testing::internal::GetCapturedStderr();
    Sprite sprite;
    sprite.init(&sheet, target);
    sprite.setXY(10, 10);
    EXPECT_NE(sprite.draw(), 0);
    EXPECT_EQ(sprite.getW(), 0);
    EXPECT_EQ(sprite.getH(), 0);
    EXPECT_EQ(at(10, 10), BACKDROP);
}

TEST_F(Graphics, AnimationStepsAtTheFirstDrawThenOnlyOnceMoreThanTheFrameTimeHasPassed)
{
    TestSheet sheet(3, 10, 10);
    Sprite sprite;
    sprite.init(&sheet.base, target);
    sprite.setSpeed(120);
    struct Step {
        Uint32 ticks;
        int frame;
        bool end;
    } steps[] = {
        {5000, 1, false},                      // the first draw after init steps at once
        {5120, 1, false},                      // exactly the frame time: not yet
        {5121, 2, true},                       // more than it: the last frame
        {5200, 2, true},   {60000, 0, false},  // a long pause still steps only once
        {60001, 0, false},
    };
    for (const Step& s : steps) {
        setWallClock(s.ticks);
        sprite.draw();
        EXPECT_EQ(sprite.frame, s.frame) << "at " << s.ticks << " ms";
        EXPECT_EQ(sprite.animationEnd(), s.end) << "at " << s.ticks << " ms";
    }
}

TEST_F(Graphics, AnimationTimingStaysExactAcrossTheTickWrapAndLongUptimes)
{
    TestSheet sheet(4, 10, 10);
    struct Case {
        Uint32 last, now;
        float speed;
        int frame;
    } cases[] = {
        {0xFFFFFFF0u, 5u, 20.0f, 1},  // 21 ms across the wrap
        {0xFFFFFFF0u, 5u, 30.0f, 0},
        // After about 25 days a float sum of the tick and the frame time is 128 ms coarse.
        {2147483548u, 2147483549u, 1.0f, 0},
        {2147483548u, 2147483550u, 1.0f, 1},
        {0u, 120u, 120.0f, 0},  // a first draw in SDL's first frame time keeps frame 0
        {0u, 0u, 0.0f, 0},      // frame time 0 steps only once the tick has moved
        {0u, 1u, 0.0f, 1},
    };
    for (const Case& c : cases) {
        Sprite sprite;
        sprite.init(&sheet.base, target);
        sprite.setSpeed(c.speed);
        sprite.lastTick = static_cast<int>(c.last);
        setWallClock(c.now);
        sprite.draw();
        EXPECT_EQ(sprite.frame, c.frame) << c.last << " to " << c.now << " at " << c.speed;
    }
}

TEST_F(Graphics, PauseTogglesStartResumesAndInitNeverStopsTheAnimation)
{
    TestSheet six(6, 10, 10), one(1, 10, 10);
    Sprite sprite;
    sprite.init(&one.base, target);
    EXPECT_EQ(sprite.animating, 0);  // a one-frame sheet does not animate
    sprite.init(&six.base, target);
    sprite.setSpeed(10);
    sprite.pause();
    setWallClock(100000);
    sprite.draw();
    EXPECT_EQ(sprite.frame, 0);
    sprite.pause();
    EXPECT_EQ(sprite.animating, 1);
    sprite.start();
    EXPECT_EQ(sprite.animating, 1);
    sprite.animating = 7;
    sprite.pause();
    EXPECT_EQ(sprite.animating, 0);

    // A new sheet restarts at frame 0 but keeps the place and the frame time.
    sprite.start();
    sprite.setXY(12.5f, -3.0f);
    sprite.draw();
    sprite.init(&one.base, target);
    EXPECT_EQ(sprite.animating, 1);
    EXPECT_EQ(sprite.frame, 0);
    EXPECT_EQ(sprite.lastTick, 0);
    EXPECT_FLOAT_EQ(sprite.getX(), 12.5f);
    EXPECT_FLOAT_EQ(sprite.getY(), -3.0f);
    EXPECT_FLOAT_EQ(sprite.speed, 10.0f);
}

TEST_F(Graphics, SpritePositionIsTruncatedTowardZero)
{
    TestSheet sheet(1, 4, 4, makeColumnPicture(4, 4));
    Sprite sprite;
    sprite.init(&sheet.base, target);
    struct Case {
        float x, y;
        int px, py, column;  // the picture's column shown at (px, py)
    } cases[] = {{-0.5f, 0.7f, 0, 0, 0},
                 {-1.5f, 0.7f, 0, 0, 1},
                 {-2.9f, 0.7f, 0, 0, 2},
                 {2.9f, 5.9f, 2, 5, 0},
                 {2.9f, 5.9f, 1, 5, -1}};
    for (const Case& c : cases) {
        fillRect(target, nullptr, BACKDROP);
        sprite.setXY(c.x, c.y);
        sprite.draw();
        EXPECT_EQ(at(c.px, c.py), c.column < 0 ? BACKDROP : columnColour(c.column)) << "x " << c.x;
    }
}

}  // namespace
