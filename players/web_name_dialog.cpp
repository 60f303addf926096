// The name question on the page: a modal <dialog> with the caption, the
// prompt as the label of a one-line field of at most 9 characters, "OK" and
// "Abbrechen" (web/rillo_library.js), and the text conversion the dialog
// template writer needs, for the Windows-1252 code page the game's texts use.
#include <emscripten.h>

#include "game/state.h"
#include "shell/web_page.h"

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; the five unused
// places there map to the control characters of the same value, as the
// system's own conversion does.
constexpr std::uint16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint16_t WideOf(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F)
        return HighControls[c - 0x80];
    return c;
}

}  // namespace

int RunNamePrompt(WindowHandle /*owner*/, const char* prompt, const char* caption, char* target,
                  int size) {
    if (target == nullptr || size <= 0)
        return 0;
    return rillo_ask_name(prompt, caption, target, size);
}

int WideFromAnsi(const char* text, std::uint16_t* out, int capacity) {
    int count = 0;
    while (text[count] != '\0')
        ++count;
    ++count;  // the terminator
    if (capacity == 0)
        return count;
    if (out == nullptr || capacity < count)
        return 0;
    for (int i = 0; i < count; ++i)
        out[i] = WideOf(static_cast<unsigned char>(text[i]));
    return count;
}
