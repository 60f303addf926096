// The pattern rules of both levels, table-driven over drawn boards.
#include <gtest/gtest.h>

#include "computer/computer.h"
#include "computer/rule_grid.h"
#include "tests/computer_boards.h"
#include "tests/reset.h"

namespace {

enum Rule {
    ThreeHorizontal,
    ThreeVertical,
    ThreeRising,
    ThreeFalling,
    ThreeOrTwoRising,
    ThreeOrTwoFalling,
    ThreeOrTwoVertical,
    ThreeOrTwoHorizontal,
};

int RunRule(Rule rule, char key, const char* board, int mode) {
    switch (rule) {
        case ThreeHorizontal:
            return FindThreeHorizontal(key, board);
        case ThreeVertical:
            return FindThreeVertical(key, board);
        case ThreeRising:
            return FindThreeRising(key, board);
        case ThreeFalling:
            return FindThreeFalling(key, board);
        case ThreeOrTwoRising:
            return FindThreeOrTwoRising(key, board, mode);
        case ThreeOrTwoFalling:
            return FindThreeOrTwoFalling(key, board, mode);
        case ThreeOrTwoVertical:
            return FindThreeOrTwoVertical(key, board, mode);
        case ThreeOrTwoHorizontal:
            return FindThreeOrTwoHorizontal(key, board, mode);
    }
    return -1;
}

struct RuleCase {
    const char* name;
    const char* picture;
    Rule rule;
    char key;
    int mode;  // only for the hard rules
    int expected;
};

const char* const OpenThreeBottom = ".OOO...";

const char* const UnsupportedGap = "XXX..../OXO....";

const char* const SupportedGap = "XXX..../OXOO...";

const char* const ThreatsInTwoRows = "....OOO/.OOOXXO";

const char* const StacksInTwoRows = ".O...../OO...../OO...../OX.....";

// Discs at the right end of row 4 and the left end of row 5 follow each other
// in the board's storage but are no line.
const char* const RightEndThenLeftEnd = "...XOOO/...OXOX";

const char* const EmptyEndThenLeftThree = "OOOX..X";

// Three 'O' at the top of a full column, and a rising three ending in the
// top row: neither has a cell above the board to take.
const char* const ThreesAtTheTop = "..OO.../.OXX.../OXOX.../XOXO.../OXOX.../XOXO...";

const char* const FallingThree = "...O.../...XO../...XXO./...XOX.";

// Threes with their gap inside: the gap is the cell chosen.
const char* const GapSecond = "O.OO...";
const char* const GapThird = "XOO.O..";

// Threes whose window reaches the top row: across the top row over full
// columns, and stacked up to the row below it.
const char* const TopRowThree = "OOO..../XXOX.../OOXO.../XXOX.../OOXO.../XXOX...";
const char* const StackBelowTheTop = "......./O....../O....../O....../X....../X......";

const char* const RisingGapTwo = "..O..../..X..../OXX....";

const char* const RisingPairBelowGaps = "...X.../.O.X.../OX.X...";

const char* const FallingGapTwo = "....O../....X../....XXO";

const char* const FallingGapTwoSupported = "...XO../...OX../...XXXO";

const RuleCase RuleCases[] = {
    // Three-disc patterns, first match of the topmost row (easy) against the
    // last match (hard).
    {"open three: leftmost window", OpenThreeBottom, ThreeHorizontal, 'O', 0, 1},
    {"open three: rightmost window", OpenThreeBottom, ThreeOrTwoHorizontal, 'O', ModeThree, 5},
    {"open three: other key", OpenThreeBottom, ThreeHorizontal, 'X', 0, NoMove},
    {"gap without support", UnsupportedGap, ThreeHorizontal, 'X', 0, NoMove},
    {"gap without support, hard", UnsupportedGap, ThreeOrTwoHorizontal, 'X', ModeThree, NoMove},
    {"gap with support", SupportedGap, ThreeHorizontal, 'X', 0, 4},
    {"higher row wins", ThreatsInTwoRows, ThreeHorizontal, 'O', 0, 4},
    {"higher row wins, hard", ThreatsInTwoRows, ThreeOrTwoHorizontal, 'O', ModeThree, 4},
    {"higher stack wins", StacksInTwoRows, ThreeVertical, 'O', 0, 2},
    {"higher stack wins, hard", StacksInTwoRows, ThreeOrTwoVertical, 'O', ModeThree, 2},
    {"row end is no window", RightEndThenLeftEnd, ThreeHorizontal, 'O', 0, NoMove},
    {"row end is no window, hard", RightEndThenLeftEnd, ThreeOrTwoHorizontal, 'O', ModeThree,
     NoMove},
    {"row start is no window", EmptyEndThenLeftThree, ThreeHorizontal, 'O', 0, NoMove},
    {"row start is no window, hard", EmptyEndThenLeftThree, ThreeOrTwoHorizontal, 'O', ModeThree,
     NoMove},
    {"nothing above a full column", ThreesAtTheTop, ThreeVertical, 'O', 0, NoMove},
    {"nothing above the top row", ThreesAtTheTop, ThreeRising, 'O', 0, NoMove},
    {"nothing above the top row, hard", ThreesAtTheTop, ThreeOrTwoRising, 'O', ModeThree, NoMove},
    {"falling three", FallingThree, ThreeFalling, 'O', 0, 7},
    {"falling three, hard", FallingThree, ThreeOrTwoFalling, 'O', ModeThree, 7},
    {"falling three is not rising", FallingThree, ThreeRising, 'O', 0, NoMove},
    {"gap second", GapSecond, ThreeHorizontal, 'O', 0, 2},
    {"gap second, hard", GapSecond, ThreeOrTwoHorizontal, 'O', ModeThree, 2},
    {"gap third", GapThird, ThreeHorizontal, 'O', 0, 4},
    {"three in the top row", TopRowThree, ThreeHorizontal, 'O', 0, 4},
    {"three in the top row, hard", TopRowThree, ThreeOrTwoHorizontal, 'O', ModeThree, 4},
    {"stack up to the top row", StackBelowTheTop, ThreeVertical, 'O', 0, 1},
    {"two mode sees the outer two of a three", OpenThreeBottom, ThreeOrTwoHorizontal, 'O', ModeTwo,
     5},
    {"unknown mode 0", OpenThreeBottom, ThreeOrTwoHorizontal, 'O', 0, NoMove},
    {"unknown mode 3", OpenThreeBottom, ThreeOrTwoHorizontal, 'O', 3, NoMove},
    {"unknown mode -1", StacksInTwoRows, ThreeOrTwoVertical, 'O', -1, NoMove},

    // Horizontal twos.
    {"two: later window wins", "..OO..X", ThreeOrTwoHorizontal, 'O', ModeTwo, 5},
    {"two: pattern 1, right side taken", "...OOX.", ThreeOrTwoHorizontal, 'O', ModeTwo, 3},
    {"two: pattern 3, left side taken", "XOO....", ThreeOrTwoHorizontal, 'O', ModeTwo, 4},
    {"two: pattern 2", ".O.OX..", ThreeOrTwoHorizontal, 'O', ModeTwo, 3},
    {"two: both sides taken", "XOO.X..", ThreeOrTwoHorizontal, 'O', ModeTwo, NoMove},
    {"two: the left border is no room", "OO.X...", ThreeOrTwoHorizontal, 'O', ModeTwo, NoMove},
    {"two: anchored in column 4 against the right border", "X....OO", ThreeOrTwoHorizontal, 'O',
     ModeTwo, 5},
    {"two: chosen cells unsupported", ".OO..../.XX....", ThreeOrTwoHorizontal, 'O', ModeTwo,
     NoMove},
    {"two: only the chosen cell needs support", ".OO..../.XXX...", ThreeOrTwoHorizontal, 'O',
     ModeTwo, 4},

    // Vertical twos.
    {"two stacked", "O....../O.....X", ThreeOrTwoVertical, 'O', ModeTwo, 1},
    {"two stacked too high", "O....../O....../X....../X....../X......", ThreeOrTwoVertical, 'O',
     ModeTwo, NoMove},

    // Diagonal twos.
    {"rising two with a gap", RisingGapTwo, ThreeOrTwoRising, 'O', ModeTwo, 2},
    {"rising two with a gap is not falling", RisingGapTwo, ThreeOrTwoFalling, 'O', ModeTwo, NoMove},
    {"rising pair takes the far end", RisingPairBelowGaps, ThreeOrTwoRising, 'O', ModeTwo, 4},
    {"falling two, end cell unsupported", FallingGapTwo, ThreeOrTwoFalling, 'O', ModeTwo, NoMove},
    {"falling two, end cell supported", FallingGapTwoSupported, ThreeOrTwoFalling, 'O', ModeTwo, 4},
};

TEST(ComputerRules, FindTheExpectedColumn) {
    for (const RuleCase& c : RuleCases) {
        SCOPED_TRACE(c.name);
        ResetProcessState();
        TestBoard board = BoardFromPicture(c.picture);
        EXPECT_EQ(RunRule(c.rule, c.key, board.data(), c.mode), c.expected);
    }
}

TEST(ComputerRules, RuleGridFramesTheBoard) {
    ResetProcessState();
    TestBoard board = BoardFromPicture("X.....O/......./......./......./......./O.....X");
    RuleGrid grid{};
    BuildRuleGrid(board.data(), &grid);
    EXPECT_EQ(GridCell(grid, 0, 0), 'X');
    EXPECT_EQ(GridCell(grid, 0, 6), 'O');
    EXPECT_EQ(GridCell(grid, 5, 6), 'X');
    EXPECT_EQ(GridCell(grid, 2, 3), Empty);
    for (int r = 0; r < BoardRows; ++r) {
        EXPECT_EQ(GridCell(grid, r, -1), BorderMark);
        EXPECT_EQ(GridCell(grid, r, 7), BorderMark);
    }
    for (int c = 0; c < BoardColumns; ++c)
        EXPECT_EQ(GridCell(grid, 6, c), BorderMark);
}

TEST(ComputerRules, SupportedWhenOnTheBottomRowOrOnADisc) {
    ResetProcessState();
    TestBoard board = BoardFromPicture("..O..../..X..../.XO....");
    RuleGrid grid{};
    BuildRuleGrid(board.data(), &grid);
    EXPECT_TRUE(IsSupported(grid, 5, 0));   // empty bottom cell
    EXPECT_TRUE(IsSupported(grid, 5, 1));   // taken bottom cell
    EXPECT_TRUE(IsSupported(grid, 4, 1));   // on an 'X'
    EXPECT_TRUE(IsSupported(grid, 2, 2));   // on an 'O'
    EXPECT_FALSE(IsSupported(grid, 4, 0));  // over an empty cell
    EXPECT_FALSE(IsSupported(grid, 3, 1));  // two above the disc
    EXPECT_FALSE(IsSupported(grid, 1, 2));
}

}  // namespace
