// Timings of the two choosers on an empty, a mid-game and a nearly full
// board, and of whole games of one chooser against the other.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "bench/positions.h"
#include "computer/computer.h"
#include "game/board.h"
#include "game/state.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

namespace {

using Cells = std::array<char, BoardCells>;

// A position from the columns played, the human's 'O' first.
Cells Position(const std::string& columns) {
    Cells cells;
    PlayColumns(cells.data(), columns, MarkO);
    return cells;
}

using Chooser = int (*)(const char*, int);

// moveCount is the number of the human's clicks before this answer.
void BM_Choose(benchmark::State& state, Chooser choose, const char* columns) {
    ResetProcessState();
    fake::SetClock(1);
    Cells cells = Position(columns);
    int moveCount = static_cast<int>(std::string(columns).size() / 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(choose(cells.data(), moveCount));
    }
}

const int Registered = [] {
    for (const BenchPosition& position : BenchPositions) {
        benchmark::RegisterBenchmark((std::string("BM_ChooseEasyColumn/") + position.name).c_str(),
                                     BM_Choose, ChooseEasyColumn, position.columns);
        benchmark::RegisterBenchmark((std::string("BM_ChooseHardColumn/") + position.name).c_str(),
                                     BM_Choose, ChooseHardColumn, position.columns);
    }
    return 0;
}();

// Both choosers play 'X'; the second one sees the board with the marks
// swapped. A full column passes the turn, as in the game.
void BM_Game(benchmark::State& state) {
    ResetProcessState();
    std::uint32_t clock = 0;
    std::int64_t moves = 0;
    for (auto _ : state) {
        Cells cells;
        cells.fill(Empty);
        for (int turn = 0; turn < 200; ++turn) {
            bool easyTurn = turn % 2 == 0;
            Cells seen = cells;
            if (!easyTurn)
                SwapMarks(seen.data());
            fake::SetClock(++clock);
            int column = easyTurn ? ChooseEasyColumn(seen.data(), turn / 2)
                                  : ChooseHardColumn(seen.data(), turn / 2);
            ++moves;
            char mark = easyTurn ? MarkX : MarkO;
            DropDisc(cells.data(), column, mark);
            if (HasFourInARow(mark, cells.data()))
                break;
            if (!HasRoom(cells.data()))
                break;
        }
        benchmark::DoNotOptimize(cells.data());
    }
    state.counters["moves_per_game"] =
        benchmark::Counter(static_cast<double>(moves) / static_cast<double>(state.iterations()));
}

BENCHMARK(BM_Game);

}  // namespace
