#include "graphics.h"

#include <SDL_image.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

// The PNG decoder writes its own diagnosis of a damaged file to standard error; the game's
// one line about the picture says it all, so the decoder's line goes nowhere. Standard error
// points at the null device opened for reading meanwhile, so that nothing is opened for writing.
#ifdef _WIN32
static const char* const nullDevice = "NUL";
#else
static const char* const nullDevice = "/dev/null";
#endif

static SDL_Surface* decodeQuietly(const char* path)
{
    fflush(stderr);
    int savedErr = dup(2);
    int sink = open(nullDevice, O_RDONLY);
    if (savedErr >= 0 && sink >= 0)
        dup2(sink, 2);
    SDL_Surface* loaded = IMG_Load(path);
    if (savedErr >= 0) {
        dup2(savedErr, 2);
        close(savedErr);
    }
    if (sink >= 0)
        close(sink);
    clearerr(stderr);
    return loaded;
}

SDL_Surface* loadImg(const char* path)
{
    SDL_Surface* loaded = decodeQuietly(path);
    if (loaded == nullptr) {
        fprintf(stderr, "ERROR opening image %s\n", path);
        return nullptr;
    }
    printf("Image %s loaded successfully!\n", path);
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    SDL_FreeSurface(loaded);
    return converted;
}

// One axis of a blit, clipped the way SDL clips: first to the part of the picture asked for,
// then to the target's clip rectangle. Sums run in 64 bits, so no position or size overflows.
struct BlitSpan {
    int dest;
    int src;
    int size;
};

static BlitSpan clipSpan(int pos, int srcPos, int size, int pictureSize, int clipPos, int clipSize)
{
    long long dest = pos;
    long long src = srcPos;
    long long length = size;
    if (src < 0) {
        length += src;
        dest -= src;
        src = 0;
    }
    length = std::min(length, pictureSize - src);
    if (dest < clipPos) {
        length -= clipPos - dest;
        src += clipPos - dest;
        dest = clipPos;
    }
    length = std::min(length, static_cast<long long>(clipPos) + clipSize - dest);
    if (length <= 0)
        return {0, 0, 0};
    return {static_cast<int>(dest), static_cast<int>(src), static_cast<int>(length)};
}

static bool fitsRect(const BlitSpan& span)
{
    return span.dest <= SHRT_MAX && span.src <= SHRT_MAX && span.size <= USHRT_MAX;
}

// Blits the part (sx, sy, w, h) of the picture with its corner at (x, y), clipped to the
// target's clip rectangle here rather than inside SDL. SDL_LowerBlit then copies exactly the
// rectangles it is given, all of them inside both surfaces, so nothing is clipped twice (a
// third of the cost of each of the pause film's tiles) and nothing is written past the target.
// The result is SDL_UpperBlit's: 0 when drawn or when nothing is left to draw.
static int blitClipped(SDL_Surface* image, int sx, int sy, int w, int h, SDL_Surface* target, int x,
                       int y)
{
    // SDL_UpperBlit turns such surfaces away; the lower blit would not.
    if (image->pixels == nullptr || target->pixels == nullptr)
        return -1;
    const SDL_Rect& clip = target->clip_rect;
    BlitSpan across = clipSpan(x, sx, w, image->w, clip.x, clip.w);
    BlitSpan down = clipSpan(y, sy, h, image->h, clip.y, clip.h);
    // SDL 1.2's rectangles hold 16 bits: a part that lies beyond them on a picture or a target
    // over 32767 pixels could not be drawn by SDL's own blit either.
    if (across.size == 0 || down.size == 0 || !fitsRect(across) || !fitsRect(down))
        return 0;
    SDL_Rect src = {static_cast<Sint16>(across.src), static_cast<Sint16>(down.src),
                    static_cast<Uint16>(across.size), static_cast<Uint16>(down.size)};
    SDL_Rect dest = {static_cast<Sint16>(across.dest), static_cast<Sint16>(down.dest),
                     static_cast<Uint16>(across.size), static_cast<Uint16>(down.size)};
    return SDL_LowerBlit(image, &src, target, &dest);
}

