// The board and the rules that read it.
#include "game/board.h"

#include "game/layout.h"

char Board[BoardCells];

namespace {

char Cell(const char* board, int row, int column) { return board[row * BoardColumns + column]; }

// Walks one line from (row, column) by (rowStep, columnStep) while it stays
// on the board and says whether it holds four marks in a row. The run
// counter starts afresh on every line.
bool LineHasFour(char mark, const char* board, int row, int column, int rowStep, int columnStep) {
    int run = 0;
    while (row >= 0 && row < BoardRows && column >= 0 && column < BoardColumns) {
        if (Cell(board, row, column) == mark) {
            if (run < 4)
                ++run;
            if (run == 4)
                return true;
        } else {
            run = 0;
        }
        row += rowStep;
        column += columnStep;
    }
    return false;
}

}  // namespace

void ClearBoard() {
    for (char& cell : Board)
        cell = Empty;
}

int LowestFreeRow(int column) {
    for (int row = BoardRows - 1; row >= 0; --row) {
        if (Cell(Board, row, column) == Empty)
            return row;
    }
    return NoRow;
}

bool IsColumnFull(int column) { return Cell(Board, 0, column) != Empty; }

bool HasFourInARow(char mark, const char* board) {
    // Rows, bottom row first, each left to right.
    for (int row = BoardRows - 1; row >= 0; --row) {
        if (LineHasFour(mark, board, row, 0, 0, 1))
            return true;
    }
    // Columns, left to right, each from the bottom up.
    for (int column = 0; column < BoardColumns; ++column) {
        if (LineHasFour(mark, board, BoardRows - 1, column, -1, 0))
            return true;
    }
    // Rising diagonals (up and to the right): from the left edge in rows 3,
    // 4 and 5, then from the bottom edge in columns 1, 2 and 3.
    for (int row = 3; row <= 5; ++row) {
        if (LineHasFour(mark, board, row, 0, -1, 1))
            return true;
    }
    for (int column = 1; column <= 3; ++column) {
        if (LineHasFour(mark, board, BoardRows - 1, column, -1, 1))
            return true;
    }
    // Falling diagonals (up and to the left): from the right edge in rows 3,
    // 4 and 5, then from the bottom edge in columns 5, 4 and 3.
    for (int row = 3; row <= 5; ++row) {
        if (LineHasFour(mark, board, row, BoardColumns - 1, -1, -1))
            return true;
    }
    for (int column = 5; column >= 3; --column) {
        if (LineHasFour(mark, board, BoardRows - 1, column, -1, -1))
            return true;
    }
    return false;
}

bool IsBoardFull() {
    int fullColumns = 0;
    for (int column = 0; column < BoardColumns; ++column) {
        if (IsColumnFull(column))
            ++fullColumns;
    }
    return fullColumns == BoardColumns;
}

int ColumnFromX(int x) {
    int lower = BandFirstX;
    for (int column = 0; column < BoardColumns; ++column) {
        int upper = BandFirstX + BandWidth * (column + 1) - 1;
        if (x >= lower && x <= upper)
            return column;
        lower = upper + 1;
    }
    return 0;  // KEPT: outside every band, column 0
}

int DiscCentreX(int column) { return DiscStepX * column + DiscFirstX; }

int DiscCentreY(int row) { return DiscBottomY - DiscStepY * (BoardRows - 1 - row); }
