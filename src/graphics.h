// The graphics toolkit: pictures, colours, text, sprite sheets, animated sprites and box contact.
// It knows nothing of the game.
#ifndef QUIMBO_GRAPHICS_H
#define QUIMBO_GRAPHICS_H

#include <SDL.h>
#include <SDL_ttf.h>

// Loads a picture and converts it to the display's pixel format; null when it cannot be opened.
SDL_Surface* loadImg(const char* path);
// Draws the whole picture with its top-left corner at (x, y); 0 when it lies wholly outside.
int drawImg(SDL_Surface* image, SDL_Surface* target, int x, int y);
SDL_Color newColor(int r, int g, int b, int a);
// printf-style text, one rendered line per newline, stepping down by the font's line skip. The
// compiler checks each call's arguments against its format; a text that is not a literal goes
// in as "%s".
int writeLines(SDL_Surface* target, TTF_Font* font, int x, int y, SDL_Color color,
               const char* format, ...) __attribute__((format(printf, 6, 7)));

// A sprite sheet: equally wide frames side by side in one row, with a colour key.
class SpriteBase {
public:
    SDL_Surface* image;
    int loaded;
    int frames;
    int frameW;
    int frameH;

    SpriteBase();
    ~SpriteBase();
    // The sheet owns its picture, so it cannot be copied.
    SpriteBase(const SpriteBase&) = delete;
    SpriteBase& operator=(const SpriteBase&) = delete;

    int init(const char* path, int frames, int r, int g, int b);
};

// One animated instance of a sheet at a float position.
class Sprite {
public:
    int frame;
    float x;
    float y;
    int animating;
    int drawn;
    float speed;  // milliseconds each frame stays on show
    int lastTick;
    SpriteBase* base;
    SDL_Surface* target;

    Sprite();
    ~Sprite();

    int init(SpriteBase* base, SDL_Surface* target);
    int draw();

    bool animationEnd() { return base != nullptr && frame == base->frames - 1; }
    void addX(float d) { x += d; }
    void addY(float d) { y += d; }
    float getX() { return x; }
    float getY() { return y; }
    int getW() { return base != nullptr ? base->frameW : 0; }
    int getH() { return base != nullptr ? base->frameH : 0; }
    void setX(float nx) { x = nx; }
    void setY(float ny) { y = ny; }
    void setXY(float nx, float ny)
    {
        x = nx;
        y = ny;
    }
    void pause() { animating = animating == 0 ? 1 : 0; }
    void start() { animating = 1; }
    void setSpeed(float ms) { speed = ms; }
};

// Closed-interval box contact: boxes that share only an edge or a corner touch.
bool collisionBox(Sprite& a, Sprite& b);
bool collisionBox(SDL_Rect& a, SDL_Rect& b);
bool collisionBox(SDL_Rect& a, Sprite& b);
// Puts a hit box where it lies inside the sprite's frame: the sprite's position truncated to
// whole pixels, plus the offset. The box keeps its size.
inline void placeHitBox(SDL_Rect& box, const SDL_Rect& offset, Sprite& sprite)
{
    box.x = static_cast<Sint16>(static_cast<int>(sprite.getX()) + offset.x);
    box.y = static_cast<Sint16>(static_cast<int>(sprite.getY()) + offset.y);
}

#endif
