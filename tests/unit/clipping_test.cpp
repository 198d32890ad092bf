// The toolkit's drawing is safe and exact for any picture at any place: drawImg, a sprite's
// frame and the lines of writeLines each leave exactly the pixels of SDL's own clipped blit,
// for pictures smaller than, as large as and larger than their target, at every class of
// position against the target's edges and its clip rectangle's, and never write outside the
// target. sweepPlaces below is the one sweep: a new drawing routine or clip joins it there.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>
#include <vector>

#include "test_support.h"

namespace {

// Any byte value will do for the fill, as long as no test picture has a pixel of it.
const int FILL_BYTE = 0x3c;
// Wider than any overhang below: a write past an edge lands in this band, not elsewhere.
const int GUARD = 128;

// A target whose pixels lie in the middle of a larger buffer. A write past any edge lands in
// the guard band around it, where the test sees it even in a build without a sanitizer.
class GuardedTarget {
public:
    GuardedTarget(int w, int h)
        : width(w), height(h), stride(w + 2 * GUARD),
          buffer(static_cast<size_t>(stride) * (h + 2 * GUARD))
    {
        Uint32* corner = buffer.data() + static_cast<size_t>(GUARD) * stride + GUARD;
        surface =
            SDL_CreateRGBSurfaceFrom(corner, w, h, 32, stride * 4, 0xff0000, 0x00ff00, 0x0000ff, 0);
        memset(buffer.data(), FILL_BYTE, buffer.size() * sizeof(Uint32));
    }
    ~GuardedTarget() { SDL_FreeSurface(surface); }
    GuardedTarget(const GuardedTarget&) = delete;
    GuardedTarget& operator=(const GuardedTarget&) = delete;

    // Fills the target's own pixels again. The guard band is filled once: each case checks
    // that it is intact, and a test stops at the first that is not.
    void clear()
    {
        for (int y = GUARD; y < GUARD + height; ++y)
            memset(const_cast<Uint32*>(row(y)) + GUARD, FILL_BYTE, 4 * static_cast<size_t>(width));
    }

    const Uint32* row(int y) const { return buffer.data() + static_cast<size_t>(y) * stride; }

    // True while nothing outside the target's own pixels has changed.
    bool guardIntact() const
    {
        static const std::vector<Uint8> filled(4 * (1024 + 2 * GUARD) * 4, FILL_BYTE);
        for (int y = 0; y < height + 2 * GUARD; ++y) {
            bool inside = y >= GUARD && y < GUARD + height;
            const Uint8* bytes = reinterpret_cast<const Uint8*>(row(y));
            if (!inside && memcmp(bytes, filled.data(), 4 * stride) != 0)
                return false;
            if (inside && (memcmp(bytes, filled.data(), 4 * GUARD) != 0 ||
                           memcmp(bytes + 4 * (GUARD + width), filled.data(), 4 * GUARD) != 0))
                return false;
        }
        return true;
    }

    // True when the target's own pixels equal another target's of the same size.
    bool samePixels(const GuardedTarget& other) const
    {
        for (int y = GUARD; y < GUARD + height; ++y)
            if (memcmp(row(y) + GUARD, other.row(y) + GUARD, 4 * static_cast<size_t>(width)) != 0)
                return false;
        return true;
    }

    int width, height, stride;
    std::vector<Uint32> buffer;
    SDL_Surface* surface;
};

// A picture whose every pixel tells its place, with a pure green hole to key out.
SDL_Surface* makePicture(int w, int h, bool keyed)
{
    SDL_Surface* s = solidSurface(w, h, 0);
    SDL_LockSurface(s);
    for (int y = 0; y < h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x)
            row[x] = 0x800000u | (static_cast<Uint32>(x % 127) << 8) | static_cast<Uint32>(y % 127);
    }
    SDL_UnlockSurface(s);
    if (keyed) {
        SDL_Rect hole = {static_cast<Sint16>(w / 4), static_cast<Sint16>(h / 4),
                         static_cast<Uint16>((w + 1) / 2), static_cast<Uint16>((h + 1) / 2)};
        fillRect(s, &hole, 0x00ff00);
        SDL_SetColorKey(s, SDL_SRCCOLORKEY, SDL_MapRGB(s->format, 0, 255, 0));
    }
    return s;
}

// Every class of place for a picture of `size` on an axis against the span [lo, hi): wholly
// out by one, touching each end from outside, overhanging one end or both, inside, and flush.
void addPlaces(std::set<int>& places, int size, int lo, int hi)
{
    for (int place :
         {lo - size - 1, lo - size, lo - size + 1, lo - 1, lo, lo + 1, (lo + hi - size) / 2,
          hi - size - 1, hi - size, hi - size + 1, hi - 1, hi, hi + 1})
        places.insert(place);
}

