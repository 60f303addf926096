// The name dialog's in-memory template, checked byte for byte: header, items,
// alignment gaps, and the limits on the texts it takes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "players/dialog_template.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

namespace {

// The name dialog for player 1, byte by byte: header, then the four items,
// each starting on a multiple of 4 with zero bytes in the gaps.
const unsigned char ExpectedTemplate[224] = {
    // header: style 0x90C808C4, extended style 0, 4 items, x 0, y 0, 319 x 47
    0xC4, 0x08, 0xC8, 0x90, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3F, 0x01,
    0x2F, 0x00,
    // no menu, the platform's dialog class
    0x00, 0x00, 0x00, 0x00,
    // caption "***Name***" (offset 22)
    0x2A, 0x00, 0x2A, 0x00, 0x2A, 0x00, 0x4E, 0x00, 0x61, 0x00, 0x6D, 0x00, 0x65, 0x00, 0x2A, 0x00,
    0x2A, 0x00, 0x2A, 0x00, 0x00, 0x00,
    // point size 8 (offset 44), typeface "MS Sans Serif" (offset 46)
    0x08, 0x00, 0x4D, 0x00, 0x53, 0x00, 0x20, 0x00, 0x53, 0x00, 0x61, 0x00, 0x6E, 0x00, 0x73, 0x00,
    0x20, 0x00, 0x53, 0x00, 0x65, 0x00, 0x72, 0x00, 0x69, 0x00, 0x66, 0x00, 0x00, 0x00,
    // gap up to 76
    0x00, 0x00,
    // item 1 (offset 76): style 0x50010001, x 264, y 7, 48 x 15, id 1, button
    0x01, 0x00, 0x01, 0x50, 0x00, 0x00, 0x00, 0x00, 0x08, 0x01, 0x07, 0x00, 0x30, 0x00, 0x0F, 0x00,
    0x01, 0x00, 0xFF, 0xFF, 0x80, 0x00,
    // "OK", creation data size 0, gap up to 108
    0x4F, 0x00, 0x4B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    // item 2 (offset 108): style 0x50010000, x 264, y 26, 48 x 15, id 2, button
    0x00, 0x00, 0x01, 0x50, 0x00, 0x00, 0x00, 0x00, 0x08, 0x01, 0x1A, 0x00, 0x30, 0x00, 0x0F, 0x00,
    0x02, 0x00, 0xFF, 0xFF, 0x80, 0x00,
    // "Abbrechen", creation data size 0 (ends on 152)
    0x41, 0x00, 0x62, 0x00, 0x62, 0x00, 0x72, 0x00, 0x65, 0x00, 0x63, 0x00, 0x68, 0x00, 0x65, 0x00,
    0x6E, 0x00, 0x00, 0x00, 0x00, 0x00,
    // item 3 (offset 152): style 0x50000000, x 10, y 9, 129 x 16, id 201, static
    0x00, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x09, 0x00, 0x81, 0x00, 0x10, 0x00,
    0xC9, 0x00, 0xFF, 0xFF, 0x82, 0x00,
    // "Spieler1:", creation data size 0 (ends on 196)
    0x53, 0x00, 0x70, 0x00, 0x69, 0x00, 0x65, 0x00, 0x6C, 0x00, 0x65, 0x00, 0x72, 0x00, 0x31, 0x00,
    0x3A, 0x00, 0x00, 0x00, 0x00, 0x00,
    // item 4 (offset 196): style 0x50810000, x 10, y 26, 249 x 13, id 200, edit
    0x00, 0x00, 0x81, 0x50, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x1A, 0x00, 0xF9, 0x00, 0x0D, 0x00,
    0xC8, 0x00, 0xFF, 0xFF, 0x81, 0x00,
    // "" , creation data size 0, gap up to 224
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

constexpr unsigned char Untouched = 0xAB;

struct TemplateBuffer {
    alignas(4) unsigned char bytes[TemplateBufferSize] = {};
    TemplateBuffer() { std::memset(bytes, Untouched, sizeof bytes); }
    [[nodiscard]] int UntouchedFrom(int offset) const {
        for (int i = offset; i < TemplateBufferSize; ++i) {
            if (bytes[i] != Untouched)
                return i;
        }
        return -1;
    }
};

TEST(DialogTemplateTest, NameDialogForPlayerOneIsByteForByteTheTemplate) {
    ResetProcessState();
    // A block full of garbage shows that every byte of the template,
    // alignment gaps included, is written, and nothing after it.
    TemplateBuffer buffer;
    ASSERT_EQ(WriteNameDialogTemplate(buffer.bytes, "Spieler1:", "***Name***"), 224);
    for (int i = 0; i < 224; ++i) {
        EXPECT_EQ(buffer.bytes[i], ExpectedTemplate[i]) << "offset " << i;
    }
    EXPECT_EQ(buffer.UntouchedFrom(224), -1);
}

TEST(DialogTemplateTest, ShorterPromptMovesTheEditFieldToTheSameAlignedOffset) {
    ResetProcessState();
    TemplateBuffer buffer;
    // An eight-character prompt is one unit shorter, so the label ends on 194
    // and the edit field still starts on 196; a Latin-1 character arrives as
    // its own unit.
    ASSERT_EQ(WriteNameDialogTemplate(buffer.bytes, "Spieler\xFC", "***Name***"), 224);
    const unsigned char label[] = {0x53, 0x00, 0x70, 0x00, 0x69, 0x00, 0x65, 0x00, 0x6C,
                                   0x00, 0x65, 0x00, 0x72, 0x00, 0xFC, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(buffer.bytes + 174, label, sizeof label), 0);
    const unsigned char gapAndEdit[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x81, 0x50};
    EXPECT_EQ(std::memcmp(buffer.bytes + 192, gapAndEdit, sizeof gapAndEdit), 0);
    EXPECT_EQ(std::memcmp(buffer.bytes + 196, ExpectedTemplate + 196, 28), 0);
}

TEST(DialogTemplateTest, AlignDwordRoundsUpToMultiplesOfFour) {
    alignas(4) unsigned char block[16];
    const int cases[][2] = {{0, 0}, {1, 4}, {2, 4}, {3, 4}, {4, 4},
                            {5, 8}, {7, 8}, {8, 8}, {9, 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(AlignDword(block + c[0]), block + c[1]) << "offset " << c[0];
    }
}

TEST(DialogTemplateTest, HeaderWithoutSetFontEndsAfterTheCaption) {
    ResetProcessState();
    TemplateBuffer buffer;
    unsigned char* end =
        WriteDialogHeader(buffer.bytes, "Ab", 0x90C80884, 2, "MS Sans Serif", 1, 2, 3, 4);
    ASSERT_EQ(end - buffer.bytes, 28);
    const unsigned char expected[28] = {0x84, 0x08, 0xC8, 0x90, 0, 0, 0, 0, 2,    0, 1,    0, 2, 0,
                                        3,    0,    4,    0,    0, 0, 0, 0, 0x41, 0, 0x62, 0, 0, 0};
    EXPECT_EQ(std::memcmp(buffer.bytes, expected, sizeof expected), 0);
    EXPECT_EQ(buffer.UntouchedFrom(28), -1);
}

TEST(DialogTemplateTest, TextsTooLongForTheBlockWriteNothing) {
    ResetProcessState();
    const std::string tooLongForOneText(300, 'x');
    const std::string tooLongForTheBlock(250, 'x');
    for (const std::string* prompt : {&tooLongForOneText, &tooLongForTheBlock}) {
        TemplateBuffer buffer;
        EXPECT_EQ(WriteNameDialogTemplate(buffer.bytes, prompt->c_str(), prompt->c_str()), 0);
        EXPECT_EQ(buffer.UntouchedFrom(0), -1);
    }
    // The longest text converted: 255 units end the label on 686, the edit
    // field runs from 688 to 714 and is padded to 716.
    TemplateBuffer buffer;
    const std::string longest(254, 'x');
    EXPECT_EQ(WriteNameDialogTemplate(buffer.bytes, longest.c_str(), "***Name***"), 716);
    EXPECT_EQ(buffer.UntouchedFrom(716), -1);

    // At the limit: 255 characters are 256 units with the terminator, still
    // converted (and, aligned, the same size); one more is refused.
    struct AtTheLimit {
        int characters;
        int size;
    };
    for (const AtTheLimit& c :
         {AtTheLimit{MaxTemplateText - 1, 716}, AtTheLimit{MaxTemplateText, 0}}) {
        TemplateBuffer limit;
        const std::string prompt(c.characters, 'x');
        EXPECT_EQ(WriteNameDialogTemplate(limit.bytes, prompt.c_str(), "***Name***"), c.size)
            << c.characters << " characters";
        EXPECT_EQ(limit.UntouchedFrom(c.size), -1);
    }
}

}  // namespace
