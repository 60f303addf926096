// The board model, the computer's rules as a player can foresee them, and
// the look-ahead player.
#include "e2e/computer_model.h"

namespace e2e {

int LandingRow(const Position& p, int c) {
    for (int r = Rows - 1; r >= 0; --r)
        if (p.cell[r][c] == ' ')
            return r;
    return -1;
}

bool WithDisc(const Position& p, int c, char who, Position* q) {
    int r = LandingRow(p, c);
    if (r < 0)
        return false;
    *q = p;
    q->cell[r][c] = who;
    return true;
}

int CountDiscs(const Position& p, char who) {
    int count = 0;
    // cppcheck takes the reference to a row of the board for a pointer.
    // cppcheck-suppress constVariable
    for (const auto& row : p.cell)
        for (char cell : row)
            count += static_cast<int>(cell == who);
    return count;
}

bool BoardFull(const Position& p) {
    for (int c = 0; c < Columns; ++c)
        if (p.cell[0][c] == ' ')
            return false;
    return true;
}

bool OpeningColumnFull(const Position& p) {
    for (int c = 0; c <= 4; ++c)
        if (p.cell[0][c] != ' ')
            return true;
    return false;
}

bool SamePosition(const Position& a, const Position& b) {
    return std::memcmp(a.cell, b.cell, sizeof a.cell) == 0;
}

std::string BoardText(const Position& p) {
    std::string text;
    for (const auto& row : p.cell) {
        text += "\n    |";
        text.append(row, Columns);
        text += "|";
    }
    return text;
}

bool HasFour(const Position& p, char who) {
    bool found = false;
    ForEachWindow([&](int r, int c, int dr, int dc) {
        int k = 0;
        while (k < 4 && p.cell[r + k * dr][c + k * dc] == who)
            ++k;
        found = found || k == 4;
    });
    return found;
}

bool WinsIn(const Position& p, int c, char who) {
    Position q;
    return WithDisc(p, c, who, &q) && HasFour(q, who);
}

int WinningColumns(const Position& p, char who, int* first) {
    int count = 0;
    for (int c = 0; c < Columns; ++c)
        if (WinsIn(p, c, who)) {
            if (count++ == 0)
                *first = c;
        }
    return count;
}

namespace {

// ---------------------------------------------------------------- the rules

struct LineFamily {
    const char* name;
    int dr, dc;                   // from one cell of a line to the next, upward and sideways
    int firstRow, lastRow;        // the first cell's rows, scanned from the bottom up
    int firstColumn, lastColumn;  // and its columns, from left to right
};

const LineFamily HorizontalLines = {"horizontal", 0, 1, 5, 0, 0, 3};
const LineFamily VerticalLines = {"vertical", -1, 0, 5, 3, 0, 6};
const LineFamily RisingLines = {"rising", -1, 1, 5, 3, 0, 3};
const LineFamily FallingLines = {"falling", -1, -1, 5, 3, 3, 6};

bool OnBoard(int r, int c) { return r >= 0 && r < Rows && c >= 0 && c < Columns; }

bool Supported(const Position& p, int r, int c) { return r == Rows - 1 || p.cell[r + 1][c] != ' '; }

// Three discs of who and one empty cell in the line of four from (r, c); a
// vertical line only with the empty cell on top. Answers the empty cell's
// column when it is supported, else -1.
int ThreeInLine(const Position& p, const LineFamily& f, int r, int c, char who) {
    int discs = 0;
    int empty = -1;
    for (int k = 0; k < 4; ++k) {
        char cell = p.cell[r + k * f.dr][c + k * f.dc];
        if (cell == who)
            ++discs;
        else if (cell == ' ' && empty < 0)
            empty = k;
        else
            return -1;
    }
    if (discs != 3 || (f.dc == 0 && empty != 3))
        return -1;
    int er = r + empty * f.dr;
    int ec = c + empty * f.dc;
    return f.dc == 0 || Supported(p, er, ec) ? ec : -1;
}

// Two discs of who that could grow into three: in a row, three cells from
// (r, c) holding two discs and a supported gap, with room on one side of
// them; in a column, two stacked discs with two empty cells above; on a
// diagonal, two discs and two empty cells in the line of four, the cell
// taken being the one the level blocks.
int TwoInLine(const Position& p, const LineFamily& f, int r, int c, char who) {
    if (f.dr == 0) {
        if (c > Columns - 3)
            return -1;
        bool leftRoom = OnBoard(r, c - 1) && p.cell[r][c - 1] == ' ';
        bool rightRoom = OnBoard(r, c + 3) && p.cell[r][c + 3] == ' ';
        if (!leftRoom && !rightRoom)
            return -1;
        int discs = 0;
        int gap = -1;
        for (int k = 0; k < 3; ++k) {
            char cell = p.cell[r][c + k];
            if (cell == who)
                ++discs;
            else if (cell == ' ')
                gap = c + k;
            else
                return -1;
        }
        return discs == 2 && Supported(p, r, gap) ? gap : -1;
    }
    if (f.dc == 0) {
        bool stack = p.cell[r][c] == who && p.cell[r - 1][c] == who && p.cell[r - 2][c] == ' ' &&
                     p.cell[r - 3][c] == ' ';
        return stack ? c : -1;
    }
    bool disc[4];
    int discs = 0;
    for (int k = 0; k < 4; ++k) {
        char cell = p.cell[r + k * f.dr][c + k * f.dc];
        if (cell != who && cell != ' ')
            return -1;
        disc[k] = cell == who;
        discs += static_cast<int>(disc[k]);
    }
    if (discs != 2)
        return -1;
    int chosen = 0;
    if ((!disc[0] && disc[1] && disc[2]) || (!disc[0] && !disc[1]))
        chosen = 0;  // _ D D _ or _ _ D D
    else if (disc[0] && !disc[1] && disc[2])
        chosen = f.dc > 0 ? 1 : 3;  // D _ D _: between them when rising, the end when falling
    else if (!disc[0] && disc[1] && !disc[2])
        chosen = 2;  // _ D _ D
    else if (disc[0] && !disc[1] && !disc[2])
        chosen = 1;  // D _ _ D
    else
        chosen = 3;  // D D _ _
    int cr = r + chosen * f.dr;
    int cc = c + chosen * f.dc;
    return Supported(p, cr, cc) ? cc : -1;
}

// One rule over a family of lines: the easy level keeps, of the bottom-most
// first cells' rows scanned upward, the last row with a find and in it the
// leftmost line; the hard level the last find of the whole scan.
int ScanLines(const Position& p, const LineFamily& f, char who, bool two, Level level) {
    int found = -1;
    int lastColumn = f.lastColumn + (two && f.dr == 0 ? 1 : 0);
    for (int r = f.firstRow; r >= f.lastRow; --r)
        for (int c = f.firstColumn; c <= lastColumn; ++c) {
            int column = two ? TwoInLine(p, f, r, c, who) : ThreeInLine(p, f, r, c, who);
            if (column < 0)
                continue;
            found = column;
            if (level == Level::Easy)
                break;
        }
    return found;
}

}  // namespace

RuleAnswer ComputerRule(const Position& p, Level level) {
    struct Step {
        char who;
        bool two;
    };
    const Step easySteps[] = {{'C', false}, {'H', false}};
    const Step hardSteps[] = {{'H', false}, {'C', false}, {'H', true}};
    const LineFamily* easyOrder[] = {&HorizontalLines, &VerticalLines, &RisingLines, &FallingLines};
    const LineFamily* hardOrder[] = {&RisingLines, &FallingLines, &VerticalLines, &HorizontalLines};
    const Step* steps = level == Level::Easy ? easySteps : hardSteps;
    int stepCount = level == Level::Easy ? 2 : 3;
    const LineFamily* const* order = level == Level::Easy ? easyOrder : hardOrder;
    RuleAnswer answer;
    for (int s = 0; s < stepCount; ++s)
        for (int d = 0; d < 4; ++d) {
            int column = ScanLines(p, *order[d], steps[s].who, steps[s].two, level);
            if (column < 0)
                continue;
            answer.column = column;
            answer.rule = std::string(steps[s].who == 'C' ? "own three"
                                      : steps[s].two      ? "human's two"
                                                          : "human's three") +
                          ", " + order[d]->name;
            return answer;
        }
    return answer;
}

namespace {

// ---------------------------------------------------------------- the look-ahead

constexpr double WinValue = 100;

// Open lines: windows holding discs of one side only, more discs weigh more.
double Openness(const Position& p) {
    const double weight[4] = {0, 1, 4, 16};
    double score = 0;
    ForEachWindow([&](int r, int c, int dr, int dc) {
        int human = 0;
        int computer = 0;
        for (int k = 0; k < 4; ++k) {
            char cell = p.cell[r + k * dr][c + k * dc];
            human += static_cast<int>(cell == 'H');
            computer += static_cast<int>(cell == 'C');
        }
        if (computer == 0)
            score += weight[human];
        if (human == 0)
            score -= 1.2 * weight[computer];
    });
    return score / 1000;
}

double HumanValue(const Position& p, int depth, int ply, Level level);

// The hard computer as modelled: its rule chain where a rule finds a cell,
// otherwise any column with room.
double HardComputerValue(const Position& p, int depth, int ply) {
    int column = -1;
    if (WinningColumns(p, 'H', &column) >= 2)
        return WinValue - ply - 1;  // it blocks one, the human wins with the other
    RuleAnswer answer = ComputerRule(p, Level::Hard);
    if (answer.column >= 0) {
        Position q = p;
        q.cell[LandingRow(p, answer.column)][answer.column] = 'C';
        if (HasFour(q, 'C'))
            return -WinValue + ply;
        return depth == 0 ? Openness(q) : HumanValue(q, depth - 1, ply + 1, Level::Hard);
    }
    if (depth == 0)
        return Openness(p);
    return MeanOverComputerDrops(
        p, [&](const Position& q) { return HumanValue(q, depth - 1, ply + 1, Level::Hard); });
}

// The computer's value of a position it is to answer. The easy computer as
// modelled: it takes its own win, blocks the human's one playable win (two
// of them it cannot stop), otherwise any column with room.
double ComputerValue(const Position& p, int depth, int ply, Level level) {
    if (level == Level::Hard)
        return HardComputerValue(p, depth, ply);
    int column = -1;
    if (WinningColumns(p, 'C', &column) > 0)
        return -WinValue + ply;
    int threats = WinningColumns(p, 'H', &column);
    if (threats >= 2)
        return WinValue - ply - 1;
    if (depth == 0)
        return Openness(p);
    if (threats == 1) {
        Position q = p;
        q.cell[LandingRow(p, column)][column] = 'C';
        return HumanValue(q, depth - 1, ply + 1, Level::Easy);
    }
    return MeanOverComputerDrops(
        p, [&](const Position& q) { return HumanValue(q, depth - 1, ply + 1, Level::Easy); });
}

double HumanValue(const Position& p, int depth, int ply, Level level) {
    double best = -2 * WinValue;
    for (int c : ColumnOrder) {
        Position q;
        if (!WithDisc(p, c, 'H', &q))
            continue;
        if (HasFour(q, 'H'))
            return WinValue - ply;
        double value = ComputerValue(q, depth, ply + 1, level);
        if (value > best)
            best = value;
    }
    return best < -WinValue ? 0 : best;  // a full board is a draw
}

}  // namespace

int ChooseColumn(const Position& p, Level level) {
    int bestColumn = -1;
    double best = -3 * WinValue;
    for (int c : ColumnOrder) {
        Position q;
        if (!WithDisc(p, c, 'H', &q))
            continue;
        double value = HasFour(q, 'H') ? 2 * WinValue : ComputerValue(q, 2, 1, level);
        if (value > best) {
            best = value;
            bestColumn = c;
        }
    }
    return bestColumn;
}

int ChooseLosingColumn(const Position& p, Level level) {
    int bestColumn = -1;
    double best = 3 * WinValue;
    for (int c : ColumnOrder) {
        Position q;
        if (!WithDisc(p, c, 'H', &q))
            continue;
        double value =
            HasFour(q, 'H') || WinsIn(p, c, 'C') ? 2 * WinValue : ComputerValue(q, 1, 1, level);
        if (value < best) {
            best = value;
            bestColumn = c;
        }
    }
    return bestColumn;
}

}  // namespace e2e
