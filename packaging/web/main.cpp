// The game's entry in a web page. The browser owns the page's thread: an endless loop would
// freeze the tab, so the browser calls one gameFrame() per display refresh instead of
// gameMain()'s loop. Start-up, the frame itself and the rules are the desktop's own.
//
// The page (index.html) is told what happens through the functions on its `quimbo` object:
// started(), when the first menu frame is on the canvas; screenShown(state), when the game
// goes to another screen (the page shows that screen's touch keys); ended(), when the player
// quits; failed(), when the game could not start.
#include <emscripten.h>
#include <stdlib.h>

#include "game.h"

static bool quitRequested = false;
static bool firstFrameShown = false;
static int screenTold = -1;  // the game state the page last heard of

static void tellScreen()
{
    if (gameState == screenTold)
        return;
    screenTold = gameState;
    EM_ASM({ quimbo.screenShown($0); }, gameState);
}

static void webFrame()
{
    gameFrame(quitRequested);
    tellScreen();
    EM_ASM(quimbo.frameDone(););
    if (!firstFrameShown) {
        firstFrameShown = true;
        EM_ASM(quimbo.started(););
    }
    if (!quitRequested)
        return;
    // The desktop game ends here. The page keeps everything loaded and offers a new start:
    // the frames stop, the sound stops, and the page shows its end panel.
    emscripten_cancel_main_loop();
    Mix_HaltChannel(-1);
    SDL_PauseAudio(1);
    EM_ASM(quimbo.ended(););
}

// "Play again" on the end panel: the game as the program's start finds it, on the menu.
extern "C" EMSCRIPTEN_KEEPALIVE void webPlayAgain()
{
    quitRequested = false;
    gameState = MAINMENU;
    SDL_PauseAudio(0);
    resetGame();
    emscripten_set_main_loop(webFrame, 0, 0);
}

// Milliseconds of RUNNING time the game has counted: what the page's tests read to see that a
// page shown again does not jump by the time it was hidden.
extern "C" EMSCRIPTEN_KEEPALIVE double webRunningMs()
{
    return counter;
}

int main(int, char**)
{
    // The canvas's drawing buffer stays the game's 1024x768 on a high-density screen too: the
    // page scales it crisply, and a buffer of the device's pixels (2688x2016 on a phone) would
    // cost every frame seven times the upload for the same picture.
    setenv("SDL12COMPAT_HIGHDPI", "0", 1);
    // The picture is drawn by the game in memory and only copied to the page: a 2D canvas
    // (SDL's software renderer, putImageData) does that with a fraction of the browser's
    // work that WebGL's texture upload, draw and read-back for the page cost each frame.
    setenv("SDL_RENDER_DRIVER", "software", 1);
    if (gameInit() == 0) {
        gameShutdown();
        EM_ASM(quimbo.failed(););
        return 1;
    }
    resetGame();  // what gameMain() does before its loop
    // 0: one frame per display refresh, as requestAnimationFrame gives them. The game sets no
    // frame rate of its own; the display's is the only cap a page may have.
    emscripten_set_main_loop(webFrame, 0, 0);
    return 0;
}

// Every SDL_Delay of the program comes here (the link wraps it, web.cmake). Without threads a
// wait in the page's one thread can only spin on the clock until the time is up: nothing else
// runs meanwhile, and the browser's refresh already paces the frames. The frame's SDL_Delay(1)
// spun a millisecond of every frame, four on a slow phone; here it returns at once.
extern "C" void __wrap_SDL_Delay(Uint32)
{
}

// SDL2's SDL_Delay calls emscripten_sleep() only in an Asyncify build, but still names it;
// without Asyncify Emscripten has no definition, so the link needs this one. Never called.
extern "C" void emscripten_sleep(unsigned int)
{
}
