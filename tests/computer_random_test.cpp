// The random generator and the fallback choice that uses it.
#include <gtest/gtest.h>

#include <set>

#include "computer/computer.h"
#include "tests/computer_boards.h"
#include "tests/reset.h"

namespace {

TEST(ComputerRandom, KnownDrawsAfterSeeding) {
    ResetProcessState();
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 41);
    EXPECT_EQ(NextRandom(), 18467);
    EXPECT_EQ(NextRandom(), 6334);
    SeedRandom(0);
    EXPECT_EQ(NextRandom(), 38);
    EXPECT_EQ(NextRandom(), 7719);
    EXPECT_EQ(NextRandom(), 21238);
}

TEST(ComputerRandom, StateWrapsAndDrawsStayInRange) {
    ResetProcessState();
    SeedRandom(0xFFFFFFFFU);
    // 0xFFFFFFFF * 214013 + 2531011 modulo 2^32 is 2316998.
    EXPECT_EQ(NextRandom(), (2316998U >> 16) & 0x7FFF);
    EXPECT_EQ(RandomState, 2316998U);
    for (int i = 0; i < 1000; ++i) {
        int draw = NextRandom();
        ASSERT_GE(draw, 0);
        ASSERT_LE(draw, 32767);
    }
}

const char* const OneHumanDisc = "...O...";

struct FallbackCase {
    const char* name;
    const char* picture;
    std::uint32_t seed;
    int moveCount;
    int expected;
};

// Seed 0 draws 38, 7719, ...; seed 1 draws 41 (mod 8: 1), 18467 (3), 6334 (6).
const FallbackCase FallbackCases[] = {
    {"opening plays k + 1", OneHumanDisc, 0, 0, 3},
    {"opening with seed 1", OneHumanDisc, 1, 3, 2},
    {"opening steps left of own bottom disc", "...XO..", 0, 2, 2},
    {"opening keeps a full column", "...X.../...O.../...X.../...O.../...X.../..OO...", 0, 3, 3},
    {"random column with room", OneHumanDisc, 1, 4, 0},
    {"random skips a full column", "X....../O....../X....../O....../X....../O......", 1, 4, 2},
    {"random skips two full columns", "X.X..../O.O..../X.X..../O.O..../X.X..../O.O....", 1, 9, 5},
};

TEST(ComputerFallback, ChoosesFromSeedBoardAndMoveCount) {
    for (const FallbackCase& c : FallbackCases) {
        SCOPED_TRACE(c.name);
        ResetProcessState();
        TestBoard board = BoardFromPicture(c.picture);
        SeedRandom(c.seed);
        EXPECT_EQ(ChooseFallbackColumn(board.data(), c.moveCount), c.expected);
    }
}

TEST(ComputerFallback, RandomColumnNeverFull) {
    ResetProcessState();
    TestBoard board = BoardFromPicture("X.O.X.O/O.X.O.X/X.O.X.O/O.X.O.X/X.O.X.O/O.X.O.X");
    std::set<int> seen;
    for (std::uint32_t seed = 0; seed < 500; ++seed) {
        SeedRandom(seed);
        int column = ChooseFallbackColumn(board.data(), 4);
        ASSERT_TRUE(column == 1 || column == 3 || column == 5) << "seed " << seed;
        seen.insert(column);
    }
    EXPECT_EQ(seen.size(), 3U);
}

TEST(ComputerFallback, OpeningStaysInLeftAndMiddleColumns) {
    ResetProcessState();
    TestBoard board = BoardFromPicture(OneHumanDisc);
    std::set<int> seen;
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        SeedRandom(seed);
        seen.insert(ChooseFallbackColumn(board.data(), 1));
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3, 4}));
}

const char* const FullBoard = "XOXOXOX/XOXOXOX/OXOXOXO/OXOXOXO/XOXOXOX/XOXOXOX";

// Without a column with room the random search could never succeed; it must
// still come back with a column.
TEST(ComputerFallback, FullBoardEndsWithSomeColumn) {
    ResetProcessState();
    TestBoard board = BoardFromPicture(FullBoard);
    for (std::uint32_t seed : {0U, 1U, 77U}) {
        SeedRandom(seed);
        int column = ChooseFallbackColumn(board.data(), 40);
        EXPECT_GE(column, 0);
        EXPECT_LE(column, 6);
    }
}

// One free column left: the search still walks the same draws until it
// lands there (seed 1: 1, 3, 6, ... mod 8).
TEST(ComputerFallback, LastFreeColumnIsFound) {
    ResetProcessState();
    for (int free = 0; free < BoardColumns; ++free) {
        SCOPED_TRACE(free);
        TestBoard board = BoardFromPicture(FullBoard);
        board[free] = Empty;
        SeedRandom(1);
        EXPECT_EQ(ChooseFallbackColumn(board.data(), 4), free);
    }
}

}  // namespace
