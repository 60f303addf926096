// The state of a game drawn straight into the main window: discs, whose turn
// it is and the computer's level. Each call takes the window's drawing
// context and gives it back before it returns.
#include "shell/drawing.h"

#include "game/board.h"
#include "game/layout.h"
#include "game/texts.h"

namespace {

constexpr Colour Black = {0, 0, 0};
constexpr Colour RedLight = {255, 0, 0};
constexpr Colour RedDark = {128, 0, 0};
constexpr Colour YellowLight = {255, 255, 0};
constexpr Colour YellowDark = {128, 128, 0};

// Loads a status picture and copies it into the main window. KEPT: a picture
// that cannot be loaded simply stays away, without the box a screen shows.
void DrawStatusPicture(const char* path, int width, int height, int x, int y) {
    DrawContext context = GetDrawContext(MainWindow);
    CopyPictureAt(context, path, width, height, x, y);
    ReleaseDrawContext(MainWindow, context);
}

}  // namespace

// KEPT: every picture is cut to the intro picture's size.
PictureSize CopyExtent(int pictureWidth, int pictureHeight) {
    return {pictureWidth < IntroSize.width ? pictureWidth : IntroSize.width,
            pictureHeight < IntroSize.height ? pictureHeight : IntroSize.height};
}

bool CopyPictureAt(DrawContext context, const char* path, int width, int height, int x, int y) {
    PictureSize extent = CopyExtent(width, height);
    return CopyPicture(context, path, width, height, x, y, extent.width, extent.height);
}

void DrawDisc(WindowHandle window, int column, int row, int colour) {
    DrawContext context = GetDrawContext(window);
    int x = DiscCentreX(column);
    int y = DiscCentreY(row);
    bool red = colour % 2 != 0;
    Colour light = red ? RedLight : YellowLight;
    Colour dark = red ? RedDark : YellowDark;
    // Each layer covers the middle of the one before: black rim, light ring,
    // black ring, dark core.
    DrawDot(context, x, y, DiscRimDiameter, Black);
    DrawDot(context, x, y, DiscRingDiameter, light);
    DrawDot(context, x, y, DiscInnerRimDiameter, Black);
    DrawDot(context, x, y, DiscCoreDiameter, dark);
    ReleaseDrawContext(window, context);
}

void DrawTurnPicture() {
    const char* path = nullptr;
    if (GameMode == ModeTwoPlayers) {
        path = TurnCounter % 2 == 0 ? PlayerOnePicture : PlayerTwoPicture;
    } else if (GameMode == ModeEasyComputer || GameMode == ModeHardComputer) {
        // Player 2's picture stands for the computer's turn.
        path = ComputerToMove ? PlayerTwoPicture : PlayerOnePicture;
    }
    if (path == nullptr)
        return;
    DrawStatusPicture(path, TurnPictureWidth, TurnPictureHeight, TurnPictureX, TurnPictureY);
}

void DrawLevelPicture() {
    const char* path = nullptr;
    if (Screen == ScreenEasyComputer)
        path = EasyLevelPicture;
    if (Screen == ScreenHardComputer)
        path = HardLevelPicture;
    if (path == nullptr)
        return;
    DrawStatusPicture(path, LevelPictureWidth, LevelPictureHeight, LevelPictureX, LevelPictureY);
}
