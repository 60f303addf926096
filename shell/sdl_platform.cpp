// The platform seam over SDL2 on Linux: a software window surface for the
// window, SDL's message boxes, SDL audio for the sounds.
//
// The window's one drawing context keeps the colour, background mode and
// font a menu click sets, as the Windows program's private context does.
// Whatever is drawn outside a paint is shown at once; a paint shows when it
// ends. The files, the clock and the locks live in shell/sdl_files.cpp, the
// name prompt in players/sdl_name_dialog.cpp.
#include <cmath>
#include <string>

#include "shell/sdl_window.h"

// A font the game made: its request, with its own copy of the face, and the
// Liberation font standing in for it, opened at its first text.
struct PlatformFont {
    FontRequest request;
    std::string face;
    TTF_Font* font;
    double stretch;
};

struct PlatformDrawContext {
    Colour textColour;
    bool transparent;
    PlatformFont* font;
};

PlatformWindow GameWindow = {nullptr};
bool RepaintWanted = false;

namespace {

// A fresh context: black text on an opaque white background in the default
// font, a bold sans-serif face of 16 pixels as the system font is.
PlatformDrawContext WindowContext = {{0, 0, 0}, false, nullptr};
PlatformFont& SystemFont() {
    static PlatformFont font = {
        {16, 0, 0, 0, 700, false, false, false, 0, 0, 0, 0, 0, nullptr}, "System", nullptr, 1.0};
    return font;
}

// The window's background brush, shown where a paint erases and no picture
// covers it.
constexpr Colour Background = {200, 200, 200};

bool Painting = false;

// The part of the window drawn since it was last shown.
SDL_Rect Dirty = {0, 0, 0, 0};

void MarkDirty(const SDL_Rect& area) {
    if (Dirty.w == 0 || Dirty.h == 0) {
        Dirty = area;
        return;
    }
    SDL_UnionRect(&Dirty, &area, &Dirty);
}

SDL_Surface* WindowSurface() {
    return GameWindow.window != nullptr ? SDL_GetWindowSurface(GameWindow.window) : nullptr;
}

Uint32 MapColour(const SDL_Surface* surface, Colour colour) {
    return SDL_MapRGB(surface->format, colour.red, colour.green, colour.blue);
}

// Pictures are read from their files at every call and scaled at loading;
// a size of 0 keeps the picture's own. The caller frees the picture.
SDL_Surface* LoadPicture(const char* path, int width, int height) {
    SDL_Surface* file = SDL_LoadBMP(LinuxPath(path).c_str());
    if (file == nullptr)
        return nullptr;
    if (width <= 0)
        width = file->w;
    if (height <= 0)
        height = file->h;
    if (width == file->w && height == file->h)
        return file;
    SDL_Surface* scaled =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
    SDL_Surface* source = SDL_ConvertSurfaceFormat(file, SDL_PIXELFORMAT_XRGB8888, 0);
    SDL_FreeSurface(file);
    bool done = scaled != nullptr && source != nullptr &&
                SDL_BlitScaled(source, nullptr, scaled, nullptr) == 0;
    SDL_FreeSurface(source);
    if (!done) {
        SDL_FreeSurface(scaled);
        return nullptr;
    }
    return scaled;
}

bool FontsReady() {
    static bool tried = false;
    static bool ready = false;
    if (!tried) {
        tried = true;
        ready = TTF_Init() == 0;
    }
    return ready;
}

// Opens the stand-in for a font at its first use. A width asks for the
// letters' average width: the text is stretched to it, as Windows stretches
// the face.
TTF_Font* OpenedFont(PlatformFont* font) {
    if (font->font != nullptr || !FontsReady())
        return font->font;
    const FontRequest& request = font->request;
    std::string file = LiberationFile(font->face.c_str(), request.weight);
    if (file.empty())
        return nullptr;
    font->font = request.height < 0
                     ? OpenFontWithEm(file, -request.height)
                     : OpenFontWithCell(file, request.height != 0 ? request.height : 16);
    if (font->font == nullptr)
        return nullptr;
    int style = TTF_STYLE_NORMAL;
    if (request.italic)
        style |= TTF_STYLE_ITALIC;
    if (request.underline)
        style |= TTF_STYLE_UNDERLINE;
    if (request.strikeOut)
        style |= TTF_STYLE_STRIKETHROUGH;
    TTF_SetFontStyle(font->font, style);
    double average = AverageLetterWidth(font->font);
    font->stretch = request.width > 0 && average > 0 ? request.width / average : 1.0;
    return font->font;
}

// Which buttons a box style has, left to right, with the answer of each.
struct BoxButton {
    const char* text;
    int answer;
    Uint32 flags;
};

constexpr BoxButton OkButtons[] = {
    {"OK", AnswerOk,
     SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT}};
constexpr BoxButton YesNoCancelButtons[] = {
    {"Ja", AnswerYes, SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT},
    {"Nein", AnswerNo, 0},
    {"Abbrechen", AnswerCancel, SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT}};
constexpr unsigned BoxButtonsMask = 0x0F;
constexpr unsigned BoxIconMask = 0xF0;
constexpr unsigned YesNoCancel = 0x03;

}  // namespace

