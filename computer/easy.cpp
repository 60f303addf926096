// The easy level: complete a four of the computer's own, else block one of
// the human's, else leave the move to chance.
#include "computer/computer.h"
#include "computer/rule_grid.h"
#include "shell/platform.h"

int FindThreeHorizontal(char key, const char* board) {
    return ScanWindows(board, HorizontalWindows, MatchThree, key, MatchPick::FirstInRow);
}

int FindThreeVertical(char key, const char* board) {
    return ScanWindows(board, VerticalWindows, MatchThreeStacked, key, MatchPick::FirstInRow);
}

int FindThreeRising(char key, const char* board) {
    return ScanWindows(board, RisingWindows, MatchThree, key, MatchPick::FirstInRow);
}

int FindThreeFalling(char key, const char* board) {
    return ScanWindows(board, FallingWindows, MatchThree, key, MatchPick::FirstInRow);
}

int ChooseEasyColumn(const char* board, int moveCount) {
    using EasyRule = int (*)(char, const char*);
    constexpr EasyRule rules[] = {FindThreeHorizontal, FindThreeVertical, FindThreeRising,
                                  FindThreeFalling};
    constexpr char keys[] = {MarkX, MarkO};

    int result = NoMove;
    // KEPT: seeded from the clock at every call: within one second the same
    // board gets the same answer.
    SeedRandom(ClockSeconds());
    for (char key : keys) {
        for (EasyRule rule : rules) {
            if (result == NoMove)
                result = rule(key, board);
        }
    }
    if (result != NoMove)
        return result - 1;
    return ChooseFallbackColumn(board, moveCount);
}
