// The hard level: block the human's threes, else complete a four of the
// computer's own, else block the human's open twos, else leave the move to
// chance. Its rules keep the last matching window of their scan.
#include "computer/computer.h"
#include "computer/rule_grid.h"
#include "shell/platform.h"

namespace {

// KEPT: the hard rules keep the last match of a row, the easy ones the first,
// so the two levels block an open three at opposite ends.
int FindThreeOrTwo(char key, const char* board, int mode, const WindowSet& threeSet,
                   WindowMatcher threeMatcher, const WindowSet& twoSet, WindowMatcher twoMatcher) {
    if (mode == ModeThree)
        return ScanWindows(board, threeSet, threeMatcher, key, MatchPick::LastInRow);
    if (mode == ModeTwo)
        return ScanWindows(board, twoSet, twoMatcher, key, MatchPick::LastInRow);
    return NoMove;
}

}  // namespace

int FindThreeOrTwoRising(char key, const char* board, int mode) {
    return FindThreeOrTwo(key, board, mode, RisingWindows, MatchThree, RisingWindows,
                          MatchTwoRising);
}

int FindThreeOrTwoFalling(char key, const char* board, int mode) {
    return FindThreeOrTwo(key, board, mode, FallingWindows, MatchThree, FallingWindows,
                          MatchTwoFalling);
}

int FindThreeOrTwoVertical(char key, const char* board, int mode) {
    return FindThreeOrTwo(key, board, mode, VerticalWindows, MatchThreeStacked, VerticalWindows,
                          MatchTwoStacked);
}

int FindThreeOrTwoHorizontal(char key, const char* board, int mode) {
    return FindThreeOrTwo(key, board, mode, HorizontalWindows, MatchThree, HorizontalTwoWindows,
                          MatchTwoHorizontal);
}

int ChooseHardColumn(const char* board, int moveCount) {
    using HardRule = int (*)(char, const char*, int);
    constexpr HardRule rules[] = {FindThreeOrTwoRising, FindThreeOrTwoFalling,
                                  FindThreeOrTwoVertical, FindThreeOrTwoHorizontal};
    struct Pass {
        char key;
        int mode;
    };
    // KEPT: the human's threes are blocked before the computer completes its
    // own four.
    constexpr Pass passes[] = {{MarkO, ModeThree}, {MarkX, ModeThree}, {MarkO, ModeTwo}};

    int result = NoMove;
    // KEPT: seeded from the clock at every call: within one second the same
    // board gets the same answer.
    SeedRandom(ClockSeconds());
    for (const Pass& pass : passes) {
        for (HardRule rule : rules) {
            if (result == NoMove)
                result = rule(pass.key, board, pass.mode);
        }
    }
    if (result != NoMove)
        return result - 1;
    return ChooseFallbackColumn(board, moveCount);
}
