// SDL_ttf, opened at the first text rather than at the program's start.
//
// The intro shows no text, and SDL_ttf brings about ten libraries of its own
// (FreeType, HarfBuzz and theirs) that the system would otherwise load and
// link before the first picture. The program calls the TTF_ functions it
// uses as usual; these definitions open the library at the first call and
// hand each call on. Without the library there is no text, as without the
// fonts: TTF_Init fails and every font stays unopened.
#include "shell/sdl_window.h"

namespace {

struct FontLibrary {
    void* handle = nullptr;
    decltype(&TTF_Init) init = nullptr;
    decltype(&TTF_WasInit) wasInit = nullptr;
    decltype(&TTF_OpenFont) openFont = nullptr;
    decltype(&TTF_CloseFont) closeFont = nullptr;
    decltype(&TTF_SetFontStyle) setFontStyle = nullptr;
    decltype(&TTF_SetFontSize) setFontSize = nullptr;
    decltype(&TTF_FontHeight) fontHeight = nullptr;
    decltype(&TTF_SizeUTF8) sizeUtf8 = nullptr;
    decltype(&TTF_RenderUTF8_Blended) renderBlended = nullptr;
    decltype(&TTF_RenderUTF8_Shaded) renderShaded = nullptr;
};

template <typename Function>
bool Find(void* handle, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(SDL_LoadFunction(handle, name));
    return *function != nullptr;
}

// The library with every function found, or null; tried once. Kept open
// for the program's life, as a linked library is.
const FontLibrary* Library() {
    static FontLibrary library;
    static bool tried = false;
    if (!tried) {
        tried = true;
        library.handle = SDL_LoadObject("libSDL2_ttf-2.0.so.0");
        FontLibrary& l = library;
        void* h = l.handle;
        const bool complete =
            h != nullptr && Find(h, "TTF_Init", &l.init) && Find(h, "TTF_WasInit", &l.wasInit) &&
            Find(h, "TTF_OpenFont", &l.openFont) && Find(h, "TTF_CloseFont", &l.closeFont) &&
            Find(h, "TTF_SetFontStyle", &l.setFontStyle) &&
            Find(h, "TTF_SetFontSize", &l.setFontSize) &&
            Find(h, "TTF_FontHeight", &l.fontHeight) && Find(h, "TTF_SizeUTF8", &l.sizeUtf8) &&
            Find(h, "TTF_RenderUTF8_Blended", &l.renderBlended) &&
            Find(h, "TTF_RenderUTF8_Shaded", &l.renderShaded);
        if (!complete && h != nullptr) {
            SDL_Log("Rillo: SDL_ttf lacks a function the program uses; no text is shown");
            SDL_UnloadObject(h);
            library = FontLibrary{};
        }
    }
    return library.handle != nullptr ? &library : nullptr;
}

}  // namespace

// Only TTF_Init loads the library; every other call needs a font or an
// initialised library, which only a successful TTF_Init gives.
int TTF_Init() {
    const FontLibrary* library = Library();
    return library != nullptr ? library->init() : -1;
}

int TTF_WasInit() {
    const FontLibrary* library = Library();
    return library != nullptr ? library->wasInit() : 0;
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize) { return Library()->openFont(file, ptsize); }

void TTF_CloseFont(TTF_Font* font) { Library()->closeFont(font); }

void TTF_SetFontStyle(TTF_Font* font, int style) { Library()->setFontStyle(font, style); }

int TTF_SetFontSize(TTF_Font* font, int ptsize) { return Library()->setFontSize(font, ptsize); }

int TTF_FontHeight(const TTF_Font* font) { return Library()->fontHeight(font); }

int TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h) {
    return Library()->sizeUtf8(font, text, w, h);
}

SDL_Surface* TTF_RenderUTF8_Blended(TTF_Font* font, const char* text, SDL_Color fg) {
    return Library()->renderBlended(font, text, fg);
}

SDL_Surface* TTF_RenderUTF8_Shaded(TTF_Font* font, const char* text, SDL_Color fg, SDL_Color bg) {
    return Library()->renderShaded(font, text, fg, bg);
}
