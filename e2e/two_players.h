// Games of two players as the scenarios play them: the names and games
// they use, a model of the game, a disc played and checked, a game played to
// its end, the win box, the question "Nochmal" and its answers.
#pragma once
#include <windows.h>

#include "e2e/computer_model.h"
#include "e2e/games.h"
#include "e2e/pixels.h"
#include "e2e/process.h"
#include "e2e/screens.h"

namespace e2e {

constexpr const char* FirstName = "Karl Otto";  // nine characters, a blank inside
constexpr const char* SecondName = "Ben";

// Games as the columns played, player 1 first. The first 40 discs of the two
// full boards are the same; the draw ends "30", the last-disc win "03".
constexpr const char* DrawGame = "416210144241363310466123232265505465550030";
constexpr const char* LastDiscWinGame = "416210144241363310466123232265505465550003";

// A game of two as the scenario expects it; the board in the letters of
// ReadBoard: player 1's yellow discs 'H', player 2's red 'C'.
struct Model {
    Position position;
    int moves = 0;  // discs dropped; its parity says who is to move
    Shot names;     // the window as it first showed the players' names
    Model() { Clear(); }
    void Clear() {
        position = Position();
        moves = 0;
    }
    [[nodiscard]] char ToMove() const { return moves % 2 == 0 ? 'H' : 'C'; }
    [[nodiscard]] int Player() const { return moves % 2 == 0 ? 1 : 2; }
};

inline COLORREF CoreOf(char who) { return who == 'H' ? YellowCore : RedCore; }
inline COLORREF RingOf(char who) { return who == 'H' ? YellowRing : RedRing; }
inline const char* PlayerText(char who) { return who == 'H' ? "player 1" : "player 2"; }

// The line of four of one side in the model: its cells and its direction
// (row step, column step), the first one found.
struct Line {
    int row[4]{};
    int column[4]{};
    int dr = 0, dc = 0;
};

// The first four of one side in the position, if any.
bool FindFour(const Position& p, char who, Line* line);

struct Win {
    const char* columns;
    const char* direction;
    int dr, dc;  // the direction of the four, as FindFour gives it
};

// The four ways to win, for each player; each winning disc is the first four.
extern const Win FirstPlayerWins[4];
extern const Win SecondPlayerWins[4];

// Waits until the window shows exactly the discs of the model.
Failure ExpectDiscs(const Session& session, const Model& model, const char* what);
// Waits until the turn picture of a player shows exactly.
Failure ExpectTurnPicture(HWND window, const Pictures& pictures, int player, const char* what);
// Both names in white beside the board. The first time, the window is kept
// in *names; later the bands of the names must show as they did then.
Failure ExpectNames(const Session& session, const char* what, Shot* names);
// One disc of the side to move, into a column with room: the click is
// handled to its end, then the disc's rings and the other side's turn
// picture must show, and no box.
Failure PlayDisc(const Session& session, Model* model, int column);
// Plays a game to its last disc; every disc but the last is checked as it
// falls, the last one only for its core once the box that follows it has
// been moved off the board: that box is open when this returns, in *box.
Failure PlayToEnd(const Session& session, Model* model, const char* columns, Box* box);
// A won game's box: the winner's name and caption, OK alone; the board
// shows the model with the winner's four; the model's only four is that.
// With a win given, the four lies in its direction.
Failure ExpectWinBox(const Session& session, const Model& model, const Box& box, const Win* win);
// OK on a win or draw box, then the question "Nochmal" with Yes, No and
// Cancel, moved off the board.
Failure AwaitQuestion(const Session& session, const Box& box, Box* question);
// Yes: the same game screen with an empty board, both names as before,
// player 1's turn picture; the model is cleared, so the next disc played
// must be player 1's yellow one.
Failure AnswerYes(const Session& session, const Box& question, Model* model, int gameNumber);
// Starts the game and chooses two players with both names; the board is
// empty and player 1 is to move.
Failure StartNamedGame(Session* session, Model* model);
// No to "Nochmal": the menu shows, no box follows, and the close box then
// ends the program.
Failure AnswerNoThenClose(Session& session, const Box& question, const char* what);
// After the game has been told to end: the next message ends it, with
// status 0, leaving no window. The mouse moving over the window is such a
// message, if none came by itself.
Failure ExpectEndAtNextMessage(Session& session, const char* after);
// The four wins of one player in a row, each answered Yes but the last,
// which is answered No when lastAnswerNo says so.
Failure PlayWins(const Options& options, const Win (&wins)[4], bool lastAnswerNo);

}  // namespace e2e
