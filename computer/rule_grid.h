// What the pattern rules of both levels share: the working grid with its
// border, the windows of four cells in each direction, the support test, the
// disc patterns and the scan that runs a pattern over every window.
#pragma once

#include "game/state.h"

// The board framed by a border: grid row r, grid column c + 1 holds board
// cell (r, c); grid columns 0 and 8 and grid row 6 hold BorderMark. The
// border is neither empty nor a disc, so a line running off the board to the
// side or downward never matches, and a cell of the bottom row always stands
// on something.
constexpr int GridRows = BoardRows + 1;
constexpr int GridColumns = BoardColumns + 2;
constexpr char BorderMark = '0';

struct RuleGrid {
    char cells[GridRows][GridColumns];
};

void BuildRuleGrid(const char* board, RuleGrid* grid);

// The grid cell of board row 0..6 and board column -1..7.
inline char GridCell(const RuleGrid& grid, int row, int column) {
    return grid.cells[row][column + 1];
}

// A cell is supported when it lies in the bottom row or the cell below it is
// taken: an empty supported cell is where the next disc of its column lands.
bool IsSupported(const RuleGrid& grid, int row, int column);

// One family of windows: the step from Wk to Wk+1 and the anchors (W0) in
// scan order, rows from firstRow up to lastRow, columns from firstColumn to
// lastColumn.
struct WindowSet {
    int rowStep;
    int columnStep;
    int firstRow;
    int lastRow;
    int firstColumn;
    int lastColumn;
};

// The windows that lie wholly on the board.
constexpr WindowSet HorizontalWindows = {0, 1, 5, 0, 0, 3};
constexpr WindowSet VerticalWindows = {-1, 0, 5, 3, 0, 6};
constexpr WindowSet RisingWindows = {-1, 1, 5, 3, 0, 3};
constexpr WindowSet FallingWindows = {-1, -1, 5, 3, 3, 6};
// Horizontal twos look at three cells and a side cell on either end, so the
// anchor may go one column further right (its right side cell is then the
// border).
constexpr WindowSet HorizontalTwoWindows = {0, 1, 5, 0, 0, 4};

// Looks at the window of set anchored at (row, column) and returns the
// rule's column number (grid column, 1..7) of the cell it chooses, or NoMove.
using WindowMatcher = int (*)(const RuleGrid& grid, const WindowSet& set, int row, int column,
                              char key);

// Three discs of key and one empty supported cell in any order.
int MatchThree(const RuleGrid& grid, const WindowSet& set, int row, int column, char key);
// Three stacked discs of key with an empty cell on top; no support needed.
int MatchThreeStacked(const RuleGrid& grid, const WindowSet& set, int row, int column, char key);
// Two adjacent-or-gapped discs among three cells of a row, with room on at
// least one side.
int MatchTwoHorizontal(const RuleGrid& grid, const WindowSet& set, int row, int column, char key);
// Two stacked discs of key with two empty cells above them.
int MatchTwoStacked(const RuleGrid& grid, const WindowSet& set, int row, int column, char key);
// Two discs of key and two empty cells on a diagonal; the chosen cell of
// key, empty, key, empty differs between the rising and falling direction.
int MatchTwoRising(const RuleGrid& grid, const WindowSet& set, int row, int column, char key);
int MatchTwoFalling(const RuleGrid& grid, const WindowSet& set, int row, int column, char key);

// Which match of a scan is kept. Both keep the topmost anchor row that has a
// match; within that row FirstInRow keeps the first window in scan order and
// LastInRow the last.
enum class MatchPick { FirstInRow, LastInRow };

// Builds the grid from board and runs matcher over every window of set.
int ScanWindows(const char* board, const WindowSet& set, WindowMatcher matcher, char key,
                MatchPick pick);
