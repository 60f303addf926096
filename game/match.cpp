// The flow of a match: one click on the board becomes one turn, in a game of
// two players at one mouse or against the computer.
#include "game/match.h"

#include "computer/computer.h"
#include "game/board.h"
#include "players/highscore.h"
#include "shell/drawing.h"

int TurnCounter = 2;
char LastMover = '\0';
int ComputerToMove = 0;
int MoveCount = 0;

namespace {

// Colour selectors for games against the computer; only the parity counts.
constexpr int HumanColour = 2;
constexpr int ComputerColour = 1;

constexpr int ComputerThinkingMs = 1000;

char MarkOfTurn() { return TurnCounter % 2 == 0 ? MarkX : MarkO; }

bool AgainstComputer() { return GameMode == ModeEasyComputer || GameMode == ModeHardComputer; }

void SetCell(int row, int column, char mark) { Board[row * BoardColumns + column] = mark; }

void PlayTwoPlayerColumn(int column) {
    if (!IsColumnFull(column)) {
        int row = LowestFreeRow(column);
        SetCell(row, column, MarkOfTurn());
        DrawDisc(MainWindow, column, row, TurnCounter);
        StartSound(FallSound);
    } else {
        // The same player moves again.
        StartSound(FullColumnSound);
        --TurnCounter;
    }
    LastMover = MarkOfTurn();
    ++TurnCounter;
    CheckWin(MainWindow);
    CheckDraw();
}

void PlayComputerGameColumn(int column) {
    ComputerToMove = 0;
    LastMover = MarkO;
    // The human's disc falls from the top: every taken cell it passes on the
    // way up from the bottom sounds the full-column sound.
    for (int row = BoardRows - 1; row >= 0; --row) {
        if (Board[row * BoardColumns + column] == Empty) {
            SetCell(row, column, MarkO);
            DrawDisc(MainWindow, column, row, HumanColour);
            StartSound(FallSound);
            if (CheckWin(MainWindow) == 1)
                ComputerToMove = 1;
            break;
        }
        StartSound(FullColumnSoundComputerGame);
        ComputerToMove = 0;
    }
    DrawTurnPicture();
    if (ComputerToMove == 1) {
        LastMover = MarkX;
        ComputerMove();
        CheckWin(MainWindow);
        CheckDraw();
        ComputerToMove = 0;
    }
}

}  // namespace

void HandleBoardClick(WindowHandle /*window*/, int x) { PlayColumn(ColumnFromX(x)); }

void PlayColumn(int column) {
    if (AgainstComputer()) {
        PlayComputerGameColumn(column);
    } else {
        PlayTwoPlayerColumn(column);
    }
    DrawTurnPicture();
    ++MoveCount;
}

void ComputerMove() {
    Pause(ComputerThinkingMs);
    int column = GameMode == ModeEasyComputer ? ChooseEasyColumn(Board, MoveCount)
                                              : ChooseHardColumn(Board, MoveCount);
    if (column < 0 || column >= BoardColumns)
        return;  // no such column: the computer passes
    int row = LowestFreeRow(column);
    if (row == NoRow)
        return;  // a full column: the computer passes its turn
    SetCell(row, column, MarkX);
    DrawDisc(MainWindow, column, row, ComputerColour);
}

int CheckWin(WindowHandle window) {
    if (HasFourInARow(LastMover, Board) == 0)
        return 1;
    PlaySoundToEnd(WinSound);
    if (!AgainstComputer()) {
        // TurnCounter has already moved on past the winning disc.
        if (TurnCounter % 2 != 0) {
            ShowMessage(window, PlayerName1, PlayerOneWinCaption, BoxInformation);
        } else {
            ShowMessage(window, PlayerName2, PlayerTwoWinCaption, BoxInformation);
        }
    } else if (ComputerToMove == 0) {
        EnterHighscore(PlayerName1, MoveCount);
        ShowMessage(window, PlayerName1, ComputerGameWinCaption, BoxInformation);
    } else {
        ShowMessage(window, ComputerWinText, ComputerGameWinCaption, BoxInformation);
    }
    AskPlayAgain();
    return 0;
}

int CheckDraw() {
    if (!IsBoardFull())
        return 1;
    ShowMessage(MainWindow, DrawAnnouncement, DrawAnnouncementCaption, BoxInformation);
    AskPlayAgain();
    return 0;
}

void AskPlayAgain() {
    int answer = ShowMessage(MainWindow, PlayAgainText, PlayAgainCaption, BoxYesNoCancel);
    if (answer == AnswerYes || answer == AnswerNo) {
        RequestRepaint(MainWindow);
        ComputerToMove = 0;
        TurnCounter = 2;
        MoveCount = 0;
        ClearBoard();
        if (answer == AnswerNo)
            Screen = ScreenMenu;
    } else if (answer == AnswerCancel) {
        Running = 0;
    }
}
