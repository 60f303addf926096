// Whole games against the easy and the hard computer through PlayColumn,
// with the real choosers, drawing and highscore table over the fake
// platform. The human side plays a simple policy: win at once if it can,
// else block the computer's four, else a seeded random column with room.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "game/board.h"
#include "game/match.h"
#include "players/highscore.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

namespace {

enum class Outcome { None, HumanWin, ComputerWin, Draw };

const char* const HumanName = "Tester";

// Whether a disc of mark in column would make four in a row.
bool Wins(int column, char mark) {
    int row = LowestFreeRow(column);
    if (row == NoRow)
        return false;
    char board[BoardCells];
    std::memcpy(board, Board, sizeof board);
    board[row * BoardColumns + column] = mark;
    return HasFourInARow(mark, board);
}

int HumanColumn(std::mt19937& random) {
    for (char mark : {MarkO, MarkX})
        for (int column = 0; column < BoardColumns; ++column)
            if (Wins(column, mark))
                return column;
    int free[BoardColumns] = {};
    int count = 0;
    for (int column = 0; column < BoardColumns; ++column)
        if (!IsColumnFull(column))
            free[count++] = column;
    return free[std::uniform_int_distribution<int>(0, count - 1)(random)];
}

// The announcement among the calls, if any.
Outcome Announced() {
    for (const std::string& call : fake::CallsStartingWith("box ")) {
        if (call == std::string("box main \"") + HumanName + R"(" "***SIEG***" 0x40)")
            return Outcome::HumanWin;
        if (call == R"(box main "COMPUTER" "***SIEG***" 0x40)")
            return Outcome::ComputerWin;
        if (call == R"(box main "!  !  U N E N T S C H I E D E N  !  !" "***HAHA***" 0x40)")
            return Outcome::Draw;
    }
    return Outcome::None;
}

bool FileExists(const char* path) {
    std::ifstream file(path);
    return file.good();
}

std::string FirstLine(const char* path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// Runs in a scratch folder, where the table is written as the game names it.
class ComputerGames : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/rillo_games_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        ASSERT_NE(getcwd(previous_, sizeof previous_), nullptr);
        ASSERT_EQ(chdir(folder_.c_str()), 0);
    }
    void TearDown() override {
        (void)std::remove(HighscoreFile);  // only there after a win
        EXPECT_EQ(chdir(previous_), 0);
        rmdir(folder_.c_str());
    }

    // One game from an empty board. The play-again box is left unanswered
    // (the fake answers OK), so the board stays as the game ended.
    static Outcome PlayGame(int screen, int mode, unsigned seed, int* clicks) {
        ResetProcessState();
        (void)std::remove(HighscoreFile);  // only there after a win
        ClearBoard();
        std::strcpy(PlayerName1, HumanName);
        Screen = screen;
        GameMode = mode;
        std::mt19937 random(seed);
        Outcome outcome = Outcome::None;
        for (*clicks = 0; *clicks < 50 && outcome == Outcome::None; ++*clicks) {
            fake::SetClock(seed * 100 + static_cast<unsigned>(*clicks));
            PlayColumn(HumanColumn(random));
            outcome = Announced();
        }
        return outcome;
    }

    std::string folder_;
    char previous_[4096] = {};
};

TEST_F(ComputerGames, EachLevelIsWonLostAndDrawnToItsProperEnd) {
    struct Level {
        const char* name;
        int screen;
        int mode;
    };
    for (const Level& level : {Level{"easy", ScreenEasyComputer, ModeEasyComputer},
                               Level{"hard", ScreenHardComputer, ModeHardComputer}}) {
        SCOPED_TRACE(level.name);
        int seen[4] = {};
        for (unsigned seed = 0; seed < 3000; ++seed) {
            if (seen[1] > 0 && seen[2] > 0 && seen[3] > 0 && seed >= 50)
                break;
            SCOPED_TRACE(seed);
            int clicks = 0;
            Outcome outcome = PlayGame(level.screen, level.mode, seed, &clicks);
            ASSERT_NE(outcome, Outcome::None) << "no end after " << clicks << " clicks";
            ++seen[static_cast<int>(outcome)];
            EXPECT_EQ(fake::CallsStartingWith("box main \"Nochmal\" \"***????***\"").size(), 1U);
            switch (outcome) {
                case Outcome::HumanWin:
                    // The first game of a session counts its clicks from 0.
                    EXPECT_EQ(HasFourInARow(MarkO, Board), 1);
                    EXPECT_EQ(HasFourInARow(MarkX, Board), 0);
                    EXPECT_EQ(FirstLine(HighscoreFile),
                              std::string(HumanName) + " " + std::to_string(clicks - 1));
                    break;
                case Outcome::ComputerWin:
                    EXPECT_EQ(HasFourInARow(MarkX, Board), 1);
                    EXPECT_EQ(HasFourInARow(MarkO, Board), 0);
                    EXPECT_FALSE(FileExists(HighscoreFile));
                    break;
                case Outcome::Draw:
                    EXPECT_TRUE(IsBoardFull());
                    EXPECT_EQ(HasFourInARow(MarkO, Board), 0);
                    EXPECT_EQ(HasFourInARow(MarkX, Board), 0);
                    EXPECT_FALSE(FileExists(HighscoreFile));
                    break;
                case Outcome::None:
                    break;
            }
        }
        EXPECT_GT(seen[static_cast<int>(Outcome::HumanWin)], 0);
        EXPECT_GT(seen[static_cast<int>(Outcome::ComputerWin)], 0);
        EXPECT_GT(seen[static_cast<int>(Outcome::Draw)], 0);
        std::printf("%s: %d human wins, %d computer wins, %d draws\n", level.name, seen[1], seen[2],
                    seen[3]);
    }
}

// The computer passed a turn earlier, so the human's disc fills the last
// cell and the computer is asked on a full board: it answers at once, and
// the draw is announced.
TEST_F(ComputerGames, HumanFillingTheLastCellEndsInADraw) {
    // 42 discs without a four; the last one is the human's.
    const std::string drawn = "436014551150160155104632660465204242223333";
    for (int mode : {ModeEasyComputer, ModeHardComputer}) {
        for (unsigned clock : {0U, 1U, 77U}) {
            SCOPED_TRACE(mode * 1000 + clock);
            ResetProcessState();
            ClearBoard();
            std::strcpy(PlayerName1, HumanName);
            Screen = mode == ModeEasyComputer ? ScreenEasyComputer : ScreenHardComputer;
            GameMode = mode;
            char mark = MarkX;
            for (std::size_t i = 0; i + 1 < drawn.size(); ++i) {
                int column = drawn[i] - '0';
                Board[LowestFreeRow(column) * BoardColumns + column] = mark;
                mark = mark == MarkX ? MarkO : MarkX;
            }
            MoveCount = 20;
            fake::SetClock(clock);
            PlayColumn(drawn.back() - '0');
            EXPECT_EQ(Announced(), Outcome::Draw);
            EXPECT_TRUE(IsBoardFull());
            EXPECT_EQ(fake::CallsStartingWith("pause ").size(), 1U);
        }
    }
}

}  // namespace
