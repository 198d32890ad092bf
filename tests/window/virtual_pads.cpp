// A test library, preloaded into the game (never shipped): it attaches SDL2 virtual game
// controllers before the game starts SDL and moves them by the commands that a test writes, one
// a line, into the pipe named by QUIMBO_PAD_COMMANDS:
//
//   attach              one more pad (the first is attached at load)
//   detach P            pulls pad P out (pads are numbered 0, 1, ... in attach order)
//   button P B 0|1      lets go of or presses button B
//   axis P A VALUE      tilts axis A to VALUE (-32768 to 32767)
//   hat P H VALUE       moves hat H (SDL's hat bits)
//
// Each change that reaches the game (SDL hands it over while the game reads its events) is
// written, one a line, to the file named by QUIMBO_PAD_EVENTS, so that a test knows the game has
// seen a press before it lets go: "button P B 0|1", "axis P A VALUE", "added", "removed P".
//
// The pads have SDL's game-controller layout: 6 axes and 15 buttons, the d-pad as buttons 11 to
// 14. Holding SDL's joystick support open here keeps the virtual pads alive while the game
// starts its own joystick support again to look for new pads.
//
// The game's SDL 1.2 layer has functions of the same names as SDL2's (SDL_NumJoysticks,
// SDL_JoystickOpen, ...) and comes first in the process, so SDL2's own are looked up by hand.
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
// Calls SDL2's function of that name.
#define SDL2(name) (sdl2Function(&name, #name))

static const int PAD_AXES = 6;
static const int PAD_BUTTONS = 15;
static const int PAD_HATS = 0;

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
static int noteEvent(void*, SDL_Event* event)
{
    switch (event->type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        fprintf(seen, "button %d %d %d\n", padNumber(event->jbutton.which), event->jbutton.button,
                event->jbutton.state);
        break;
    case SDL_JOYAXISMOTION:
        fprintf(seen, "axis %d %d %d\n", padNumber(event->jaxis.which), event->jaxis.axis,
                event->jaxis.value);
        break;
    case SDL_JOYDEVICEADDED:
        fprintf(seen, "added\n");
        break;
    case SDL_JOYDEVICEREMOVED:
        fprintf(seen, "removed %d\n", padNumber(event->jdevice.which));
        break;
    default:
        return 0;
    }
    fflush(seen);
    return 0;
}

static void attachPad()
{
    int index = SDL2(SDL_JoystickAttachVirtual)(SDL_JOYSTICK_TYPE_GAMECONTROLLER, PAD_AXES,
                                                PAD_BUTTONS, PAD_HATS);
    SDL_Joystick* pad = index < 0 ? nullptr : SDL2(SDL_JoystickOpen)(index);
    if (pad == nullptr || padCount == MOST_PADS)
        return;
    pads[padCount] = pad;
    padIds[padCount++] = SDL2(SDL_JoystickInstanceID)(pad);
}

static void detachPad(SDL_Joystick* pad)
{
    SDL_JoystickID id = SDL2(SDL_JoystickInstanceID)(pad);
    for (int i = 0; i < SDL2(SDL_NumJoysticks)(); ++i)
        if (SDL2(SDL_JoystickGetDeviceInstanceID)(i) == id)
            SDL2(SDL_JoystickDetachVirtual)(i);
}

static void runCommand(const char* line)
{
    char verb[16] = {0};
    int p = -1, which = 0, value = 0;
    int fields = sscanf(line, "%15s %d %d %d", verb, &p, &which, &value);
    if (fields >= 1 && strcmp(verb, "attach") == 0) {
        attachPad();
        return;
    }
    if (p < 0 || p >= padCount)
        return;
    SDL_Joystick* pad = pads[p];
    if (strcmp(verb, "detach") == 0)
        detachPad(pad);
    else if (fields == 4 && strcmp(verb, "button") == 0)
        SDL2(SDL_JoystickSetVirtualButton)(pad, which, static_cast<Uint8>(value));
    else if (fields == 4 && strcmp(verb, "axis") == 0)
        SDL2(SDL_JoystickSetVirtualAxis)(pad, which, static_cast<Sint16>(value));
    else if (fields == 4 && strcmp(verb, "hat") == 0)
        SDL2(SDL_JoystickSetVirtualHat)(pad, which, static_cast<Uint8>(value));
}

static void* readCommands(void* path)
{
    for (;;) {
        FILE* pipe = fopen(static_cast<const char*>(path), "r");
        if (pipe == nullptr)
            return nullptr;
        char line[128];
        while (fgets(line, sizeof line, pipe) != nullptr)
            runCommand(line);
        fclose(pipe);  // the writer closed its end: wait for the next one
    }
}

__attribute__((constructor)) static void attachFirstPad()
{
    const char* commands = getenv("QUIMBO_PAD_COMMANDS");
    const char* events = getenv("QUIMBO_PAD_EVENTS");
    sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (sdl2 == nullptr || commands == nullptr || events == nullptr ||
        SDL2(SDL_InitSubSystem)(SDL_INIT_JOYSTICK) != 0)
        return;
    seen = fopen(events, "a");
    if (seen == nullptr)
        return;
    attachPad();
    SDL2(SDL_AddEventWatch)(noteEvent, nullptr);

    pthread_t reader;
    pthread_create(&reader, nullptr, readCommands, strdup(commands));
    pthread_detach(reader);
}