void ShowWindowSurface() {
    if (GameWindow.window == nullptr || Dirty.w == 0 || Dirty.h == 0)
        return;
    SDL_UpdateWindowSurfaceRects(GameWindow.window, &Dirty, 1);
    Dirty = {0, 0, 0, 0};
}

int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    const bool threeButtons = (style & BoxButtonsMask) == YesNoCancel;
    const BoxButton* chosen = threeButtons ? YesNoCancelButtons : OkButtons;
    const int count = threeButtons ? 3 : 1;
    SDL_MessageBoxButtonData buttons[3];
    for (int i = 0; i < count; ++i)
        buttons[i] = {chosen[i].flags, chosen[i].answer, chosen[i].text};
    std::string utf8Text = Utf8FromAnsi(text, static_cast<int>(SDL_strlen(text)));
    std::string utf8Caption = Utf8FromAnsi(caption, static_cast<int>(SDL_strlen(caption)));
    SDL_MessageBoxData box{};
    box.flags = ((style & BoxIconMask) != 0 ? SDL_MESSAGEBOX_INFORMATION : 0) |
                SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = owner != nullptr ? owner->window : nullptr;
    box.title = utf8Caption.c_str();
    box.message = utf8Text.c_str();
    box.numbuttons = count;
    box.buttons = buttons;
    // What the window shows must be on screen before the box takes over.
    ShowWindowSurface();
    int answer = -1;
    bool shown = SDL_ShowMessageBox(&box, &answer) == 0;
    if (!shown) {
        SDL_Log("Rillo: SDL shows no box (%s); the program shows its own", SDL_GetError());
        answer = -1;
        shown = ShowOwnBox(box, &answer);
    }
    DropOwnerInputAfterModal();
    if (!shown)
        return 0;
    // Closed from its frame: Cancel where there is one, else OK, as on Windows.
    if (answer < 0)
        return threeButtons ? AnswerCancel : AnswerOk;
    return answer;
}

void RequestRepaint(WindowHandle /*window*/) { RepaintWanted = true; }

DrawContext BeginScreenPaint(WindowHandle /*window*/) {
    RepaintWanted = false;
    Painting = true;
    SDL_Surface* surface = WindowSurface();
    if (surface != nullptr) {
        SDL_FillRect(surface, nullptr, MapColour(surface, Background));
        MarkDirty({0, 0, surface->w, surface->h});
    }
    return &WindowContext;
}

void EndScreenPaint(WindowHandle /*window*/) {
    Painting = false;
    ShowWindowSurface();
}

DrawContext GetDrawContext(WindowHandle /*window*/) { return &WindowContext; }

// Inside a paint, its end shows everything at once.
void ReleaseDrawContext(WindowHandle /*window*/, DrawContext /*context*/) {
    if (!Painting)
        ShowWindowSurface();
}

