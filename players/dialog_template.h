// Writes the name dialog as an in-memory dialog template (a header followed
// by its items, texts in UTF-16), the layout the platform's dialog manager
// reads.
#pragma once

#include <cstdint>

constexpr std::uint16_t ButtonClass = 0x0080;
constexpr std::uint16_t EditClass = 0x0081;
constexpr std::uint16_t StaticClass = 0x0082;

// The buttons' ids, the system's own for OK and Cancel.
constexpr int OkId = 1;
constexpr int CancelId = 2;
constexpr int NameEditId = 200;
constexpr int NameLabelId = 201;

constexpr int TemplateBufferSize = 1024;

// The header style bit that makes the point size and typeface follow the
// caption.
constexpr std::uint32_t DialogSetFont = 0x00000040;

// The longest text, in UTF-16 units with its terminator, that the writer
// converts; a longer one (or one that cannot be converted) is written empty.
constexpr int MaxTemplateText = 256;

// Positions are addresses; the template block itself starts on a multiple
// of 4, so aligning the address aligns the offset from the template start.
unsigned char* AlignDword(unsigned char* position);
unsigned char* WriteDialogHeader(unsigned char* position, const char* caption, std::uint32_t style,
                                 int itemCount, const char* typeface, int x, int y, int width,
                                 int height);
// Zeroes the gap up to the item's aligned start, writes the item and zeroes
// up to the next multiple of 4 after it; returns that position.
unsigned char* WriteDialogItem(unsigned char* position, std::uint16_t classAtom, int id,
                               const char* text, std::uint32_t style, int x, int y, int width,
                               int height);
// The number of bytes WriteNameDialogTemplate needs for these texts, or 0 when
// one of them cannot be converted or is longer than MaxTemplateText.
int NameDialogTemplateSize(const char* prompt, const char* caption);
// Writes the whole name dialog into buffer (TemplateBufferSize bytes, starting
// on a multiple of 4) and returns the number of bytes used. Returns 0 and
// writes nothing when the texts do not fit the buffer.
int WriteNameDialogTemplate(unsigned char* buffer, const char* prompt, const char* caption);
