// The data files: every file of the asset catalogue loads through the libraries the
// game uses, and keeps the picture, sound and font rules that the code relies on.
// Run from the project root, as the game is: every path is "Data/...".
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "catalogue.h"
#include "world/world.h"

namespace {

// A picture copied into plain 32-bit RGB, so that every check reads pixels the same way.
struct Picture {
    int w = 0;
    int h = 0;
    bool hasAlpha = true;
    std::vector<Uint32> px;  // 0xRRGGBB

    Uint8 r(int x, int y) const { return (px[y * w + x] >> 16) & 0xff; }
    Uint8 g(int x, int y) const { return (px[y * w + x] >> 8) & 0xff; }
    Uint8 b(int x, int y) const { return px[y * w + x] & 0xff; }
    bool key(int x, int y) const { return px[y * w + x] == 0x00ff00; }
    double lum(int x, int y) const { return 0.299 * r(x, y) + 0.587 * g(x, y) + 0.114 * b(x, y); }
};

Picture load(const std::string& file)
{
    Picture p;
    const std::string path = "Data/Gfx/" + file;
    SDL_Surface* s = IMG_Load(path.c_str());
    if (s == nullptr) {
        ADD_FAILURE() << "IMG_Load failed for " << path << ": " << IMG_GetError();
        return p;
    }
    p.w = s->w;
    p.h = s->h;
    p.hasAlpha = s->format->Amask != 0;
    SDL_Surface* rgb =
        SDL_CreateRGBSurface(SDL_SWSURFACE, s->w, s->h, 32, 0xff0000, 0xff00, 0xff, 0);
    SDL_BlitSurface(s, nullptr, rgb, nullptr);
    SDL_LockSurface(rgb);
    p.px.resize(static_cast<size_t>(p.w) * p.h);
    for (int y = 0; y < p.h; ++y) {
        const Uint32* row =
            reinterpret_cast<const Uint32*>(static_cast<Uint8*>(rgb->pixels) + y * rgb->pitch);
        for (int x = 0; x < p.w; ++x)
            p.px[y * p.w + x] = row[x] & 0xffffff;
    }
    SDL_UnlockSurface(rgb);
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(s);
    return p;
}

// The catalogue's rows of one kind; a catalogue that cannot be read fails the test that asks.
std::vector<CatalogueEntry> catalogued(const char* kind)
{
    std::vector<CatalogueEntry> rows = readCatalogue(kind);
    if (rows.empty())
        ADD_FAILURE() << "no " << kind << " in " << QUIMBO_CATALOGUE;
    return rows;
}

std::vector<CatalogueEntry> sheets()
{
    std::vector<CatalogueEntry> rows;
    for (const CatalogueEntry& e : catalogued("picture"))
        if (e.isSheet())
            rows.push_back(e);
    return rows;
}

std::vector<CatalogueEntry> singlePictures()
{
    std::vector<CatalogueEntry> rows;
    for (const CatalogueEntry& e : catalogued("picture"))
        if (!e.isSheet())
            rows.push_back(e);
    return rows;
}

std::set<std::string> namesOf(const std::vector<CatalogueEntry>& rows)
{
    std::set<std::string> names;
    for (const CatalogueEntry& e : rows)
        names.insert(e.name());
    return names;
}

// An art pixel the eye (or a careless converter) could take for the key.
bool nearKey(const Picture& p, int x, int y)
{
    return !p.key(x, y) && p.g(x, y) > 200 && p.r(x, y) < 60 && p.b(x, y) < 60;
}

bool frameHasArt(const Picture& p, int x0, int fw)
{
    for (int y = 0; y < p.h; ++y)
        for (int x = x0; x < x0 + fw; ++x)
            if (!p.key(x, y))
                return true;
    return false;
}

bool framesDiffer(const Picture& p, int a, int b, int fw)
{
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < fw; ++x)
            if (p.px[y * p.w + a * fw + x] != p.px[y * p.w + b * fw + x])
                return true;
    return false;
}

std::set<std::string> filesIn(const char* dir)
{
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

class SdlLibraries : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(TTF_Init(), 0);
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 1, 4096), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        TTF_Quit();
        SDL_Quit();
    }
};
[[maybe_unused]] const auto* const kLibraries =
    ::testing::AddGlobalTestEnvironment(new SdlLibraries);

}  // namespace

TEST(DataFiles, CatalogueNamesArePresentExactlyAsTheGameOpensThem)
{
    EXPECT_EQ(filesIn("Data/Gfx"), namesOf(catalogued("picture")));
    EXPECT_EQ(filesIn("Data/Sound"), namesOf(catalogued("sound")));
    std::set<std::string> fonts = namesOf(catalogued("font"));
    fonts.insert("DejaVu-LICENSE.txt");  // the licence travels with the fonts
    fonts.insert("README.txt");
    EXPECT_EQ(filesIn("Data/Fonts"), fonts);
}

