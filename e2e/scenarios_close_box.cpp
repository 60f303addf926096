// Scenarios of the close box: on every screen outside a game, and in the
// middle of a game of two and of games against both levels.
#include <cstdio>
#include <cstring>

#include "e2e/box_icons.h"
#include "e2e/driver.h"
#include "e2e/scenarios.h"
#include "e2e/two_players.h"

namespace e2e {

// The close box on the screens outside a game, each in a fresh start: a
// click on it sends the window SC_CLOSE, and the program ends with status 0
// without a box.
Failure CloseBoxScreensScenario(const Options& options) {
    Shot intro;
    Shot credits;
    RETURN_IF_FAILED(LoadScreen(options, IntroPicture, &intro));
    RETURN_IF_FAILED(LoadScreen(options, CreditsPicture, &credits));
    const char* const screens[] = {"intro", "menu", "highscore screen", "credits"};
    for (const char* screen : screens) {
        Session session(options);
        RETURN_IF_FAILED(LoadPictures(&session));
        if (std::strcmp(screen, "intro") == 0) {
            RETURN_IF_FAILED(StartGame(options, &session.game));
            session.window = WaitForMainWindow(session.game, StartTimeout);
            if (session.window == nullptr)
                return "the main window did not appear";
            RETURN_IF_FAILED(WaitForPicture(session.window, intro, 0, 0, Exact, "the intro"));
        } else {
            RETURN_IF_FAILED(StartAtMenu(&session));
        }
        if (std::strcmp(screen, "highscore screen") == 0) {
            Shot shot;
            RETURN_IF_FAILED(OpenHighscores(session, &shot));
        }
        if (std::strcmp(screen, "credits") == 0) {
            Click(session.window, CreditsButton.x, CreditsButton.y);
            RETURN_IF_FAILED(WaitForPicture(session.window, credits, 0, 0, Exact, "the credits"));
        }
        RETURN_IF_FAILED(ExpectNoBox(session.game, screen));
        double closed = NowMs();
        PostMessageA(session.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        Failure failure = ExpectExitStatus(session.game, 0);
        if (!failure.empty())
            return Format("the close box on the %s: %s", screen, failure.c_str());
        if (!TopWindows(session.game.Id(), DialogClass, false).empty())
            return Format("the close box on the %s: a box is left", screen);
        std::printf("close box on the %s: ended with status 0 after %.0f ms\n", screen,
                    NowMs() - closed);
    }
    return "";
}
E2E_SCENARIO(200, "close_box_screens", CloseBoxScreensScenario, "");

// The close box in the middle of a game, each in a fresh start: two players
// with discs on the board, the easy computer after its answer, the hard
// computer while it thinks (the close waits for the end of its turn).
Failure CloseBoxGamesScenario(const Options& options) {
    {
        Session session(options);
        Model model;
        RETURN_IF_FAILED(StartNamedGame(&session, &model));
        for (int column : {3, 3, 4})
            RETURN_IF_FAILED(PlayDisc(session, &model, column));
        double closed = NowMs();
        PostMessageA(session.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        RETURN_IF_FAILED(ExpectEndAtNextMessage(session, "the close box in a game of two"));
        std::printf("close box in a game of two: ended after %.0f ms\n", NowMs() - closed);
    }
    for (const Point level : {EasyButton, HardButton}) {
        const bool easy = level.x == EasyButton.x;
        Session session(options);
        RETURN_IF_FAILED(LoadPictures(&session));
        RETURN_IF_FAILED(StartAtMenu(&session));
        Click(session.window, level.x, level.y);
        RETURN_IF_FAILED(AnswerName(session, SinglePlayerPrompt, "Ede"));
        RETURN_IF_FAILED(ExpectBoard(session, "the name against the computer"));
        Position position{};
        RETURN_IF_FAILED(WaitForNewGame(session, 1, &position));
        Click(session.window, ColumnClickX(3), 300);
        double closed = NowMs();
        if (!easy) {
            // Closed right after the click: the close waits for the
            // computer's pause and answer.
            PostMessageA(session.window, WM_SYSCOMMAND, SC_CLOSE, 0);
            RETURN_IF_FAILED(
                ExpectEndAtNextMessage(session, "the close box while the hard computer thinks"));
            double took = NowMs() - closed;
            std::printf("the close box while the hard computer thinks: ended after %.0f ms\n",
                        took);
            if (took < 900)
                return Format(
                    "the program ended %.0f ms after a click against the hard computer, "
                    "before the computer's pause of one second was over",
                    took);
            continue;
        }
        {
            Box box;
            bool boxShown = false;
            RETURN_IF_FAILED(AwaitAnswer(session, 0, 0, &box, &boxShown, &position));
            if (boxShown)
                return "a box after the first disc: " + Describe(box);
        }
        closed = NowMs();
        PostMessageA(session.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        RETURN_IF_FAILED(
            ExpectEndAtNextMessage(session, "the close box against the easy computer"));
        std::printf("the close box against the easy computer: ended after %.0f ms\n",
                    NowMs() - closed);
    }
    return "";
}
E2E_SCENARIO(205, "close_box_games", CloseBoxGamesScenario, "");

}  // namespace e2e
