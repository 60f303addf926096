// The pattern machinery both levels share: the bordered grid, the support
// test, the window patterns and the scan over every window of a family.
#include "computer/rule_grid.h"

#include "computer/computer.h"

void BuildRuleGrid(const char* board, RuleGrid* grid) {
    for (auto& gridRow : grid->cells) {
        for (char& cell : gridRow)
            cell = BorderMark;
    }
    for (int r = 0; r < BoardRows; ++r) {
        for (int c = 0; c < BoardColumns; ++c)
            grid->cells[r][c + 1] = board[r * BoardColumns + c];
    }
}

bool IsSupported(const RuleGrid& grid, int row, int column) {
    return GridCell(grid, row + 1, column) != Empty;
}

namespace {

// The content of window cell Wk, k = 0..3.
char WindowCell(const RuleGrid& grid, const WindowSet& set, int row, int column, int k) {
    return GridCell(grid, row + k * set.rowStep, column + k * set.columnStep);
}

// The rule's column number of Wk.
int WindowColumnNumber(const WindowSet& set, int column, int k) {
    return column + k * set.columnStep + 1;
}

// A window pattern: for each of W0..W3 whether it must hold key (else it
// must be empty), and the index of the chosen empty cell.
struct WindowPattern {
    bool disc[4];
    int chosen;
};

bool Fits(const RuleGrid& grid, const WindowSet& set, int row, int column, char key,
          const WindowPattern& pattern) {
    for (int k = 0; k < 4; ++k) {
        char want = pattern.disc[k] ? key : Empty;
        if (WindowCell(grid, set, row, column, k) != want)
            return false;
    }
    return true;
}

// Tries the patterns in order; the first that fits with a supported chosen
// cell decides.
int MatchPatterns(const RuleGrid& grid, const WindowSet& set, int row, int column, char key,
                  const WindowPattern* patterns, int count) {
    for (int i = 0; i < count; ++i) {
        const WindowPattern& pattern = patterns[i];
        if (!Fits(grid, set, row, column, key, pattern))
            continue;
        int k = pattern.chosen;
        if (!IsSupported(grid, row + k * set.rowStep, column + k * set.columnStep))
            continue;
        return WindowColumnNumber(set, column, k);
    }
    return NoMove;
}

constexpr WindowPattern ThreePatterns[] = {
    {{false, true, true, true}, 0},
    {{true, false, true, true}, 1},
    {{true, true, false, true}, 2},
    {{true, true, true, false}, 3},
};

constexpr WindowPattern TwoRisingPatterns[] = {
    {{false, true, true, false}, 0}, {{true, false, true, false}, 1},
    {{false, true, false, true}, 2}, {{true, false, false, true}, 1},
    {{false, false, true, true}, 0}, {{true, true, false, false}, 3},
};

constexpr WindowPattern TwoFallingPatterns[] = {
    {{false, true, true, false}, 0}, {{true, false, true, false}, 3},
    {{false, true, false, true}, 2}, {{true, false, false, true}, 1},
    {{false, false, true, true}, 0}, {{true, true, false, false}, 3},
};

}  // namespace

int MatchThree(const RuleGrid& grid, const WindowSet& set, int row, int column, char key) {
    return MatchPatterns(grid, set, row, column, key, ThreePatterns, 4);
}

int MatchThreeStacked(const RuleGrid& grid, const WindowSet& set, int row, int column, char key) {
    const WindowPattern& top = ThreePatterns[3];
    if (!Fits(grid, set, row, column, key, top))
        return NoMove;
    return WindowColumnNumber(set, column, top.chosen);
}

int MatchTwoHorizontal(const RuleGrid& grid, const WindowSet& /*set*/, int row, int column,
                       char key) {
    // Three cells (row, column..column+2) and the side cells beside them: a
    // shape of its own, so the window set (there for the matcher's
    // signature) plays no part.
    char left = GridCell(grid, row, column - 1);
    char right = GridCell(grid, row, column + 3);
    if (left != Empty && right != Empty)
        return NoMove;
    char a = GridCell(grid, row, column);
    char b = GridCell(grid, row, column + 1);
    char c = GridCell(grid, row, column + 2);
    int chosen = -1;
    if (a == Empty && b == key && c == key) {
        chosen = column;
    } else if (a == key && b == Empty && c == key) {
        chosen = column + 1;
    } else if (a == key && b == key && c == Empty) {
        chosen = column + 2;
    }
    if (chosen < 0 || !IsSupported(grid, row, chosen))
        return NoMove;
    return chosen + 1;
}

int MatchTwoStacked(const RuleGrid& grid, const WindowSet& set, int row, int column, char key) {
    if (WindowCell(grid, set, row, column, 0) != key ||
        WindowCell(grid, set, row, column, 1) != key ||
        WindowCell(grid, set, row, column, 2) != Empty ||
        WindowCell(grid, set, row, column, 3) != Empty) {
        return NoMove;
    }
    return WindowColumnNumber(set, column, 2);
}

int MatchTwoRising(const RuleGrid& grid, const WindowSet& set, int row, int column, char key) {
    return MatchPatterns(grid, set, row, column, key, TwoRisingPatterns, 6);
}

int MatchTwoFalling(const RuleGrid& grid, const WindowSet& set, int row, int column, char key) {
    return MatchPatterns(grid, set, row, column, key, TwoFallingPatterns, 6);
}

int ScanWindows(const char* board, const WindowSet& set, WindowMatcher matcher, char key,
                MatchPick pick) {
    RuleGrid grid{};
    BuildRuleGrid(board, &grid);
    int result = NoMove;
    for (int row = set.firstRow; row >= set.lastRow; --row) {
        for (int column = set.firstColumn; column <= set.lastColumn; ++column) {
            int found = matcher(grid, set, row, column, key);
            if (found == NoMove)
                continue;
            result = found;
            if (pick == MatchPick::FirstInRow)
                break;
        }
    }
    return result;
}
