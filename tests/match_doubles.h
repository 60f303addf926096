// Recording doubles of the operations the match flow calls in other parts of
// the game: the drawing, the two choosers and the highscore entry. They log
// into the fake platform's call list:
//   disc <column>,<row> sel <selector>
//   turn
//   choose easy moves=<n> -> <column>      (or hard)
//   highscore "<name>" <moves>
#pragma once

#include <vector>

namespace doubles {

// Columns the choosers answer, in order; without one they answer 0.
void ScriptComputerColumns(const std::vector<int>& columns);
void Reset();

}  // namespace doubles
