// Timings of the two choosers on positions from the opening to the end game,
// and of whole games of one chooser against the other.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "computer/computer.h"
#include "game/state.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

namespace {

using Cells = std::array<char, BoardCells>;

// Plays a string of columns ("3344") from an empty board, 'O' first.
Cells Position(const std::string& columns) {
    Cells cells;
    cells.fill(Empty);
    char mark = MarkO;
    for (char ch : columns) {
        int column = ch - '0';
        for (int row = BoardRows - 1; row >= 0; --row) {
            if (cells[row * BoardColumns + column] == Empty) {
                cells[row * BoardColumns + column] = mark;
                break;
            }
        }
        mark = mark == MarkO ? MarkX : MarkO;
    }
    return cells;
}

const char* const Early = "3";
const char* const Middle = "3324452160";
const char* const Late = "332445216001566122043";

using Chooser = int (*)(const char*, int);

void BM_Choose(benchmark::State& state, Chooser choose, const char* columns) {
    ResetProcessState();
    fake::SetClock(1);
    Cells cells = Position(columns);
    int moveCount = static_cast<int>(std::string(columns).size() / 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(choose(cells.data(), moveCount));
    }
}

BENCHMARK_CAPTURE(BM_Choose, easy_early, ChooseEasyColumn, Early);
BENCHMARK_CAPTURE(BM_Choose, easy_middle, ChooseEasyColumn, Middle);
BENCHMARK_CAPTURE(BM_Choose, easy_late, ChooseEasyColumn, Late);
BENCHMARK_CAPTURE(BM_Choose, hard_early, ChooseHardColumn, Early);
BENCHMARK_CAPTURE(BM_Choose, hard_middle, ChooseHardColumn, Middle);
BENCHMARK_CAPTURE(BM_Choose, hard_late, ChooseHardColumn, Late);

bool FourInARow(const Cells& cells, char mark) {
    const int steps[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, -1}};
    for (int r = 0; r < BoardRows; ++r) {
        for (int c = 0; c < BoardColumns; ++c) {
            for (const auto& step : steps) {
                int n = 0;
                while (n < 4) {
                    int rr = r + n * step[0];
                    int cc = c + n * step[1];
                    if (rr >= BoardRows || cc < 0 || cc >= BoardColumns)
                        break;
                    if (cells[rr * BoardColumns + cc] != mark)
                        break;
                    ++n;
                }
                if (n == 4)
                    return true;
            }
        }
    }
    return false;
}

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
            if (!easyTurn) {
                for (char& cell : seen) {
                    if (cell != Empty)
                        cell = cell == MarkX ? MarkO : MarkX;
                }
            }
            fake::SetClock(++clock);
            int column = easyTurn ? ChooseEasyColumn(seen.data(), turn / 2)
                                  : ChooseHardColumn(seen.data(), turn / 2);
            ++moves;
            char mark = easyTurn ? MarkX : MarkO;
            for (int row = BoardRows - 1; row >= 0; --row) {
                if (cells[row * BoardColumns + column] == Empty) {
                    cells[row * BoardColumns + column] = mark;
                    break;
                }
            }
            if (FourInARow(cells, mark))
                break;
            bool full = true;
            for (int c = 0; c < BoardColumns; ++c)
                full = full && cells[c] != Empty;
            if (full)
                break;
        }
        benchmark::DoNotOptimize(cells.data());
    }
    state.counters["moves_per_game"] =
        benchmark::Counter(static_cast<double>(moves) / static_cast<double>(state.iterations()));
}

BENCHMARK(BM_Game);

}  // namespace
