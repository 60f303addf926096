// The board's rules: four in a row, drops, full columns and board, and the
// pixel geometry of clicks and discs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/board.h"
#include "tests/reset.h"

namespace {

struct Cell {
    int row;
    int column;
};

// A board holding mark in the given cells and nothing else.
std::string BoardWith(char mark, const std::vector<Cell>& cells) {
    std::string board(BoardCells, Empty);
    for (const Cell& cell : cells)
        board[cell.row * BoardColumns + cell.column] = mark;
    return board;
}

struct FourCase {
    const char* name;
    std::vector<Cell> cells;
    int expected;
};

class FourInARow : public ::testing::TestWithParam<FourCase> {};

TEST_P(FourInARow, FindsExactlyTheRunsOfFour) {
    const FourCase& c = GetParam();
    std::string board = BoardWith(MarkX, c.cells);
    EXPECT_EQ(HasFourInARow(MarkX, board.data()), c.expected) << c.name;
    // The other mark never wins on a board it does not appear on.
    EXPECT_EQ(HasFourInARow(MarkO, board.data()), 0) << c.name;
}

std::vector<FourCase> FourCases() {
    std::vector<FourCase> cases = {
        {"bottom row with a gap", {{5, 0}, {5, 1}, {5, 2}, {5, 4}}, 0},
        {"bottom row closed", {{5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}}, 1},
        {"five in a row", {{2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}}, 1},
        {"top row right end", {{0, 3}, {0, 4}, {0, 5}, {0, 6}}, 1},
        {"row end wraps into next row", {{0, 5}, {0, 6}, {1, 0}, {1, 1}}, 0},
        {"three only", {{5, 0}, {5, 1}, {5, 2}}, 0},
        {"column from the bottom", {{5, 0}, {4, 0}, {3, 0}, {2, 0}}, 1},
        {"column at the top", {{3, 6}, {2, 6}, {1, 6}, {0, 6}}, 1},
        {"column with a gap", {{5, 3}, {4, 3}, {2, 3}, {1, 3}}, 0},
        {"column end wraps into next column", {{1, 2}, {0, 2}, {5, 3}, {4, 3}}, 0},
        {"scattered", {{5, 0}, {4, 2}, {3, 4}, {2, 6}}, 0},
        {"L shape", {{5, 0}, {5, 1}, {4, 1}, {3, 1}}, 0},
    };
    // All twelve diagonals that can hold four, each at its lowest and its
    // highest four cells.
    struct Diagonal {
        int row, column, rowStep, columnStep, length;
    };
    const Diagonal diagonals[] = {
        {3, 0, -1, 1, 4},  {4, 0, -1, 1, 5},  {5, 0, -1, 1, 6},  {5, 1, -1, 1, 6},
        {5, 2, -1, 1, 5},  {5, 3, -1, 1, 4},  {3, 6, -1, -1, 4}, {4, 6, -1, -1, 5},
        {5, 6, -1, -1, 6}, {5, 5, -1, -1, 6}, {5, 4, -1, -1, 5}, {5, 3, -1, -1, 4},
    };
    for (const Diagonal& d : diagonals) {
        for (int start : {0, d.length - 4}) {
            std::vector<Cell> cells;
            for (int k = start; k < start + 4; ++k) {
                cells.push_back({d.row + d.rowStep * k, d.column + d.columnStep * k});
            }
            cases.push_back({"diagonal", cells, 1});
            // Three of the four are not enough.
            cells.pop_back();
            cases.push_back({"three on a diagonal", cells, 0});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Lines, FourInARow, ::testing::ValuesIn(FourCases()));

TEST(FourInARowRuns, ARunBrokenByTheOtherMarkStartsAgain) {
    std::string board(BoardCells, Empty);
    std::memcpy(&board[std::size_t{5} * BoardColumns], "XXOXX  ", BoardColumns);
    EXPECT_EQ(HasFourInARow(MarkX, board.data()), 0);
    std::memcpy(&board[std::size_t{5} * BoardColumns], "XXOXXXX", BoardColumns);
    EXPECT_EQ(HasFourInARow(MarkX, board.data()), 1);
}

TEST(FourInARowRuns, TheMarkIsComparedByPlainEquality) {
    std::string empty(BoardCells, Empty);
    EXPECT_EQ(HasFourInARow(MarkX, empty.data()), 0);
    EXPECT_EQ(HasFourInARow(MarkO, empty.data()), 0);
    EXPECT_EQ(HasFourInARow('\0', empty.data()), 0);
    EXPECT_EQ(HasFourInARow(Empty, empty.data()), 1);
}

TEST(FourInARowRuns, ReadsOnlyTheBoardItIsGiven) {
    ResetProcessState();
    ClearBoard();
    std::string other = BoardWith(MarkO, {{5, 0}, {5, 1}, {5, 2}, {5, 3}});
    EXPECT_EQ(HasFourInARow(MarkO, other.data()), 1);
    EXPECT_EQ(HasFourInARow(MarkO, Board), 0);
}

class BoardState : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        ClearBoard();
    }
    static void Fill(int column, int discs) {
        for (int i = 0; i < discs; ++i)
            Board[(BoardRows - 1 - i) * BoardColumns + column] = MarkX;
    }
};

TEST_F(BoardState, ClearBoardEmptiesEveryCell) {
    std::memset(Board, 0, sizeof Board);
    ClearBoard();
    for (char cell : Board)
        EXPECT_EQ(cell, Empty);
}

TEST_F(BoardState, DiscsComeToRestOnTheHighestTakenCell) {
    for (int column = 0; column < BoardColumns; ++column)
        EXPECT_EQ(LowestFreeRow(column), 5);
    for (int discs = 1; discs <= 6; ++discs) {
        Fill(2, discs);
        EXPECT_EQ(LowestFreeRow(2), discs == 6 ? NoRow : 5 - discs) << discs << " discs";
        EXPECT_EQ(IsColumnFull(2), discs == 6) << discs << " discs";
    }
    EXPECT_EQ(LowestFreeRow(1), 5);
}

TEST_F(BoardState, TheBoardIsFullWhenEveryTopCellIsTaken) {
    EXPECT_FALSE(IsBoardFull());
    for (int column = 0; column < BoardColumns; ++column) {
        EXPECT_FALSE(IsBoardFull()) << "before column " << column;
        Fill(column, 6);
    }
    EXPECT_TRUE(IsBoardFull());
    Board[0 * BoardColumns + 4] = Empty;
    EXPECT_FALSE(IsBoardFull());
}

TEST(Geometry, ClicksFallIntoSeventyPixelBands) {
    const struct {
        int x, column;
    } cases[] = {{-5, 0},  {0, 0},   {35, 0},  {36, 0},  {105, 0}, {106, 1},  {175, 1},
                 {176, 2}, {245, 2}, {246, 3}, {315, 3}, {316, 4}, {385, 4},  {386, 5},
                 {455, 5}, {456, 6}, {525, 6}, {526, 0}, {800, 0}, {65535, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ColumnFromX(c.x), c.column) << "x " << c.x;
}

TEST(Geometry, DiscCentresLieOnTheirOwnGrid) {
    const int xs[BoardColumns] = {70, 141, 212, 283, 354, 425, 496};
    const int ys[BoardRows] = {155, 233, 311, 389, 467, 545};
    for (int column = 0; column < BoardColumns; ++column) {
        EXPECT_EQ(DiscCentreX(column), xs[column]);
        // Every disc centre lies inside its own column's click band.
        EXPECT_EQ(ColumnFromX(xs[column]), column);
    }
    for (int row = 0; row < BoardRows; ++row)
        EXPECT_EQ(DiscCentreY(row), ys[row]);
}

}  // namespace
