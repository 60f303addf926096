// Whole matches played through PlayColumn, with the drawing, the choosers
// and the highscore entry replaced by recording doubles. Games are strings
// of the columns played, in order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/match.h"
#include "tests/fake_platform.h"
#include "tests/match_doubles.h"
#include "tests/reset.h"

namespace {

using Calls = std::vector<std::string>;

const std::string Fall = "sound async .\\src\\fallen.wav";
const std::string Full = "sound async .\\src\\voll.wav";
const std::string FullAgainstComputer = "sound async .\\src\\Voll.wav";
const std::string Win = "sound sync .\\src\\gewonnen.wav";
const std::string Again = R"(box main "Nochmal" "***????***" 0x23)";
const std::string Drawn = R"(box main "!  !  U N E N T S C H I E D E N  !  !" "***HAHA***" 0x40)";

// 42 discs, no four in a row for anybody.
const char* const DrawnGame = "436014551150160155104632660465204242223333";
// 42 discs, the last of them ('O') makes four in a row.
const char* const WonWithLastDisc = "456444341232530611460223056031100536126255";

std::string Disc(int column, int row, int selector) {
    return "disc " + std::to_string(column) + "," + std::to_string(row) + " sel " +
           std::to_string(selector);
}

char& CellAt(int row, int column) { return Board[row * BoardColumns + column]; }

class Match : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessState();
        doubles::Reset();
        ClearBoard();
        std::strcpy(PlayerName1, "Anna");
        std::strcpy(PlayerName2, "Ben");
        StartGame(ScreenTwoPlayers, ModeTwoPlayers);
    }
    static void StartGame(int screen, int mode) {
        Screen = screen;
        GameMode = mode;
    }
    // Plays every column of the game but the last, then forgets the calls,
    // so the test sees only what the last click did.
    static void PlayUpToLast(const std::string& game) {
        for (std::size_t i = 0; i + 1 < game.size(); ++i)
            PlayColumn(game[i] - '0');
        fake::ClearCalls();
    }
    static void Play(const std::string& game) {
        for (char column : game)
            PlayColumn(column - '0');
    }
};

TEST_F(Match, TheFirstDiscOfATwoPlayerGameIsPlayerOnesOnTheBottom) {
    PlayColumn(3);
    EXPECT_EQ(fake::Calls(), (Calls{Disc(3, 5, 2), Fall, "turn"}));
    EXPECT_EQ(CellAt(5, 3), MarkX);
    EXPECT_EQ(TurnCounter, 3);
    EXPECT_EQ(LastMover, MarkX);
    EXPECT_EQ(MoveCount, 1);
}

TEST_F(Match, PlayersTakeTurnsAndDiscsStack) {
    Play("334");
    EXPECT_EQ(fake::CallsStartingWith("disc"),
              (Calls{Disc(3, 5, 2), Disc(3, 4, 3), Disc(4, 5, 4)}));
    EXPECT_EQ(CellAt(5, 3), MarkX);
    EXPECT_EQ(CellAt(4, 3), MarkO);
    EXPECT_EQ(CellAt(5, 4), MarkX);
    EXPECT_EQ(LastMover, MarkX);
    EXPECT_EQ(MoveCount, 3);
}

TEST_F(Match, AFullColumnSoundsAndTheSamePlayerMovesAgain) {
    PlayUpToLast("3333330");
    PlayColumn(3);
    EXPECT_EQ(fake::Calls(), (Calls{Full, "turn"}));
    EXPECT_EQ(TurnCounter, 8);
    EXPECT_EQ(LastMover, MarkO);  // the mark of the player who moved before
    EXPECT_EQ(MoveCount, 7);      // the click counts all the same
    PlayColumn(0);
    EXPECT_EQ(CellAt(5, 0), MarkX);
}

struct WinCase {
    const char* game;
    int column, row;
    bool playerOne;
};

