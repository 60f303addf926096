// Discs and the two status pictures, read from the fake platform's call log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/state.h"
#include "shell/drawing.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

using Calls = std::vector<std::string>;

namespace {

Calls DiscCalls(const std::string& centre, const std::string& light, const std::string& dark) {
    return {"dc get",
            "dot " + centre + " d55 0,0,0",
            "dot " + centre + " d50 " + light,
            "dot " + centre + " d40 0,0,0",
            "dot " + centre + " d35 " + dark,
            "dc release"};
}

}  // namespace

TEST(DrawDisc, LayersColoursAndCentres) {
    struct Case {
        int column, row, selector;
        std::string centre, light, dark;
    };
    const Case cases[] = {
        {0, 5, 1, "70,545", "255,0,0", "128,0,0"},   {6, 0, 2, "496,155", "255,255,0", "128,128,0"},
        {3, 2, 3, "283,311", "255,0,0", "128,0,0"},  {1, 4, 4, "141,467", "255,255,0", "128,128,0"},
        {5, 1, 17, "425,233", "255,0,0", "128,0,0"}, {2, 3, 0, "212,389", "255,255,0", "128,128,0"},
    };
    for (const Case& c : cases) {
        ResetProcessState();
        DrawDisc(MainWindow, c.column, c.row, c.selector);
        EXPECT_EQ(fake::Calls(), DiscCalls(c.centre, c.light, c.dark))
            << "column " << c.column << " row " << c.row << " selector " << c.selector;
        EXPECT_EQ(fake::OpenDrawContexts(), 0);
    }
}

TEST(DrawDisc, OnlyTheParityOfTheSelectorCounts) {
    // The two-player move hands TurnCounter itself, so 3 must look like 1 and 4 like 2.
    for (int selector : {3, 4, 7, 10}) {
        ResetProcessState();
        DrawDisc(MainWindow, 2, 5, selector);
        // A copy: the calls are cleared and recorded afresh below.
        Calls withTurn = fake::Calls();  // NOLINT(performance-unnecessary-copy-initialization)
        ResetProcessState();
        DrawDisc(MainWindow, 2, 5, selector % 2 != 0 ? 1 : 2);
        EXPECT_EQ(withTurn, fake::Calls()) << "selector " << selector;
    }
}

TEST(DrawTurnPicture, ChoosesThePictureOfWhoseTurnItIs) {
    struct Case {
        int gameMode, turnCounter, computerToMove;
        const char* picture;
    };
    const Case cases[] = {
        {ModeTwoPlayers, 2, 0, ".\\src\\spieler1.bmp"},
        {ModeTwoPlayers, 7, 0, ".\\src\\spieler2.bmp"},
        {ModeTwoPlayers, 8, 0, ".\\src\\spieler1.bmp"},
        // The computer flag plays no part in a game of two.
        {ModeTwoPlayers, 8, 1, ".\\src\\spieler1.bmp"},
        // Against the computer only the computer flag counts.
        {ModeEasyComputer, 7, 0, ".\\src\\spieler1.bmp"},
        {ModeEasyComputer, 8, 1, ".\\src\\spieler2.bmp"},
        {ModeHardComputer, 8, 0, ".\\src\\spieler1.bmp"},
        {ModeHardComputer, 7, 1, ".\\src\\spieler2.bmp"},
    };
    for (const Case& c : cases) {
        ResetProcessState();
        GameMode = c.gameMode;
        TurnCounter = c.turnCounter;
        ComputerToMove = c.computerToMove != 0;
        DrawTurnPicture();
        Calls expected = {"dc get",
                          std::string("picture ") + c.picture + " 202x58 at 568,96 copy 202x58",
                          "dc release"};
        EXPECT_EQ(fake::Calls(), expected) << "mode " << c.gameMode << " turn " << c.turnCounter
                                           << " computer " << c.computerToMove;
    }
}

TEST(DrawLevelPicture, ShowsOnlyOnTheComputerScreens) {
    ResetProcessState();
    Screen = ScreenEasyComputer;
    DrawLevelPicture();
    EXPECT_EQ(fake::Calls(),
              (Calls{"dc get", "picture .\\src\\compuleicht.bmp 212x134 at 565,336 copy 212x134",
                     "dc release"}));

    ResetProcessState();
    Screen = ScreenHardComputer;
    DrawLevelPicture();
    EXPECT_EQ(fake::Calls(),
              (Calls{"dc get", "picture .\\src\\compuschwer.bmp 212x134 at 565,336 copy 212x134",
                     "dc release"}));

    for (int screen :
         {ScreenIntro, ScreenMenu, ScreenTwoPlayers, ScreenHighscores, ScreenCredits}) {
        ResetProcessState();
        Screen = screen;
        DrawLevelPicture();
        EXPECT_TRUE(fake::Calls().empty()) << "screen " << screen;
    }
}

TEST(StatusPictures, MissingFilesAreSkippedWithoutABox) {
    ResetProcessState();
    fake::SetPictureMissing(".\\src\\spieler1.bmp");
    fake::SetPictureMissing(".\\src\\compuschwer.bmp");
    GameMode = ModeHardComputer;
    Screen = ScreenHardComputer;
    DrawTurnPicture();
    DrawLevelPicture();
    EXPECT_EQ(fake::Calls(),
              (Calls{"dc get", "picture missing .\\src\\spieler1.bmp", "dc release", "dc get",
                     "picture missing .\\src\\compuschwer.bmp", "dc release"}));
    EXPECT_EQ(fake::OpenDrawContexts(), 0);
}

TEST(CopyExtent, IsTheSmallerOfPictureAndIntroInEachDimension) {
    struct Case {
        PictureSize intro, picture, expected;
    };
    const Case cases[] = {
        {{800, 600}, {202, 58}, {202, 58}},   {{100, 40}, {202, 58}, {100, 40}},
        {{150, 600}, {202, 58}, {150, 58}},   {{800, 30}, {212, 134}, {212, 30}},
        {{640, 480}, {800, 600}, {640, 480}}, {{1024, 768}, {800, 600}, {800, 600}},
        {{0, 0}, {800, 600}, {0, 0}},
    };
    for (const Case& c : cases) {
        ResetProcessState();
        IntroSize = c.intro;
        PictureSize extent = CopyExtent(c.picture.width, c.picture.height);
        EXPECT_EQ(extent.width, c.expected.width) << c.intro.width << "x" << c.intro.height;
        EXPECT_EQ(extent.height, c.expected.height) << c.intro.width << "x" << c.intro.height;
    }
}

TEST(CopyExtent, StatusPicturesAreCopiedWithinTheIntroSize) {
    ResetProcessState();
    IntroSize = PictureSize{120, 50};
    GameMode = ModeTwoPlayers;
    Screen = ScreenEasyComputer;
    DrawTurnPicture();
    DrawLevelPicture();
    EXPECT_EQ(fake::CallsStartingWith("picture"),
              (Calls{"picture .\\src\\spieler1.bmp 202x58 at 568,96 copy 120x50",
                     "picture .\\src\\compuleicht.bmp 212x134 at 565,336 copy 120x50"}));
}
