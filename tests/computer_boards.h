// Boards for the computer player tests, drawn as six lines of seven cells,
// top row first: '.' empty, 'X' and 'O' discs. Whitespace is ignored.
#pragma once

#include <array>
#include <stdexcept>
#include <string>

#include "game/state.h"

using TestBoard = std::array<char, BoardCells>;

inline TestBoard BoardFromPicture(const std::string& picture) {
    TestBoard board;
    int n = 0;
    for (char ch : picture) {
        if (ch == ' ' || ch == '\n')
            continue;
        if (n == BoardCells)
            throw std::invalid_argument("more than 42 cells: " + picture);
        board[n++] = ch == '.' ? Empty : ch;
    }
    if (n != BoardCells)
        throw std::invalid_argument("fewer than 42 cells: " + picture);
    return board;
}
