// The graphics toolkit: clipping, colours, text lines, picture loading, sheets and sprite animation.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "test_support.h"

// The wall clock under the tests' control. While a reading is set, SDL_GetTicks returns it to the
// game's code; otherwise it passes through to SDL. The frame-loop tests use it too.
static std::atomic<bool> ticksFaked{false};
static std::atomic<Uint32> fakeTicks{0};

extern "C" Uint32 SDL_GetTicks(void)
{
    if (ticksFaked)
        return fakeTicks;
    using TicksFn = Uint32 (*)(void);
    static TicksFn real = reinterpret_cast<TicksFn>(dlsym(RTLD_NEXT, "SDL_GetTicks"));
    return real();
}

void setWallClock(Uint32 ms)
{
    fakeTicks = ms;
    ticksFaked = true;
}

void releaseWallClock() { ticksFaked = false; }

namespace {

SDL_Surface* makeSurface(int w, int h)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
}

Uint32 rgbAt(SDL_Surface* s, int x, int y)
{
    Uint32 value = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch)[x];
    Uint8 r, g, b;
    SDL_GetRGB(value, s->format, &r, &g, &b);
    return (static_cast<Uint32>(r) << 16) | (static_cast<Uint32>(g) << 8) | b;
}

void fill(SDL_Surface* s, Uint32 rgb)
{
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 0xff, rgb & 0xff));
}

void setColumn(SDL_Surface* s, int x, Uint32 rgb)
{
    SDL_Rect column = {static_cast<Sint16>(x), 0, 1, static_cast<Uint16>(s->h)};
    SDL_FillRect(s, &column, SDL_MapRGB(s->format, rgb >> 16, (rgb >> 8) & 0xff, rgb & 0xff));
}

bool sameSurface(SDL_Surface* a, SDL_Surface* b)
{
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x)
            if (rgbAt(a, x, y) != rgbAt(b, x, y))
                return false;
    return true;
}

const Uint32 BACKDROP = 0x102030;
const Uint32 KEY_GREEN = 0x00ff00;

// Column c of a test picture has the colour (c + 1, 7, 9), so a drawn pixel tells its column.
Uint32 columnColour(int c) { return (static_cast<Uint32>(c + 1) << 16) | 0x0709; }

SDL_Surface* makeColumnPicture(int w, int h)
{
    SDL_Surface* s = makeSurface(w, h);
    for (int c = 0; c < w; ++c)
        setColumn(s, c, columnColour(c));
    return s;
}

// A sheet written to a file and loaded as the game loads its own.
std::string savePicture(SDL_Surface* s, const char* tag)
{
    std::string path = "/tmp/quimbo-graphics-" + std::to_string(getpid()) + "-" + tag + ".bmp";
    SDL_SaveBMP(s, path.c_str());
    return path;
}

class Graphics : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gameStarted());
        target = makeSurface(1024, 768);
        fill(target, BACKDROP);
    }
    void TearDown() override
    {
        releaseWallClock();
        SDL_FreeSurface(target);
    }
    SDL_Surface* target = nullptr;
};

TEST_F(Graphics, DrawImgRejectsOnlyPicturesWhollyOutsideTheTarget)
{
    SDL_Surface* picture = makeColumnPicture(100, 50);
    struct Case {
        int x, y, result;
    } cases[] = {
        {-100, 0, 1}, {-101, 0, 0}, {1024, 0, 1}, {1025, 0, 0},
        {0, -50, 1},  {0, -51, 0},  {0, 768, 1},  {0, 769, 0},
    };
    for (const Case& c : cases) {
        fill(target, BACKDROP);
        EXPECT_EQ(drawImg(picture, target, c.x, c.y), c.result) << "at " << c.x << ", " << c.y;
        // A picture only touching a border has nothing left to draw.
        EXPECT_EQ(rgbAt(target, 0, 0), BACKDROP);
        EXPECT_EQ(rgbAt(target, 1023, 767), BACKDROP);
    }
    SDL_FreeSurface(picture);
}

