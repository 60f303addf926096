// Writes the name dialog as an in-memory dialog template (a header followed
// by its items, texts in UTF-16), the layout the platform's dialog manager
// reads.
#pragma once

#include <cstdint>

constexpr std::uint16_t ButtonClass = 0x0080;
constexpr std::uint16_t EditClass = 0x0081;
constexpr std::uint16_t StaticClass = 0x0082;

constexpr int NameEditId = 200;
constexpr int NameLabelId = 201;

constexpr int TemplateBufferSize = 1024;

// Positions are addresses; the template block itself starts on a multiple
// of 4, so aligning the address aligns the offset from the template start.
unsigned char* AlignDword(unsigned char* position);
unsigned char* WriteDialogHeader(unsigned char* position, const char* caption,
                                 std::uint32_t style, int itemCount, const char* typeface, int x,
                                 int y, int width, int height);
unsigned char* WriteDialogItem(unsigned char* position, std::uint16_t classAtom, int id, const char* text,
                               std::uint32_t style, int x, int y, int width, int height);
// Writes the whole name dialog into buffer (TemplateBufferSize bytes, zero
// filled, starting on a multiple of 4) and returns the number of bytes used.
int WriteNameDialogTemplate(unsigned char* buffer, const char* prompt, const char* caption);
