// Scenarios of the window, the start-up, the menu, the board and the
// highscore screen.
#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {

// The window of class "WindowClass" titled "Rillo" opens with the outer size
// 810 by 630 at (0, 0) and no box; closing it ends the program with status 0.
Failure WindowScenario(const Options& options) {
    Session session(options);
    RETURN_IF_FAILED(StartGame(options, &session.game));
    session.window = WaitForMainWindow(session.game, StartTimeout);
    if (session.window == nullptr)
        return "the main window did not appear";
    std::printf("window after %.0f ms\n", NowMs() - session.game.startedMs);

    RECT frame;
    GetWindowRect(session.window, &frame);
    if (frame.left != 0 || frame.top != 0 || frame.right - frame.left != 810 ||
        frame.bottom - frame.top != 630)
        return Format("window at (%ld, %ld) size %ld x %ld, expected (0, 0) size 810 x 630",
                      frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);

    std::vector<HWND> boxes = TopWindows(session.game.Id(), DialogClass, true);
    if (!boxes.empty())
        return "unexpected " + Describe(ReadBox(boxes[0]));

    // The screenshot must agree with what the window shows, pixel for pixel.
    Shot shot;
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    const int points[][2] = {{0, 0}, {shot.width - 1, 0}, {0, shot.height - 1}, {400, 300}};
    for (const auto& point : points) {
        COLORREF shown = SamplePixel(session.window, point[0], point[1]);
        if (shot.At(point[0], point[1]) != shown)
            return Format("screenshot shows %s at %d,%d where the window shows %s",
                          ColourText(shot.At(point[0], point[1])).c_str(), point[0], point[1],
                          ColourText(shown).c_str());
    }
    RETURN_IF_FAILED(SaveShot(shot, "window.bmp"));

    PostMessageA(session.window, WM_CLOSE, 0, 0);
    RETURN_IF_FAILED(ExpectExitStatus(session.game, 0));
    return "";
}
E2E_SCENARIO(10, "window", WindowScenario, "");

// Without src\intro.bmp: the picture error owned by the window being made,
// then the ownerless "Fehler" box, then exit status 0 and no window.
Failure NoIntroScenario(const Options& options) {
    if (FileExists(options.folder + "\\" + (IntroPicture + 2)))
        return "the working folder still holds src\\intro.bmp";
    Session session(options);
    RETURN_IF_FAILED(StartGame(options, &session.game));

    Box first;
    RETURN_IF_FAILED(WaitForBox(session.game, StartTimeout, &first));
    RETURN_IF_FAILED(ExpectBox(first, PictureErrorText, PictureErrorCaption));
    if (first.owner == nullptr || ClassOf(first.owner) != MainClass)
        return "the picture error box is not owned by the window being made";
    if (TopWindows(session.game.Id(), DialogClass, true).size() != 1)
        return "more than one box at once";
    RETURN_IF_FAILED(PressButton(first, IDOK));

    Box second;
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &second, first.window));
    const double secondShownMs = NowMs();
    RETURN_IF_FAILED(ExpectBox(second, WindowErrorText, WindowErrorCaption));
    if (second.owner != nullptr)
        return "the \"Fehler\" box has an owner";
    if (!TopWindows(session.game.Id(), MainClass, false).empty())
        return "a main window exists while \"Fehler\" is shown";
    // A quit message left waiting would end the box's loop at once: a second
    // after it showed, the box still waits for its OK.
    const double shownMs = NowMs() - secondShownMs;
    if (shownMs < 1000)
        Sleep(static_cast<DWORD>(1000 - shownMs));
    if (IsWindow(second.window) == FALSE || IsWindowVisible(second.window) == FALSE)
        return "the \"Fehler\" box closed by itself within a second";
    if (!session.game.Running())
        return "the program ended while \"Fehler\" was shown";
    RETURN_IF_FAILED(PressButton(second, IDOK));

    RETURN_IF_FAILED(ExpectExitStatus(session.game, 0));
    HWND left = FindWindowA(MainClass, WindowTitle);
    if (left != nullptr && BelongsTo(left, session.game.Id()))
        return "a main window remains";
    return "";
}
E2E_SCENARIO(20, "no_intro", NoIntroScenario, "intro.bmp");

