// Puts the process-wide values back to their start-up state before each test.
#include "tests/reset.h"

#include <cstring>

#include "game/state.h"
#include "tests/fake_platform.h"

void ResetProcessState() {
    fake::Reset();
    std::memset(Board, Empty, sizeof Board);
    TurnCounter = 2;
    LastMover = '\0';
    ComputerToMove = false;
    MoveCount = 0;
    RandomState = 1;
    Screen = ScreenIntro;
    GameMode = 0;
    Running = true;
    MainWindow = fake::TheWindow();
    IntroSize = PictureSize{800, 600};
    std::memset(PlayerName1, 0, sizeof PlayerName1);
    std::memset(PlayerName2, 0, sizeof PlayerName2);
}
