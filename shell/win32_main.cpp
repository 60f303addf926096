// The program's entry, its one top-level window and the message loop.
//
// The window procedure turns the four window events the game cares about
// into calls of the portable shell and screens; everything else goes to the
// system's default handling.
#include <windows.h>

#include "game/board.h"
#include "shell/app.h"
#include "shell/screens.h"

namespace {

constexpr const char* ClassName = "WindowClass";
constexpr int WindowWidth = 810;
constexpr int WindowHeight = 630;

WindowHandle ToHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

HWND ToWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }

}  // namespace

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // The intro picture's size is the extent of every later picture
            // copy; without it the window is not made at all.
            if (!ReadIntroSize(ToHandle(window)))
                return -1;
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_DESTROY:
            // The private drawing context goes with the window: the font the
            // game made for it is released first.
            ReleaseWindowResources(ToHandle(window));
            // Only the window that was made ends the program. A window whose
            // creation fails is destroyed inside CreateWindowExA, before
            // MainWindow is set; a quit message posted then would still be
            // waiting when WinMain shows the "Fehler" box, and the box's own
            // message loop on Windows ends as soon as it takes that message,
            // so the box would vanish before the player could read it.
            if (ToHandle(window) == MainWindow)
                PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            PaintScreen(ToHandle(window));
            return 0;
        case WM_LBUTTONDOWN:
            // Client coordinates, both taken as unsigned 16-bit values.
            HandleClick(LOWORD(lParam), HIWORD(lParam), ToHandle(window));
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateMainWindow(HINSTANCE instance) {
    WNDCLASSEXA windowClass;
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    // KEPT: CS_DBLCLKS turns the second press of a quick double click into
    // WM_LBUTTONDBLCLK, which the game does not handle: a double click on the
    // board drops one disc, not two.
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = ClassName;
    windowClass.hIconSm = LoadIconA(nullptr, IDI_WINLOGO);
    // A failed registration shows up as a failed creation below.
    RegisterClassExA(&windowClass);

    return CreateWindowExA(0, ClassName, WindowTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           WindowWidth, WindowHeight, nullptr, nullptr, instance, nullptr);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    ClearBoard();
    MainWindow = ToHandle(CreateMainWindow(instance));
    if (MainWindow == nullptr) {
        ReportWindowFailure();
        return 0;
    }

    MSG message;
    // 0 is the quit message, -1 a failure to retrieve one: both end the loop.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Once the game has asked to end, the message just retrieved is
        // dropped unhandled.
        if (!KeepRunning())
            break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    // The window still exists when the game itself ended the loop; closed
    // from its frame, it released its font on the way out.
    if (IsWindow(ToWindow(MainWindow)) != FALSE)
        ReleaseWindowResources(MainWindow);
    return 0;
}
