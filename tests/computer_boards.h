// Boards for the computer player tests, drawn as rows of seven cells from top
// to bottom, separated by '/': '.' empty, 'X' and 'O' discs. Rows left out at
// the top are empty, so ".O...../XXO...." is a board with four discs.
#pragma once

#include <array>
#include <stdexcept>
#include <string>

#include "game/state.h"

using TestBoard = std::array<char, BoardCells>;

inline TestBoard BoardFromPicture(const std::string& picture) {
    std::string cells;
    for (char ch : picture) {
        if (ch != '/')
            cells += ch == '.' ? Empty : ch;
    }
    std::size_t rows = picture.size() - cells.size() + 1;
    if (cells.size() != rows * BoardColumns || rows > BoardRows) {
        throw std::invalid_argument("not rows of seven cells: " + picture);
    }
    TestBoard board;
    board.fill(Empty);
    std::copy(cells.begin(), cells.end(), board.end() - cells.size());
    return board;
}