TEST(DataFiles, SheetsSplitIntoWholeFramesOfTheSizeTheCodeUses)
{
    for (const CatalogueEntry& s : sheets()) {
        SCOPED_TRACE(s.file);
        Picture p = load(s.name());
        ASSERT_GT(p.w, 0);
        EXPECT_EQ(p.w % s.frames, 0) << "width " << p.w << " for " << s.frames << " frames";
        EXPECT_EQ(p.w / s.frames, s.width);
        if (s.height > 0) {
            EXPECT_EQ(p.h, s.height);
        }
    }
}

TEST(DataFiles, SheetsAreRgbWithTheExactKeyAndNoArtNearIt)
{
    for (const CatalogueEntry& s : sheets()) {
        SCOPED_TRACE(s.file);
        Picture p = load(s.name());
        EXPECT_FALSE(p.hasAlpha) << "the game drops alpha when it converts to the display format";
        int keys = 0, near = 0;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                keys += p.key(x, y);
                near += nearKey(p, x, y);
            }
        EXPECT_GT(keys, 0) << "a sheet shows the game through its key colour";
        EXPECT_EQ(near, 0) << "art pixels close to pure green";
    }
}

TEST(DataFiles, EveryFrameHasArtAndAnimationsChangeFromFrameToFrame)
{
    for (const CatalogueEntry& s : sheets()) {
        SCOPED_TRACE(s.file);
        Picture p = load(s.name());
        const int fw = p.w / s.frames;
        for (int k = 0; k < s.frames; ++k)
            EXPECT_TRUE(frameHasArt(p, k * fw, fw)) << "frame " << k;
        for (int k = 0; k + 1 < s.frames; ++k)
            EXPECT_TRUE(framesDiffer(p, k, k + 1, fw)) << "frame " << k;
    }
}

TEST(DataFiles, PlainPicturesHaveTheirScreenSizesAndNoAlpha)
{
    for (const CatalogueEntry& d : singlePictures()) {
        SCOPED_TRACE(d.file);
        Picture p = load(d.name());
        EXPECT_FALSE(p.hasAlpha);
        if (d.width > 0) {
            EXPECT_EQ(p.w, d.width);
            EXPECT_EQ(p.h, d.height);
        }
    }
}

// The player's hit box lies at x 26-122, y 36-82 of its 128 x 96 frame: the carpet and
// the body must fill it, and the whole picture must fit the frame.
TEST(DataFiles, PlayerArtFillsItsHitBox)
{
    for (const char* file :
         {"quimbo_normal.PNG", "quimbo_zap.PNG", "quimbo_bubble.PNG", "quimbo_slime.PNG"}) {
        SCOPED_TRACE(file);
        Picture p = load(file);
        const int frames = p.w / 128;
        for (int k = 0; k < frames; ++k) {
            int art = 0;
            for (int y = 36; y <= 82; ++y)
                for (int x = 26; x <= 122; ++x)
                    art += !p.key(k * 128 + x, y);
            EXPECT_GT(art, 97 * 47 * 4 / 10) << "frame " << k;
        }
    }
}

// Birds are hit along the strip y 15-24 over their whole 48-pixel width.
TEST(DataFiles, BirdBodiesLieAlongTheirHitStrip)
{
    for (const char* file : {"birdr_normal.PNG", "birdl_normal.PNG"}) {
        SCOPED_TRACE(file);
        Picture p = load(file);
        for (int k = 0; k < 14; ++k) {
            int columns = 0;
            for (int x = 0; x < 48; ++x) {
                bool art = false;
                for (int y = 15; y <= 24; ++y)
                    art = art || !p.key(k * 48 + x, y);
                columns += art;
            }
            EXPECT_GE(columns, 40) << "frame " << k;
        }
    }
}

// Planes are hit in the box x 6-89, y 10-34: the fuselage runs through it.
TEST(DataFiles, PlaneBodyRunsThroughItsHitBox)
{
    Picture p = load("plane_normal.PNG");
    for (int k = 0; k < 2; ++k)
        for (int x = 10; x <= 86; x += 4)
            EXPECT_FALSE(p.key(k * 96 + x, 22)) << "frame " << k << " x " << x;
}

