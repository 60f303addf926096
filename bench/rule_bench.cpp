// Timings of each pattern rule on its own: a chooser runs up to eight (easy)
// or twelve (hard) of them per answer.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/positions.h"
#include "computer/computer.h"

namespace {

using EasyRule = int (*)(char, const char*);
using HardRule = int (*)(char, const char*, int);

void BM_EasyRule(benchmark::State& state, EasyRule rule, const char* columns) {
    char board[BoardCells];
    PlayColumns(board, columns, MarkO);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rule(MarkO, board));
    }
}

void BM_HardRule(benchmark::State& state, HardRule rule, int mode, const char* columns) {
    char board[BoardCells];
    PlayColumns(board, columns, MarkO);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rule(MarkO, board, mode));
    }
}

struct NamedEasyRule {
    const char* name;
    EasyRule rule;
};

struct NamedHardRule {
    const char* name;
    HardRule rule;
};

constexpr NamedEasyRule EasyRules[] = {
    {"FindThreeHorizontal", FindThreeHorizontal},
    {"FindThreeVertical", FindThreeVertical},
    {"FindThreeRising", FindThreeRising},
    {"FindThreeFalling", FindThreeFalling},
};

constexpr NamedHardRule HardRules[] = {
    {"FindThreeOrTwoRising", FindThreeOrTwoRising},
    {"FindThreeOrTwoFalling", FindThreeOrTwoFalling},
    {"FindThreeOrTwoVertical", FindThreeOrTwoVertical},
    {"FindThreeOrTwoHorizontal", FindThreeOrTwoHorizontal},
};

// Every rule looks for the human's discs on each position; the hard rules in
// both modes.
const int Registered = [] {
    for (const NamedEasyRule& rule : EasyRules) {
        for (const BenchPosition& position : BenchPositions) {
            std::string name = std::string("BM_") + rule.name + "/" + position.name;
            benchmark::RegisterBenchmark(name.c_str(), BM_EasyRule, rule.rule, position.columns);
        }
    }
    for (const NamedHardRule& rule : HardRules) {
        for (int mode : {ModeThree, ModeTwo}) {
            for (const BenchPosition& position : BenchPositions) {
                std::string name = std::string("BM_") + rule.name +
                                   (mode == ModeThree ? "/three/" : "/two/") + position.name;
                benchmark::RegisterBenchmark(name.c_str(), BM_HardRule, rule.rule, mode,
                                             position.columns);
            }
        }
    }
    return 0;
}();

}  // namespace