// How long the window takes to appear, over a few starts. Reported only.
Failure StartupTimeScenario(const Options& options) {
    const int runs = 3;
    double total = 0;
    double fastest = 0;
    for (int run = 1; run <= runs; ++run) {
        Session session(options);
        RETURN_IF_FAILED(StartGame(options, &session.game));
        session.window = WaitForMainWindow(session.game, StartTimeout);
        if (session.window == nullptr)
            return Format("run %d: the main window did not appear", run);
        double took = NowMs() - session.game.startedMs;
        std::printf("startup_time run %d: %.0f ms from start to window\n", run, took);
        total += took;
        if (run == 1 || took < fastest)
            fastest = took;
        PostMessageA(session.window, WM_CLOSE, 0, 0);
        RETURN_IF_FAILED(ExpectExitStatus(session.game, 0));
    }
    std::printf("startup_time: mean %.0f ms, fastest %.0f ms over %d runs\n", total / runs, fastest,
                runs);
    return "";
}
E2E_SCENARIO(30, "startup_time", StartupTimeScenario, "");

// The intro shows first; a click anywhere brings the menu, and a point where
// the two pictures differ changes from the one to the other.
Failure IntroMenuScenario(const Options& options) {
    Shot intro;
    Shot menu;
    RETURN_IF_FAILED(LoadScreen(options, IntroPicture, &intro));
    RETURN_IF_FAILED(LoadScreen(options, MenuPicture, &menu));
    Point differing = {-1, -1};
    for (int y = 0; y < ScreenPictureHeight && differing.x < 0; y += 5)
        for (int x = 0; x < 780 && differing.x < 0; x += 5)
            if (intro.At(x, y) != menu.At(x, y) && y > 300)
                differing = {x, y};
    if (differing.x < 0)
        return "the intro and menu pictures do not differ";

    Session session(options);
    RETURN_IF_FAILED(StartGame(options, &session.game));
    session.window = WaitForMainWindow(session.game, StartTimeout);
    if (session.window == nullptr)
        return "the main window did not appear";
    RETURN_IF_FAILED(WaitForPicture(session.window, intro, 0, 0, Exact, "the intro"));
    RETURN_IF_FAILED(SaveScreenshot(session.game, session.window, "intro.bmp"));
    COLORREF before = SamplePixel(session.window, differing.x, differing.y);
    if (before != intro.At(differing.x, differing.y))
        return Format("the intro shows %s at %d,%d", ColourText(before).c_str(), differing.x,
                      differing.y);

    double clicked = NowMs();
    Click(session.window, 20, 20);  // anywhere, not on a button's place
    RETURN_IF_FAILED(
        WaitForPicture(session.window, menu, 0, 0, Exact, "the menu after the intro click"));
    std::printf("intro click to menu painted: %.1f ms\n", NowMs() - clicked);
    COLORREF after = SamplePixel(session.window, differing.x, differing.y);
    if (after != menu.At(differing.x, differing.y) || after == before)
        return Format("at %d,%d the window showed %s on the intro and %s on the menu", differing.x,
                      differing.y, ColourText(before).c_str(), ColourText(after).c_str());
    RETURN_IF_FAILED(ExpectNoBox(session.game, "the intro click"));
    RETURN_IF_FAILED(SaveScreenshot(session.game, session.window, "menu.bmp"));

    PostMessageA(session.window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(session.game, 0);
}
E2E_SCENARIO(40, "intro_menu", IntroMenuScenario, "");

// Every menu area at its boundary points, and clicks outside all of them.
Failure MenuAreasScenario(const Options& options) {
    Shot menu;
    Shot highscores;
    RETURN_IF_FAILED(LoadScreen(options, MenuPicture, &menu));
    RETURN_IF_FAILED(LoadScreen(options, HighscorePicture, &highscores));
    Session session(options);
    RETURN_IF_FAILED(StartAtMenu(&session));

    enum Outcome { Stays, TwoPlayers, Computer, Highscores };
    struct Case {
        Point at;
        Outcome outcome;
    };
    // The areas' corners and the points just outside them; the strip where
    // the highscore and credits areas overlap belongs to the highscores.
    const MenuArea& two = MenuAreas[0];
    const MenuArea& easy = MenuAreas[1];
    const MenuArea& hard = MenuAreas[2];
    const MenuArea& scores = MenuAreas[3];
    const Case cases[] = {
        {{two.right, two.bottom}, TwoPlayers},
        {{two.left, two.top}, TwoPlayers},
        {{two.right + 1, two.bottom}, Stays},
        {{TwoPlayersButton.x, two.bottom + 1}, Stays},
        {{easy.left, easy.top}, Computer},
        {{easy.right, easy.bottom}, Computer},
        {{easy.left - 1, EasyButton.y}, Stays},
        {{hard.left - 1, HardButton.y}, Stays},
        {{hard.left, HardButton.y}, Computer},
        {{hard.right, hard.bottom}, Computer},
        {{hard.right + 1, hard.bottom}, Stays},
        {{HardButton.x, hard.bottom + 1}, Stays},
        {{300, MenuAreas[4].top + 1}, Highscores},
        {{scores.left, scores.top}, Highscores},
        {{scores.right, scores.bottom}, Highscores},
        {{scores.left - 1, HighscoresButton.y}, Stays},
        {{scores.right + 1, HighscoresButton.y}, Stays},
        {{20, 20}, Stays},
        {{780, 580}, Stays},
        {{400, 300}, Stays},
    };
    for (const Case& test : cases) {
        const int x = test.at.x;
        const int y = test.at.y;
        if (test.outcome == Stays || test.outcome == Highscores) {
            // No dialog may hold the click: it is handled to its end at once.
            if (!SendClick(session.window, x, y, 5000))
                return Format("the click at %d,%d was not handled within 5 s (a dialog?)", x, y);
            RETURN_IF_FAILED(ExpectNoBox(session.game, Format("the click at %d,%d", x, y).c_str()));
        } else {
            Click(session.window, x, y);
            const char* prompt =
                test.outcome == TwoPlayers ? FirstPlayerPrompt : SinglePlayerPrompt;
            Failure failure = AnswerName(session, prompt, nullptr);
            if (!failure.empty())
                return Format("click at %d,%d: %s", x, y, failure.c_str());
        }
        if (test.outcome == Highscores) {
            Failure failure =
                WaitForPicture(session.window, highscores, 0, 0, Mostly, "the highscores");
            if (!failure.empty())
                return Format("click at %d,%d: %s", x, y, failure.c_str());
            Click(session.window, 400, 300);
        }
        Failure failure = WaitForPicture(session.window, menu, 0, 0, Exact, "the menu");
        if (!failure.empty())
            return Format("after the click at %d,%d: %s", x, y, failure.c_str());
        // A repaint after a click on the menu shows nothing else at all.
        Sleep(50);
        RETURN_IF_FAILED(ExpectNoBox(session.game, Format("the click at %d,%d", x, y).c_str()));
        std::printf("menu click at %d,%d: %s\n", x, y,
                    test.outcome == Stays        ? "stays on the menu"
                    : test.outcome == TwoPlayers ? "name dialog \"Spieler1:\""
                    : test.outcome == Computer   ? "name dialog \"Spieler:\""
                                                 : "highscores");
    }

    // Easy and hard both ask "Spieler:"; the level picture beside the board
    // tells them apart, one fresh game per point.
    PostMessageA(session.window, WM_CLOSE, 0, 0);
    RETURN_IF_FAILED(ExpectExitStatus(session.game, 0));
    const struct {
        Point at;
        const char* level;
    } levels[] = {{{easy.left, easy.top}, EasyLevelPicture},
                  {{easy.right, easy.bottom}, EasyLevelPicture},
                  {{hard.left, HardButton.y}, HardLevelPicture},
                  {{hard.right, hard.bottom}, HardLevelPicture}};
    for (const auto& level : levels) {
        Shot picture;
        RETURN_IF_FAILED(
            LoadPicture(options, level.level, LevelPictureWidth, LevelPictureHeight, &picture));
        Session next(options);
        RETURN_IF_FAILED(StartAtMenu(&next));
        Click(next.window, level.at.x, level.at.y);
        RETURN_IF_FAILED(AnswerName(next, SinglePlayerPrompt, "Anna"));
        Failure failure =
            WaitForPicture(next.window, picture, LevelPictureX, LevelPictureY, Exact, level.level);
        if (!failure.empty())
            return Format("click at %d,%d: %s", level.at.x, level.at.y, failure.c_str());
        std::printf("menu click at %d,%d: game with %s\n", level.at.x, level.at.y, level.level);
        PostMessageA(next.window, WM_CLOSE, 0, 0);
        RETURN_IF_FAILED(ExpectExitStatus(next.game, 0));
    }

    // The credits last: their click ends the program.
    const MenuArea& credits = MenuAreas[4];
    const Point creditsPoints[] = {
        {300, scores.bottom + 1}, {credits.left, credits.bottom}, {credits.right, credits.bottom}};
    Shot creditsPicture;
    RETURN_IF_FAILED(LoadScreen(options, CreditsPicture, &creditsPicture));
    for (const Point& at : creditsPoints) {
        Session next(options);
        RETURN_IF_FAILED(StartAtMenu(&next));
        if (!SendClick(next.window, at.x, at.y, 5000))
            return Format("the click at %d,%d was not handled within 5 s (a dialog?)", at.x, at.y);
        RETURN_IF_FAILED(ExpectNoBox(next.game, "the credits click"));
        Failure failure = WaitForPicture(next.window, creditsPicture, 0, 0, Exact, "the credits");
        if (!failure.empty())
            return Format("click at %d,%d: %s", at.x, at.y, failure.c_str());
        std::printf("menu click at %d,%d: credits\n", at.x, at.y);
        Click(next.window, 400, 300);
        RETURN_IF_FAILED(ExpectExitStatus(next.game, 0));
    }
    return "";
}
E2E_SCENARIO(50, "menu_areas", MenuAreasScenario, "");

// A whole two-player game: names beside the board, disc colours, the turn
// picture, the win and the way back to the menu with a cleared board.
Failure TwoPlayerWinScenario(const Options& options) {
    Shot board;
    Shot menu;
    Shot firstTurn;
    Shot secondTurn;
    RETURN_IF_FAILED(LoadScreen(options, BoardPicture, &board));
    RETURN_IF_FAILED(LoadScreen(options, MenuPicture, &menu));
    RETURN_IF_FAILED(
        LoadPicture(options, PlayerOnePicture, TurnPictureWidth, TurnPictureHeight, &firstTurn));
    RETURN_IF_FAILED(
        LoadPicture(options, PlayerTwoPicture, TurnPictureWidth, TurnPictureHeight, &secondTurn));
    if (Agreement(firstTurn, secondTurn, 0, 0) > 0.99)
        return "the two turn pictures are alike";

    Session session(options);
    RETURN_IF_FAILED(StartAtMenu(&session));
    RETURN_IF_FAILED(StartTwoPlayers(session, "Anna", "Ben"));
    RETURN_IF_FAILED(WaitForPicture(session.window, board, 0, 0, Mostly, "the board"));
    RETURN_IF_FAILED(WaitForPicture(session.window, firstTurn, TurnPictureX, TurnPictureY, Exact,
                                    "player 1's turn picture"));

    Shot shot;
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    const int firstName = CountColour(shot, Name1X - 5, Name1Y - 5, 120, 30, White);
    const int secondName = CountColour(shot, Name2X - 5, Name2Y - 5, 120, 30, White);
    std::printf("white name pixels: %d at (610,245), %d at (610,400)\n", firstName, secondName);
    if (firstName < 20 || secondName < 20)
        return Format("the names are not drawn in white (%d and %d white pixels)", firstName,
                      secondName);
    if (CountColour(board, Name1X - 5, Name1Y - 5, 120, 30, White) > 0 ||
        CountColour(board, Name2X - 5, Name2Y - 5, 120, 30, White) > 0)
        return "the board picture itself is white where the names go";

    // Player 1 takes column 0, player 2 column 1; the seventh disc wins.
    std::vector<double> discTimes;
    const int columns[] = {0, 1, 0, 1, 0, 1, 0};
    int heights[7] = {};
    for (int move = 0; move < 7; ++move) {
        const int column = columns[move];
        const int row = 5 - heights[column]++;
        const bool first = move % 2 == 0;
        double took = 0;
        RETURN_IF_FAILED(
            DropDisc(session.window, column, row, first ? YellowCore : RedCore, &took));
        discTimes.push_back(took);
        if (move == 6)
            break;  // the win box is up
        RETURN_IF_FAILED(ExpectDisc(session.window, column, row, first ? YellowRing : RedRing,
                                    first ? YellowCore : RedCore,
                                    first ? "player 1's disc" : "player 2's disc"));
        // The other side is to move now.
        RETURN_IF_FAILED(WaitForPicture(
            session.window, first ? secondTurn : firstTurn, TurnPictureX, TurnPictureY, Exact,
            first ? "player 2's turn picture" : "player 1's turn picture"));
        RETURN_IF_FAILED(ExpectNoBox(session.game, "a move"));
        if (move == 5)
            RETURN_IF_FAILED(SaveScreenshot(session.game, session.window, "game.bmp"));
    }
    PrintTimes("click to disc core", discTimes);

    Box won;
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &won));
    RETURN_IF_FAILED(ExpectBox(won, "Anna", PlayerOneWinCaption));
    RETURN_IF_FAILED(ExpectDisc(session.window, 0, 2, YellowRing, YellowCore, "the winning disc"));
    RETURN_IF_FAILED(PressButton(won, IDOK));
    Box again;
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &again));
    RETURN_IF_FAILED(ExpectBox(again, PlayAgainText, PlayAgainCaption));
    RETURN_IF_FAILED(PressButton(again, IDNO));
    RETURN_IF_FAILED(WaitForPicture(session.window, menu, 0, 0, Exact, "the menu after \"No\""));

    // The next game starts on an empty board with player 1 to move.
    RETURN_IF_FAILED(StartTwoPlayers(session, "Anna", "Ben"));
    RETURN_IF_FAILED(WaitForPicture(session.window, firstTurn, TurnPictureX, TurnPictureY, Exact,
                                    "player 1's turn picture"));
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    for (int column = 0; column < 2; ++column) {
        for (int row = 2; row <= 5; ++row) {
            const int x = DiscX(column);
            const int y = DiscY(row);
            if (shot.At(x, y) != board.At(x, y) || shot.At(x + 22, y) != board.At(x + 22, y))
                return Format("the new game still shows a disc at column %d row %d", column, row);
        }
    }
    double took = 0;
    RETURN_IF_FAILED(DropDisc(session.window, 3, 5, YellowCore, &took));
    RETURN_IF_FAILED(
        ExpectDisc(session.window, 3, 5, YellowRing, YellowCore, "the first disc of the new game"));

    PostMessageA(session.window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(session.game, 0);
}
E2E_SCENARIO(60, "two_player_win", TwoPlayerWinScenario, "");

