// Timings of the four-in-a-row scan: the win test runs after every disc.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/positions.h"
#include "game/board.h"

namespace {

// The game's columns are played with first's mark first.
void BM_FourInARow(benchmark::State& state, const char* game, char first, char mark) {
    char board[BoardCells];
    PlayColumns(board, game, first);
    for (auto _ : state) {
        benchmark::DoNotOptimize(HasFourInARow(mark, board));
    }
}

// The three stages of a game (no four, so every line is scanned), a full
// board without a four, and a board whose only four is found by the very
// last diagonal family.
const int Registered = [] {
    for (const BenchPosition& position : BenchPositions) {
        std::string name = std::string("BM_FourInARow/") + position.name;
        benchmark::RegisterBenchmark(name.c_str(), BM_FourInARow, position.columns, MarkO, MarkX);
    }
    return 0;
}();

BENCHMARK_CAPTURE(BM_FourInARow, drawn_full_board, "436014551150160155104632660465204242223333",
                  MarkX, MarkX);
BENCHMARK_CAPTURE(BM_FourInARow, falling_diagonal_win, "65543443033", MarkX, MarkX);

}  // namespace