// Bubbles grow to a full bubble in frame 3, the frame that rises.
TEST(DataFiles, BubbleGrowsToAFullBubbleInItsLastFrame)
{
    Picture p = load("bubble.PNG");
    int previous = 0;
    for (int k = 0; k < 4; ++k) {
        int top = 40;
        for (int y = 0; y < 40 && top == 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (!p.key(k * 40 + x, y))
                    top = y;
        EXPECT_GT(40 - top, previous) << "frame " << k;
        previous = 40 - top;
    }
    EXPECT_GE(previous, 36);
}

// The landscape stands on y 640: every piece reaches its bottom edge, 256 wide and at
// most 160 high; piece 0 reaches up to where its bubbles appear (60, 6).
TEST(DataFiles, SceneryPiecesStandOnTheirBottomEdge)
{
    for (int i = 0; i < 6; ++i) {
        const std::string file = "scenery" + std::to_string(i) + ".PNG";
        SCOPED_TRACE(file);
        Picture p = load(file);
        EXPECT_LE(p.h, 160);
        for (int x = 0; x < p.w; ++x)
            EXPECT_FALSE(p.key(x, p.h - 1)) << "x " << x;
    }
    Picture zero = load("scenery0.PNG");
    bool artNearSource = false;
    for (int y = 6; y < 60; ++y)
        for (int x = 60; x < 100; ++x)
            artNearSource = artNearSource || !zero.key(x, y);
    EXPECT_TRUE(artNearSource) << "the cauldron lies under the bubble source";
}

// The three white 32-point figures are written where the game's HUD places them on the screen,
// HUD_TOP less in the panel; a figure is about 38 px high, the score up to 200 px wide.
TEST(DataFiles, HudLeavesTheFigurePlacesDark)
{
    Picture p = load("hudi.PNG");
    struct Place {
        ScreenPoint at;
        int w;
    } const places[] = {{HEALTH_AT, 120}, {MAGIC_AT, 120}, {SCORE_AT, 200}};
    for (const Place& place : places)
        for (int y = place.at.y - HUD_TOP; y < place.at.y - HUD_TOP + 38; ++y)
            for (int x = place.at.x; x < place.at.x + place.w; ++x)
                ASSERT_LT(p.lum(x, y), 60) << x << "," << y;
}

// The click areas are x 350-698 and y 312-415, 432-535, 552-655: each button's dark
// edge is the first and last row and column of its area, and its face is bright inside.
TEST(DataFiles, MenuButtonsLieExactlyUnderTheClickAreas)
{
    Picture p = load("menu.PNG");
    for (int y0 : {312, 432, 552}) {
        const int y1 = y0 + 103, mid = (y0 + y1) / 2;
        SCOPED_TRACE(y0);
        EXPECT_LT(p.lum(350, mid), 40);
        EXPECT_LT(p.lum(698, mid), 40);
        EXPECT_LT(p.lum(524, y0), 40);
        EXPECT_LT(p.lum(524, y1), 40);
        EXPECT_GT(p.lum(349, mid), p.lum(350, mid) + 20);
        EXPECT_GT(p.lum(699, mid), p.lum(698, mid) + 20);
        EXPECT_GT(p.lum(355, mid), 150);
    }
}

// The ten black rows are written at x 300 and 500, y 160 to about 600.
TEST(DataFiles, HighScoreRowsFallOnLightParchment)
{
    Picture p = load("topten.PNG");
    for (int y = 160; y < 600; ++y)
        for (int x = 300; x < 760; ++x)
            ASSERT_GT(p.lum(x, y), 180) << x << "," << y;
}

// The red 14-point score is written at (234, 43) from the picture's top-left, on a dark plaque
// that lets pure red stand out; the light "Your score:" ends just left of the number.
TEST(DataFiles, GameOverPutsTheScoreOnADarkPlaque)
{
    Picture p = load("gameover.PNG");
    ASSERT_GE(p.w, 234 + 160);
    ASSERT_GE(p.h, 43 + 20);
    for (int y = 43; y < 63; ++y)
        for (int x = 234; x < 234 + 160; ++x)
            ASSERT_LT(p.lum(x, y), 20) << x << "," << y;
    int label = 0;
    for (int y = 43; y < 63; ++y)
        for (int x = 200; x < 232; ++x)
            label += p.lum(x, y) > 150;
    EXPECT_GT(label, 10);
}

// The film is tiled at a 2-pixel pitch over the frozen screen on every paused frame:
// drawn again over its own result it must change nothing, and its key lets the game show.
TEST(DataFiles, PauseFilmIsUnchangedWhenDrawnOverItself)
{
    SDL_Surface* film = IMG_Load("Data/Gfx/pause.PNG");
    ASSERT_NE(film, nullptr);
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 32, 0xff0000, 0xff00, 0xff, 0);
    SDL_Surface* film32 = SDL_ConvertSurface(film, screen->format, SDL_SWSURFACE);
    SDL_SetColorKey(film32, SDL_SRCCOLORKEY, SDL_MapRGB(film32->format, 0, 255, 0));
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 200, 120, 40));
    auto tile = [&] {
        for (int y = 0; y < 8; y += 2)
            for (int x = 0; x < 8; x += 2) {
                SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
                SDL_BlitSurface(film32, nullptr, screen, &at);
            }
        const Uint32* px = static_cast<const Uint32*>(screen->pixels);
        return std::vector<Uint32>(px, px + 64);
    };
    const std::vector<Uint32> once = tile();
    EXPECT_EQ(tile(), once);
    int shown = 0;
    for (Uint32 v : once)
        shown += (v & 0xffffff) == 0xc87828;
    EXPECT_EQ(shown, 32) << "half of the pixels let the game through";
    SDL_FreeSurface(film32);
    SDL_FreeSurface(screen);
    SDL_FreeSurface(film);
}

