// The screen state machine: menu hit areas, clicks on every screen, the
// painting order and the fonts the menu leaves in the window's context.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "game/state.h"
#include "shell/app.h"
#include "shell/screens.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

using Calls = std::vector<std::string>;

namespace {

const std::string MenuFontLine = "font create 20 10 0 10 800 0 0 0 0 0 0 0 0 \"Times New Roman\"";
const std::string HighscoreFontLine =
    "font create 20 20 0 10 0 0 0 0 0 0 0 0 0 \"INTERGRAPH ARCHITECTURAL\"";

// Drops discs into the columns named, 'X' first, each into the lowest empty cell.
void Play(const char* columns) {
    char mark = MarkX;
    for (const char* c = columns; *c != '\0'; ++c) {
        int column = *c - '0';
        for (int row = BoardRows - 1; row >= 0; --row) {
            if (Board[row * BoardColumns + column] == Empty) {
                Board[row * BoardColumns + column] = mark;
                break;
            }
        }
        mark = mark == MarkX ? MarkO : MarkX;
    }
}

// Puts a name into a name buffer, cut to its nine characters and always
// terminated.
void SetName(char* target, const char* name) {
    std::size_t length = std::min(std::strlen(name), static_cast<std::size_t>(NameSize - 1));
    std::memcpy(target, name, length);
    target[length] = '\0';
}

}  // namespace

TEST(MenuHitTest, AreasAndTheirBoundaries) {
    struct Case {
        int x, y, screen;
    };
    const Case cases[] = {
        // Two players.
        {290, 310, 2},
        {460, 350, 2},
        {461, 350, 1},
        {289, 330, 1},
        {300, 309, 1},
        {300, 351, 1},
        // Easy computer.
        {310, 370, 3},
        {440, 400, 3},
        {309, 385, 1},
        {441, 385, 1},
        {400, 369, 1},
        {400, 401, 1},
        // Hard computer.
        {484, 385, 1},
        {485, 385, 4},
        {620, 400, 4},
        {621, 400, 1},
        {500, 369, 1},
        {500, 401, 1},
        // Highscore table, which also owns the strip it shares with the credits.
        {270, 420, 5},
        {465, 460, 5},
        {269, 440, 1},
        {466, 440, 1},
        {300, 419, 1},
        {300, 457, 5},
        {300, 458, 5},
        {445, 460, 5},
        // Credits.
        {300, 461, 6},
        {290, 515, 6},
        {445, 515, 6},
        {289, 500, 1},
        {446, 500, 1},
        {300, 516, 1},
        {455, 461, 1},
        // Nowhere near a button.
        {0, 0, 1},
        {799, 599, 1},
        {-5, 330, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuHitTest(c.x, c.y), c.screen) << "(" << c.x << ", " << c.y << ")";
    }
}

TEST(HandleClick, IntroGoesToTheMenu) {
    ResetProcessState();
    HandleClick(400, 300, MainWindow);
    EXPECT_EQ(Screen, ScreenMenu);
    EXPECT_EQ(fake::Calls(), (Calls{"repaint"}));
}

TEST(HandleClick, HighscoreTableGoesBackToTheMenu) {
    ResetProcessState();
    Screen = ScreenHighscores;
    HandleClick(10, 10, MainWindow);
    EXPECT_EQ(Screen, ScreenMenu);
    EXPECT_EQ(fake::Calls(), (Calls{"repaint"}));
}

TEST(HandleClick, CreditsEndTheProgramWithoutARepaint) {
    ResetProcessState();
    Screen = ScreenCredits;
    HandleClick(400, 300, MainWindow);
    EXPECT_EQ(Running, 0);
    EXPECT_EQ(Screen, ScreenCredits);
    EXPECT_TRUE(fake::Calls().empty());
}

TEST(HandleClick, GameScreensPassOnlyClicksOverTheBoard) {
    struct Case {
        int x, y;
        bool handled;
    };
    const Case cases[] = {{35, 300, false}, {36, 300, true},  {525, 300, true}, {526, 300, false},
                          {36, 5, true},    {525, 590, true}, {0, 300, false},  {700, 300, false}};
    for (int screen : {ScreenTwoPlayers, ScreenEasyComputer, ScreenHardComputer}) {
        for (const Case& c : cases) {
            ResetProcessState();
            Screen = screen;
            GameMode = screen - 1;
            HandleClick(c.x, c.y, MainWindow);
            EXPECT_EQ(MoveCount, c.handled ? 1 : 0) << "screen " << screen << " x " << c.x;
            if (!c.handled) {
                EXPECT_TRUE(fake::Calls().empty());
            }
            EXPECT_EQ(fake::OpenDrawContexts(), 0);
        }
    }
}

