// The Linux program's entry, its one window and the game's own event loop:
// the counterpart of the Windows program's WinMain and window procedure.
//
// The loop takes SDL's events one at a time and hands a press of the left
// button and a repaint to the same portable calls the window procedure
// makes; a repaint is handed on when no other event waits, as Windows sends
// its paint message last.
#include "game/board.h"
#include "shell/app.h"
#include "shell/screens.h"
#include "shell/sdl_window.h"

namespace {

bool IsGameWindowEvent(const SDL_Event& event, Uint32 type) {
    return event.type == type && GameWindow.window != nullptr &&
           SDL_GetWindowID(GameWindow.window) ==
               (type == SDL_WINDOWEVENT ? event.window.windowID : event.button.windowID);
}

bool WantsRepaint(const SDL_Event& event) {
    if (!IsGameWindowEvent(event, SDL_WINDOWEVENT))
        return false;
    switch (event.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            return true;
        default:
            return false;
    }
}

bool IsClose(const SDL_Event& event) {
    return event.type == SDL_QUIT || (IsGameWindowEvent(event, SDL_WINDOWEVENT) &&
                                      event.window.event == SDL_WINDOWEVENT_CLOSE);
}

}  // namespace

// SDL's own blocking wait is not used: SDL 2.26 on X wakes a waiting
// program by sending an event to the window it waited on, from the thread
// that queued an event (SDL audio's, for one), and that window may be gone
// by then (a closed name dialog): the X error ends the program. Polling at a
// few milliseconds keeps a press far within one frame.
NextInLoop TakeNext(SDL_Event* event) {
    constexpr Uint32 BusyPollMs = 2;
    constexpr Uint32 IdlePollMs = 8;
    constexpr Uint64 BusyForMs = 500;
    const Uint64 started = SDL_GetTicks64();
    for (;;) {
        if (SDL_PollEvent(event) != 0)
            return NextInLoop::Event;
        if (RepaintWanted)
            return NextInLoop::Paint;
        SDL_Delay(SDL_GetTicks64() - started < BusyForMs ? BusyPollMs : IdlePollMs);
    }
}

void ServeOwnerWhileModal(const SDL_Event& event) {
    if (WantsRepaint(event))
        RepaintWanted = true;
}

void DropOwnerInputAfterModal() {
    // Input that reached the window while it was disabled never reaches
    // the game; an exposure meanwhile still gets its paint.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
}

int main(int /*argc*/, char** /*argv*/) {
    // Only drivers that show a window: without a desktop SDL would go on to
    // its offscreen driver, and the game would run where nobody sees it. A
    // driver named in SDL_VIDEODRIVER still wins.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland,KMSDRM");
    // Drawn by the processor into a window surface, never through OpenGL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A double click is two presses within 500 ms and two pixels, as Windows
    // counts it.
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME, "500");
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "2");
    // The screen saver comes as it would with any other window, as on
    // Windows.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Without a session bus SDL's message-bus library would start one of its
    // own (and keep it running after the game); the game needs none.
    if (SDL_getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
        (void)SDL_setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    ClearBoard();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_Log("Rillo: no window could be made: %s", SDL_GetError());
        ReportWindowFailure();
        return 0;
    }
    // As on Windows, the intro picture's size is read while the window is
    // made, and without it there is no window; its box has no owner yet.
    if (!ReadIntroSize(&GameWindow)) {
        ReportWindowFailure();
        SDL_Quit();
        return 0;
    }
    GameWindow.window =
        SDL_CreateWindow(WindowTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                         IntroSize.width, IntroSize.height, SDL_WINDOW_SHOWN);
    if (GameWindow.window == nullptr || SDL_GetWindowSurface(GameWindow.window) == nullptr) {
        if (GameWindow.window != nullptr)
            SDL_DestroyWindow(GameWindow.window);
        GameWindow.window = nullptr;
        ReportWindowFailure();
        SDL_Quit();
        return 0;
    }
    MainWindow = &GameWindow;
    RequestRepaint(MainWindow);

    for (;;) {
        SDL_Event event;
        const NextInLoop next = TakeNext(&event);
        // Once the game has asked to end, the event just taken is dropped.
        if (!KeepRunning())
            break;
        if (next == NextInLoop::Paint) {
            PaintScreen(MainWindow);
        } else if (IsClose(event)) {
            break;
        } else if (WantsRepaint(event)) {
            RepaintWanted = true;
        } else if (IsGameWindowEvent(event, SDL_MOUSEBUTTONDOWN) &&
                   event.button.button == SDL_BUTTON_LEFT && event.button.clicks % 2 != 0) {
            // The second press of a double click is not a press for the game,
            // as the Windows program's window class makes it.
            HandleClick(event.button.x, event.button.y, MainWindow);
        }
    }

    ReleaseWindowResources(MainWindow);
    SDL_DestroyWindow(GameWindow.window);
    SDL_Quit();
    return 0;
}
