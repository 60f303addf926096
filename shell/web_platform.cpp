// The platform seam over the page: a canvas for the window, modal <dialog>
// boxes, Web Audio for the sounds and the browser's storage for the table.
//
// The drawing, the boxes and the sounds live in web/rillo_library.js; this
// file keeps the window's drawing context (colour, background mode, font) as
// the Windows program's private context does, maps the game's paths onto the
// page's file system and waits where the game waits. The name prompt lives in
// players/web_name_dialog.cpp.
#include <emscripten.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "shell/platform.h"
#include "shell/web_access.h"
#include "shell/web_page.h"

// A font the game made: its request, with its own copy of the face.
struct PlatformFont {
    FontRequest request;
    std::string face;
};

// The window's one drawing context, as the Windows program's private one:
// what a menu click sets stays in force for all later text.
struct PlatformDrawContext {
    Colour textColour;
    bool transparent;
    PlatformFont* font;
};

// A lock taken through the page.
struct PlatformLock {
    int token;
};

namespace {

// The window's context starts as a fresh Windows context does: black text on
// an opaque white background in the default font.
PlatformDrawContext WindowContext = {{0, 0, 0}, false, nullptr};

// The folder the shipped data is unpacked into: the game's ".\src\..." paths
// name files under it.
constexpr const char* DataFolder = "/rillo/";

// The game's paths are in the Windows spelling, relative to its folder.
std::string PagePath(const char* path) {
    std::string result(path);
    for (char& c : result) {
        if (c == '\\')
            c = '/';
    }
    if (result.rfind("./", 0) == 0)
        result.erase(0, 2);
    if (result.empty() || result[0] != '/')
        result.insert(0, DataFolder);
    return result;
}

}  // namespace

// Before the game waits (a box, a sound, a pause), the page's live region
// learns of the discs drawn so far.
int ShowMessage(WindowHandle /*owner*/, const char* text, const char* caption, unsigned style) {
    AccessNoteBoard();
    return rillo_show_box(text, caption, style);
}

void StartSound(const char* path) {
    AccessNoteBoard();
    rillo_start_sound(PagePath(path).c_str());
}

void PlaySoundToEnd(const char* path) {
    AccessNoteBoard();
    rillo_play_to_end(PagePath(path).c_str());
}

// The page goes on drawing while the game sleeps; clicks meanwhile are queued.
void Pause(int milliseconds) {
    AccessNoteBoard();
    emscripten_sleep(static_cast<unsigned>(milliseconds));
}

void RequestRepaint(WindowHandle /*window*/) { rillo_request_paint(1); }

DrawContext BeginScreenPaint(WindowHandle /*window*/) {
    rillo_begin_paint();
    return &WindowContext;
}

void EndScreenPaint(WindowHandle /*window*/) { rillo_end_paint(); }

DrawContext GetDrawContext(WindowHandle /*window*/) { return &WindowContext; }

void ReleaseDrawContext(WindowHandle /*window*/, DrawContext /*context*/) {}

bool CopyPicture(DrawContext /*context*/, const char* path, int width, int height, int x, int y,
                 int copyWidth, int copyHeight) {
    return rillo_copy_picture(PagePath(path).c_str(), width, height, x, y, copyWidth, copyHeight) !=
           0;
}

bool ReadPictureSize(const char* path, PictureSize* size) {
    int width = 0;
    int height = 0;
    if (rillo_picture_size(PagePath(path).c_str(), &width, &height) == 0)
        return false;
    size->width = width;
    size->height = height;
    return true;
}

void DrawDot(DrawContext /*context*/, int x, int y, int diameter, Colour colour) {
    rillo_draw_dot(x, y, diameter, colour.red, colour.green, colour.blue);
}

void WriteText(DrawContext context, int x, int y, const char* text, int length) {
    AccessNoteText(x, y, text, length);
    // Without a font of the game's, the page's default: no face, all zero.
    static const FontRequest DefaultFont = {};
    const PlatformFont* font = context->font;
    const FontRequest& request = font != nullptr ? font->request : DefaultFont;
    rillo_write_text(x, y, text, length, font != nullptr ? font->face.c_str() : nullptr,
                     request.height, request.width, request.weight, request.italic ? 1 : 0,
                     request.underline ? 1 : 0, request.strikeOut ? 1 : 0, context->textColour.red,
                     context->textColour.green, context->textColour.blue,
                     context->transparent ? 1 : 0);
}

void SetTextLook(DrawContext context, Colour colour) {
    context->transparent = true;
    context->textColour = colour;
}

FontHandle CreateTextFont(const FontRequest& request) {
    auto* font = new PlatformFont{request, request.face != nullptr ? request.face : ""};
    font->request.face = nullptr;  // the copy above is the one used
    return font;
}

FontHandle SelectTextFont(DrawContext context, FontHandle font) {
    FontHandle replaced = context->font;
    context->font = font;
    return replaced;
}

void DeleteTextFont(FontHandle font) { delete font; }

std::uint32_t ClockSeconds() { return static_cast<std::uint32_t>(std::time(nullptr)); }

bool PutFileInPlace(const char* from, const char* to) {
    if (std::rename(from, to) != 0)
        return false;
    // The page's files live in memory; the browser keeps them only once they
    // are written back. A failed write-back leaves the new table in place for
    // this visit, so the replace itself still counts as done.
    if (rillo_save_saved() == 0)
        std::fputs("Rillo: the table could not be written to the browser's storage\n", stderr);
    return true;
}

bool FlushFileToDisk(const char* path) {
    int file = open(path, O_RDONLY);
    if (file < 0)
        return false;
    bool flushed = fsync(file) == 0;
    if (close(file) != 0)
        flushed = false;
    return flushed;
}

FileLock TryLockFile(const char* path) {
    std::string name = std::string("rillo:") + path;
    int token = rillo_take_lock(name.c_str());
    if (token == 0)
        return nullptr;
    return new PlatformLock{token};
}

void ReleaseFileLock(FileLock lock) {
    if (lock == nullptr)
        return;
    rillo_release_lock(lock->token);
    delete lock;
}

// A page is one program with its own file system: no other program shares
// the folder its temporary files are written to.
std::uint32_t ProcessNumber() { return 1; }