// The clip rectangles a sweep draws through: none, one inset from every edge, one touching only
// the left edge, one touching only the bottom edge, and an empty one.
enum class Clip { None, Inset, LeftEdge, BottomEdge, Empty };
const std::vector<Clip> EVERY_CLIP = {Clip::None, Clip::Inset, Clip::LeftEdge, Clip::BottomEdge,
                                      Clip::Empty};

void setClip(SDL_Surface* s, Clip clip)
{
    Sint16 x = static_cast<Sint16>(s->w / 5), y = static_cast<Sint16>(s->h / 5);
    Uint16 w = static_cast<Uint16>(s->w / 2 + 1), h = static_cast<Uint16>(s->h / 2 + 1);
    SDL_Rect rects[] = {{0, 0, 0, 0},
                        {x, y, w, h},
                        {0, y, w, h},
                        {x, static_cast<Sint16>(s->h - h), w, h},
                        {x, y, 0, 0}};
    SDL_SetClipRect(s, clip == Clip::None ? nullptr : &rects[static_cast<int>(clip)]);
}

const char* clipName(Clip clip)
{
    const char* names[] = {"", " inset clip", " clip on the left edge", " clip on the bottom edge",
                           " empty clip"};
    return names[static_cast<int>(clip)];
}

// Calls `draw` for every place of a picture of the given size on both targets, for each clip
// rectangle given (set on both): the places against the clip rectangle's edges, which without
// a clip rectangle are the target's. Each place starts on cleared targets; after it the guard
// band must be intact and the two targets' pixels the same.
void sweepPlaces(GuardedTarget& mine, GuardedTarget& sdls, int w, int h,
                 const std::vector<Clip>& clips, const std::function<void(int, int)>& draw)
{
    for (Clip clip : clips) {
        setClip(mine.surface, clip);
        setClip(sdls.surface, clip);
        const SDL_Rect& rect = mine.surface->clip_rect;
        std::set<int> across, down;
        addPlaces(across, w, rect.x, rect.x + rect.w);
        addPlaces(down, h, rect.y, rect.y + rect.h);
        for (int y : down) {
            for (int x : across) {
                mine.clear();
                sdls.clear();
                SCOPED_TRACE(testing::Message() << "at " << x << ", " << y << " on " << mine.width
                                                << "x" << mine.height << clipName(clip));
                draw(x, y);
                ASSERT_TRUE(mine.guardIntact());
                ASSERT_TRUE(mine.samePixels(sdls));
            }
        }
    }
    setClip(mine.surface, Clip::None);
    setClip(sdls.surface, Clip::None);
}

Uint32 filledPixel()
{
    Uint32 pixel;
    memset(&pixel, FILL_BYTE, sizeof pixel);
    return pixel;
}

