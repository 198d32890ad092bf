// Every sprite sheet and single picture the game loads, for the tests and the benchmark, from
// game.h's own lists: the sheets in globals of their own, then the landscape's, which start-up
// keeps in the `sceneries` array.
#ifndef QUIMBO_TESTS_SHEETS_H
#define QUIMBO_TESTS_SHEETS_H

#include <vector>

#include "game.h"

inline std::vector<SpriteBase*> sheetsInGlobals()
{
#define QUIMBO_ADDRESS_OF(name) &name,
    return {QUIMBO_SHEETS(QUIMBO_ADDRESS_OF)};
#undef QUIMBO_ADDRESS_OF
}

inline std::vector<SpriteBase*> gameSheets()
{
    std::vector<SpriteBase*> all = sheetsInGlobals();
    for (int k = 0; sceneries != nullptr && k < SCENERIES; ++k)
        all.push_back(&sceneries[k]);
    return all;
}

// The pictures start-up loads whole, outside any sheet.
inline std::vector<SDL_Surface*> singlePictures()
{
#define QUIMBO_PICTURE(name) name,
    return {QUIMBO_PICTURES(QUIMBO_PICTURE)};
#undef QUIMBO_PICTURE
}

// Frees the pictures of the sheets in globals of their own, so that gameInit can load them
// afresh without leaking (gameShutdown frees the landscape's with their array).
inline void releaseSheetPictures()
{
    for (SpriteBase* sheet : sheetsInGlobals()) {
        if (sheet->image != nullptr)
            SDL_FreeSurface(sheet->image);
        sheet->image = nullptr;
    }
}

#endif