TEST_F(Graphics, DrawImgClipsThePartOverTheLeftAndRightBorders)
{
    SDL_Surface* picture = makeColumnPicture(100, 50);
    // At x -30 the columns 30 to 99 land on 0 to 69.
    EXPECT_EQ(drawImg(picture, target, -30, 10), 1);
    EXPECT_EQ(rgbAt(target, 0, 10), columnColour(30));
    EXPECT_EQ(rgbAt(target, 69, 59), columnColour(99));
    EXPECT_EQ(rgbAt(target, 70, 10), BACKDROP);
    EXPECT_EQ(rgbAt(target, 0, 60), BACKDROP);

    // At x 1000 only the first 24 columns fit.
    fill(target, BACKDROP);
    EXPECT_EQ(drawImg(picture, target, 1000, -20), 1);
    EXPECT_EQ(rgbAt(target, 999, 0), BACKDROP);
    EXPECT_EQ(rgbAt(target, 1000, 0), columnColour(0));
    EXPECT_EQ(rgbAt(target, 1023, 29), columnColour(23));
    EXPECT_EQ(rgbAt(target, 1023, 30), BACKDROP);
    SDL_FreeSurface(picture);
}

TEST_F(Graphics, DrawImgOfAMissingPictureDrawsNothing)
{
    EXPECT_EQ(drawImg(nullptr, target, 10, 10), 0);
    EXPECT_EQ(rgbAt(target, 10, 10), BACKDROP);
}

TEST(Colours, NewColorKeepsTheLow8BitsOfEachComponent)
{
    SDL_Color c = newColor(256 + 10, -1, 511, 0x1234);
    EXPECT_EQ(c.r, 10);
    EXPECT_EQ(c.g, 255);
    EXPECT_EQ(c.b, 255);
    EXPECT_EQ(c.unused, 0x34);

    struct Named {
        SDL_Color colour;
        int r, g, b;
    } named[] = {{Red, 255, 0, 0}, {Green, 0, 255, 0}, {Blue, 0, 0, 255}, {Black, 0, 0, 0},
                 {White, 255, 255, 255}};
    for (const Named& n : named) {
        EXPECT_EQ(n.colour.r, n.r);
        EXPECT_EQ(n.colour.g, n.g);
        EXPECT_EQ(n.colour.b, n.b);
        EXPECT_EQ(n.colour.unused, 0);
    }
}

TEST_F(Graphics, WriteLinesWithAnEmptyFormatOrNoFontDrawsNothingAndReturnsZero)
{
    SDL_Surface* before = makeSurface(1024, 768);
    fill(before, BACKDROP);
    TTF_Font* font = verdana32 != nullptr ? verdana32 : verdana;
    EXPECT_EQ(writeLines(target, font, 10, 10, White, "", 5345234), 0);
    EXPECT_EQ(writeLines(target, font, 10, 10, White, nullptr), 0);
    EXPECT_EQ(writeLines(target, nullptr, 10, 10, White, "%d", 7), 0);
    EXPECT_TRUE(sameSurface(target, before));
    SDL_FreeSurface(before);
}

// The band of `rows` rows from `top` of a one-line text reappears `shift` rows lower.
static bool textShifted(SDL_Surface* single, SDL_Surface* multi, int top, int rows, int shift)
{
    for (int y = top; y < top + rows; ++y)
        for (int x = 0; x < 300; ++x)
            if (rgbAt(multi, x, y + shift) != rgbAt(single, x, y))
                return false;
    return true;
}

TEST_F(Graphics, WriteLinesStepsEachLineDownByTheFontsLineSkip)
{
    if (verdana32 == nullptr)
        GTEST_SKIP() << "Data/Fonts/verdana.ttf is not there yet";
    int skip = TTF_FontLineSkip(verdana32);
    SDL_Surface* single = makeSurface(1024, 768);
    fill(single, BACKDROP);
    writeLines(single, verdana32, 10, 20, White, "8");

    // Lines keep their places whatever lies before them: an empty line still takes its step,
    // and a closing newline adds only an empty line.
    struct Case {
        const char* text;
        int line;  // where the second "8" stands, in line steps
    } cases[] = {{"8\n8", 1}, {"8\n\n8", 2}, {"8\n\n\n8\n", 3}};
    for (const Case& c : cases) {
        fill(target, BACKDROP);
        writeLines(target, verdana32, 10, 20, White, c.text);
        EXPECT_TRUE(textShifted(single, target, 20, skip, 0)) << c.text;
        EXPECT_TRUE(textShifted(single, target, 20, skip, c.line * skip)) << c.text;
    }
    // The first line stands where a one-line text stands.
    fill(target, BACKDROP);
    writeLines(target, verdana32, 10, 20, White, "8\n");
    EXPECT_TRUE(sameSurface(target, single));
    SDL_FreeSurface(single);
}

