// The name dialog's in-memory template, written byte by byte in little-endian
// order so the layout does not depend on the compiler's struct packing.
#include "players/dialog_template.h"

#include <cstddef>

#include "game/texts.h"
#include "shell/platform.h"

namespace {

constexpr std::uint32_t NameDialogStyle = 0x90C808C4;
constexpr std::uint32_t OkButtonStyle = 0x50010001;
constexpr std::uint32_t CancelButtonStyle = 0x50010000;
constexpr std::uint32_t LabelStyle = 0x50000000;
constexpr std::uint32_t EditStyle = 0x50810000;
constexpr std::uint16_t ClassIsAtom = 0xFFFF;
constexpr std::uint16_t PointSize = 8;
constexpr const char* Typeface = "MS Sans Serif";
constexpr const char* EmptyText = "";
constexpr int NameDialogItems = 4;

// Size of the fixed fields of the header and of an item, up to their text.
constexpr int HeaderFixedBytes = 22;
constexpr int ItemFixedBytes = 22;

unsigned char* PutWord(unsigned char* position, std::uint16_t value) {
    position[0] = static_cast<unsigned char>(value & 0xFF);
    position[1] = static_cast<unsigned char>((value >> 8) & 0xFF);
    return position + 2;
}

unsigned char* PutDword(unsigned char* position, std::uint32_t value) {
    position = PutWord(position, static_cast<std::uint16_t>(value & 0xFFFF));
    return PutWord(position, static_cast<std::uint16_t>((value >> 16) & 0xFFFF));
}

// Dialog units and ids are 16-bit fields; the values here always fit.
unsigned char* PutShort(unsigned char* position, int value) {
    return PutWord(position, static_cast<std::uint16_t>(value));
}

// UTF-16 units of text with its terminator, or 0 when it cannot be written.
int TextUnits(const char* text) {
    int units = WideFromAnsi(text, nullptr, 0);
    return units > 0 && units <= MaxTemplateText ? units : 0;
}

// Writes text in UTF-16 with its terminator: count first, then convert. A
// text that cannot be converted is written as an empty one, so the template
// stays well formed.
unsigned char* PutText(unsigned char* position, const char* text) {
    std::uint16_t units[MaxTemplateText];
    int count = TextUnits(text);
    if (count > 0)
        count = WideFromAnsi(text, units, count);
    if (count <= 0)
        return PutWord(position, 0);
    for (int i = 0; i < count; ++i)
        position = PutWord(position, units[i]);
    return position;
}

unsigned char* ZeroUpTo(unsigned char* position, const unsigned char* end) {
    while (position < end)
        *position++ = 0;
    return position;
}

int AlignOffset(int offset) { return (offset + 3) & ~3; }

int TextBytes(int units) { return units * 2; }

}  // namespace

unsigned char* AlignDword(unsigned char* position) {
    auto address = reinterpret_cast<std::uintptr_t>(position);
    return position + ((4 - (address & 3)) & 3);
}

unsigned char* WriteDialogHeader(unsigned char* position, const char* caption, std::uint32_t style,
                                 int itemCount, const char* typeface, int x, int y, int width,
                                 int height) {
    position = PutDword(position, style);
    position = PutDword(position, 0);  // extended style
    position = PutShort(position, itemCount);
    position = PutShort(position, x);
    position = PutShort(position, y);
    position = PutShort(position, width);
    position = PutShort(position, height);
    position = PutWord(position, 0);  // no menu
    position = PutWord(position, 0);  // the platform's dialog class
    position = PutText(position, caption);
    if ((style & DialogSetFont) == 0)
        return position;
    position = PutWord(position, PointSize);
    return PutText(position, typeface);
}

unsigned char* WriteDialogItem(unsigned char* position, std::uint16_t classAtom, int id,
                               const char* text, std::uint32_t style, int x, int y, int width,
                               int height) {
    position = ZeroUpTo(position, AlignDword(position));
    position = PutDword(position, style);
    position = PutDword(position, 0);  // extended style
    position = PutShort(position, x);
    position = PutShort(position, y);
    position = PutShort(position, width);
    position = PutShort(position, height);
    position = PutShort(position, id);
    position = PutWord(position, ClassIsAtom);
    position = PutWord(position, classAtom);
    position = PutText(position, text);
    position = PutWord(position, 0);  // no creation data
    return ZeroUpTo(position, AlignDword(position));
}

int NameDialogTemplateSize(const char* prompt, const char* caption) {
    const char* itemTexts[NameDialogItems] = {NameOkText, NameCancelText, prompt, EmptyText};
    int captionUnits = TextUnits(caption);
    int typefaceUnits = TextUnits(Typeface);
    if (captionUnits == 0 || typefaceUnits == 0)
        return 0;
    int size = HeaderFixedBytes + TextBytes(captionUnits) + 2 + TextBytes(typefaceUnits);
    for (const char* text : itemTexts) {
        int units = TextUnits(text);
        if (units == 0)
            return 0;
        size = AlignOffset(AlignOffset(size) + ItemFixedBytes + TextBytes(units) + 2);
    }
    return size;
}

int WriteNameDialogTemplate(unsigned char* buffer, const char* prompt, const char* caption) {
    int size = NameDialogTemplateSize(prompt, caption);
    if (size == 0 || size > TemplateBufferSize)
        return 0;
    unsigned char* position = WriteDialogHeader(buffer, caption, NameDialogStyle, NameDialogItems,
                                                Typeface, 0, 0, 319, 47);
    position =
        WriteDialogItem(position, ButtonClass, OkId, NameOkText, OkButtonStyle, 264, 7, 48, 15);
    position = WriteDialogItem(position, ButtonClass, CancelId, NameCancelText, CancelButtonStyle,
                               264, 26, 48, 15);
    position =
        WriteDialogItem(position, StaticClass, NameLabelId, prompt, LabelStyle, 10, 9, 129, 16);
    position =
        WriteDialogItem(position, EditClass, NameEditId, EmptyText, EditStyle, 10, 26, 249, 13);
    return static_cast<int>(position - buffer);
}
