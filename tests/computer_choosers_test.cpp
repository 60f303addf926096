// The easy and the hard chooser side by side on the same boards.
#include <gtest/gtest.h>

#include "computer/computer.h"
#include "tests/computer_boards.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

namespace {

struct ChooserCase {
    const char* name;
    const char* picture;
    int moveCount;
    std::uint32_t clock;
    int easy;
    int hard;
};

const char* const OwnThreeAgainstThreat = "......X/.O....X/.OOO..X";

const char* const OpenThree = ".OOO...";

const char* const OpenTwo = "..OO..X";

const char* const StackedTwo = "O....../O.....X";

const char* const OwnThreeAgainstTwo = "X....../X....../XOO....";

// An 'O' three rising to (2,3) and one in row 5 ending at (5,6).
const char* const RisingAndHorizontalThreats = "..OX.../.OXX.../OXXOOO.";

const char* const Quiet = "..XO...";

const char* const FullBoard = "XOXOXOX/XOXOXOX/OXOXOXO/OXOXOXO/XOXOXOX/XOXOXOX";

// Clock 0 draws 38 first (opening column 3), clock 1 draws 41 (column 2).
const ChooserCase ChooserCases[] = {
    {"easy wins, hard blocks", OwnThreeAgainstThreat, 3, 0, 6, 4},
    {"open three blocked at opposite ends", OpenThree, 2, 0, 0, 4},
    {"open two: easy leaves it to chance", OpenTwo, 1, 0, 3, 4},
    {"open two, other clock", OpenTwo, 1, 1, 2, 4},
    {"stacked two", StackedTwo, 1, 0, 3, 0},
    {"own three before the human's two", OwnThreeAgainstTwo, 3, 0, 0, 0},
    {"direction order differs", RisingAndHorizontalThreats, 6, 0, 6, 3},
    {"nothing found: same opening", Quiet, 1, 0, 3, 3},
    {"nothing found: same random column", Quiet, 4, 1, 0, 0},
};

TEST(ComputerChoosers, EasyAndHardOnTheSameBoards) {
    for (const ChooserCase& c : ChooserCases) {
        SCOPED_TRACE(c.name);
        ResetProcessState();
        TestBoard board = BoardFromPicture(c.picture);
        fake::SetClock(c.clock);
        EXPECT_EQ(ChooseEasyColumn(board.data(), c.moveCount), c.easy);
        EXPECT_EQ(ChooseHardColumn(board.data(), c.moveCount), c.hard);
    }
}

TEST(ComputerChoosers, FallbackIsTheSameForBothLevels) {
    ResetProcessState();
    TestBoard board = BoardFromPicture(Quiet);
    for (std::uint32_t clock = 0; clock < 64; ++clock) {
        for (int moveCount : {0, 3, 4, 10}) {
            fake::SetClock(clock);
            int easy = ChooseEasyColumn(board.data(), moveCount);
            SeedRandom(clock);
            EXPECT_EQ(easy, ChooseFallbackColumn(board.data(), moveCount));
            EXPECT_EQ(ChooseHardColumn(board.data(), moveCount), easy);
        }
    }
}

// The generator is seeded from the clock at every call, before any rule, so
// what was drawn before makes no difference, and a rule's find leaves the
// seed untouched.
TEST(ComputerChoosers, SeedFromTheClockAtEveryCall) {
    ResetProcessState();
    fake::SetClock(1234);
    TestBoard quiet = BoardFromPicture(Quiet);
    SeedRandom(99);
    int easy = ChooseEasyColumn(quiet.data(), 8);
    SeedRandom(7);
    EXPECT_EQ(ChooseEasyColumn(quiet.data(), 8), easy);
    SeedRandom(5);
    int hard = ChooseHardColumn(quiet.data(), 8);
    SeedRandom(55);
    EXPECT_EQ(ChooseHardColumn(quiet.data(), 8), hard);

    TestBoard threat = BoardFromPicture(OwnThreeAgainstThreat);
    SeedRandom(3);
    ChooseEasyColumn(threat.data(), 3);
    EXPECT_EQ(RandomState, 1234U);
    SeedRandom(3);
    ChooseHardColumn(threat.data(), 3);
    EXPECT_EQ(RandomState, 1234U);
}

TEST(ComputerChoosers, FullBoardStillGivesAColumn) {
    ResetProcessState();
    TestBoard board = BoardFromPicture(FullBoard);
    for (std::uint32_t clock : {0U, 1U, 1700000000U}) {
        fake::SetClock(clock);
        int easy = ChooseEasyColumn(board.data(), 42);
        int hard = ChooseHardColumn(board.data(), 42);
        EXPECT_TRUE(easy >= 0 && easy <= 6) << easy;
        EXPECT_TRUE(hard >= 0 && hard <= 6) << hard;
    }
}

TEST(ComputerChoosers, NeverWriteTheBoard) {
    const char* pictures[] = {OwnThreeAgainstThreat,      OpenTwo, StackedTwo,
                              RisingAndHorizontalThreats, Quiet,   FullBoard};
    for (const char* picture : pictures) {
        ResetProcessState();
        fake::SetClock(42);
        TestBoard board = BoardFromPicture(picture);
        const TestBoard before = board;
        for (int moveCount : {1, 9}) {
            ChooseEasyColumn(board.data(), moveCount);
            ChooseHardColumn(board.data(), moveCount);
        }
        EXPECT_EQ(board, before) << picture;
    }
}

}  // namespace
