// The platform seam over Win32 USER, GDI and the multimedia sound player.
//
// Each operation passes the game's arguments on with the exact flags the
// game relies on and releases every handle it makes before it returns. The
// name prompt and the text conversion for the dialog template live in
// players/win32_name_dialog.cpp.
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <ctime>

#include "shell/platform.h"

namespace {

HWND ToWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }

HDC ToContext(DrawContext context) { return reinterpret_cast<HDC>(context); }

DrawContext ToDrawContext(HDC context) { return reinterpret_cast<DrawContext>(context); }

HFONT ToFont(FontHandle font) { return reinterpret_cast<HFONT>(font); }

FontHandle ToFontHandle(HGDIOBJ font) { return reinterpret_cast<FontHandle>(font); }

COLORREF ToColour(Colour colour) { return RGB(colour.red, colour.green, colour.blue); }

// Pictures are read from their files at their stored depth, scaled at loading.
HBITMAP LoadPicture(const char* path, int width, int height) {
    return static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, width, height,
                                           LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION));
}

// One paint request is open at a time; its record lives from BeginPaint to
// EndPaint.
PAINTSTRUCT ScreenPaint;

}  // namespace

int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    return MessageBoxA(ToWindow(owner), text, caption, style);
}

void StartSound(const char* path) { PlaySoundA(path, nullptr, SND_ASYNC); }

void PlaySoundToEnd(const char* path) { PlaySoundA(path, nullptr, SND_SYNC); }

void Pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void RequestRepaint(WindowHandle window) { InvalidateRect(ToWindow(window), nullptr, TRUE); }

DrawContext BeginScreenPaint(WindowHandle window) {
    return ToDrawContext(BeginPaint(ToWindow(window), &ScreenPaint));
}

void EndScreenPaint(WindowHandle window) { EndPaint(ToWindow(window), &ScreenPaint); }

DrawContext GetDrawContext(WindowHandle window) { return ToDrawContext(GetDC(ToWindow(window))); }

void ReleaseDrawContext(WindowHandle window, DrawContext context) {
    ReleaseDC(ToWindow(window), ToContext(context));
}

bool CopyPicture(DrawContext context, const char* path, int width, int height, int x, int y,
                 int copyWidth, int copyHeight) {
    HBITMAP picture = LoadPicture(path, width, height);
    if (picture == nullptr)
        return false;
    HDC target = ToContext(context);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, picture);
    BitBlt(target, x, y, copyWidth, copyHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(picture);
    return true;
}

bool ReadPictureSize(const char* path, PictureSize* size) {
    HBITMAP picture = LoadPicture(path, 0, 0);
    if (picture == nullptr)
        return false;
    BITMAP description;
    const bool described = GetObjectA(picture, sizeof(BITMAP), &description) != 0;
    // Only the size was wanted: the picture goes at once.
    DeleteObject(picture);
    if (!described)
        return false;
    size->width = description.bmWidth;
    size->height = description.bmHeight;
    return true;
}

void DrawDot(DrawContext context, int x, int y, int diameter, Colour colour) {
    HDC target = ToContext(context);
    // A pen as wide as the dot, drawn along a one-pixel ellipse, leaves a
    // filled round dot centred on (x, y).
    HPEN pen = CreatePen(PS_SOLID, diameter, ToColour(colour));
    HGDIOBJ previous = SelectObject(target, pen);
    Ellipse(target, x, y, x + 1, y + 1);
    SelectObject(target, previous);
    DeleteObject(pen);
}

void WriteText(DrawContext context, int x, int y, const char* text, int length) {
    TextOutA(ToContext(context), x, y, text, length);
}

void SetTextLook(DrawContext context, Colour colour) {
    HDC target = ToContext(context);
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, ToColour(colour));
}

FontHandle CreateTextFont(const FontRequest& request) {
    HFONT font =
        CreateFontA(request.height, request.width, request.escapement, request.orientation,
                    request.weight, request.italic ? TRUE : FALSE, request.underline ? TRUE : FALSE,
                    request.strikeOut ? TRUE : FALSE, static_cast<DWORD>(request.charSet),
                    static_cast<DWORD>(request.outputPrecision),
                    static_cast<DWORD>(request.clipPrecision), static_cast<DWORD>(request.quality),
                    static_cast<DWORD>(request.pitchAndFamily), request.face);
    return ToFontHandle(font);
}

FontHandle SelectTextFont(DrawContext context, FontHandle font) {
    // The context's own default is the system font; the game never deletes it.
    HGDIOBJ systemFont = GetStockObject(SYSTEM_FONT);
    HGDIOBJ wanted = font != nullptr ? static_cast<HGDIOBJ>(ToFont(font)) : systemFont;
    HGDIOBJ replaced = SelectObject(ToContext(context), wanted);
    if (replaced == nullptr || replaced == systemFont)
        return nullptr;
    return ToFontHandle(replaced);
}

void DeleteTextFont(FontHandle font) { DeleteObject(ToFont(font)); }

std::uint32_t ClockSeconds() { return static_cast<std::uint32_t>(std::time(nullptr)); }

bool PutFileInPlace(const char* from, const char* to) {
    // A file the player has made read-only is never replaced. Windows itself
    // refuses it; said here as well, so that every system that runs the
    // program keeps such a table (Wine would replace it).
    DWORD attributes = GetFileAttributesA(to);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;
    // One step: the old file stays until the new one has taken its name.
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool FlushFileToDisk(const char* path) {
    // Shared with everyone: a virus scanner often opens a file the moment it
    // is closed, and that must not fail the flush.
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool flushed = FlushFileBuffers(file) != 0;
    if (CloseHandle(file) == 0)
        flushed = false;
    return flushed;
}

FileLock TryLockFile(const char* path) {
    // Opened without sharing, the file is the lock: no other program can open
    // it until this handle is closed. The system closes it when the program
    // ends, however it ends, and the file goes with the handle.
    HANDLE lock = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock == INVALID_HANDLE_VALUE)
        return nullptr;
    return reinterpret_cast<FileLock>(lock);
}

void ReleaseFileLock(FileLock lock) { CloseHandle(reinterpret_cast<HANDLE>(lock)); }

std::uint32_t ProcessNumber() { return static_cast<std::uint32_t>(GetCurrentProcessId()); }