int drawImg(SDL_Surface* image, SDL_Surface* target, int x, int y)
{
    // A picture that failed to load, or no display, draws nothing.
    if (image == nullptr || target == nullptr)
        return 0;
    // Only a picture wholly outside is turned away; one that just touches a border is passed
    // on, with nothing left to draw.
    long long right = static_cast<long long>(x) + image->w;
    long long bottom = static_cast<long long>(y) + image->h;
    if (right < 0 || x > target->w || bottom < 0 || y > target->h)
        return 0;
    // Most pictures lie wholly inside the clip rectangle (all but the last row and column of
    // the pause film's 196,608 tiles a frame): they go to the blit as they are, uncut.
    const SDL_Rect& clip = target->clip_rect;
    long long clipRight = std::min(clip.x + clip.w, static_cast<int>(SHRT_MAX));
    long long clipBottom = std::min(clip.y + clip.h, static_cast<int>(SHRT_MAX));
    if (x >= clip.x && y >= clip.y && right <= clipRight && bottom <= clipBottom &&
        image->pixels != nullptr && target->pixels != nullptr) {
        SDL_Rect src = {0, 0, static_cast<Uint16>(image->w), static_cast<Uint16>(image->h)};
        SDL_Rect dest = {static_cast<Sint16>(x), static_cast<Sint16>(y), src.w, src.h};
        SDL_LowerBlit(image, &src, target, &dest);
        return 1;
    }
    blitClipped(image, 0, 0, image->w, image->h, target, x, y);
    return 1;
}

SDL_Color newColor(int r, int g, int b, int a)
{
    SDL_Color color;
    color.r = static_cast<Uint8>(r & 0xff);
    color.g = static_cast<Uint8>(g & 0xff);
    color.b = static_cast<Uint8>(b & 0xff);
    color.unused = static_cast<Uint8>(a & 0xff);
    return color;
}

int writeLines(SDL_Surface* target, TTF_Font* font, int x, int y, SDL_Color color,
               const char* format, ...)
{
    if (format == nullptr || format[0] == '\0' || font == nullptr || target == nullptr)
        return 0;

    va_list args;
    va_start(args, format);
    va_list sizing;
    va_copy(sizing, args);
    int length = vsnprintf(nullptr, 0, format, sizing);
    va_end(sizing);
    if (length < 0) {
        va_end(args);
        return 0;
    }
    std::vector<char> text(static_cast<size_t>(length) + 1);
    vsnprintf(text.data(), text.size(), format, args);
    va_end(args);

    int lineSkip = TTF_FontLineSkip(font);
    // Each line is cut out in place: the newline becomes the end of that line's string.
    char* line = text.data();
    for (int i = 0; line != nullptr; ++i) {
        char* newline = strchr(line, '\n');
        if (newline != nullptr)
            *newline = '\0';
        SDL_Surface* rendered =
            line[0] != '\0' ? TTF_RenderText_Blended(font, line, color) : nullptr;
        if (rendered != nullptr) {
            // A line pushed past the range of a position is far below any target.
            long long lineY = static_cast<long long>(y) + static_cast<long long>(i) * lineSkip;
            if (lineY <= INT_MAX)
                blitClipped(rendered, 0, 0, rendered->w, rendered->h, target, x,
                            static_cast<int>(lineY));
            SDL_FreeSurface(rendered);
        }
        line = newline != nullptr ? newline + 1 : nullptr;
    }
    return 1;
}

SpriteBase::SpriteBase() : image(nullptr), loaded(0), frames(0), frameW(0), frameH(0)
{
}

SpriteBase::~SpriteBase()
{
    if (image != nullptr)
        SDL_FreeSurface(image);
    image = nullptr;
}

