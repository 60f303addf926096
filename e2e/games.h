// Games against the computer as a player plays them: choosing a level,
// waiting for a new game and for the computer's answer, and playing with the
// look-ahead player until the human wins.
#pragma once
#include <string>

#include "e2e/computer_model.h"
#include "e2e/process.h"
#include "e2e/screens.h"

namespace e2e {

// Chooses a game against the computer at a level from the menu, answers the
// name dialog and checks the level's picture beside the board.
Failure ChooseComputerGame(const Session& session, const std::string& name, Level level);

// Waits for an empty board with the human to move: after the name dialog or
// "Nochmal" the repaint comes a little later, and a box may still be fading.
Failure WaitForNewGame(const Session& session, int gameNumber, Position* position);

// The longest the computer's answer may take after the click on a busy
// machine (its pause is 1 s). No disc of its own this long after the click,
// the human's turn shown and a column of the opening full: a passed turn.
// (Under Wine the screen shows nothing of the pause, so the computer's turn
// picture cannot tell a pass from a slow answer.)
constexpr double LongestAnswerMs = 6000;

// After a board click: waits for a box, or for the human's disc and the
// computer's answer on a board where no box can follow (no red four, room
// left), or for a passed turn while a column of the opening is full.
// *position follows the board as long as no box covers it.
Failure AwaitAnswer(const Session& session, int humanBefore, int computerBefore, Box* box,
                    bool* boxShown, Position* position);

struct Played {
    int games = 0;           // the number of the last game begun, the won one included
    int winningMoves = 0;    // the move count the game gives the won game
    int clicks = 0;          // board clicks over all games
    int winningColumn = -1;  // with Plan::stopBeforeWin: the column that wins next
};

// How BeatComputer plays.
struct Plan {
    Level level = Level::Easy;
    int losingGames = 0;  // the first games, lost on purpose
    int maxGames = 6;     // games played at the most
    // The number of the game on the board: the first game counts its moves
    // from 0, later ones from 1.
    int firstGame = 1;
    // Return as soon as the human's next disc would win, before it is dropped.
    bool stopBeforeWin = false;
};

// Plays against the computer from an empty board until the human wins,
// answering "Nochmal" with Yes after a lost or drawn game. Leaves the win
// box open in *win. With plan.stopBeforeWin no winning disc is dropped:
// played->winningColumn and played->winningMoves tell the win to come.
Failure BeatComputer(const Session& session, const Plan& plan, const std::string& name,
                     Played* played, Box* win);

// An end-of-game box answered OK, then "Nochmal", which must follow it,
// answered with the button id (IDYES, IDNO or IDCANCEL).
Failure AnswerPlayAgain(const Game& game, const Box& ended, int answer);

// The win box answered OK, "Nochmal" answered No, back at the menu.
Failure FinishWin(const Session& session, const Box& win);

}  // namespace e2e
