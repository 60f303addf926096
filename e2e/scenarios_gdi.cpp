// The GDI handle count over many clicks.
#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {

// Many clicks leave the count of the game's GDI objects where it was: menu
// choices that open and cancel the name dialog, highscores and back, board
// clicks over several games.
Failure GdiHandlesScenario(const Options& options) {
    Shot menu;
    Shot highscores;
    RETURN_IF_FAILED(LoadScreen(options, MenuPicture, &menu));
    RETURN_IF_FAILED(LoadScreen(options, HighscorePicture, &highscores));
    Session session(options);
    RETURN_IF_FAILED(StartAtMenu(&session));
    // A paint in progress holds a picture and a memory context for a moment:
    // the count is taken once the window has settled, the least of a few.
    auto objects = [&session]() {
        Shot settled;
        TakeSettledShot(session.game, session.window, &settled);
        DWORD least = CountGdiObjects(session.game.process.hProcess);
        for (int reading = 0; reading < 4; ++reading) {
            Sleep(20);
            DWORD count = CountGdiObjects(session.game.process.hProcess);
            if (count < least)
                least = count;
        }
        return least;
    };
    std::printf("GetGuiResources answers %lu\n",
                GetGuiResources(session.game.process.hProcess, GR_GDIOBJECTS));
    // Some rounds first: what Wine makes once for its dialogs (in the first
    // few of them) is counted before.
    for (int round = 0; round < 20; ++round) {
        const Point at = round % 2 == 0 ? TwoPlayersButton : HardButton;
        Click(session.window, at.x, at.y);
        RETURN_IF_FAILED(
            AnswerName(session, round % 2 == 0 ? FirstPlayerPrompt : SinglePlayerPrompt, nullptr));
    }
    if (!SendClick(session.window, HighscoresButton.x, HighscoresButton.y, 5000) ||
        !SendClick(session.window, 400, 300, 5000))
        return "a highscore click was not handled";
    RETURN_IF_FAILED(WaitForPicture(session.window, menu, 0, 0, Exact, "the menu"));
    const DWORD before = objects();

    const int dialogRounds = 300;
    const int highscoreRounds = 400;
    const int BoardGames = 29;
    double start = NowMs();
    for (int round = 0; round < dialogRounds; ++round) {
        const Point at = round % 2 == 0 ? TwoPlayersButton : HardButton;
        Click(session.window, at.x, at.y);
        Failure failure =
            AnswerName(session, round % 2 == 0 ? FirstPlayerPrompt : SinglePlayerPrompt, nullptr);
        if (!failure.empty())
            return Format("dialog round %d: %s", round + 1, failure.c_str());
    }
    RETURN_IF_FAILED(
        WaitForPicture(session.window, menu, 0, 0, Exact, "the menu after the dialog rounds"));
    const DWORD afterDialogs = objects();
    std::printf("%d dialog rounds: %.0f ms\n", dialogRounds, NowMs() - start);
    (void)std::fflush(stdout);  // progress for a person watching
    start = NowMs();
    for (int round = 0; round < highscoreRounds; ++round) {
        if (!SendClick(session.window, HighscoresButton.x, HighscoresButton.y, 5000) ||
            !SendClick(session.window, 400, 300, 5000))
            return Format("highscore round %d: a click was not handled", round + 1);
    }
    RETURN_IF_FAILED(
        WaitForPicture(session.window, menu, 0, 0, Exact, "the menu after the highscore rounds"));
    Click(session.window, HighscoresButton.x, HighscoresButton.y);
    RETURN_IF_FAILED(WaitForPicture(session.window, highscores, 0, 0, Mostly, "the highscores"));
    Click(session.window, 400, 300);
    RETURN_IF_FAILED(WaitForPicture(session.window, menu, 0, 0, Exact, "the menu"));
    const DWORD afterHighscores = objects();
    std::printf("%d highscore rounds: %.0f ms\n", highscoreRounds, NowMs() - start);
    (void)std::fflush(stdout);  // progress for a person watching
    start = NowMs();

    // Board clicks: full games of two players, each a draw-free win in
    // column 0, answered with "Yes" for the next one.
    RETURN_IF_FAILED(StartTwoPlayers(session, "Anna", "Ben"));
    int boardClicks = 0;
    DWORD afterFirstGame = 0;
    for (int gameNumber = 0; gameNumber < BoardGames; ++gameNumber) {
        const int columns[] = {0, 1, 0, 1, 0, 1, 0};
        int heights[7] = {};
        for (int move = 0; move < 7; ++move) {
            const int column = columns[move];
            const int row = 5 - heights[column]++;
            double took = 0;
            RETURN_IF_FAILED(
                DropDisc(session.window, column, row, move % 2 == 0 ? YellowCore : RedCore, &took));
            ++boardClicks;
        }
        Box won;
        RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &won));
        RETURN_IF_FAILED(ExpectBox(won, "Anna", PlayerOneWinCaption));
        RETURN_IF_FAILED(PressButton(won, IDOK));
        Box again;
        RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &again));
        RETURN_IF_FAILED(ExpectBox(again, PlayAgainText, PlayAgainCaption));
        RETURN_IF_FAILED(PressButton(again, IDYES));
        // A cleared board: the bottom left hole is empty again.
        Shot board;
        RETURN_IF_FAILED(LoadScreen(options, BoardPicture, &board));
        if (WaitForPixel(session.window, DiscX(0), DiscY(5), board.At(DiscX(0), DiscY(5)),
                         BoxTimeout) < 0)
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
    RETURN_IF_FAILED(DropDisc(session.window, 6, 5, YellowCore, &took));
    RETURN_IF_FAILED(
        ExpectDisc(session.window, 6, 5, YellowRing, YellowCore, "a disc after many clicks"));
    if (before == 0) {
        std::printf("no count of GDI objects here: only the answers and pixels are checked\n");
    } else if (afterDialogs > before || afterHighscores > before || afterBoard > afterFirstGame) {
        return Format(
            "GDI objects grew: %lu before, %lu / %lu after the menu clicks, %lu after "
            "the first game, %lu after the board clicks",
            before, afterDialogs, afterHighscores, afterFirstGame, afterBoard);
    }
    PostMessageA(session.window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(session.game, 0);
}
E2E_SCENARIO(900, "gdi_handles", GdiHandlesScenario, "");

}  // namespace e2e