class TwoPlayerWin : public Match, public ::testing::WithParamInterface<WinCase> {};

TEST_P(TwoPlayerWin, SoundsToTheEndThenNamesTheWinnerThenAsks) {
    const WinCase& c = GetParam();
    const std::string game = c.game;
    PlayUpToLast(game);
    int selector = 2 + static_cast<int>(game.size()) - 1;
    fake::AnswerMessages({AnswerOk, AnswerYes});
    PlayColumn(c.column);
    const std::string winner = c.playerOne ? R"(box main "Anna" "***SIEG***SPIELER 1***" 0x40)"
                                           : R"(box main "Ben" "***SIEG***SPIELER 2***" 0x40)";
    EXPECT_EQ(fake::Calls(), (Calls{Disc(c.column, c.row, selector), Fall, Win, winner, Again,
                                    "repaint", "turn"}));
    // Yes: a new game on the same screen between the same players.
    EXPECT_EQ(Screen, ScreenTwoPlayers);
    EXPECT_EQ(TurnCounter, 2);
    EXPECT_EQ(MoveCount, 1);
    EXPECT_EQ(LastMover, c.playerOne ? MarkX : MarkO);  // never reset
    for (char cell : Board)
        EXPECT_EQ(cell, Empty);
    EXPECT_STREQ(PlayerName1, "Anna");
}

INSTANTIATE_TEST_SUITE_P(Directions, TwoPlayerWin,
                         ::testing::Values(WinCase{"0101010", 0, 2, true},      // column
                                           WinCase{"01020364", 4, 5, false},    // row
                                           WinCase{"01123223633", 3, 2, true},  // rising diagonal
                                           WinCase{"65543443033", 3, 2, true},  // falling diagonal
                                           WinCase{"6061626", 6, 2, true},  // column at the edge
                                           WinCase{"0123012301230", 0, 2,
                                                   true}));  // column over others

struct AnswerCase {
    int answer;
    int screen;
    int running;
    bool cleared;
};

