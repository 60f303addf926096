// The name questions before a game.
#include "players/names.h"

char PlayerName1[NameSize] = {};
char PlayerName2[NameSize] = {};

namespace {

// While a question is open the screen behind it shows the menu; a confirmed
// question returns to the chosen game, anything else leaves the menu.
int AfterQuestion(int result, int gameScreen) {
    return result == AnswerOk ? gameScreen : ScreenMenu;
}

int AskTwoPlayers() {
    Screen = ScreenMenu;
    int result = RunNamePrompt(MainWindow, FirstPlayerPrompt, NameCaption, PlayerName1, NameSize);
    if (result == AnswerOk) {
        result = RunNamePrompt(MainWindow, SecondPlayerPrompt, NameCaption, PlayerName2, NameSize);
    }
    Screen = AfterQuestion(result, ScreenTwoPlayers);
    return result;
}

int AskAgainstComputer(int gameScreen) {
    // KEPT: the second name gets an 'a' so that only the human's name can be
    // empty; the rest of the old name stays behind it.
    PlayerName2[0] = ComputerNameMark;
    Screen = ScreenMenu;
    int result = RunNamePrompt(MainWindow, SinglePlayerPrompt, NameCaption, PlayerName1, NameSize);
    Screen = AfterQuestion(result, gameScreen);
    return result;
}

}  // namespace

void AskPlayerNames() {
    for (;;) {
        int result = 0;
        if (Screen == ScreenTwoPlayers) {
            result = AskTwoPlayers();
        } else if (Screen == ScreenEasyComputer || Screen == ScreenHardComputer) {
            result = AskAgainstComputer(Screen);
        } else {
            return;  // no game chosen: nothing to ask
        }
        if (result != AnswerOk)
            return;
        // KEPT: one empty name asks every name of the game again; a name of
        // blanks is not empty.
        if (PlayerName1[0] != '\0' && PlayerName2[0] != '\0')
            return;
    }
}
