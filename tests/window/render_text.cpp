// Writes text the way the game does, for the window tests to compare with the screen.
//
// It reads requests on standard input and answers each on standard output, so one process
// serves a whole test run. A request is one line of tab-separated fields
//     font file, point size, red, green, blue, width, height, text
// followed by width * height * 3 bytes of RGB: the picture the text is written on. The answer
// is the same box, in the same form, after the game's own writeLines has written the text at
// its top-left corner with the game's own library calls, so the test compares its screenshot
// with the exact pixels the game would have put there.
#include "game.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The fields of one request line.
struct Request {
    std::string fontFile;
    int size = 0;
    SDL_Color colour = {0, 0, 0, 0};
    int w = 0;
    int h = 0;
    std::string text;
};

static bool parseRequest(const std::string& line, Request& request)
{
    std::vector<std::string> fields;
    size_t start = 0;
    // The text comes last and may hold anything but a line break, tabs included.
    while (fields.size() < 7) {
        size_t tab = line.find('\t', start);
        if (tab == std::string::npos)
            return false;
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    request.fontFile = fields[0];
    request.size = atoi(fields[1].c_str());
    request.colour =
        newColor(atoi(fields[2].c_str()), atoi(fields[3].c_str()), atoi(fields[4].c_str()), 0);
    request.w = atoi(fields[5].c_str());
    request.h = atoi(fields[6].c_str());
    request.text = line.substr(start);
    return request.size > 0 && request.w > 0 && request.h > 0 && request.w <= 4096 &&
           request.h <= 4096;
}

static bool readLine(std::string& line)
{
    line.clear();
    int c;
    while ((c = getchar()) != EOF && c != '\n')
        line.push_back(static_cast<char>(c));
    return c == '\n';
}

// The game's screen is a 32-bit surface without alpha; the text is blended onto the same kind.
static SDL_Surface* boxFromRgb(const std::vector<unsigned char>& rgb, int w, int h)
{
    SDL_Surface* box =
        SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
    if (box == nullptr)
        return nullptr;
    SDL_LockSurface(box);
    for (int y = 0; y < h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(box->pixels) + y * box->pitch);
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            row[x] = (Uint32(p[0]) << 16) | (Uint32(p[1]) << 8) | Uint32(p[2]);
        }
    }
    SDL_UnlockSurface(box);
    return box;
}

static void writeRgb(SDL_Surface* box)
{
    std::vector<unsigned char> rgb(static_cast<size_t>(box->w) * box->h * 3);
    SDL_LockSurface(box);
    for (int y = 0; y < box->h; ++y) {
        const Uint32* row =
            reinterpret_cast<const Uint32*>(static_cast<Uint8*>(box->pixels) + y * box->pitch);
        for (int x = 0; x < box->w; ++x) {
            unsigned char* p = &rgb[(static_cast<size_t>(y) * box->w + x) * 3];
            p[0] = static_cast<unsigned char>(row[x] >> 16);
            p[1] = static_cast<unsigned char>(row[x] >> 8);
            p[2] = static_cast<unsigned char>(row[x]);
        }
    }
    SDL_UnlockSurface(box);
    fwrite(rgb.data(), 1, rgb.size(), stdout);
}

int main()
{
    if (TTF_Init() != 0) {
        fprintf(stderr, "render_text: TTF_Init failed\n");
        return 1;
    }
    std::map<std::pair<std::string, int>, TTF_Font*> fonts;
    std::string line;
    int status = 0;
    while (readLine(line)) {
        Request request;
        if (!parseRequest(line, request)) {
            fprintf(stderr, "render_text: bad request %s\n", line.c_str());
            status = 1;
            break;
        }
        std::vector<unsigned char> rgb(static_cast<size_t>(request.w) * request.h * 3);
        if (fread(rgb.data(), 1, rgb.size(), stdin) != rgb.size()) {
            fprintf(stderr, "render_text: the picture ended early\n");
            status = 1;
            break;
        }
        TTF_Font*& font = fonts[{request.fontFile, request.size}];
        if (font == nullptr)
            font = TTF_OpenFont(request.fontFile.c_str(), request.size);
        if (font == nullptr) {
            fprintf(stderr, "render_text: cannot open %s\n", request.fontFile.c_str());
            status = 1;
            break;
        }
        SDL_Surface* box = boxFromRgb(rgb, request.w, request.h);
        if (box == nullptr) {
            status = 1;
            break;
        }
        writeLines(box, font, 0, 0, request.colour, "%s", request.text.c_str());
        writeRgb(box);
        fflush(stdout);
        SDL_FreeSurface(box);
    }
    // Fonts are closed before TTF_Quit: the other way round crashes.
    for (auto& entry : fonts)
        if (entry.second != nullptr)
            TTF_CloseFont(entry.second);
    TTF_Quit();
    return status;
}