class PlayAgain : public Match, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(PlayAgain, TheAnswerDecidesWhatComesNext) {
    const AnswerCase& c = GetParam();
    PlayUpToLast("0101010");
    fake::AnswerMessages({AnswerOk, c.answer});
    PlayColumn(0);
    EXPECT_EQ(Screen, c.screen);
    EXPECT_EQ(Running, c.running);
    EXPECT_EQ(fake::CallsStartingWith("repaint").size(), c.cleared ? 1U : 0U);
    if (c.cleared) {
        for (char cell : Board)
            EXPECT_EQ(cell, Empty);
        EXPECT_EQ(TurnCounter, 2);
        EXPECT_EQ(MoveCount, 1);  // the reset is followed by this click's count
    } else {
        EXPECT_EQ(CellAt(2, 0), MarkX);  // the won position stays
        EXPECT_EQ(TurnCounter, 9);
        EXPECT_EQ(MoveCount, 7);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, PlayAgain,
                         ::testing::Values(AnswerCase{AnswerYes, ScreenTwoPlayers, 1, true},
                                           AnswerCase{AnswerNo, ScreenMenu, 1, true},
                                           AnswerCase{AnswerCancel, ScreenTwoPlayers, 0, false},
                                           AnswerCase{AnswerOk, ScreenTwoPlayers, 1, false}));

TEST_F(Match, TheFirstClickAfterYesOpensANewGameWithPlayerOne) {
    PlayUpToLast("0101010");
    fake::AnswerMessages({AnswerOk, AnswerYes});
    PlayColumn(0);
    fake::ClearCalls();
    PlayColumn(5);
    EXPECT_EQ(fake::Calls(), (Calls{Disc(5, 5, 2), Fall, "turn"}));
    EXPECT_EQ(CellAt(5, 5), MarkX);
    EXPECT_EQ(MoveCount, 2);
}

TEST_F(Match, AFullBoardWithoutFourIsADraw) {
    PlayUpToLast(DrawnGame);
    fake::AnswerMessages({AnswerOk, AnswerNo});
    PlayColumn(DrawnGame[41] - '0');
    EXPECT_EQ(fake::Calls(), (Calls{Disc(3, 0, 43), Fall, Drawn, Again, "repaint", "turn"}));
    EXPECT_EQ(Screen, ScreenMenu);
}

TEST_F(Match, ALastDiscThatWinsIsAnnouncedOnlyAsAWin) {
    PlayUpToLast(WonWithLastDisc);
    fake::AnswerMessages({AnswerOk, AnswerYes});
    PlayColumn(WonWithLastDisc[41] - '0');
    EXPECT_EQ(fake::Calls(),
              (Calls{Disc(5, 0, 43), Fall, Win, "box main \"Ben\" \"***SIEG***SPIELER 2***\" 0x40",
                     Again, "repaint", "turn"}));
}

TEST_F(Match, CancelAfterALastDiscThatWinsStillRunsTheDrawTest) {
    PlayUpToLast(WonWithLastDisc);
    fake::AnswerMessages({AnswerOk, AnswerCancel, AnswerOk, AnswerCancel});
    PlayColumn(WonWithLastDisc[41] - '0');
    EXPECT_EQ(fake::Calls(),
              (Calls{Disc(5, 0, 43), Fall, Win, "box main \"Ben\" \"***SIEG***SPIELER 2***\" 0x40",
                     Again, Drawn, Again, "turn"}));
    EXPECT_EQ(Running, 0);
    EXPECT_TRUE(IsBoardFull());
}

// Games against the computer.

class ComputerGame : public Match {
protected:
    void SetUp() override {
        Match::SetUp();
        StartGame(ScreenEasyComputer, ModeEasyComputer);
    }
    static void Stack(int column, int discs) {
        for (int i = 0; i < discs; ++i)
            CellAt(5 - i, column) = i % 2 == 0 ? MarkX : MarkO;
    }
};

class ComputerGameFullCells : public ComputerGame, public ::testing::WithParamInterface<int> {};

TEST_P(ComputerGameFullCells, EveryTakenCellPassedSoundsThenTheDiscFalls) {
    const int discs = GetParam();
    Stack(2, discs);
    MoveCount = 4;
    doubles::ScriptComputerColumns({6});
    PlayColumn(2);
    Calls expected(static_cast<std::size_t>(discs), FullAgainstComputer);
    for (const std::string& call :
         {Disc(2, 5 - discs, 2), Fall, std::string("turn"), std::string("pause 1000"),
          std::string("choose easy moves=4 -> 6"), Disc(6, 5, 1), std::string("turn")}) {
        expected.push_back(call);
    }
    EXPECT_EQ(fake::Calls(), expected);
    EXPECT_EQ(CellAt(5 - discs, 2), MarkO);
    EXPECT_EQ(CellAt(5, 6), MarkX);
    EXPECT_EQ(ComputerToMove, 0);
    EXPECT_EQ(LastMover, MarkX);
    EXPECT_EQ(MoveCount, 5);
}

INSTANTIATE_TEST_SUITE_P(Discs, ComputerGameFullCells, ::testing::Range(0, 6));

TEST_F(ComputerGame, AFullColumnPlacesNothingAndTheComputerWaits) {
    Stack(2, 6);
    PlayColumn(2);
    Calls expected(6, FullAgainstComputer);
    expected.push_back("turn");
    expected.push_back("turn");
    EXPECT_EQ(fake::Calls(), expected);
    EXPECT_EQ(MoveCount, 1);
    EXPECT_EQ(ComputerToMove, 0);
}

TEST_F(ComputerGame, TheHardLevelAsksTheHardChooser) {
    StartGame(ScreenHardComputer, ModeHardComputer);
    doubles::ScriptComputerColumns({0});
    PlayColumn(3);
    EXPECT_EQ(fake::CallsStartingWith("choose"), (Calls{"choose hard moves=0 -> 0"}));
    EXPECT_EQ(CellAt(5, 0), MarkX);
}

TEST_F(ComputerGame, AHumanWinIsEnteredBeforeItsMessageAndTheComputerRests) {
    CellAt(5, 0) = CellAt(5, 1) = CellAt(5, 2) = MarkO;
    CellAt(4, 0) = CellAt(4, 1) = CellAt(4, 2) = MarkX;
    MoveCount = 3;
    fake::AnswerMessages({AnswerOk, AnswerNo});
    PlayColumn(3);
    EXPECT_EQ(fake::Calls(),
              (Calls{Disc(3, 5, 2), Fall, Win, "highscore \"Anna\" 3",
                     "box main \"Anna\" \"***SIEG***\" 0x40", Again, "repaint", "turn", "turn"}));
    EXPECT_EQ(Screen, ScreenMenu);
    EXPECT_EQ(MoveCount, 1);
}

TEST_F(ComputerGame, AComputerWinNamesTheComputerAndEntersNobody) {
    CellAt(5, 0) = CellAt(5, 1) = CellAt(5, 2) = MarkX;
    doubles::ScriptComputerColumns({3});
    fake::AnswerMessages({AnswerOk, AnswerYes});
    PlayColumn(6);
    EXPECT_EQ(
        fake::Calls(),
        (Calls{Disc(6, 5, 2), Fall, "turn", "pause 1000", "choose easy moves=0 -> 3", Disc(3, 5, 1),
               Win, "box main \"COMPUTER\" \"***SIEG***\" 0x40", Again, "repaint", "turn"}));
    EXPECT_EQ(Screen, ScreenEasyComputer);
    EXPECT_EQ(ComputerToMove, 0);
}

TEST_F(ComputerGame, AChosenColumnWithoutRoomPassesTheComputersTurn) {
    Stack(4, 6);
    doubles::ScriptComputerColumns({4});
    PlayColumn(0);
    EXPECT_EQ(fake::CallsStartingWith("disc"), (Calls{Disc(0, 5, 2)}));
    EXPECT_EQ(CellAt(5, 0), MarkO);
}

TEST_F(ComputerGame, AChosenColumnOffTheBoardPlacesNothing) {
    doubles::ScriptComputerColumns({7});
    PlayColumn(0);
    EXPECT_EQ(fake::CallsStartingWith("disc"), (Calls{Disc(0, 5, 2)}));
}

TEST_F(ComputerGame, ABoardFilledByTheHumanIsADrawAfterTheComputersTurn) {
    // Everything full but the top of column 6, and no four anywhere.
    const char* rows[BoardRows] = {"XXOOXX ", "OOXXOOX", "XXOOXXO",
                                   "OOXXOOX", "XXOOXXO", "OOXXOOX"};
    for (int row = 0; row < BoardRows; ++row)
        std::memcpy(&CellAt(row, 0), rows[row], BoardColumns);
    ASSERT_EQ(HasFourInARow(MarkO, Board), 0);
    doubles::ScriptComputerColumns({6});
    fake::AnswerMessages({AnswerOk, AnswerCancel});
    PlayColumn(6);
    Calls expected(5, FullAgainstComputer);  // the five taken cells below the top one
    expected.insert(expected.end(), {Disc(6, 0, 2), Fall, "turn", "pause 1000",
                                     "choose easy moves=0 -> 6", Drawn, Again, "turn"});
    EXPECT_EQ(fake::Calls(), expected);
}

TEST_F(Match, TheClickBandsChooseTheColumn) {
    HandleBoardClick(36);
    HandleBoardClick(525);
    HandleBoardClick(300);
    EXPECT_EQ(CellAt(5, 0), MarkX);
    EXPECT_EQ(CellAt(5, 6), MarkO);
    EXPECT_EQ(CellAt(5, 3), MarkX);
}

}  // namespace
