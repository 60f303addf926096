// The page's view of the game for its controls and its live region
// (web/rillo_access.js): which screen shows, where its hit areas lie, the
// rows the highscore screen draws, and what happens on the board.
#include "shell/web_access.h"

#include <cstring>

#include "game/board.h"
#include "game/layout.h"
#include "game/state.h"
#include "players/highscore.h"
#include "shell/web_page.h"

namespace {

constexpr int NoScreen = -1;

// The screen the page was last shown, and the board as last announced.
int ShownScreen = NoScreen;
char SeenBoard[BoardCells];
bool BoardSeen = false;
// The computer's turn was announced and its disc not yet seen.
bool ComputerAwaited = false;

// The table's rows as the last paint of the highscore screen wrote them.
constexpr int CellSize = HighscoreValueSize;
struct TableRow {
    char name[CellSize];
    char moves[CellSize];
};
TableRow DrawnRows[HighscoreRows];
TableRow ShownRows[HighscoreRows];

bool IsGameScreen(int screen) {
    return screen == ScreenTwoPlayers || screen == ScreenEasyComputer ||
           screen == ScreenHardComputer;
}

const char* HeadingOf(int screen) {
    switch (screen) {
        case ScreenIntro:
            return "HeadingIntro";
        case ScreenMenu:
            return "HeadingMenu";
        case ScreenTwoPlayers:
            return "HeadingTwoPlayers";
        case ScreenEasyComputer:
            return "HeadingEasyComputer";
        case ScreenHardComputer:
            return "HeadingHardComputer";
        case ScreenHighscores:
            return "HeadingHighscores";
        default:
            return "HeadingCredits";
    }
}

const char* MenuControlOf(int screen) {
    switch (screen) {
        case ScreenTwoPlayers:
            return "ControlTwoPlayers";
        case ScreenEasyComputer:
            return "ControlEasyComputer";
        case ScreenHardComputer:
            return "ControlHardComputer";
        case ScreenHighscores:
            return "ControlHighscores";
        default:
            return "ControlCredits";
    }
}

void ShowControls(int screen) {
    constexpr int Right = ScreenPictureWidth - 1;
    constexpr int Bottom = ScreenPictureHeight - 1;
    rillo_access_screen(HeadingOf(screen));
    if (screen == ScreenIntro) {
        rillo_access_control("ControlContinue", 0, 0, 0, Right, Bottom);
    } else if (screen == ScreenMenu) {
        for (const MenuArea& area : MenuAreas)
            rillo_access_control(MenuControlOf(area.screen), 0, area.left, area.top, area.right,
                                 area.bottom);
    } else if (IsGameScreen(screen)) {
        for (int column = 0; column < BoardColumns; ++column) {
            int left = BandFirstX + BandWidth * column;
            rillo_access_control("ControlColumn", column + 1, left, 0, left + BandWidth - 1,
                                 Bottom);
        }
    } else if (screen == ScreenHighscores) {
        rillo_access_control("ControlBack", 0, 0, 0, Right, Bottom);
        for (int row = 0; row < HighscoreRows && DrawnRows[row].name[0] != '\0'; ++row)
            rillo_access_row(row + 1, DrawnRows[row].name, DrawnRows[row].moves);
    } else {
        rillo_access_control("ControlEnd", 0, 0, 0, Right, Bottom);
    }
    rillo_access_shown();
}

// The players as the announcements name them: in a game of two, player 1
// plays 'X'; against the computer the human plays 'O'.
bool AgainstComputer() { return Screen == ScreenEasyComputer || Screen == ScreenHardComputer; }

const char* NameOf(char mark) {
    if (AgainstComputer())
        return mark == MarkO ? PlayerName1 : nullptr;
    return mark == MarkX ? PlayerName1 : PlayerName2;
}

void AnnouncePlayer(const char* text, char mark, int column) {
    const char* name = NameOf(mark);
    ComputerAwaited = name == nullptr && text == nullptr;
    if (name == nullptr) {
        rillo_announce(text == nullptr ? "AnnounceComputerTurn" : "AnnounceComputerDisc", "",
                       column);
    } else {
        rillo_announce(text == nullptr ? "AnnounceTurn" : text, name, column);
    }
}

char OtherMark(char mark) { return mark == MarkX ? MarkO : MarkX; }

}  // namespace

void AccessBeforePaint() { std::memset(DrawnRows, 0, sizeof DrawnRows); }

void AccessAfterPaint() {
    AccessNoteBoard();
    bool rowsChanged =
        Screen == ScreenHighscores && std::memcmp(DrawnRows, ShownRows, sizeof DrawnRows) != 0;
    if (Screen == ShownScreen && !rowsChanged)
        return;
    ShownScreen = Screen;
    std::memcpy(ShownRows, DrawnRows, sizeof DrawnRows);
    ShowControls(Screen);
}

void AccessNoteText(int x, int y, const char* text, int length) {
    if (Screen != ScreenHighscores || length < 0)
        return;
    for (int row = 0; row < HighscoreRows; ++row) {
        if (HighscoreRowY[row] != y)
            continue;
        char* cell = x == HighscoreNameX    ? DrawnRows[row].name
                     : x == HighscoreMovesX ? DrawnRows[row].moves
                                            : nullptr;
        if (cell == nullptr)
            return;
        int count = length < CellSize - 1 ? length : CellSize - 1;
        std::memcpy(cell, text, static_cast<std::size_t>(count));
        cell[count] = '\0';
        return;
    }
}

void AccessBeforePress(int x) {
    if (!IsGameScreen(Screen) || x <= BoardLeftOutside || x > BoardRight)
        return;
    int column = ColumnFromX(x);
    if (column < 0 || !IsColumnFull(column))
        return;
    rillo_announce("AnnounceFullColumn", "", column + 1);
    // The same player is to move again.
    char mark = AgainstComputer() ? MarkO : TurnCounter % 2 == 0 ? MarkX : MarkO;
    AnnouncePlayer(nullptr, mark, 0);
}

void AccessAfterPress() {
    AccessNoteBoard();
    // The computer may pass its turn (game/match.cpp); then the human moves
    // again.
    if (ComputerAwaited && IsGameScreen(Screen))
        AnnouncePlayer(nullptr, MarkO, 0);
    ComputerAwaited = false;
}

void AccessNoteBoard() {
    if (!IsGameScreen(Screen) || !BoardSeen) {
        std::memcpy(SeenBoard, Board, sizeof SeenBoard);
        BoardSeen = IsGameScreen(Screen);
        return;
    }
    char last = Empty;
    for (int row = BoardRows - 1; row >= 0; --row) {
        for (int column = 0; column < BoardColumns; ++column) {
            int cell = row * BoardColumns + column;
            if (SeenBoard[cell] == Empty && Board[cell] != Empty) {
                last = Board[cell];
                AnnouncePlayer("AnnounceDisc", last, column + 1);
            }
        }
    }
    std::memcpy(SeenBoard, Board, sizeof SeenBoard);
    // After a disc that ends the game the box says what comes next.
    if (last != Empty && !HasFourInARow(last, Board) && !IsBoardFull())
        AnnouncePlayer(nullptr, OtherMark(last), 0);
}
