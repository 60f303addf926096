// The GDI handle count over many clicks.
#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {

Failure GdiHandlesScenario(const Options& options) {
    Shot menu;
    Shot highscores;
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    CHECK(LoadScreen(options, "highscore.bmp", &highscores));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    // A paint in progress holds a picture and a memory context for a moment:
    // the count is taken once the window has settled, the least of a few.
    auto objects = [&game, window]() {
        Shot settled;
        TakeSettledShot(game, window, &settled);
        DWORD least = CountGdiObjects(game.process.hProcess);
        for (int reading = 0; reading < 4; ++reading) {
            Sleep(20);
            DWORD count = CountGdiObjects(game.process.hProcess);
            if (count < least)
                least = count;
        }
        return least;
    };
    std::printf("GetGuiResources answers %lu\n",
                GetGuiResources(game.process.hProcess, GR_GDIOBJECTS));
    // Some rounds first: what Wine makes once for its dialogs (in the first
    // few of them) is counted before.
    for (int round = 0; round < 20; ++round) {
        const Point at = round % 2 == 0 ? TwoPlayersButton : HardButton;
        Click(window, at.x, at.y);
        CHECK(AnswerNameDialog(game, round % 2 == 0 ? "Spieler1:" : "Spieler:", nullptr));
    }
    if (!SendClick(window, HighscoresButton.x, HighscoresButton.y, 5000) ||
        !SendClick(window, 400, 300, 5000))
        return "a highscore click was not handled";
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu"));
    const DWORD before = objects();

    const int dialogRounds = 300;
    const int highscoreRounds = 400;
    const int BoardGames = 29;
    double start = NowMs();
    for (int round = 0; round < dialogRounds; ++round) {
        const Point at = round % 2 == 0 ? TwoPlayersButton : HardButton;
        Click(window, at.x, at.y);
        Failure failure =
            AnswerNameDialog(game, round % 2 == 0 ? "Spieler1:" : "Spieler:", nullptr);
        if (!failure.empty())
            return Format("dialog round %d: %s", round + 1, failure.c_str());
    }
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the dialog rounds"));
    const DWORD afterDialogs = objects();
    std::printf("%d dialog rounds: %.0f ms\n", dialogRounds, NowMs() - start);
    (void)std::fflush(stdout);  // progress for a person watching
    start = NowMs();
    for (int round = 0; round < highscoreRounds; ++round) {
        if (!SendClick(window, HighscoresButton.x, HighscoresButton.y, 5000) ||
            !SendClick(window, 400, 300, 5000))
            return Format("highscore round %d: a click was not handled", round + 1);
    }
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the highscore rounds"));
    Click(window, HighscoresButton.x, HighscoresButton.y);
    CHECK(WaitForPicture(window, highscores, 0, 0, Mostly, "the highscores"));
    Click(window, 400, 300);
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu"));
    const DWORD afterHighscores = objects();
    std::printf("%d highscore rounds: %.0f ms\n", highscoreRounds, NowMs() - start);
    (void)std::fflush(stdout);  // progress for a person watching
    start = NowMs();

    // Board clicks: full games of two players, each a draw-free win in
    // column 0, answered with "Yes" for the next one.
    CHECK(StartTwoPlayers(game, window, "Anna", "Ben"));
    int boardClicks = 0;
    DWORD afterFirstGame = 0;
    for (int gameNumber = 0; gameNumber < BoardGames; ++gameNumber) {
        const int columns[] = {0, 1, 0, 1, 0, 1, 0};
        int heights[7] = {};
        for (int move = 0; move < 7; ++move) {
            const int column = columns[move];
            const int row = 5 - heights[column]++;
            double took = 0;
            CHECK(DropDisc(window, column, row, move % 2 == 0 ? YellowCore : RedCore, &took));
            ++boardClicks;
        }
        Box won;
        CHECK(WaitForBox(game, BoxTimeout, &won));
        CHECK(ExpectBox(won, "Anna", "***SIEG***SPIELER 1***"));
        CHECK(PressButton(won, IDOK));
        Box again;
        CHECK(WaitForBox(game, BoxTimeout, &again));
        CHECK(ExpectBox(again, "Nochmal", "***????***"));
        CHECK(PressButton(again, IDYES));
        // A cleared board: the bottom left hole is empty again.
        Shot board;
        CHECK(LoadScreen(options, "spielfeld.bmp", &board));
        if (WaitForPixel(window, DiscX(0), DiscY(5), board.At(DiscX(0), DiscY(5)), BoxTimeout) < 0)
            return Format("game %d: the board was not cleared after \"Yes\"", gameNumber + 1);
        // The first message boxes make what Wine keeps for all later ones.
        if (gameNumber == 0)
            afterFirstGame = objects();
    }
    const DWORD afterBoard = objects();
    std::printf("%d board clicks in %d games: %.0f ms\n", boardClicks, BoardGames, NowMs() - start);
    std::printf(
        "GDI objects: %lu before, %lu after the dialogs, %lu after the highscores, %lu "
        "after the first game, %lu after the board clicks\n",
        before, afterDialogs, afterHighscores, afterFirstGame, afterBoard);

    // The game still answers and draws right.
    double took = 0;
    CHECK(DropDisc(window, 6, 5, YellowCore, &took));
    CHECK(ExpectDisc(window, 6, 5, YellowRing, YellowCore, "a disc after many clicks"));
    if (before == 0) {
        std::printf("no count of GDI objects here: only the answers and pixels are checked\n");
    } else if (afterDialogs > before || afterHighscores > before || afterBoard > afterFirstGame) {
        return Format(
            "GDI objects grew: %lu before, %lu / %lu after the menu clicks, %lu after "
            "the first game, %lu after the board clicks",
            before, afterDialogs, afterHighscores, afterFirstGame, afterBoard);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}
E2E_SCENARIO(900, "gdi_handles", GdiHandlesScenario, "");

}  // namespace e2e