TEST(DataFiles, CursorHotSpotIsItsTopLeftPixel)
{
    Picture p = load("cursor.PNG");
    EXPECT_FALSE(p.key(0, 0));
    EXPECT_TRUE(p.key(p.w - 1, 0));
}

namespace {
struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

// Reads a plain RIFF WAV: the header fields and the 16-bit samples.
Wav readWav(const std::string& path)
{
    Wav w;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    auto u32 = [&](size_t i) {
        return d[i] | d[i + 1] << 8 | d[i + 2] << 16 | static_cast<uint32_t>(d[i + 3]) << 24;
    };
    auto u16 = [&](size_t i) { return d[i] | d[i + 1] << 8; };
    if (d.size() < 44 || std::string(d.begin(), d.begin() + 4) != "RIFF" ||
        std::string(d.begin() + 8, d.begin() + 12) != "WAVE")
        return w;
    for (size_t i = 12; i + 8 <= d.size();) {
        const std::string id(d.begin() + i, d.begin() + i + 4);
        const uint32_t size = u32(i + 4);
        if (id == "fmt ") {
            w.format = u16(i + 8);
            w.channels = u16(i + 10);
            w.rate = static_cast<int>(u32(i + 12));
            w.bits = u16(i + 22);
        } else if (id == "data") {
            for (size_t k = i + 8; k + 1 < i + 8 + size && k + 1 < d.size(); k += 2)
                w.samples.push_back(static_cast<int16_t>(u16(k)));
        }
        i += 8 + size + (size & 1);
    }
    return w;
}
}  // namespace

TEST(DataFiles, SoundsAre22050HzMono16BitShortCleanAndBelowClipping)
{
    for (const CatalogueEntry& sound : catalogued("sound")) {
        const std::string path = sound.path();
        SCOPED_TRACE(path);
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const double seconds =
            chunk->alen / 2.0 / 22050.0;  // the mixer's own format: no conversion
        EXPECT_GE(seconds, 0.1);
        // Every sound is a short one-shot but the blast, which loops for as long as it lasts.
        EXPECT_LE(seconds, path == "Data/Sound/boost.wav" ? 8.0 : 1.5);
        Mix_FreeChunk(chunk);

        const Wav w = readWav(path);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, 22050);
        EXPECT_EQ(w.bits, 16);
        ASSERT_FALSE(w.samples.empty());
        double sum = 0, peak = 0;
        for (int16_t s : w.samples) {
            sum += s;
            peak = std::max(peak, std::fabs(static_cast<double>(s)));
        }
        EXPECT_LT(peak, 32767 * 0.708) << "peak above -3 dBFS";
        EXPECT_GT(peak, 32767 * 0.25) << "too quiet";
        EXPECT_LT(std::fabs(sum / w.samples.size()), 32767 * 0.005) << "DC offset";
    }
}

// The blast sound loops while the blast lasts: the step from its last sample back to
// its first must be no larger than the steps inside it.
TEST(DataFiles, BlastSoundLoopsWithoutAClick)
{
    const Wav w = readWav("Data/Sound/boost.wav");
    ASSERT_GT(w.samples.size(), 2u);
    double largest = 0;
    for (size_t i = 1; i < w.samples.size(); ++i)
        largest =
            std::max(largest, std::fabs(static_cast<double>(w.samples[i]) - w.samples[i - 1]));
    EXPECT_LE(std::fabs(static_cast<double>(w.samples.front()) - w.samples.back()), largest * 0.5);
}

TEST(DataFiles, FontsOpenAt14And32PointsAndFitTheHudPlaces)
{
    for (const CatalogueEntry& font : catalogued("font")) {
        const std::string path = font.path();
        SCOPED_TRACE(path);
        for (int size : {14, 32}) {
            TTF_Font* font = TTF_OpenFont(path.c_str(), size);
            ASSERT_NE(font, nullptr) << TTF_GetError();
            int w = 0, h = 0;
            EXPECT_EQ(TTF_SizeText(font, "100 %", &w, &h), 0);
            if (size == 32) {
                EXPECT_LE(h, 40);  // the HUD's dark places are 38 px high plus margin
                EXPECT_LE(w, 130);
            }
            TTF_CloseFont(font);
        }
    }
}
