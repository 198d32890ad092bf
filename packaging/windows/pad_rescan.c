/* What a pad rescan costs with the release's SDL.dll and SDL2.dll, and that it still finds
   pads: the game restarts SDL 1.2's joystick subsystem about once a second to see pads
   plugged in later. Prints the mean and worst time of RUNS restarts (50 unless given), then
   plugs in an SDL2 virtual pad, presses a button, pulls the pad out, and says what the 1.2
   side saw. tests/windows/test_pad_rescan.py builds and runs it under Wine. */
#include <SDL.h>
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>
#undef main /* a console program with its own entry */

static double now_ms(void)
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * (double)count.QuadPart / (double)frequency.QuadPart;
}

static double rescan(void)
{
    double start = now_ms();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    return now_ms() - start;
}

/* Events for a tenth of a second, as the game's frames would pump them. */
static void pump(void)
{
    for (int i = 0; i < 10; i++) {
        SDL_PumpEvents();
        SDL_Delay(10);
    }
}

/* Whether a button event of that type comes within two seconds. */
static int button_event(Uint8 type)
{
    SDL_Event event;
    for (Uint32 until = SDL_GetTicks() + 2000; SDL_GetTicks() < until; SDL_Delay(5)) {
        while (SDL_PollEvent(&event)) {
            if (event.type == type && event.jbutton.button == 2)
                return 1;
        }
    }
    return 0;
}

#define SDL2_FUNCTION(type, name) ((type)(void*)GetProcAddress(sdl2, name))

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 50;
    double total = 0, worst = 0;
    _putenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS=1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0 || !SDL_SetVideoMode(64, 64, 32, 0) ||
        SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        printf("no SDL: %s\n", SDL_GetError());
        return 2;
    }
    for (int i = 0; i < runs; i++) {
        pump();
        double took = rescan();
        total += took;
        worst = took > worst ? took : worst;
    }
    printf("%d rescans: mean %.2f ms, worst %.2f ms\n", runs, total / runs, worst);

    /* SDL2's own functions, for the virtual pad. */
    HMODULE sdl2 = GetModuleHandleA("SDL2.dll");
    int (*attach)(int, int, int, int) =
        SDL2_FUNCTION(int (*)(int, int, int, int), "SDL_JoystickAttachVirtual");
    int (*detach)(int) = SDL2_FUNCTION(int (*)(int), "SDL_JoystickDetachVirtual");
    void* (*open)(int) = SDL2_FUNCTION(void* (*)(int), "SDL_JoystickOpen");
    void (*close)(void*) = SDL2_FUNCTION(void (*)(void*), "SDL_JoystickClose");
    int (*press)(void*, int, Uint8) =
        SDL2_FUNCTION(int (*)(void*, int, Uint8), "SDL_JoystickSetVirtualButton");
    Uint32 (*up)(Uint32) = SDL2_FUNCTION(Uint32(*)(Uint32), "SDL_WasInit");
    if (!attach || !detach || !open || !close || !press || !up) {
        printf("SDL2.dll has no virtual pads\n");
        return 2;
    }
    int before = SDL_NumJoysticks();
    int index = attach(1 /* a game controller */, 2, 4, 1);
    pump();
    rescan();
    printf("plugged in: %d pads after a rescan, %d before\n", SDL_NumJoysticks(), before);
    SDL_JoystickOpen(SDL_NumJoysticks() - 1);
    SDL_JoystickEventState(SDL_ENABLE);
    void* pad = open(index);
    press(pad, 2, 1);
    printf("pressed: %s\n", button_event(SDL_JOYBUTTONDOWN) ? "seen" : "not seen");
    detach(index);
    printf("pulled out: its release %s\n", button_event(SDL_JOYBUTTONUP) ? "seen" : "not seen");
    close(pad);
    rescan();
    printf("pulled out: %d pads after a rescan\n", SDL_NumJoysticks());
    SDL_Quit();
    printf("after SDL_Quit: SDL2's joysticks %s\n", up(SDL_INIT_JOYSTICK) ? "up" : "down");
    return 0;
}