int SpriteBase::init(const char* path, int frameCount, int r, int g, int b)
{
    image = loadImg(path);
    frames = frameCount;
    loaded = 1;
    // A picture that failed to load leaves a sheet of frame size 0 that draws nothing.
    if (image == nullptr) {
        frameW = 0;
        frameH = 0;
        return 1;
    }
    Uint32 key = SDL_MapRGB(image->format, static_cast<Uint8>(r & 0xff),
                            static_cast<Uint8>(g & 0xff), static_cast<Uint8>(b & 0xff));
    SDL_SetColorKey(image, SDL_SRCCOLORKEY, key);
    frameW = image->w / frames;
    frameH = image->h;
    return 1;
}

// A sprite's place on its target: truncated toward zero like any float-to-int conversion. A
// place beyond int's range, or not a number, lies far outside every target.
static int pixelPosition(float v)
{
    if (v >= -2147483648.0f && v < 2147483648.0f)
        return static_cast<int>(v);
    return v > 0 ? INT_MAX : INT_MIN;
}

Sprite::Sprite()
    : frame(0), x(0.0f), y(0.0f), animating(0), drawn(0), speed(0.0f), lastTick(0), base(nullptr),
      target(nullptr)
{
}

Sprite::~Sprite()
{
    target = nullptr;
    base = nullptr;
}

int Sprite::init(SpriteBase* sheet, SDL_Surface* surface)
{
    base = sheet;
    if (sheet != nullptr && sheet->loaded != 0 && sheet->frames > 1)
        animating = 1;
    target = surface;
    lastTick = 0;
    frame = 0;
    return 1;
}

int Sprite::draw()
{
    if (base == nullptr)
        return -1;
    if (animating != 0) {
        // Elapsed ticks in unsigned 32-bit arithmetic stay exact however long the game runs.
        Uint32 elapsed = SDL_GetTicks() - static_cast<Uint32>(lastTick);
        if (static_cast<double>(elapsed) > speed) {
            ++frame;
            if (frame > base->frames - 1)
                frame = 0;
            lastTick = static_cast<int>(SDL_GetTicks());
        }
    }
    drawn = 1;
    if (base->image == nullptr || target == nullptr)
        return -1;
    // A frame number past the sheet's end (the field is public) shows what is left of the
    // sheet there, as SDL's own clipping of the source would: nothing, or its last columns.
    long long column = static_cast<long long>(frame) * base->frameW;
    if (column < INT_MIN || column > INT_MAX)
        return 0;
    return blitClipped(base->image, static_cast<int>(column), 0, base->frameW, base->frameH, target,
                       pixelPosition(x), pixelPosition(y));
}

bool collisionBox(Sprite& a, Sprite& b)
{
    float aLeft = a.getX(), aTop = a.getY();
    float aRight = aLeft + a.getW(), aBottom = aTop + a.getH();
    float bLeft = b.getX(), bTop = b.getY();
    float bRight = bLeft + b.getW(), bBottom = bTop + b.getH();
    return !(bLeft > aRight || aLeft > bRight || bTop > aBottom || aTop > bBottom);
}

bool collisionBox(SDL_Rect& a, SDL_Rect& b)
{
    // The 16-bit fields are widened before the sums.
    int aRight = static_cast<int>(a.x) + static_cast<int>(a.w);
    int aBottom = static_cast<int>(a.y) + static_cast<int>(a.h);
    int bRight = static_cast<int>(b.x) + static_cast<int>(b.w);
    int bBottom = static_cast<int>(b.y) + static_cast<int>(b.h);
    return !(b.x > aRight || a.x > bRight || b.y > aBottom || a.y > bBottom);
}

bool collisionBox(SDL_Rect& a, Sprite& b)
{
    float aLeft = static_cast<float>(a.x), aTop = static_cast<float>(a.y);
    float aRight = static_cast<float>(static_cast<int>(a.x) + static_cast<int>(a.w));
    float aBottom = static_cast<float>(static_cast<int>(a.y) + static_cast<int>(a.h));
    float bLeft = b.getX(), bTop = b.getY();
    float bRight = bLeft + b.getW(), bBottom = bTop + b.getH();
    return !(bLeft > aRight || aLeft > bRight || bTop > aBottom || aTop > bBottom);
}
