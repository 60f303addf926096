// The name questions before a game: which prompts each menu choice asks, the
// screen behind them and after them, and the names they leave.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "players/names.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

namespace {

std::string Prompt(const char* prompt, int result) {
    return std::string("prompt main \"") + prompt + R"(" "***Name***" 10 -> )" +
           std::to_string(result);
}

const char* const P1 = "Spieler1:";
const char* const P2 = "Spieler2:";
const char* const PC = "Spieler:";

struct NameCase {
    const char* what;
    int screen;
    std::vector<fake::PromptAnswer> answers;
    std::vector<std::string> prompts;
    int screenAfter;
    const char* name1;
    const char* name2;
};

// The names before each case are "Alt1" and "Alt2", from an earlier game.
const NameCase NameCases[] = {
    {"two players confirm",
     2,
     {{"Anna", 1}, {"Bernd", 1}},
     {Prompt(P1, 1), Prompt(P2, 1)},
     2,
     "Anna",
     "Bernd"},
    {"cancel in the first", 2, {{"Anna", 2}}, {Prompt(P1, 2)}, 1, "Alt1", "Alt2"},
    {"cancel in the second",
     2,
     {{"Anna", 1}, {"Bernd", 2}},
     {Prompt(P1, 1), Prompt(P2, 2)},
     1,
     "Anna",
     "Alt2"},
    {"first not shown", 2, {{"Anna", 0}}, {Prompt(P1, 0)}, 1, "Alt1", "Alt2"},
    {"second not shown",
     2,
     {{"Anna", 1}, {"Bernd", 0}},
     {Prompt(P1, 1), Prompt(P2, 0)},
     1,
     "Anna",
     "Alt2"},
    {"empty first name asks both again",
     2,
     {{"", 1}, {"Bernd", 1}, {"Anna", 1}, {"Bernd", 1}},
     {Prompt(P1, 1), Prompt(P2, 1), Prompt(P1, 1), Prompt(P2, 1)},
     2,
     "Anna",
     "Bernd"},
    {"empty second name asks both again",
     2,
     {{"Anna", 1}, {"", 1}, {"Anna", 1}, {"Bernd", 1}},
     {Prompt(P1, 1), Prompt(P2, 1), Prompt(P1, 1), Prompt(P2, 1)},
     2,
     "Anna",
     "Bernd"},
    {"empty name, then cancel",
     2,
     {{"", 1}, {"Bernd", 1}, {"Anna", 2}},
     {Prompt(P1, 1), Prompt(P2, 1), Prompt(P1, 2)},
     1,
     "",
     "Bernd"},
    {"blanks are a name", 2, {{"   ", 1}, {" ", 1}}, {Prompt(P1, 1), Prompt(P2, 1)}, 2, "   ", " "},
    {"long name cut to nine",
     2,
     {{"Maximilian12", 1}, {"Bernd", 1}},
     {Prompt(P1, 1), Prompt(P2, 1)},
     2,
     "Maximilia",
     "Bernd"},
    {"easy computer", 3, {{"Anna", 1}}, {Prompt(PC, 1)}, 3, "Anna", "alt2"},
    {"hard computer", 4, {{"Anna", 1}}, {Prompt(PC, 1)}, 4, "Anna", "alt2"},
    {"computer, cancelled", 3, {{"Anna", 2}}, {Prompt(PC, 2)}, 1, "Alt1", "alt2"},
    {"computer, not shown", 4, {{"Anna", 0}}, {Prompt(PC, 0)}, 1, "Alt1", "alt2"},
    {"computer, empty name asks again",
     4,
     {{"", 1}, {"Anna", 1}},
     {Prompt(PC, 1), Prompt(PC, 1)},
     4,
     "Anna",
     "alt2"},
    {"intro", 0, {{"Anna", 1}}, {}, 0, "Alt1", "Alt2"},
    {"menu", 1, {{"Anna", 1}}, {}, 1, "Alt1", "Alt2"},
    {"highscores", 5, {{"Anna", 1}}, {}, 5, "Alt1", "Alt2"},
    {"credits", 6, {{"Anna", 1}}, {}, 6, "Alt1", "Alt2"},
};

TEST(NamesTest, AnswersLeadToTheirScreenAndNames) {
    for (const NameCase& c : NameCases) {
        SCOPED_TRACE(c.what);
        ResetProcessState();
        std::strcpy(PlayerName1, "Alt1");
        std::strcpy(PlayerName2, "Alt2");
        Screen = c.screen;
        GameMode = 7;
        std::vector<int> screensDuringPrompts;
        fake::SetPromptHook([&] { screensDuringPrompts.push_back(Screen); });
        fake::AnswerPrompts(c.answers);
        const int unused = static_cast<int>(c.answers.size() - c.prompts.size());

        AskPlayerNames();

        EXPECT_EQ(fake::Calls(), c.prompts);
        EXPECT_EQ(fake::PendingPromptAnswers(), unused);
        EXPECT_EQ(Screen, c.screenAfter);
        EXPECT_STREQ(PlayerName1, c.name1);
        EXPECT_STREQ(PlayerName2, c.name2);
        EXPECT_EQ(GameMode, 7);
        // Behind an open question the window paints the menu.
        EXPECT_EQ(screensDuringPrompts, std::vector<int>(c.prompts.size(), ScreenMenu));
    }
}

TEST(NamesTest, ComputerGameMarksOnlyTheFirstCharacterOfTheSecondName) {
    ResetProcessState();
    Screen = ScreenEasyComputer;
    fake::AnswerPrompts({{"Anna", 1}});
    AskPlayerNames();
    EXPECT_EQ(Screen, ScreenEasyComputer);
    EXPECT_STREQ(PlayerName2, "a");
    for (int i = 1; i < NameSize; ++i)
        EXPECT_EQ(PlayerName2[i], '\0');
}

}  // namespace
