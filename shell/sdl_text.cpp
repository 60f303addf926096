// Fonts and text for the Linux program: Liberation faces in place of the
// Windows ones (the same widths), and the game's Windows-1252 texts in UTF-8.
#include <cmath>
#include <string>

#include "shell/sdl_window.h"

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; the five unused
// places there map to the control characters of the same value, as the
// system's own conversion does.
constexpr std::uint16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Where Debian and other systems keep the Liberation fonts; the folder the
// build found comes first.
const char* const FontFolders[] = {
    RILLO_FONT_FOLDER,
    "/usr/share/fonts/truetype/liberation/",
    "/usr/share/fonts/truetype/liberation2/",
    "/usr/share/fonts/liberation/",
    "/usr/share/fonts/liberation-sans/",
    "/usr/local/share/fonts/",
};

constexpr int BoldWeight = 600;

char AnsiOfCode(std::uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (int i = 0; i < 32; ++i) {
        if (HighControls[i] == code)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

void AppendUtf8(std::string* out, std::uint32_t code) {
    if (code < 0x80) {
        out->push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (code >> 6)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xE0 | (code >> 12)));
        out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::uint16_t WideOfAnsi(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F)
        return HighControls[c - 0x80];
    return c;
}

std::string Utf8FromAnsi(const char* text, int length) {
    std::string out;
    for (int i = 0; i < length && text[i] != '\0'; ++i)
        AppendUtf8(&out, WideOfAnsi(static_cast<unsigned char>(text[i])));
    return out;
}

std::string AnsiFromUtf8(const char* text) {
    std::string out;
    const auto* c = reinterpret_cast<const unsigned char*>(text);
    while (*c != 0) {
        std::uint32_t code = *c;
        int more = 0;
        if (code >= 0xF0) {
            code &= 0x07;
            more = 3;
        } else if (code >= 0xE0) {
            code &= 0x0F;
            more = 2;
        } else if (code >= 0xC0) {
            code &= 0x1F;
            more = 1;
        } else if (code >= 0x80) {
            more = -1;  // a stray continuation byte
        }
        ++c;
        for (int i = 0; i < more && (*c & 0xC0) == 0x80; ++i, ++c)
            code = (code << 6) | (*c & 0x3F);
        out.push_back(more < 0 ? '?' : AnsiOfCode(code));
    }
    return out;
}

std::string LiberationFile(const char* face, int weight) {
    const bool serif = SDL_strcasecmp(face, "Times New Roman") == 0;
    std::string name = serif ? "LiberationSerif-" : "LiberationSans-";
    name += weight >= BoldWeight ? "Bold.ttf" : "Regular.ttf";
    for (const char* folder : FontFolders) {
        if (folder[0] == '\0')
            continue;
        std::string path = std::string(folder) + name;
        SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
        if (file != nullptr) {
            SDL_RWclose(file);
            return path;
        }
    }
    return {};
}

TTF_Font* OpenFontWithEm(const std::string& file, int size) {
    return TTF_OpenFont(file.c_str(), size > 0 ? size : 1);
}

TTF_Font* OpenFontWithCell(const std::string& file, int height) {
    TTF_Font* font = OpenFontWithEm(file, height);
    if (font == nullptr)
        return nullptr;
    // The cell of a face is a fixed share of its em: one correction is exact
    // up to rounding.
    const int cell = TTF_FontHeight(font);
    if (cell > 0 && cell != height) {
        const int size = static_cast<int>(std::lround(static_cast<double>(height) * height / cell));
        TTF_SetFontSize(font, size > 0 ? size : 1);
    }
    return font;
}

double AverageLetterWidth(TTF_Font* font) {
    static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    int width = 0;
    int height = 0;
    if (TTF_SizeUTF8(font, Letters, &width, &height) != 0)
        return 0;
    return width / 52.0;
}