TEST(HandleClick, MenuOutsideEveryAreaStillSetsTheLookAndRepaints) {
    ResetProcessState();
    Screen = ScreenMenu;
    GameMode = ModeHardComputer;
    HandleClick(50, 50, MainWindow);
    EXPECT_EQ(Screen, ScreenMenu);
    EXPECT_EQ(GameMode, ModeHardComputer);
    EXPECT_EQ(fake::Calls(), (Calls{"dc get", "look 255,255,255", MenuFontLine + " -> #1",
                                    "font select #1 (was default)", "repaint", "dc release"}));
}

TEST(HandleClick, MenuCreditsKeepTheMenuFont) {
    ResetProcessState();
    Screen = ScreenMenu;
    HandleClick(300, 500, MainWindow);
    EXPECT_EQ(Screen, ScreenCredits);
    EXPECT_EQ(Running, 1);
    EXPECT_EQ(GameMode, 0);
    EXPECT_EQ(fake::SelectedFont(), 1);
    EXPECT_TRUE(fake::CallsStartingWith("prompt").empty());
}

TEST(HandleClick, MenuHighscoresSwapInTheHighscoreFont) {
    ResetProcessState();
    Screen = ScreenMenu;
    GameMode = ModeTwoPlayers;
    HandleClick(300, 458, MainWindow);
    EXPECT_EQ(Screen, ScreenHighscores);
    EXPECT_EQ(GameMode, ModeTwoPlayers);
    EXPECT_EQ(fake::Calls(),
              (Calls{"dc get", "look 255,255,255", MenuFontLine + " -> #1",
                     "font select #1 (was default)", HighscoreFontLine + " -> #2",
                     "font select #2 (was #1)", "font delete #1", "repaint", "dc release"}));
    EXPECT_EQ(fake::LiveFonts(), 1);
    EXPECT_EQ(fake::BadFontDeletes(), 0);
}

TEST(HandleClick, MenuGameChoiceSetsTheModeAndAsksForNames) {
    struct Case {
        int x, y, screen, mode;
        int prompts;  // the name prompts a confirmed choice shows
    };
    const Case cases[] = {{300, 330, ScreenTwoPlayers, ModeTwoPlayers, 2},
                          {400, 385, ScreenEasyComputer, ModeEasyComputer, 1},
                          {600, 385, ScreenHardComputer, ModeHardComputer, 1}};
    for (const Case& c : cases) {
        // Cancelled: back on the menu, but the kind of game stays chosen.
        ResetProcessState();
        Screen = ScreenMenu;
        HandleClick(c.x, c.y, MainWindow);
        EXPECT_EQ(Screen, ScreenMenu) << "screen " << c.screen;
        EXPECT_EQ(GameMode, c.mode);
        Calls prompts = fake::CallsStartingWith("prompt");
        ASSERT_EQ(prompts.size(), 1U);
        EXPECT_NE(prompts[0].find("-> 2"), std::string::npos);
        EXPECT_EQ(fake::Calls().back(), "dc release");
        EXPECT_EQ(fake::Calls()[fake::Calls().size() - 2], "repaint");

        // Confirmed: the game screen is shown.
        ResetProcessState();
        Screen = ScreenMenu;
        fake::AnswerPrompts({{"Anna", 1}, {"Ben", 1}});
        HandleClick(c.x, c.y, MainWindow);
        EXPECT_EQ(Screen, c.screen);
        EXPECT_EQ(GameMode, c.mode);
        EXPECT_STREQ(PlayerName1, "Anna");
        EXPECT_EQ(static_cast<int>(fake::CallsStartingWith("prompt").size()), c.prompts);
        // The names are asked after the look is set and before the repaint.
        Calls calls = fake::Calls();
        auto firstPrompt = std::find_if(calls.begin(), calls.end(), [](const std::string& s) {
            return s.rfind("prompt", 0) == 0;
        });
        auto look = std::find(calls.begin(), calls.end(), "look 255,255,255");
        auto repaint = std::find(calls.begin(), calls.end(), "repaint");
        EXPECT_LT(look, firstPrompt);
        EXPECT_LT(firstPrompt, repaint);
        EXPECT_EQ(fake::OpenDrawContexts(), 0);
    }
}