bool CopyPicture(DrawContext /*context*/, const char* path, int width, int height, int x, int y,
                 int copyWidth, int copyHeight) {
    SDL_Surface* surface = WindowSurface();
    // A picture of its own size goes from its file to the window without a
    // copy of it in between.
    if (surface != nullptr) {
        SDL_Rect written{};
        const CopiedRows copied = CopyBitmapRows(LinuxPath(path), surface, x, y, copyWidth,
                                                 copyHeight, width, height, &written);
        if (copied != CopiedRows::NotThisWay) {
            if (written.w > 0)
                MarkDirty(written);
            return copied == CopiedRows::Copied;
        }
    }
    SDL_Surface* picture = LoadPicture(path, width, height);
    if (picture == nullptr)
        return false;
    if (surface != nullptr) {
        SDL_Rect from = {0, 0, copyWidth, copyHeight};
        SDL_Rect to = {x, y, copyWidth, copyHeight};
        SDL_BlitSurface(picture, &from, surface, &to);
        MarkDirty(to);
    }
    SDL_FreeSurface(picture);
    return true;
}

bool ReadPictureSize(const char* path, PictureSize* size) {
    // The intro's size is read before the window is made: its header
    // suffices, rather than a whole picture decoded and thrown away.
    if (ReadBitmapHeaderSize(LinuxPath(path), size))
        return true;
    SDL_Surface* picture = LoadPicture(path, 0, 0);
    if (picture == nullptr)
        return false;
    size->width = picture->w;
    size->height = picture->h;
    SDL_FreeSurface(picture);
    return true;
}

void DrawDot(DrawContext /*context*/, int x, int y, int diameter, Colour colour) {
    SDL_Surface* surface = WindowSurface();
    if (surface == nullptr || diameter <= 0)
        return;
    // The dot covers the pixels whose middles lie within the circle of the
    // diameter over the square of diameter pixels around (x, y).
    const int left = x - diameter / 2;
    const int top = y - diameter / 2;
    const double radius = diameter / 2.0;
    const Uint32 pixel = MapColour(surface, colour);
    for (int row = 0; row < diameter; ++row) {
        const double dy = row + 0.5 - radius;
        const double half = std::sqrt(radius * radius - dy * dy);
        const int from = static_cast<int>(std::ceil(radius - half - 0.5));
        const int to = static_cast<int>(std::floor(radius + half - 0.5));
        if (to < from)
            continue;
        SDL_Rect span = {left + from, top + row, to - from + 1, 1};
        SDL_FillRect(surface, &span, pixel);
    }
    MarkDirty({left, top, diameter, diameter});
}

void WriteText(DrawContext context, int x, int y, const char* text, int length) {
    SDL_Surface* surface = WindowSurface();
    PlatformFont* font = context->font != nullptr ? context->font : &SystemFont();
    TTF_Font* ttf = OpenedFont(font);
    std::string utf8 = Utf8FromAnsi(text, length);
    if (surface == nullptr || ttf == nullptr || utf8.empty())
        return;
    const Colour colour = context->textColour;
    const SDL_Color ink = {colour.red, colour.green, colour.blue, 255};
    const SDL_Color paper = {255, 255, 255, 255};
    SDL_Surface* written = context->transparent
                               ? TTF_RenderUTF8_Blended(ttf, utf8.c_str(), ink)
                               : TTF_RenderUTF8_Shaded(ttf, utf8.c_str(), ink, paper);
    if (written == nullptr)
        return;
    SDL_Rect to = {x, y, static_cast<int>(std::lround(written->w * font->stretch)), written->h};
    if (to.w == written->w) {
        SDL_BlitSurface(written, nullptr, surface, &to);
    } else {
        SDL_BlitScaled(written, nullptr, surface, &to);
    }
    MarkDirty(to);
    SDL_FreeSurface(written);
}

void SetTextLook(DrawContext context, Colour colour) {
    context->transparent = true;
    context->textColour = colour;
}

FontHandle CreateTextFont(const FontRequest& request) {
    auto* font =
        new PlatformFont{request, request.face != nullptr ? request.face : "", nullptr, 1.0};
    font->request.face = nullptr;  // the copy above is the one used
    return font;
}

FontHandle SelectTextFont(DrawContext context, FontHandle font) {
    FontHandle replaced = context->font;
    context->font = font;
    return replaced;
}

void DeleteTextFont(FontHandle font) {
    if (font == nullptr)
        return;
    if (font->font != nullptr)
        TTF_CloseFont(font->font);
    delete font;
}
