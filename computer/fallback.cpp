// The move left to chance when no rule finds a cell: an opening among the
// left and middle columns while the game is young, later a random column
// that still has room.
#include "computer/computer.h"
#include "game/state.h"

namespace {

bool TopCellEmpty(const char* board, int column) { return board[column] == Empty; }

}  // namespace

int ChooseFallbackColumn(const char* board, int moveCount) {
    if (moveCount > 3) {
        // On a full board no draw could ever succeed; the caller places
        // nothing in a full column, so any column will do. Checking first
        // leaves the draws unchanged whenever some column has room.
        bool anyRoom = false;
        for (int column = 0; column < BoardColumns; ++column) {
            if (TopCellEmpty(board, column))
                anyRoom = true;
        }
        if (!anyRoom)
            return 0;

        int r = NextRandom() % 8;
        while (r == 0 || !TopCellEmpty(board, r - 1))
            r = NextRandom() % 8;
        return r - 1;
    }

    // KEPT: the opening plays column k + 1, or k when the computer already
    // holds the bottom cell of k + 1 (so never column 5 or 6), and does not
    // look for room: a full column makes the computer pass its turn.
    int k = NextRandom() % 4;
    int column = k + 1;
    if (board[(BoardRows - 1) * BoardColumns + column] == MarkX)
        column = k;
    return column;
}
