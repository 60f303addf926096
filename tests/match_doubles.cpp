#include "tests/match_doubles.h"

#include <deque>
#include <string>

#include "computer/computer.h"
#include "players/highscore.h"
#include "shell/drawing.h"
#include "tests/fake_platform.h"

namespace {

std::deque<int>& ScriptedColumns() {
    static std::deque<int> columns;
    return columns;
}

int NextScriptedColumn(const char* level, int moveCount) {
    int column = 0;
    if (!ScriptedColumns().empty()) {
        column = ScriptedColumns().front();
        ScriptedColumns().pop_front();
    }
    fake::Record(std::string("choose ") + level + " moves=" + std::to_string(moveCount) + " -> " +
                 std::to_string(column));
    return column;
}

}  // namespace

namespace doubles {

void ScriptComputerColumns(const std::vector<int>& columns) {
    ScriptedColumns().insert(ScriptedColumns().end(), columns.begin(), columns.end());
}

void Reset() { ScriptedColumns().clear(); }

}  // namespace doubles

void DrawDisc(WindowHandle /*window*/, int column, int row, int colour) {
    fake::Record("disc " + std::to_string(column) + "," + std::to_string(row) + " sel " +
                 std::to_string(colour));
}

void DrawTurnPicture() { fake::Record("turn"); }

int ChooseEasyColumn(const char* /*board*/, int moveCount) {
    return NextScriptedColumn("easy", moveCount);
}

int ChooseHardColumn(const char* /*board*/, int moveCount) {
    return NextScriptedColumn("hard", moveCount);
}

void EnterHighscore(const char* name, int moves) {
    fake::Record("highscore \"" + std::string(name) + "\" " + std::to_string(moves));
}
