// The board as the driver models it, the computer's rules of both levels as
// a player can foresee them, and a look-ahead player that plans against
// them: to win a game on purpose, or to lose one.
#pragma once
#include <cstring>
#include <string>

#include "game/state.h"

namespace e2e {

constexpr int Rows = BoardRows;
constexpr int Columns = BoardColumns;

// The one board model of the driver: 'H' the human's or player 1's yellow
// disc, 'C' the computer's or player 2's red one, ' ' an empty cell; row 0
// is the top row. A new position is an empty board.
struct Position {
    char cell[Rows][Columns]{};
    Position() { std::memset(cell, ' ', sizeof cell); }
};

// The computer's level, as chosen on the menu.
enum class Level { Easy, Hard };

// The row a disc dropped into a column lands in, -1 for a full column.
int LandingRow(const Position& p, int c);
// *q becomes p with a disc of who dropped into column c; false, and *q
// untouched, for a full column.
bool WithDisc(const Position& p, int c, char who, Position* q);
int CountDiscs(const Position& p, char who);
bool BoardFull(const Position& p);
// A full column among those the computer's opening chooses from (0 to 4):
// then the opening may name it and the computer passes its turn.
bool OpeningColumnFull(const Position& p);
bool SamePosition(const Position& a, const Position& b);
// A board as text, one row a line, top row first: "|  HC   |".
std::string BoardText(const Position& p);

// Calls visit(r, c, dr, dc) for each of the 69 windows of four cells.
template <typename Visit>
void ForEachWindow(Visit visit) {
    const int directions[4][2] = {{0, 1}, {-1, 0}, {-1, 1}, {-1, -1}};
    for (const auto& d : directions)
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                int endR = r + 3 * d[0];
                int endC = c + 3 * d[1];
                if (endR >= 0 && endR < Rows && endC >= 0 && endC < Columns)
                    visit(r, c, d[0], d[1]);
            }
}

bool HasFour(const Position& p, char who);
// True when a disc of who dropped into column c completes a four.
bool WinsIn(const Position& p, int c, char who);
// The number of columns where who completes a four; *first the leftmost.
int WinningColumns(const Position& p, char who, int* first);

// The order the look-ahead tries the columns in: the middle first.
constexpr int ColumnOrder[Columns] = {3, 2, 4, 1, 5, 0, 6};

// The computer's answer when chance decides it, as the planners see it: the
// mean of value(q) over the positions q after its disc in each column with
// room; 0 on a full board.
template <typename Value>
double MeanOverComputerDrops(const Position& p, Value value) {
    double sum = 0;
    int moves = 0;
    for (int c = 0; c < Columns; ++c) {
        Position q;
        if (!WithDisc(p, c, 'C', &q))
            continue;
        sum += value(q);
        ++moves;
    }
    return moves == 0 ? 0 : sum / moves;
}

// ---------------------------------------------------------------- the computer's rules

// Which rule of its level decides the computer's answer to a position, and
// the column it names; no column when no rule finds a cell and chance
// decides. The rules look at every line of four cells; a cell they name is
// empty and supported (in the bottom row, or on a disc), so a drop into its
// column fills it.
struct RuleAnswer {
    int column = -1;
    std::string rule;  // such as "human's three, horizontal"
};

// The chain of the level: the easy one completes its own four before it
// blocks the human's, in the order horizontal, vertical, rising, falling;
// the hard one blocks the human's four, then completes its own, then blocks
// the human's twos, each in the order rising, falling, vertical, horizontal.
RuleAnswer ComputerRule(const Position& p, Level level);

// ---------------------------------------------------------------- the look-ahead player

// The human's column: an immediate win, else the best expected value a
// short look ahead against the modelled computer of the level gives.
int ChooseColumn(const Position& p, Level level);
// A column that helps the computer: never a human four, never a block of the
// computer's win, otherwise the worst value for the human. Lets a scenario
// lose a game on purpose, to go on with "Nochmal".
int ChooseLosingColumn(const Position& p, Level level);

}  // namespace e2e
