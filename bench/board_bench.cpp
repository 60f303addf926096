// Timings of the four-in-a-row scan: the win test runs after every disc.
#include <benchmark/benchmark.h>

#include "bench/positions.h"
#include "game/board.h"

namespace {

void BM_FourInARow(benchmark::State& state, const char* game, char mark) {
    char board[BoardCells];
    PlayColumns(board, game, MarkX);
    for (auto _ : state) {
        benchmark::DoNotOptimize(HasFourInARow(mark, board));
    }
}

// An empty board, a full board without a four (every line is scanned), and
// a board whose only four is found by the very last diagonal family.
BENCHMARK_CAPTURE(BM_FourInARow, empty, "", MarkX);
BENCHMARK_CAPTURE(BM_FourInARow, drawn_full_board, "436014551150160155104632660465204242223333",
                  MarkX);
BENCHMARK_CAPTURE(BM_FourInARow, falling_diagonal_win, "65543443033", MarkX);

}  // namespace