TEST(HandleClick, MenuFontsDoNotPileUp) {
    ResetProcessState();
    const int points[][2] = {{50, 50}, {300, 458}, {300, 500}, {300, 330}, {600, 385}};
    for (int i = 0; i < 5000; ++i) {
        Screen = ScreenMenu;
        HandleClick(points[i % 5][0], points[i % 5][1], MainWindow);
        ASSERT_LE(fake::LiveFonts(), 1) << "click " << i;
        if (i % 100 == 0)
            fake::ClearCalls();
    }
    EXPECT_EQ(fake::BadFontDeletes(), 0);
    EXPECT_NE(fake::SelectedFont(), 0);

    ReleaseWindowResources(MainWindow);
    EXPECT_EQ(fake::LiveFonts(), 0);
    EXPECT_EQ(fake::SelectedFont(), 0);
    EXPECT_EQ(fake::BadFontDeletes(), 0);
    EXPECT_EQ(fake::OpenDrawContexts(), 0);
}

TEST(PaintScreen, PlainScreensShowOnlyTheirPicture) {
    struct Case {
        int screen;
        const char* picture;
    };
    const Case cases[] = {{ScreenIntro, ".\\src\\intro.bmp"},
                          {ScreenMenu, ".\\src\\menue.bmp"},
                          {ScreenCredits, ".\\src\\credits.bmp"}};
    for (const Case& c : cases) {
        ResetProcessState();
        Screen = c.screen;
        Play("3344");
        SetName(PlayerName1, "Anna");
        PaintScreen(MainWindow);
        EXPECT_EQ(fake::Calls(),
                  (Calls{"paint begin",
                         std::string("picture ") + c.picture + " 800x600 at 0,0 copy 800x600",
                         "paint end"}));
    }
}

TEST(PaintScreen, ScreenPictureIsCopiedWithinTheIntroSize) {
    ResetProcessState();
    IntroSize = PictureSize{640, 480};
    Screen = ScreenMenu;
    PaintScreen(MainWindow);
    EXPECT_EQ(fake::CallsStartingWith("picture"),
              (Calls{"picture .\\src\\menue.bmp 800x600 at 0,0 copy 640x480"}));
}

TEST(PaintScreen, TwoPlayerGameInOrder) {
    ResetProcessState();
    Screen = ScreenTwoPlayers;
    GameMode = ModeTwoPlayers;
    TurnCounter = 3;
    Play("33");  // 'X' at the bottom of column 3, 'O' on top of it
    SetName(PlayerName1, "Anna");
    SetName(PlayerName2, "Ben");
    PaintScreen(MainWindow);
    Calls expected = {"paint begin",
                      "picture .\\src\\spielfeld.bmp 800x600 at 0,0 copy 800x600",
                      "dc get",
                      "dot 283,545 d55 0,0,0",
                      "dot 283,545 d50 255,255,0",
                      "dot 283,545 d40 0,0,0",
                      "dot 283,545 d35 128,128,0",
                      "dc release",
                      "dc get",
                      "dot 283,467 d55 0,0,0",
                      "dot 283,467 d50 255,0,0",
                      "dot 283,467 d40 0,0,0",
                      "dot 283,467 d35 128,0,0",
                      "dc release",
                      "dc get",
                      "picture .\\src\\spieler2.bmp 202x58 at 568,96 copy 202x58",
                      "dc release",
                      "text 610,245 \"Anna\"",
                      "text 610,400 \"Ben\"",
                      "paint end"};
    EXPECT_EQ(fake::Calls(), expected);
    EXPECT_EQ(fake::OpenDrawContexts(), 0);
    EXPECT_EQ(fake::OpenPaints(), 0);
}

TEST(PaintScreen, ComputerGamesShowOneNameAndTheLevel) {
    struct Case {
        int screen, mode;
        const char* level;
    };
    const Case cases[] = {{ScreenEasyComputer, ModeEasyComputer, ".\\src\\compuleicht.bmp"},
                          {ScreenHardComputer, ModeHardComputer, ".\\src\\compuschwer.bmp"}};
    for (const Case& c : cases) {
        ResetProcessState();
        Screen = c.screen;
        GameMode = c.mode;
        ComputerToMove = true;
        SetName(PlayerName1, "Christina");  // nine characters fill the buffer
        PlayerName2[0] = 'a';
        PaintScreen(MainWindow);
        Calls expected = {
            "paint begin", "picture .\\src\\spielfeld.bmp 800x600 at 0,0 copy 800x600",
            "dc get",      "picture .\\src\\spieler2.bmp 202x58 at 568,96 copy 202x58",
            "dc release",  "text 610,245 \"Christina\"",
            "dc get",      std::string("picture ") + c.level + " 212x134 at 565,336 copy 212x134",
            "dc release",  "paint end"};
        EXPECT_EQ(fake::Calls(), expected) << "screen " << c.screen;
    }
}