SDL_Rect at(int x, int y)
{
    return {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
}

struct Size {
    int w, h;
};

// drawImg against SDL_UpperBlit of the whole picture at every place, with and without a colour
// key, through each clip rectangle given; the result is 0 only for a picture wholly outside.
void compareDrawImg(Size target, const std::vector<Size>& pictures,
                    const std::vector<Clip>& clips = EVERY_CLIP)
{
    GuardedTarget mine(target.w, target.h);
    GuardedTarget sdls(target.w, target.h);
    for (bool keyed : {false, true}) {
        for (Size p : pictures) {
            SDL_Surface* picture = makePicture(p.w, p.h, keyed);
            SCOPED_TRACE(testing::Message() << p.w << "x" << p.h << (keyed ? " keyed" : ""));
            sweepPlaces(mine, sdls, p.w, p.h, clips, [&](int x, int y) {
                int result = drawImg(picture, mine.surface, x, y);
                SDL_Rect dest = at(x, y);
                SDL_UpperBlit(picture, nullptr, sdls.surface, &dest);
                bool outside = x + p.w < 0 || x > target.w || y + p.h < 0 || y > target.h;
                ASSERT_EQ(result, outside ? 0 : 1);
            });
            SDL_FreeSurface(picture);
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(Clipping, DrawImgLeavesSdlsPixelsForEverySizeAndPlaceOnASmallTarget)
{
    // Smaller than, as large as and larger than 40x20 on each axis, the 1x1 and the 2x2 film.
    std::vector<Size> pictures;
    for (int w : {1, 2, 39, 40, 41, 100})
        for (int h : {1, 2, 19, 20, 21, 50})
            pictures.push_back({w, h});
    compareDrawImg({40, 20}, pictures);
    compareDrawImg({1, 1}, {{1, 1}, {2, 2}, {3, 1}});
}

TEST(Clipping, DrawImgLeavesSdlsPixelsForPicturesAsLargeAsTheScreenAndLarger)
{
    compareDrawImg({1024, 768}, {{1024, 768}, {1100, 800}}, {Clip::None, Clip::Inset});
}

// The case that once wrote 70x40 pixels into a 40x20 target.
TEST(Clipping, APictureOverhangingBothEdgesIsCutOnBothSides)
{
    GuardedTarget target(40, 20);
    SDL_Surface* picture = makePicture(100, 50, false);
    EXPECT_EQ(drawImg(picture, target.surface, -30, -10), 1);
    EXPECT_TRUE(target.guardIntact());
    EXPECT_EQ(target.row(GUARD)[GUARD], surfacePixel(picture, 30, 10));
    EXPECT_EQ(target.row(GUARD + 19)[GUARD + 39], surfacePixel(picture, 69, 29));
    // The same on a surface of SDL's own, where a sanitizer watches the heap round its pixels.
    SDL_Surface* plain = solidSurface(40, 20, 0);
    EXPECT_EQ(drawImg(picture, plain, -30, -10), 1);
    EXPECT_EQ(surfacePixel(plain, 39, 19), surfacePixel(picture, 69, 29));
    SDL_FreeSurface(plain);
    SDL_FreeSurface(picture);
}

TEST(Clipping, DrawImgTakesPlacesAtTheEndsOfTheIntRangeSafely)
{
    GuardedTarget target(40, 20);
    SDL_Surface* picture = makePicture(100, 50, false);
    struct Case {
        int x, y, result;
    } cases[] = {{INT_MAX, 0, 0}, {INT_MIN, 0, 0}, {0, INT_MAX, 0},
                 {0, INT_MIN, 0}, {-70000, 0, 0},  {70000, 5, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(drawImg(picture, target.surface, c.x, c.y), c.result) << c.x << ", " << c.y;
        EXPECT_TRUE(target.guardIntact());
    }
    SDL_FreeSurface(picture);
}

// A sprite draws the part of its sheet that its frame number picks, as SDL's clipped blit of
// that part would, for frames past either end of the sheet and places off every side.
TEST(Clipping, SpriteFramesLeaveSdlsPixelsAtEveryPlaceAndFrameNumber)
{
    // Three frames of 33 in a sheet 100 wide: the last column is in no frame.
    TestSheet sheet(3, 33, 20, makePicture(100, 20, true));
    GuardedTarget mine(40, 20);
    GuardedTarget sdls(40, 20);
    Sprite sprite;
    sprite.init(&sheet.base, mine.surface);
    sprite.animating = 0;
    for (int frame : {-2, -1, 0, 2, 3, 4}) {
        for (float nudge : {0.0f, 0.5f, -0.5f}) {
            SCOPED_TRACE(testing::Message() << "frame " << frame << " nudged " << nudge);
            sweepPlaces(mine, sdls, 33, 20, EVERY_CLIP, [&](int x, int y) {
                sprite.frame = frame;
                sprite.setXY(static_cast<float>(x) + nudge, static_cast<float>(y) - nudge);
                sprite.draw();
                SDL_Rect part = {static_cast<Sint16>(frame * 33), 0, 33, 20};
                SDL_Rect dest = at(static_cast<int>(sprite.x), static_cast<int>(sprite.y));
                SDL_UpperBlit(sheet.base.image, &part, sdls.surface, &dest);
            });
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(Clipping, SpritesFarOutsideAnyTargetDrawNothing)
{
    TestSheet sheet(3, 33, 20, makePicture(100, 20, false));
    GuardedTarget target(40, 20);
    Sprite sprite;
    sprite.init(&sheet.base, target.surface);
    sprite.animating = 0;
    // Places that once wrapped round the 16-bit rectangle onto the screen, places past int's
    // range, a frame number whose column is past int's range, and a place that is not a number.
    struct Case {
        int frame;
        float x, y;
    } cases[] = {
        {0, 65536.0f + 5, 0}, {0, 0, 65536.0f + 5}, {0, -65536.0f + 5, 0},
        {0, 1e10f, 0},        {0, -1e10f, -1e10f},  {0, NAN, 0},
        {1985, 0, 0},         {INT_MAX, 0, 0},      {INT_MIN, 0, 0},
    };
    for (const Case& c : cases) {
        sprite.frame = c.frame;
        sprite.setXY(c.x, c.y);
        EXPECT_EQ(sprite.draw(), 0) << c.frame << " at " << c.x << ", " << c.y;
        EXPECT_TRUE(target.guardIntact());
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(target.row(GUARD + y)[GUARD + x], filledPixel());
    }
}

// Text lines, one wider and taller than its target and a short one of three lines, land exactly
// where SDL's clipped blit of the same renderings puts them.
TEST(Clipping, TextLinesLeaveSdlsPixelsAtEveryPlace)
{
    ASSERT_TRUE(loadedFrom(verdana32, "Data/Fonts/verdana.ttf"));
    const char* wide = "5345234 zedko";
    SDL_Surface* line = TTF_RenderText_Blended(verdana32, wide, White);
    SDL_Surface* eight = TTF_RenderText_Blended(verdana32, "8", White);
    ASSERT_NE(line, nullptr);
    ASSERT_NE(eight, nullptr);
    ASSERT_GT(line->w, 40);
    ASSERT_GT(line->h, 20);
    int skip = TTF_FontLineSkip(verdana32);
    GuardedTarget mine(40, 20);
    GuardedTarget sdls(40, 20);
    sweepPlaces(mine, sdls, line->w, line->h, EVERY_CLIP, [&](int x, int y) {
        writeLines(mine.surface, verdana32, x, y, White, "%s", wide);
        SDL_Rect dest = at(x, y);
        SDL_UpperBlit(line, nullptr, sdls.surface, &dest);
    });
    // Places against each of the three lines' own tops, so every line meets every edge.
    for (int top = 0; top < 3 * skip && !testing::Test::HasFatalFailure(); top += skip) {
        sweepPlaces(mine, sdls, eight->w, eight->h, EVERY_CLIP, [&](int x, int y) {
            writeLines(mine.surface, verdana32, x, y - top, White, "8\n8\n8");
            for (int i = 0; i < 3; ++i) {
                SDL_Rect dest = at(x, y - top + i * skip);
                SDL_UpperBlit(eight, nullptr, sdls.surface, &dest);
            }
        });
    }
    SDL_FreeSurface(eight);
    SDL_FreeSurface(line);
    // Lines whose places lie at the ends of the int range, or step past them, draw nothing.
    mine.clear();
    for (int x : {INT_MIN, INT_MAX})
        for (int y : {INT_MIN, INT_MAX - 10, INT_MAX})
            EXPECT_EQ(writeLines(mine.surface, verdana32, x, y, White, "8\n8\n8"), 1);
    sdls.clear();
    EXPECT_TRUE(mine.guardIntact());
    EXPECT_TRUE(mine.samePixels(sdls));
}

// The pause screen against SDL's own blits of the film at every 2 pixels, then the box: for the
// game's film and for films that take the fast row strips (keyed, within the pitch) or not
// (unkeyed, overlapping, with alpha), on displays smaller and larger than the game's area,
// through every clip rectangle.
TEST(Clipping, PauseScreenLeavesSdlsPixelsForEveryFilmDisplayAndClip)
{
    ASSERT_TRUE(loadedFrom(tummennuskalvo, "Data/Gfx/pause.PNG"));
    ASSERT_TRUE(loadedFrom(paused, "Data/Gfx/pausebox.PNG"));
    SDL_Surface* gameFilm = tummennuskalvo;
    std::vector<SDL_Surface*> films = {gameFilm};
    for (Size f : std::vector<Size>{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {3, 1}, {3, 3}})
        for (bool keyed : {false, true})
            films.push_back(makePicture(f.w, f.h, keyed));
    films.push_back(makePicture(2, 2, true));
    SDL_SetAlpha(films.back(), SDL_SRCALPHA, 128);
    SDL_Surface* saved = screen;
    for (Size display : std::vector<Size>{{1024, 768}, {1025, 769}, {640, 480}, {33, 17}}) {
        GuardedTarget mine(display.w, display.h);
        GuardedTarget sdls(display.w, display.h);
        for (SDL_Surface* film : films) {
            for (Clip clip : EVERY_CLIP) {
                mine.clear();
                sdls.clear();
                setClip(mine.surface, clip);
                setClip(sdls.surface, clip);
                tummennuskalvo = film;
                screen = mine.surface;
                drawPauseScreen();
                screen = saved;
                for (int j = 0; j < screenHeight / 2; ++j) {
                    for (int i = 0; i < screenWidth / 2; ++i) {
                        SDL_Rect dest = at(2 * i, 2 * j);
                        SDL_UpperBlit(film, nullptr, sdls.surface, &dest);
                    }
                }
                SDL_Rect box =
                    at(screenWidth / 2 - paused->w / 2, screenHeight / 2 - paused->h / 2);
                SDL_UpperBlit(paused, nullptr, sdls.surface, &box);
                SCOPED_TRACE(testing::Message() << display.w << "x" << display.h << ", film "
                                                << film->w << "x" << film->h << clipName(clip));
                ASSERT_TRUE(mine.guardIntact());
                ASSERT_TRUE(mine.samePixels(sdls));
            }
        }
    }
    tummennuskalvo = gameFilm;
    for (SDL_Surface* film : films)
        if (film != gameFilm)
            SDL_FreeSurface(film);
}

}  // namespace