TEST_F(Graphics, WriteLinesExpandsTheFormatWholeBeforeDrawing)
{
    if (verdana32 == nullptr)
        GTEST_SKIP() << "Data/Fonts/verdana.ttf is not there yet";
    SDL_Surface* literal = makeSurface(1024, 768);
    fill(literal, BACKDROP);
    writeLines(literal, verdana32, 5, 5, White, "5345234 %%");
    EXPECT_EQ(writeLines(target, verdana32, 5, 5, White, "%d %%", 5345234), 1);
    EXPECT_TRUE(sameSurface(target, literal));
    SDL_FreeSurface(literal);
}

TEST_F(Graphics, LoadImgReportsAMissingFileOnStandardErrorOnly)
{
    testing::internal::CaptureStderr();
    StdoutCapture out;
    SDL_Surface* none = loadImg("Data/Gfx/no_such_picture.PNG");
    std::string printed = out.text();
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(errors, "ERROR opening image Data/Gfx/no_such_picture.PNG\n");
    EXPECT_EQ(printed, "");
}

TEST_F(Graphics, LoadImgAnnouncesThePictureAndConvertsItToTheDisplayFormat)
{
    SDL_Surface* picture = SDL_CreateRGBSurface(SDL_SWSURFACE, 6, 4, 24, 0xff, 0xff00, 0xff0000, 0);
    std::string path = savePicture(picture, "load");
    SDL_FreeSurface(picture);

    testing::internal::CaptureStderr();
    StdoutCapture out;
    SDL_Surface* loaded = loadImg(path.c_str());
    std::string printed = out.text();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(printed, "Image " + path + " loaded successfully!\n");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->format->BitsPerPixel, screen->format->BitsPerPixel);
    EXPECT_EQ(loaded->format->Rmask, screen->format->Rmask);
    EXPECT_EQ(loaded->format->Bmask, screen->format->Bmask);
    // The colour key belongs to the sheets, not to plain pictures.
    EXPECT_EQ(loaded->flags & SDL_SRCCOLORKEY, 0u);
    SDL_FreeSurface(loaded);
    unlink(path.c_str());
}

TEST_F(Graphics, SheetSplitsByIntegerDivisionAndKeysOutPureGreen)
{
    SDL_Surface* picture = makeColumnPicture(100, 20);
    setColumn(picture, 67, KEY_GREEN);
    std::string path = savePicture(picture, "sheet");
    SDL_FreeSurface(picture);

    SpriteBase sheet;
    EXPECT_EQ(sheet.loaded, 0);
    StdoutCapture quiet;
    EXPECT_EQ(sheet.init(path.c_str(), 3, 0, 255, 0), 1);
    unlink(path.c_str());
    EXPECT_EQ(sheet.loaded, 1);
    EXPECT_EQ(sheet.frames, 3);
    EXPECT_EQ(sheet.frameW, 33);
    EXPECT_EQ(sheet.frameH, 20);

    // Frame 2 is the columns 66 to 98: column 67 is transparent and column 99 never shows.
    Sprite sprite;
    sprite.init(&sheet, target);
    sprite.frame = 2;
    sprite.animating = 0;
    sprite.draw();
    EXPECT_EQ(rgbAt(target, 0, 0), columnColour(66));
    EXPECT_EQ(rgbAt(target, 1, 0), BACKDROP);
    EXPECT_EQ(rgbAt(target, 32, 19), columnColour(98));
    EXPECT_EQ(rgbAt(target, 33, 0), BACKDROP);
    EXPECT_EQ(rgbAt(target, 0, 20), BACKDROP);
}