TEST(PaintScreen, DiscsBottomRowFirstWithColoursByKindOfGame) {
    // "0123456" fills the bottom row, "00" two more in column 0.
    const char* moves = "012345600";
    const std::vector<std::string> bottomFirst = {"70,545",  "141,545", "212,545",
                                                  "283,545", "354,545", "425,545",
                                                  "496,545", "70,467",  "70,389"};
    struct Case {
        int mode;
        const char* xLight;  // light colour of the first player's 'X'
        const char* oLight;
    };
    const Case cases[] = {{ModeTwoPlayers, "255,255,0", "255,0,0"},
                          {ModeEasyComputer, "255,0,0", "255,255,0"},
                          {ModeHardComputer, "255,0,0", "255,255,0"}};
    for (const Case& c : cases) {
        ResetProcessState();
        Screen = ScreenTwoPlayers;
        GameMode = c.mode;
        Play(moves);
        PaintScreen(MainWindow);
        Calls rims = fake::CallsStartingWith("dot");
        Calls rings;
        Calls expectedRings;
        for (std::size_t i = 0; i < bottomFirst.size(); ++i) {
            expectedRings.push_back("dot " + bottomFirst[i] + " d50 " +
                                    (i % 2 == 0 ? c.xLight : c.oLight));
        }
        for (const std::string& dot : rims) {
            if (dot.find(" d50 ") != std::string::npos)
                rings.push_back(dot);
        }
        EXPECT_EQ(rims.size(), 4 * bottomFirst.size());
        EXPECT_EQ(rings, expectedRings) << "mode " << c.mode;
    }
}

TEST(PaintScreen, UnknownKindOfGameDrawsNoDiscs) {
    ResetProcessState();
    Screen = ScreenTwoPlayers;
    GameMode = 0;
    Play("3344");
    SetName(PlayerName1, "Anna");
    PaintScreen(MainWindow);
    EXPECT_TRUE(fake::CallsStartingWith("dot").empty());
    EXPECT_EQ(fake::CallsStartingWith("text"),
              (Calls{"text 610,245 \"Anna\"", "text 610,400 \"\""}));
}

TEST(PaintScreen, MissingBoardPictureShowsTheBoxAndTheGameIsStillDrawn) {
    ResetProcessState();
    fake::SetPictureMissing(".\\src\\spielfeld.bmp");
    Screen = ScreenEasyComputer;
    GameMode = ModeEasyComputer;
    Play("3");
    SetName(PlayerName1, "Anna");
    for (int paint = 0; paint < 2; ++paint) {
        fake::ClearCalls();
        PaintScreen(MainWindow);
        Calls calls = fake::Calls();
        ASSERT_GE(calls.size(), 3U);
        EXPECT_EQ(calls[0], "paint begin");
        EXPECT_EQ(calls[1], "picture missing .\\src\\spielfeld.bmp");
        EXPECT_EQ(calls[2], "box main \"Bild konnte nicht geladen werden\" \"Error\" 0x00");
        EXPECT_EQ(fake::CallsStartingWith("dot").size(), 4U);
        EXPECT_EQ(fake::CallsStartingWith("text"), (Calls{"text 610,245 \"Anna\""}));
        EXPECT_EQ(fake::CallsStartingWith("picture .\\src\\compuleicht.bmp").size(), 1U);
        EXPECT_EQ(calls.back(), "paint end");
    }
    EXPECT_EQ(fake::OpenPaints(), 0);
    EXPECT_EQ(fake::OpenDrawContexts(), 0);
}

TEST(PaintScreen, MissingMenuPictureShowsTheBox) {
    ResetProcessState();
    fake::SetPictureMissing(".\\src\\menue.bmp");
    Screen = ScreenMenu;
    PaintScreen(MainWindow);
    EXPECT_EQ(fake::Calls(),
              (Calls{"paint begin", "picture missing .\\src\\menue.bmp",
                     "box main \"Bild konnte nicht geladen werden\" \"Error\" 0x00", "paint end"}));
}

TEST(PaintScreen, HighscoreScreenDrawsTheTableAndNoGame) {
    ResetProcessState();
    Screen = ScreenHighscores;
    GameMode = ModeTwoPlayers;
    Play("33");
    SetName(PlayerName1, "Anna");
    PaintScreen(MainWindow);
    Calls calls = fake::Calls();
    ASSERT_GE(calls.size(), 3U);
    EXPECT_EQ(calls[0], "paint begin");
    EXPECT_EQ(calls[1], "picture .\\src\\highscore.bmp 800x600 at 0,0 copy 800x600");
    EXPECT_EQ(calls.back(), "paint end");
    EXPECT_TRUE(fake::CallsStartingWith("dot").empty());
    EXPECT_TRUE(fake::CallsStartingWith("text 610,").empty());
    EXPECT_EQ(fake::CallsStartingWith("picture").size(), 1U);
    EXPECT_EQ(fake::OpenDrawContexts(), 0);
    EXPECT_EQ(fake::OpenPaints(), 0);
}
