// The end-to-end driver's eyes: pixels, shots, picture files, BMP files.
#include "e2e/pixels.h"

#include <cstdio>

#include "game/layout.h"

namespace e2e {

COLORREF SamplePixel(HWND window, int x, int y) {
    HDC context = GetDC(window);
    COLORREF colour = GetPixel(context, x, y);
    ReleaseDC(window, context);
    return colour;
}

std::string ColourText(COLORREF colour) {
    return Format("%u,%u,%u", static_cast<unsigned>(GetRValue(colour)),
                  static_cast<unsigned>(GetGValue(colour)),
                  static_cast<unsigned>(GetBValue(colour)));
}

double WaitForPixel(HWND window, int x, int y, COLORREF colour, DWORD timeoutMs) {
    double start = NowMs();
    while (NowMs() - start < timeoutMs) {
        if (SamplePixel(window, x, y) == colour)
            return NowMs() - start;
        Sleep(5);
    }
    return -1;
}

namespace {

// A 24-bit bottom-up picture of a shot's size, as a BMP file stores it.
BITMAPINFO ShotFormat(const Shot& shot) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

Failure CopyArea(HDC source, int left, int top, int width, int height, Shot* shot) {
    shot->width = width;
    shot->height = height;
    if (shot->width <= 0 || shot->height <= 0)
        return "empty area";
    shot->stride = (shot->width * 3 + 3) & ~3;
    BITMAPINFO info = ShotFormat(*shot);

    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Failure failure;
    if (picture == nullptr) {
        failure = "cannot make a picture for the screenshot";
    } else {
        HGDIOBJ previous = SelectObject(memory, picture);
        BitBlt(memory, 0, 0, shot->width, shot->height, source, left, top, SRCCOPY);
        SelectObject(memory, previous);
        shot->pixels.assign(static_cast<size_t>(shot->stride) * shot->height, 0);
        if (GetDIBits(memory, picture, 0, shot->height, shot->pixels.data(), &info,
                      DIB_RGB_COLORS) != shot->height)
            failure = "cannot read the screenshot's pixels";
        DeleteObject(picture);
    }
    DeleteDC(memory);
    return failure;
}

Failure TakeShot(HWND window, Shot* shot) {
    RECT client;
    if (GetClientRect(window, &client) == 0)
        return "no client area";
    HDC source = GetDC(window);
    Failure failure =
        CopyArea(source, 0, 0, client.right - client.left, client.bottom - client.top, shot);
    ReleaseDC(window, source);
    return failure;
}

Failure TakeScreenShot(HWND window, Shot* shot) {
    RECT area;
    if (GetWindowRect(window, &area) == 0)
        return "no window area";
    HDC screen = GetDC(nullptr);
    Failure failure =
        CopyArea(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, shot);
    ReleaseDC(nullptr, screen);
    return failure;
}

Failure SaveShot(const Shot& shot, const std::string& path) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    const auto imageSize = static_cast<DWORD>(shot.pixels.size());
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + imageSize;
    header = ShotFormat(shot).bmiHeader;
    header.biSizeImage = imageSize;

    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return "cannot write " + path;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                   std::fwrite(&header, sizeof header, 1, out) == 1 &&
                   std::fwrite(shot.pixels.data(), 1, imageSize, out) == imageSize;
    written = std::fclose(out) == 0 && written;
    return written ? "" : "cannot write " + path;
}

Failure TakeSettledShot(const Game& game, HWND window, Shot* shot) {
    WaitForInputIdle(game.process.hProcess, BoxTimeout);
    Shot previous;
    RETURN_IF_FAILED(TakeShot(window, &previous));
    double until = NowMs() + BoxTimeout;
    while (NowMs() < until) {
        Sleep(50);
        RETURN_IF_FAILED(TakeShot(window, shot));
        if (shot->width == previous.width && shot->height == previous.height &&
            shot->pixels == previous.pixels)
            return "";
        previous = *shot;
    }
    return Format("the window did not settle within %lu ms", BoxTimeout);
}

Failure SaveScreenshot(const Game& game, HWND window, const std::string& path) {
    Shot shot;
    Failure failure = TakeSettledShot(game, window, &shot);
    return failure.empty() ? SaveShot(shot, path) : failure;
}

Failure LoadPicture(const Options& options, const char* gamePath, int width, int height,
                    Shot* shot) {
    // The game's paths start with ".\" for its working folder.
    std::string relative = gamePath;
    if (relative.compare(0, 2, ".\\") == 0)
        relative.erase(0, 2);
    std::string path = options.folder + "\\" + relative;
    auto* picture = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, width,
                                                    height, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (picture == nullptr)
        return "cannot load " + path;
    BITMAP size = {};
    if (GetObjectA(picture, sizeof size, &size) == 0) {
        DeleteObject(picture);
        return "cannot read the size of " + path;
    }
    shot->width = size.bmWidth;
    shot->height = size.bmHeight;
    shot->stride = (shot->width * 3 + 3) & ~3;
    shot->pixels.assign(static_cast<size_t>(shot->stride) * shot->height, 0);
    BITMAPINFO info = ShotFormat(*shot);
    HDC screen = GetDC(nullptr);
    int rows =
        GetDIBits(screen, picture, 0, shot->height, shot->pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(picture);
    return rows == shot->height ? "" : "cannot read the pixels of " + path;
}

Failure LoadScreen(const Options& options, const char* gamePath, Shot* shot) {
    return LoadPicture(options, gamePath, ScreenPictureWidth, ScreenPictureHeight, shot);
}

double Agreement(const Shot& shot, const Shot& picture, int left, int top) {
    int same = 0;
    int all = 0;
    for (int y = 0; y < picture.height; y += 7) {
        for (int x = 0; x < picture.width; x += 7) {
            if (left + x >= shot.width || top + y >= shot.height)
                continue;
            ++all;
            if (shot.At(left + x, top + y) == picture.At(x, y))
                ++same;
        }
    }
    return all == 0 ? 0 : static_cast<double>(same) / all;
}

Failure WaitForPicture(HWND window, const Shot& picture, int left, int top, double share,
                       const char* what, double* tookMs) {
    double start = NowMs();
    double best = 0;
    while (NowMs() - start < BoxTimeout) {
        Shot shot;
        RETURN_IF_FAILED(TakeShot(window, &shot));
        double agreement = Agreement(shot, picture, left, top);
        if (agreement >= share) {
            if (tookMs != nullptr)
                *tookMs = NowMs() - start;
            return "";
        }
        if (agreement > best)
            best = agreement;
        Sleep(10);
    }
    return Format("the window does not show %s (at best %.0f%% of its points agree)", what,
                  best * 100);
}

double ShareShown(const Shot& shot, const Shot& picture, const Shot& other, int left, int top,
                  int step) {
    int differing = 0;
    int shown = 0;
    for (int y = step / 2; y < picture.height && y < other.height; y += step) {
        for (int x = step / 2; x < picture.width && x < other.width; x += step) {
            if (picture.At(x, y) == other.At(x, y) || left + x >= shot.width ||
                top + y >= shot.height)
                continue;
            ++differing;
            if (shot.At(left + x, top + y) == picture.At(x, y))
                ++shown;
        }
    }
    return differing == 0 ? 0 : static_cast<double>(shown) / differing;
}

int CountColour(const Shot& shot, int left, int top, int width, int height, COLORREF colour) {
    int count = 0;
    for (int y = top; y < top + height && y < shot.height; ++y)
        for (int x = left; x < left + width && x < shot.width; ++x)
            if (shot.At(x, y) == colour)
                ++count;
    return count;
}

int RightmostColour(const Shot& shot, int left, int top, int width, int height, COLORREF colour) {
    int rightmost = -1;
    for (int y = top; y < top + height && y < shot.height; ++y)
        for (int x = left; x < left + width && x < shot.width; ++x)
            if (shot.At(x, y) == colour && x > rightmost)
                rightmost = x;
    return rightmost;
}

int NewWhitePixels(const Shot& shot, const Shot& screen, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom && y < shot.height; ++y)
        for (int x = left; x < right && x < shot.width; ++x)
            if (shot.At(x, y) == White && screen.At(x, y) != White)
                ++count;
    return count;
}

}  // namespace e2e