TEST_F(Graphics, SheetWhosePictureIsMissingDrawsNothingAndHasNoSize)
{
    SpriteBase sheet;
    testing::internal::CaptureStderr();
    EXPECT_EQ(sheet.init("Data/Gfx/no_such_sheet.PNG", 4, 0, 255, 0), 1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(sheet.image, nullptr);
    EXPECT_EQ(sheet.frameW, 0);
    EXPECT_EQ(sheet.frameH, 0);

    Sprite sprite;
    sprite.init(&sheet, target);
    sprite.setXY(10, 10);
    EXPECT_NE(sprite.draw(), 0);
    EXPECT_EQ(sprite.getW(), 0);
    EXPECT_EQ(sprite.getH(), 0);
    EXPECT_EQ(rgbAt(target, 10, 10), BACKDROP);
}

// A sheet with no picture behind it: enough for the animation's bookkeeping.
static void bareSheet(SpriteBase& sheet, int frames)
{
    sheet.loaded = 1;
    sheet.frames = frames;
    sheet.frameW = 10;
    sheet.frameH = 10;
}

TEST_F(Graphics, AnimationStepsAtTheFirstDrawThenOnlyOnceMoreThanTheFrameTimeHasPassed)
{
    SpriteBase sheet;
    bareSheet(sheet, 3);
    Sprite sprite;
    sprite.init(&sheet, target);
    sprite.setSpeed(120);
    EXPECT_EQ(sprite.animating, 1);

    struct Step {
        Uint32 ticks;
        int frame;
        bool end;
    } steps[] = {
        {5000, 1, false},   // the first draw after init steps at once
        {5120, 1, false},   // exactly the frame time: not yet
        {5121, 2, true},    // more than it: the last frame
        {5200, 2, true},
        {60000, 0, false},  // a long pause still steps only once
        {60001, 0, false},
    };
    for (const Step& s : steps) {
        setWallClock(s.ticks);
        sprite.draw();
        EXPECT_EQ(sprite.frame, s.frame) << "at " << s.ticks << " ms";
        EXPECT_EQ(sprite.animationEnd(), s.end) << "at " << s.ticks << " ms";
    }
    EXPECT_EQ(sprite.drawn, 1);
}

TEST_F(Graphics, AnimationTimingStaysExactAcrossTheTickWrapAndLongUptimes)
{
    SpriteBase sheet;
    bareSheet(sheet, 4);
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
        sprite.init(&sheet, target);
        sprite.setSpeed(c.speed);
        sprite.lastTick = static_cast<int>(c.last);
        setWallClock(c.now);
        sprite.draw();
        EXPECT_EQ(sprite.frame, c.frame) << c.last << " to " << c.now << " at " << c.speed;
    }
}

TEST_F(Graphics, PauseTogglesStartResumesAndInitNeverStopsTheAnimation)
{
    SpriteBase six, one;
    bareSheet(six, 6);
    bareSheet(one, 1);
    Sprite sprite;
    sprite.init(&one, target);
    EXPECT_EQ(sprite.animating, 0);
    EXPECT_TRUE(sprite.animationEnd());

    sprite.init(&six, target);
    sprite.setSpeed(10);
    sprite.pause();
    EXPECT_EQ(sprite.animating, 0);
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
    sprite.init(&one, target);
    EXPECT_EQ(sprite.animating, 1);
    EXPECT_EQ(sprite.frame, 0);
    EXPECT_EQ(sprite.lastTick, 0);
    EXPECT_FLOAT_EQ(sprite.getX(), 12.5f);
    EXPECT_FLOAT_EQ(sprite.getY(), -3.0f);
    EXPECT_FLOAT_EQ(sprite.speed, 10.0f);
    sprite.draw();
    EXPECT_EQ(sprite.frame, 0);
}

TEST_F(Graphics, SpritePositionIsTruncatedTowardZero)
{
    SDL_Surface* picture = makeColumnPicture(4, 4);
    std::string path = savePicture(picture, "truncate");
    SDL_FreeSurface(picture);
    SpriteBase sheet;
    StdoutCapture quiet;
    sheet.init(path.c_str(), 1, 0, 255, 0);
    unlink(path.c_str());

    struct Case {
        float x;
        int column;  // the picture's column on the target's column 0
    } cases[] = {{-0.5f, 0}, {-1.5f, 1}, {-2.9f, 2}};
    Sprite sprite;
    sprite.init(&sheet, target);
    for (const Case& c : cases) {
        fill(target, BACKDROP);
        sprite.setXY(c.x, 0.7f);
        sprite.draw();
        EXPECT_EQ(rgbAt(target, 0, 0), columnColour(c.column)) << "x " << c.x;
    }
    fill(target, BACKDROP);
    sprite.setXY(2.9f, 5.9f);
    sprite.draw();
    EXPECT_EQ(rgbAt(target, 1, 5), BACKDROP);
    EXPECT_EQ(rgbAt(target, 2, 5), columnColour(0));
}

}  // namespace
