#include "graphics.h"

#include <SDL_image.h>

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

// Source span and destination start of one axis, clipped against the target's extent.
static void clipAxis(int pos, int size, int targetSize, Sint16& dest, Sint16& srcPos,
                     Uint16& srcSize)
{
    if (pos >= 0) {
        dest = pos;
        srcPos = 0;
        int overhang = pos + size - targetSize;
        srcSize = overhang > 0 ? size - overhang : size;
    } else {
        dest = 0;
        srcPos = -pos;
        srcSize = pos + size;
    }
}

int drawImg(SDL_Surface* image, SDL_Surface* target, int x, int y)
{
    // A picture that failed to load, or no display, draws nothing.
    if (image == nullptr || target == nullptr)
        return 0;
    if (x + image->w < 0 || x > target->w || y + image->h < 0 || y > target->h)
        return 0;
    SDL_Rect src;
    SDL_Rect dest;
    dest.w = 0;
    dest.h = 0;
    clipAxis(x, image->w, target->w, dest.x, src.x, src.w);
    clipAxis(y, image->h, target->h, dest.y, src.y, src.h);
    // The rectangles are clipped to the target already: SDL's own clipping in SDL_UpperBlit
    // would do that work a second time (a third of the cost of each of the pause film's tiles).
    // Only a target whose clip rectangle leaves out part of it still needs SDL to clip.
    const SDL_Rect& clip = target->clip_rect;
    bool wholeTarget = clip.x == 0 && clip.y == 0 && clip.w == target->w && clip.h == target->h;
    if (!wholeTarget) {
        SDL_UpperBlit(image, &src, target, &dest);
    } else if (src.w > 0 && src.h > 0) {
        // The lower blit copies into exactly the destination's width and height.
        dest.w = src.w;
        dest.h = src.h;
        SDL_LowerBlit(image, &src, target, &dest);
    }
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
            SDL_Rect dest;
            dest.x = static_cast<Sint16>(x);
            dest.y = static_cast<Sint16>(y + i * lineSkip);
            dest.w = 0;
            dest.h = 0;
            SDL_UpperBlit(rendered, nullptr, target, &dest);
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
    SDL_Rect src;
    src.x = static_cast<Sint16>(frame * base->frameW);
    src.y = 0;
    src.w = static_cast<Uint16>(base->frameW);
    src.h = static_cast<Uint16>(base->frameH);
    SDL_Rect dest;
    dest.x = static_cast<Sint16>(static_cast<int>(x));
    dest.y = static_cast<Sint16>(static_cast<int>(y));
    dest.w = 0;
    dest.h = 0;
    return SDL_UpperBlit(base->image, &src, target, &dest);
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
