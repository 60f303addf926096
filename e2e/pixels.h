// The end-to-end driver's eyes: the colours a window shows, copies of its
// client area ("shots"), the game's picture files read the way the game
// reads them, comparisons between the two, and shots saved as BMP files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/process.h"

namespace e2e {

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
// The discs: player 1 (and the human) yellow, player 2 (and the computer) red.
constexpr COLORREF YellowRing = RGB(255, 255, 0);
constexpr COLORREF YellowCore = RGB(128, 128, 0);
constexpr COLORREF RedRing = RGB(255, 0, 0);
constexpr COLORREF RedCore = RGB(128, 0, 0);

// The whole screen pictures are compared loosely where the game draws over
// them (names, discs, the table), exactly where it does not.
constexpr double Exact = 0.999;
constexpr double Mostly = 0.9;

// The client area of a window, copied from its drawing context, or a
// picture file read into the same layout.
struct Shot {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row, rows bottom-up, blue-green-red
    std::vector<unsigned char> pixels;

    [[nodiscard]] COLORREF At(int x, int y) const {
        const unsigned char* p = &pixels[(height - 1 - y) * stride + x * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

// The colour shown at client coordinates of a window.
COLORREF SamplePixel(HWND window, int x, int y);
std::string ColourText(COLORREF colour);
// Waits until a client pixel shows a colour; answers the milliseconds it
// took, or a negative value on timeout.
double WaitForPixel(HWND window, int x, int y, COLORREF colour, DWORD timeoutMs);

// Copies a width by height area at (left, top) of a drawing context.
Failure CopyArea(HDC source, int left, int top, int width, int height, Shot* shot);
// The client area of a window, from the window's own drawing context.
Failure TakeShot(HWND window, Shot* shot);
// The screen where a window lies, frame included, with whatever boxes and
// dialogs lie over it: what a player sees.
Failure TakeScreenShot(HWND window, Shot* shot);
// A window is drawn some time after it shows: this waits until the game
// waits for input and two shots 50 ms apart agree.
Failure TakeSettledShot(const Game& game, HWND window, Shot* shot);
// Writes a shot as a 24-bit BMP file.
Failure SaveShot(const Shot& shot, const std::string& path);
// A settled shot of the window, written as a BMP file.
Failure SaveScreenshot(const Game& game, HWND window, const std::string& path);

// A picture file of the game (one of the paths of game/texts.h) in the
// working folder, scaled at loading as the game does (0 by 0: at the file's
// own size), read into the same layout as a shot.
Failure LoadPicture(const Options& options, const char* gamePath, int width, int height,
                    Shot* shot);
// A screen picture, scaled to the client area as the game scales it.
Failure LoadScreen(const Options& options, const char* gamePath, Shot* shot);

// The share of a grid of points (every 7 pixels) of a region where the shot
// shows the picture's pixel, the picture's top left corner put at (left, top).
double Agreement(const Shot& shot, const Shot& picture, int left, int top);
// Waits until the window shows a picture at (left, top) on at least the given
// share of its points; answers the milliseconds it took.
Failure WaitForPicture(HWND window, const Shot& picture, int left, int top, double share,
                       const char* what, double* tookMs = nullptr);
// The share of the points where two pictures differ at which the shot, with
// the picture placed at (left, top), shows the first one; points every step
// pixels.
double ShareShown(const Shot& shot, const Shot& picture, const Shot& other, int left, int top,
                  int step);

// Number of pixels of a region that have a colour.
int CountColour(const Shot& shot, int left, int top, int width, int height, COLORREF colour);
// The rightmost column of a region holding a pixel of the colour, or -1.
int RightmostColour(const Shot& shot, int left, int top, int width, int height, COLORREF colour);
// White text pixels in a band that the screen's own picture does not have.
int NewWhitePixels(const Shot& shot, const Shot& screen, int left, int top, int right, int bottom);

}  // namespace e2e
