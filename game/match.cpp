// The flow of a match: one click on the board becomes one turn, in a game of
// two players at one mouse or against the computer.
#include "game/match.h"

#include "computer/computer.h"
#include "game/board.h"
#include "players/highscore.h"
#include "shell/drawing.h"

int TurnCounter = 2;
char LastMover = '\0';
bool ComputerToMove = false;
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
        // KEPT: the turn counter itself is the colour selector; only its
        // parity counts.
        DrawDisc(MainWindow, column, row, TurnCounter);
        StartSound(FallSound);
    } else {
        // KEPT: the same player moves again, LastMover becomes the mark of
        // the player before, and both tests below run on the unchanged board.
        StartSound(FullColumnSound);
        --TurnCounter;
    }
    LastMover = MarkOfTurn();
    ++TurnCounter;
    // KEPT: the draw test runs even when the win test ended the game and the
    // play-again question was answered Cancel: a winning last disc then also
    // announces a draw and asks again.
    CheckWin(MainWindow);
    CheckDraw();
}

void PlayComputerGameColumn(int column) {
    ComputerToMove = false;
    // KEPT: against the computer the human plays 'O' and the computer 'X',
    // the other way round from player 1 in a game of two.
    LastMover = MarkO;
    // KEPT: the human's disc is searched for from the bottom: every taken
    // cell passed starts the full-column sound (spelt "Voll.wav" here), each
    // cutting off the one before; a full column places nothing and the
    // computer does not answer.
    for (int row = BoardRows - 1; row >= 0; --row) {
        if (Board[row * BoardColumns + column] == Empty) {
            SetCell(row, column, MarkO);
            DrawDisc(MainWindow, column, row, HumanColour);
            StartSound(FallSound);
            if (CheckWin(MainWindow))
                ComputerToMove = true;  // no win: the computer answers
            break;
        }
        StartSound(FullColumnSoundComputerGame);
        ComputerToMove = false;
    }
    DrawTurnPicture();
    // KEPT: no draw test before the computer's answer; a board the human has
    // filled (after a passed turn) is announced as a draw after it.
    if (ComputerToMove) {
        LastMover = MarkX;
        ComputerMove();
        CheckWin(MainWindow);
        CheckDraw();
        ComputerToMove = false;
    }
}

}  // namespace

void HandleBoardClick(int x) { PlayColumn(ColumnFromX(x)); }

void PlayColumn(int column) {
    if (AgainstComputer()) {
        PlayComputerGameColumn(column);
    } else {
        PlayTwoPlayerColumn(column);
    }
    DrawTurnPicture();
    // KEPT: also after a game ended in this click and Yes or No reset the
    // count: the first game counts from 0, every later one from 1.
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
        return;  // KEPT: a full column (as the opening may name): the computer passes its turn
    SetCell(row, column, MarkX);
    DrawDisc(MainWindow, column, row, ComputerColour);
}

bool CheckWin(WindowHandle window) {
    if (!HasFourInARow(LastMover, Board))
        return true;
    PlaySoundToEnd(WinSound);
    if (!AgainstComputer()) {
        // TurnCounter has already moved on past the winning disc.
        if (TurnCounter % 2 != 0) {
            ShowMessage(window, PlayerName1, PlayerOneWinCaption, BoxInformation);
        } else {
            ShowMessage(window, PlayerName2, PlayerTwoWinCaption, BoxInformation);
        }
    } else if (!ComputerToMove) {
        EnterHighscore(PlayerName1, MoveCount);
        ShowMessage(window, PlayerName1, ComputerGameWinCaption, BoxInformation);
    } else {
        ShowMessage(window, ComputerWinText, ComputerGameWinCaption, BoxInformation);
    }
    AskPlayAgain();
    return false;
}

bool CheckDraw() {
    if (!IsBoardFull())
        return true;
    ShowMessage(MainWindow, DrawAnnouncement, DrawAnnouncementCaption, BoxInformation);
    AskPlayAgain();
    return false;
}

void AskPlayAgain() {
    int answer = ShowMessage(MainWindow, PlayAgainText, PlayAgainCaption, BoxYesNoCancel);
    if (answer == AnswerYes || answer == AnswerNo) {
        RequestRepaint(MainWindow);
        ComputerToMove = false;
        TurnCounter = 2;
        MoveCount = 0;
        // KEPT: LastMover is never reset.
        ClearBoard();
        if (answer == AnswerNo)
            Screen = ScreenMenu;
    } else if (answer == AnswerCancel) {
        Running = false;
    }
}
