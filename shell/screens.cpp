// The screen state machine: what each screen shows when the window is painted
// and what a left click does on it.
#include "shell/screens.h"

#include "game/layout.h"
#include "game/match.h"
#include "players/highscore.h"
#include "players/names.h"
#include "shell/app.h"
#include "shell/drawing.h"

// Height, width, escapement, orientation, weight; italic, underline,
// strike-out; character set, output precision, clipping precision, quality,
// pitch and family; face.
// clang-format off
const FontRequest MenuFont = {20, 10, 0, 10, 800, false, false, false, 0, 0, 0, 0, 0,
                              "Times New Roman"};
const FontRequest HighscoreFont = {20, 20, 0, 10, 0, false, false, false, 0, 0, 0, 0, 0,
                                   "INTERGRAPH ARCHITECTURAL"};
// clang-format on

namespace {

constexpr Colour White = {255, 255, 255};

const char* ScreenPicture(int screen) {
    switch (screen) {
        case ScreenIntro:
            return IntroPicture;
        case ScreenMenu:
            return MenuPicture;
        case ScreenTwoPlayers:
        case ScreenEasyComputer:
        case ScreenHardComputer:
            return BoardPicture;
        case ScreenHighscores:
            return HighscorePicture;
        case ScreenCredits:
            return CreditsPicture;
        default:
            return nullptr;
    }
}

// Makes a font current in the context and releases the one it replaced; the
// context's own default font is never released.
void ReplaceFont(DrawContext context, const FontRequest& request) {
    FontHandle replaced = SelectTextFont(context, CreateTextFont(request));
    if (replaced != nullptr)
        DeleteTextFont(replaced);
}

int NameLength(const char* name) {
    int length = 0;
    while (length < NameSize && name[length] != '\0')
        ++length;
    return length;
}

// KEPT: the colour a mark is drawn in depends on the kind of game: in a game
// of two the first player's 'X' is yellow, against the computer the human's
// 'O' is.
// Returns 0 when the mark is not drawn.
int DiscSelector(char mark) {
    if (mark != MarkX && mark != MarkO)
        return 0;
    if (GameMode == ModeTwoPlayers)
        return mark == MarkX ? 2 : 1;
    if (GameMode == ModeEasyComputer || GameMode == ModeHardComputer) {
        return mark == MarkX ? 1 : 2;
    }
    return 0;
}

void DrawGame(DrawContext context) {
    for (int row = BoardRows - 1; row >= 0; --row) {
        for (int column = 0; column < BoardColumns; ++column) {
            int selector = DiscSelector(Board[row * BoardColumns + column]);
            if (selector != 0)
                DrawDisc(MainWindow, column, row, selector);
        }
    }
    DrawTurnPicture();
    WriteText(context, Name1X, Name1Y, PlayerName1, NameLength(PlayerName1));
    if (Screen == ScreenTwoPlayers) {
        WriteText(context, Name2X, Name2Y, PlayerName2, NameLength(PlayerName2));
    }
    DrawLevelPicture();
}

// KEPT: every menu click sets the text look and the menu font, also outside
// every area; a chosen kind of game stays chosen when its names are cancelled.
void HandleMenuClick(int x, int y, WindowHandle window) {
    DrawContext context = GetDrawContext(window);
    SetTextLook(context, White);
    ReplaceFont(context, MenuFont);
    Screen = MenuHitTest(x, y);
    if (Screen == ScreenTwoPlayers)
        GameMode = ModeTwoPlayers;
    if (Screen == ScreenEasyComputer)
        GameMode = ModeEasyComputer;
    if (Screen == ScreenHardComputer)
        GameMode = ModeHardComputer;
    if (Screen == ScreenHighscores)
        ReplaceFont(context, HighscoreFont);
    AskPlayerNames();
    RequestRepaint(window);
    ReleaseDrawContext(window, context);
}

}  // namespace

int MenuHitTest(int x, int y) {
    for (const MenuArea& area : MenuAreas) {
        if (x >= area.left && x <= area.right && y >= area.top && y <= area.bottom) {
            return area.screen;
        }
    }
    return ScreenMenu;
}

bool LoadScreenPicture(WindowHandle window, DrawContext context, int screen) {
    const char* path = ScreenPicture(screen);
    if (path != nullptr &&
        CopyPictureAt(context, path, ScreenPictureWidth, ScreenPictureHeight, 0, 0)) {
        return true;
    }
    ShowMessage(window, PictureErrorText, PictureErrorCaption, BoxOk);
    return false;
}

void PaintScreen(WindowHandle window) {
    DrawContext context = BeginScreenPaint(window);
    // KEPT: a missing picture shows its box at every paint and leaves the
    // erased background; the rest is drawn anyway.
    LoadScreenPicture(window, context, Screen);
    if (Screen == ScreenTwoPlayers || Screen == ScreenEasyComputer ||
        Screen == ScreenHardComputer) {
        DrawGame(context);
    } else if (Screen == ScreenHighscores) {
        DrawHighscores(MainWindow);
    }
    EndScreenPaint(window);
}

void HandleClick(int x, int y, WindowHandle window) {
    switch (Screen) {
        case ScreenIntro:
            Screen = ScreenMenu;
            RequestRepaint(window);
            break;
        case ScreenMenu:
            HandleMenuClick(x, y, window);
            break;
        case ScreenTwoPlayers:
        case ScreenEasyComputer:
        case ScreenHardComputer:
            if (x > BoardLeftOutside && x <= BoardRight)
                HandleBoardClick(x);
            break;
        case ScreenHighscores:
            RequestRepaint(window);
            Screen = ScreenMenu;
            break;
        case ScreenCredits:
            // KEPT: no repaint: the credits stay on view until the program
            // has gone.
            Running = false;
            break;
        default:
            break;
    }
}
