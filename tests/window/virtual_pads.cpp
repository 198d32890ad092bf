// A test library, preloaded into the game (never shipped): it attaches SDL2 virtual game
// controllers before the game starts SDL and moves them by the commands a test writes, one a
// line, into the pipe named by QUIMBO_PAD_COMMANDS: "attach" (one more pad; the first comes at
// load), "detach P", "button P B 0|1" and "axis P A VALUE", the pads numbered 0, 1, ... in
// attach order. Each change, as SDL hands it to the game, is written in the same words to the
// file named by QUIMBO_PAD_EVENTS ("added" and "removed P" for the pads), so that a test knows
// the game has seen a press before it lets go.
//
// The pads have SDL's game-controller layout: 6 axes and 15 buttons, the d-pad as buttons 11 to
// 14. Holding SDL's joystick support open here keeps them alive while the game starts its own
// again to look for new pads. The game's SDL 1.2 layer has functions of the same names as
// SDL2's and comes first in the process, so SDL2's own are looked up by hand.
#include <SDL.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>

static void* sdl2 = nullptr;
template <typename Function> static Function* sdl2Function(Function*, const char* name)
{
    return reinterpret_cast<Function*>(dlsym(sdl2, name));
}
#define SDL2(name) (sdl2Function(&name, #name))

// Plain arrays: the loader runs this library's start-up before any C++ object in it is built.
static const int MOST_PADS = 16;
static SDL_Joystick* pads[MOST_PADS];
static SDL_JoystickID padIds[MOST_PADS];
static int padCount = 0;
static FILE* seen = nullptr;

static int padNumber(SDL_JoystickID id)
{
    for (int p = 0; p < padCount; ++p)
        if (padIds[p] == id)
            return p;
    return -1;
}

// Runs in the game's thread, as SDL takes each change of a pad.
static int noteEvent(void*, SDL_Event* e)
{
    if (e->type == SDL_JOYBUTTONDOWN || e->type == SDL_JOYBUTTONUP)
        fprintf(seen, "button %d %d %d\n", padNumber(e->jbutton.which), e->jbutton.button,
                e->jbutton.state);
    else if (e->type == SDL_JOYAXISMOTION)
        fprintf(seen, "axis %d %d %d\n", padNumber(e->jaxis.which), e->jaxis.axis, e->jaxis.value);
    else if (e->type == SDL_JOYDEVICEADDED)
        fprintf(seen, "added\n");
    else if (e->type == SDL_JOYDEVICEREMOVED)
        fprintf(seen, "removed %d\n", padNumber(e->jdevice.which));
    fflush(seen);
    return 0;
}

static void runCommand(const char* line)
{
    char verb[16] = {0};
    int p = -1, which = 0, value = 0;
    int fields = sscanf(line, "%15s %d %d %d", verb, &p, &which, &value);
    if (strcmp(verb, "attach") == 0 && padCount < MOST_PADS) {
        int index = SDL2(SDL_JoystickAttachVirtual)(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
        SDL_Joystick* pad = index < 0 ? nullptr : SDL2(SDL_JoystickOpen)(index);
        if (pad != nullptr) {
            pads[padCount] = pad;
            padIds[padCount++] = SDL2(SDL_JoystickInstanceID)(pad);
        }
    } else if (p < 0 || p >= padCount) {
        return;
    } else if (strcmp(verb, "detach") == 0) {
        for (int i = 0; i < SDL2(SDL_NumJoysticks)(); ++i)
            if (SDL2(SDL_JoystickGetDeviceInstanceID)(i) == padIds[p])
                SDL2(SDL_JoystickDetachVirtual)(i);
    } else if (fields == 4 && strcmp(verb, "button") == 0) {
        SDL2(SDL_JoystickSetVirtualButton)(pads[p], which, static_cast<Uint8>(value));
    } else if (fields == 4 && strcmp(verb, "axis") == 0) {
        SDL2(SDL_JoystickSetVirtualAxis)(pads[p], which, static_cast<Sint16>(value));
    }
}

static void* readCommands(void* path)
{
    char line[128];
    for (FILE* pipe; (pipe = fopen(static_cast<const char*>(path), "r")) != nullptr;) {
        while (fgets(line, sizeof line, pipe) != nullptr)
            runCommand(line);
        fclose(pipe);  // the writer closed its end: wait for the next one
    }
    return nullptr;
}

__attribute__((constructor)) static void attachFirstPad()
{
    const char* commands = getenv("QUIMBO_PAD_COMMANDS");
    const char* events = getenv("QUIMBO_PAD_EVENTS");
    sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (sdl2 == nullptr || commands == nullptr || events == nullptr ||
        SDL2(SDL_InitSubSystem)(SDL_INIT_JOYSTICK) != 0 || (seen = fopen(events, "a")) == nullptr)
        return;
    runCommand("attach");
    SDL2(SDL_AddEventWatch)(noteEvent, nullptr);
    pthread_t reader;
    pthread_create(&reader, nullptr, readCommands, strdup(commands));
    pthread_detach(reader);
}
