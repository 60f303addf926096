// Positions for the benchmarks, built from the columns played.
#pragma once

#include <cstring>
#include <string>

#include "game/state.h"

// Drops a disc into the lowest empty cell of a column; false when it is full.
inline bool DropDisc(char* board, int column, char mark) {
    for (int row = BoardRows - 1; row >= 0; --row) {
        if (board[row * BoardColumns + column] == Empty) {
            board[row * BoardColumns + column] = mark;
            return true;
        }
    }
    return false;
}

// Clears the board and plays the columns ("3344") in turn, first mark first.
inline void PlayColumns(char* board, const std::string& columns, char first) {
    std::memset(board, Empty, BoardCells);
    char mark = first;
    for (char ch : columns) {
        DropDisc(board, ch - '0', mark);
        mark = mark == MarkX ? MarkO : MarkX;
    }
}

// Swaps 'X' and 'O' on a board. The choosers always play 'X' against the
// human's 'O', so a chooser playing the other side sees the board swapped.
inline void SwapMarks(char* board) {
    for (int cell = 0; cell < BoardCells; ++cell) {
        if (board[cell] != Empty)
            board[cell] = board[cell] == MarkX ? MarkO : MarkX;
    }
}

// Whether any column of the board has room for another disc.
inline bool HasRoom(const char* board) {
    for (int column = 0; column < BoardColumns; ++column) {
        if (board[column] == Empty)
            return true;
    }
    return false;
}

// The three stages every rule and chooser is timed on, as the columns played
// with the human's 'O' first; none holds a four for either side.
struct BenchPosition {
    const char* name;
    const char* columns;
};

constexpr BenchPosition BenchPositions[] = {
    {"empty", ""},
    // 21 discs; the human has a vertical two and a rising two, the computer a
    // vertical three.
    {"mid_game", "332445216001566122043"},
    // 38 discs; only column 3 has room.
    {"nearly_full", "43601455115016015510463266046520424222"},
};
