// Prints the geometry the program was built with, one "name values..." line
// each, for tools/layout.py --compare: the data generator and checker read the
// same numbers out of game/layout.h as text, and this is what they must match.
#include <cstdio>

#include "game/layout.h"

namespace {

struct Number {
    const char* name;
    int value;
};

const Number Numbers[] = {
    {"BoardRows", BoardRows},
    {"BoardColumns", BoardColumns},
    {"ScreenPictureWidth", ScreenPictureWidth},
    {"ScreenPictureHeight", ScreenPictureHeight},
    {"BoardLeftOutside", BoardLeftOutside},
    {"BoardRight", BoardRight},
    {"BandFirstX", BandFirstX},
    {"BandWidth", BandWidth},
    {"DiscFirstX", DiscFirstX},
    {"DiscStepX", DiscStepX},
    {"DiscBottomY", DiscBottomY},
    {"DiscStepY", DiscStepY},
    {"DiscRimDiameter", DiscRimDiameter},
    {"DiscRingDiameter", DiscRingDiameter},
    {"DiscInnerRimDiameter", DiscInnerRimDiameter},
    {"DiscCoreDiameter", DiscCoreDiameter},
    {"TurnPictureWidth", TurnPictureWidth},
    {"TurnPictureHeight", TurnPictureHeight},
    {"TurnPictureX", TurnPictureX},
    {"TurnPictureY", TurnPictureY},
    {"LevelPictureWidth", LevelPictureWidth},
    {"LevelPictureHeight", LevelPictureHeight},
    {"LevelPictureX", LevelPictureX},
    {"LevelPictureY", LevelPictureY},
    {"Name1X", Name1X},
    {"Name1Y", Name1Y},
    {"Name2X", Name2X},
    {"Name2Y", Name2Y},
    {"HighscoreNameX", HighscoreNameX},
    {"HighscoreMovesX", HighscoreMovesX},
};

}  // namespace

int main() {
    for (const Number& number : Numbers)
        std::printf("%s %d\n", number.name, number.value);
    std::printf("HighscoreRowY");
    for (int y : HighscoreRowY)
        std::printf(" %d", y);
    std::printf("\n");
    for (int i = 0; i < MenuAreaCount; ++i) {
        const MenuArea& area = MenuAreas[i];
        std::printf("MenuArea%d %d %d %d %d\n", i, area.left, area.right, area.top, area.bottom);
    }
    return 0;
}
