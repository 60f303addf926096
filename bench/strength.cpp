// The strength of the computer levels as a measured fact: many seeded games
// between the easy chooser, the hard chooser and a side that drops its disc
// into a random column with room, with each side moving first in half of
// the games. Prints one row per pairing: wins, losses and draws of the first
// named side, and the mean game length in discs.
//
//   rillo_strength [games per pairing, default 2000] [seed, default 1]
//
// The choosers seed their generator from the clock at every call; here the
// fake platform's clock stands in for it and advances by a seeded 0 to 2
// seconds per move, as a real game's clock does between moves, so every run
// with the same seed gives the same table. As in the game, a chooser's
// answer of a full column places nothing and passes the turn.
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "bench/positions.h"
#include "computer/computer.h"
#include "game/board.h"
#include "game/state.h"
#include "tests/fake_platform.h"

namespace {

enum class Side { Random, Easy, Hard };

const char* SideName(Side side) {
    switch (side) {
        case Side::Easy:
            return "easy";
        case Side::Hard:
            return "hard";
        case Side::Random:
            break;
    }
    return "random";
}

using Cells = std::array<char, BoardCells>;

// The column a side answers with. The choosers always play 'X' against the
// human's 'O', so a side playing 'O' sees the board with the marks swapped.
int Answer(Side side, const Cells& cells, char mark, int ownMoves, std::mt19937& random) {
    if (side == Side::Random) {
        int free[BoardColumns] = {};
        int count = 0;
        for (int column = 0; column < BoardColumns; ++column)
            if (cells[column] == Empty)
                free[count++] = column;
        return free[std::uniform_int_distribution<int>(0, count - 1)(random)];
    }
    Cells seen = cells;
    if (mark == MarkO)
        SwapMarks(seen.data());
    return side == Side::Easy ? ChooseEasyColumn(seen.data(), ownMoves)
                              : ChooseHardColumn(seen.data(), ownMoves);
}

struct Outcome {
    int winner;  // 0 or 1 for the side that moved first or second, -1 a draw
    int discs;
};

// One game; turns are capped so a side that keeps passing cannot stall it.
Outcome Play(Side first, Side second, std::mt19937& random, std::uint32_t& clock) {
    Cells cells;
    cells.fill(Empty);
    const Side sides[2] = {first, second};
    const char marks[2] = {MarkX, MarkO};
    int ownMoves[2] = {0, 0};
    int discs = 0;
    for (int turn = 0; turn < 400 && HasRoom(cells.data()); ++turn) {
        int who = turn % 2;
        clock += static_cast<std::uint32_t>(std::uniform_int_distribution<int>(0, 2)(random));
        fake::SetClock(clock);
        int column = Answer(sides[who], cells, marks[who], ownMoves[who], random);
        ++ownMoves[who];
        if (column < 0 || column >= BoardColumns || !DropDisc(cells.data(), column, marks[who]))
            continue;
        ++discs;
        if (HasFourInARow(marks[who], cells.data()))
            return {who, discs};
    }
    return {-1, discs};
}

}  // namespace

int main(int argc, char** argv) {
    // A count that is not a number, or too large for an int, is a usage error.
    long requested = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 2000;
    unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1;
    if (requested < 2 || requested > INT_MAX) {
        (void)std::fputs("usage: rillo_strength [games per pairing >= 2] [seed]\n", stderr);
        return 2;
    }
    const int games = static_cast<int>(requested);
    struct Pairing {
        Side side;
        Side opponent;
    };
    const Pairing pairings[] = {
        {Side::Easy, Side::Random},
        {Side::Hard, Side::Random},
        {Side::Hard, Side::Easy},
        {Side::Random, Side::Random},
    };
    std::printf("%d games per pairing, seed %u; each side moves first in half of them\n\n", games,
                seed);
    std::printf("| side | against | wins | losses | draws | mean discs |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Pairing& pairing : pairings) {
        std::mt19937 random(seed);
        std::uint32_t clock = seed;
        int wins = 0;
        int losses = 0;
        int draws = 0;
        long discs = 0;
        for (int game = 0; game < games; ++game) {
            bool sideFirst = game % 2 == 0;
            Outcome outcome = sideFirst ? Play(pairing.side, pairing.opponent, random, clock)
                                        : Play(pairing.opponent, pairing.side, random, clock);
            discs += outcome.discs;
            if (outcome.winner < 0)
                ++draws;
            else if ((outcome.winner == 0) == sideFirst)
                ++wins;
            else
                ++losses;
        }
        std::printf("| %s | %s | %.1f %% | %.1f %% | %.1f %% | %.1f |\n", SideName(pairing.side),
                    SideName(pairing.opponent), 100.0 * wins / games, 100.0 * losses / games,
                    100.0 * draws / games, static_cast<double>(discs) / games);
    }
    return 0;
}