// The credits screen: a click there ends the program with status 0.
Failure CreditsExitScenario(const Options& options) {
    Shot credits;
    RETURN_IF_FAILED(LoadScreen(options, CreditsPicture, &credits));
    Session session(options);
    RETURN_IF_FAILED(StartAtMenu(&session));
    Click(session.window, CreditsButton.x, CreditsButton.y);
    RETURN_IF_FAILED(WaitForPicture(session.window, credits, 0, 0, Exact, "the credits"));
    RETURN_IF_FAILED(ExpectNoBox(session.game, "the credits choice"));
    Click(session.window, 400, 300);
    return ExpectExitStatus(session.game, 0);
}
E2E_SCENARIO(70, "credits_exit", CreditsExitScenario, "");

// Without the board picture: its error box at the paints of the game
// screen, and the discs still drawn over the erased background.
Failure MissingBoardPictureScenario(const Options& options) {
    if (FileExists(options.folder + "\\" + (BoardPicture + 2)))
        return "the working folder still holds src\\spielfeld.bmp";
    Session session(options);
    RETURN_IF_FAILED(StartAtMenu(&session));
    RETURN_IF_FAILED(StartTwoPlayers(session, "Anna", "Ben"));

    // The box comes at each paint of the game screen; closing it may bring a
    // paint of its own, so it is answered until it stays away.
    int boxes = 0;
    for (;;) {
        Box box;
        Failure failure = WaitForBox(session.game, boxes == 0 ? BoxTimeout : 1000, &box);
        if (!failure.empty()) {
            if (boxes == 0)
                return failure;
            if (!session.game.Running())
                return "the program ended";
            break;
        }
        RETURN_IF_FAILED(ExpectBox(box, PictureErrorText, PictureErrorCaption));
        RETURN_IF_FAILED(PressButton(box, IDOK));
        if (++boxes > 20)
            return "the picture error box keeps coming back (more than 20 times)";
    }
    std::printf("picture error boxes answered: %d\n", boxes);

    double took = 0;
    RETURN_IF_FAILED(DropDisc(session.window, 3, 5, YellowCore, &took));
    RETURN_IF_FAILED(
        ExpectDisc(session.window, 3, 5, YellowRing, YellowCore, "the disc on the missing board"));
    std::printf("click to disc core without the board picture: %.1f ms\n", took);
    RETURN_IF_FAILED(DropDisc(session.window, 4, 5, RedCore, &took));
    if (!session.game.Running())
        return "the program ended";
    PostMessageA(session.window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(session.game, 0);
}
E2E_SCENARIO(80, "missing_board_picture", MissingBoardPictureScenario, "spielfeld.bmp");

// The highscore screen shows the table of src\Highscore.txt in white, read
// again at each paint.
Failure HighscoreScreenScenario(const Options& options) {
    Shot highscores;
    Shot menu;
    RETURN_IF_FAILED(LoadScreen(options, HighscorePicture, &highscores));
    RETURN_IF_FAILED(LoadScreen(options, MenuPicture, &menu));
    Session session(options);
    RETURN_IF_FAILED(StartAtMenu(&session));
    double clicked = NowMs();
    Click(session.window, HighscoresButton.x, HighscoresButton.y);
    RETURN_IF_FAILED(WaitForPicture(session.window, highscores, 0, 0, Mostly, "the highscores"));
    std::printf("menu click to highscores painted: %.1f ms\n", NowMs() - clicked);
    RETURN_IF_FAILED(SaveScreenshot(session.game, session.window, "highscores.bmp"));

    Shot shot;
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    for (int row = 0; row < 10; ++row) {
        int name = CountColour(shot, HighscoreNameX, HighscoreRowY[row], 200, 20, White);
        int moves = CountColour(shot, HighscoreMovesX, HighscoreRowY[row], 60, 20, White);
        if (name < 10 || moves < 5)
            return Format("row %d: %d white pixels in the name and %d in the moves", row + 1, name,
                          moves);
    }
    const int shortName = RightmostColour(shot, HighscoreNameX, HighscoreRowY[0], 300, 20, White);

    // A longer first name in the file makes the first row wider at the next
    // paint of the table.
    std::string path = HighscorePath(options);
    FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr)
        return "cannot write " + path;
    bool written = std::fputs(
                       "WWWWWWWWW 9\nTilo 11\nHenrike 12\nJasper 14\nOle 16\nFrieda 18\n"
                       "Lennart 21\nWiebke 24\nBjarne 27\nIlka 30\n",
                       file) >= 0;
    written = std::fclose(file) == 0 && written;
    if (!written)
        return "cannot write " + path;
    Click(session.window, 400, 300);
    RETURN_IF_FAILED(
        WaitForPicture(session.window, menu, 0, 0, Exact, "the menu after the highscores"));
    Click(session.window, HighscoresButton.x, HighscoresButton.y);
    RETURN_IF_FAILED(
        WaitForPicture(session.window, highscores, 0, 0, Mostly, "the highscores again"));
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    const int longName = RightmostColour(shot, HighscoreNameX, HighscoreRowY[0], 300, 20, White);
    std::printf("first row's white text ends at x %d, with a longer name at x %d\n", shortName,
                longName);
    if (longName <= shortName + 20)
        return "the table does not follow src\\Highscore.txt";

    double repaint = NowMs();
    Click(session.window, 400, 300);
    RETURN_IF_FAILED(
        WaitForPicture(session.window, menu, 0, 0, Exact, "the menu after the highscores"));
    std::printf("highscores click to menu painted: %.1f ms\n", NowMs() - repaint);
    PostMessageA(session.window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(session.game, 0);
}
E2E_SCENARIO(90, "highscore_screen", HighscoreScreenScenario, "");

}  // namespace e2e
