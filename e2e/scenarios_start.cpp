// Scenarios of the window, the start-up, the menu, the board and the
// highscore screen.
#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {

// The window of class "WindowClass" titled "Rillo" opens with the outer size
// 810 by 630 at (0, 0) and no box; closing it ends the program with status 0.
Failure WindowScenario(const Options& options) {
    Game game;
    CHECK(StartGame(options, &game));
    HWND window = WaitForMainWindow(game, StartTimeout);
    if (window == nullptr)
        return "the main window did not appear";
    std::printf("window after %.0f ms\n", NowMs() - game.startedMs);

    RECT frame;
    GetWindowRect(window, &frame);
    if (frame.left != 0 || frame.top != 0 || frame.right - frame.left != 810 ||
        frame.bottom - frame.top != 630)
        return Format("window at (%ld, %ld) size %ld x %ld, expected (0, 0) size 810 x 630",
                      frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);

    std::vector<HWND> boxes = TopWindows(game.Id(), DialogClass, true);
    if (!boxes.empty())
        return "unexpected " + Describe(ReadBox(boxes[0]));

    // The screenshot must agree with what the window shows, pixel for pixel.
    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    const int points[][2] = {{0, 0}, {shot.width - 1, 0}, {0, shot.height - 1}, {400, 300}};
    for (const auto& point : points) {
        COLORREF shown = SamplePixel(window, point[0], point[1]);
        if (shot.At(point[0], point[1]) != shown)
            return Format("screenshot shows %s at %d,%d where the window shows %s",
                          ColourText(shot.At(point[0], point[1])).c_str(), point[0], point[1],
                          ColourText(shown).c_str());
    }
    CHECK(SaveShot(shot, "window.bmp"));

    PostMessageA(window, WM_CLOSE, 0, 0);
    CHECK(ExpectExitStatus(game, 0));
    return "";
}
E2E_SCENARIO(10, "window", WindowScenario, "");

// Without src\intro.bmp: the picture error owned by the window being made,
// then the ownerless "Fehler" box, then exit status 0 and no window.
Failure NoIntroScenario(const Options& options) {
    if (FileExists(options.folder + "\\src\\intro.bmp"))
        return "the working folder still holds src\\intro.bmp";
    Game game;
    CHECK(StartGame(options, &game));

    Box first;
    CHECK(WaitForBox(game, StartTimeout, &first));
    CHECK(ExpectBox(first, "Bild konnte nicht geladen werden", "Error"));
    if (first.owner == nullptr || ClassOf(first.owner) != MainClass)
        return "the picture error box is not owned by the window being made";
    if (TopWindows(game.Id(), DialogClass, true).size() != 1)
        return "more than one box at once";
    CHECK(PressButton(first, IDOK));

    Box second;
    CHECK(WaitForBox(game, BoxTimeout, &second, first.window));
    const double secondShownMs = NowMs();
    CHECK(ExpectBox(second, "Fehler", "Fehler"));
    if (second.owner != nullptr)
        return "the \"Fehler\" box has an owner";
    if (!TopWindows(game.Id(), MainClass, false).empty())
        return "a main window exists while \"Fehler\" is shown";
    // A quit message left waiting would end the box's loop at once: a second
    // after it showed, the box still waits for its OK.
    const double shownMs = NowMs() - secondShownMs;
    if (shownMs < 1000)
        Sleep(static_cast<DWORD>(1000 - shownMs));
    if (IsWindow(second.window) == FALSE || IsWindowVisible(second.window) == FALSE)
        return "the \"Fehler\" box closed by itself within a second";
    if (!game.Running())
        return "the program ended while \"Fehler\" was shown";
    CHECK(PressButton(second, IDOK));

    CHECK(ExpectExitStatus(game, 0));
    HWND left = FindWindowA(MainClass, MainTitle);
    if (left != nullptr && BelongsTo(left, game.Id()))
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
        Game game;
        CHECK(StartGame(options, &game));
        HWND window = WaitForMainWindow(game, StartTimeout);
        if (window == nullptr)
            return Format("run %d: the main window did not appear", run);
        double took = NowMs() - game.startedMs;
        std::printf("startup_time run %d: %.0f ms from start to window\n", run, took);
        total += took;
        if (run == 1 || took < fastest)
            fastest = took;
        PostMessageA(window, WM_CLOSE, 0, 0);
        CHECK(ExpectExitStatus(game, 0));
    }
    std::printf("startup_time: mean %.0f ms, fastest %.0f ms over %d runs\n", total / runs, fastest,
                runs);
    return "";
}
E2E_SCENARIO(30, "startup_time", StartupTimeScenario, "");

Failure IntroMenuScenario(const Options& options) {
    Shot intro;
    Shot menu;
    CHECK(LoadScreen(options, "intro.bmp", &intro));
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    Point differing = {-1, -1};
    for (int y = 0; y < ScreenHeight && differing.x < 0; y += 5)
        for (int x = 0; x < 780 && differing.x < 0; x += 5)
            if (intro.At(x, y) != menu.At(x, y) && y > 300)
                differing = {x, y};
    if (differing.x < 0)
        return "the intro and menu pictures do not differ";

    Game game;
    CHECK(StartGame(options, &game));
    HWND window = WaitForMainWindow(game, StartTimeout);
    if (window == nullptr)
        return "the main window did not appear";
    CHECK(WaitForPicture(window, intro, 0, 0, Exact, "the intro"));
    CHECK(SaveScreenshot(game, window, "intro.bmp"));
    COLORREF before = SamplePixel(window, differing.x, differing.y);
    if (before != intro.At(differing.x, differing.y))
        return Format("the intro shows %s at %d,%d", ColourText(before).c_str(), differing.x,
                      differing.y);

    double clicked = NowMs();
    Click(window, 20, 20);  // anywhere, not on a button's place
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the intro click"));
    std::printf("intro click to menu painted: %.1f ms\n", NowMs() - clicked);
    COLORREF after = SamplePixel(window, differing.x, differing.y);
    if (after != menu.At(differing.x, differing.y) || after == before)
        return Format("at %d,%d the window showed %s on the intro and %s on the menu", differing.x,
                      differing.y, ColourText(before).c_str(), ColourText(after).c_str());
    CHECK(ExpectNoBox(game, "the intro click"));
    CHECK(SaveScreenshot(game, window, "menu.bmp"));

    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}
E2E_SCENARIO(40, "intro_menu", IntroMenuScenario, "");

// Every menu area at its boundary points, and clicks outside all of them.
Failure MenuAreasScenario(const Options& options) {
    Shot menu;
    Shot highscores;
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    CHECK(LoadScreen(options, "highscore.bmp", &highscores));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));

    enum Outcome { Stays, TwoPlayers, Computer, Highscores };
    struct Case {
        Point at;
        Outcome outcome;
    };
    const Case cases[] = {
        {{460, 350}, TwoPlayers}, {{290, 310}, TwoPlayers}, {{461, 350}, Stays},
        {{375, 351}, Stays},      {{310, 370}, Computer},   {{440, 400}, Computer},
        {{309, 385}, Stays},      {{484, 385}, Stays},      {{485, 385}, Computer},
        {{620, 400}, Computer},   {{621, 400}, Stays},      {{552, 401}, Stays},
        {{300, 458}, Highscores}, {{270, 420}, Highscores}, {{465, 460}, Highscores},
        {{269, 440}, Stays},      {{466, 440}, Stays},      {{20, 20}, Stays},
        {{780, 580}, Stays},      {{400, 300}, Stays},
    };
    for (const Case& test : cases) {
        const int x = test.at.x;
        const int y = test.at.y;
        if (test.outcome == Stays || test.outcome == Highscores) {
            // No dialog may hold the click: it is handled to its end at once.
            if (!SendClick(window, x, y, 5000))
                return Format("the click at %d,%d was not handled within 5 s (a dialog?)", x, y);
            CHECK(ExpectNoBox(game, Format("the click at %d,%d", x, y).c_str()));
        } else {
            Click(window, x, y);
            const char* prompt = test.outcome == TwoPlayers ? "Spieler1:" : "Spieler:";
            Failure failure = AnswerNameDialog(game, prompt, nullptr);
            if (!failure.empty())
                return Format("click at %d,%d: %s", x, y, failure.c_str());
        }
        if (test.outcome == Highscores) {
            Failure failure = WaitForPicture(window, highscores, 0, 0, Mostly, "the highscores");
            if (!failure.empty())
                return Format("click at %d,%d: %s", x, y, failure.c_str());
            Click(window, 400, 300);
        }
        Failure failure = WaitForPicture(window, menu, 0, 0, Exact, "the menu");
        if (!failure.empty())
            return Format("after the click at %d,%d: %s", x, y, failure.c_str());
        // A repaint after a click on the menu shows nothing else at all.
        Sleep(50);
        CHECK(ExpectNoBox(game, Format("the click at %d,%d", x, y).c_str()));
        std::printf("menu click at %d,%d: %s\n", x, y,
                    test.outcome == Stays        ? "stays on the menu"
                    : test.outcome == TwoPlayers ? "name dialog \"Spieler1:\""
                    : test.outcome == Computer   ? "name dialog \"Spieler:\""
                                                 : "highscores");
    }

    // Easy and hard both ask "Spieler:"; the level picture beside the board
    // tells them apart, one fresh game per point.
    PostMessageA(window, WM_CLOSE, 0, 0);
    CHECK(ExpectExitStatus(game, 0));
    const struct {
        Point at;
        const char* level;
    } levels[] = {{{310, 370}, "compuleicht.bmp"},
                  {{440, 400}, "compuleicht.bmp"},
                  {{485, 385}, "compuschwer.bmp"},
                  {{620, 400}, "compuschwer.bmp"}};
    for (const auto& level : levels) {
        Shot picture;
        CHECK(LoadPicture(options, level.level, 212, 134, &picture));
        Game next;
        CHECK(StartAtMenu(options, &next, &window));
        Click(window, level.at.x, level.at.y);
        CHECK(AnswerNameDialog(next, "Spieler:", "Anna"));
        Failure failure = WaitForPicture(window, picture, 565, 336, Exact, level.level);
        if (!failure.empty())
            return Format("click at %d,%d: %s", level.at.x, level.at.y, failure.c_str());
        std::printf("menu click at %d,%d: game with %s\n", level.at.x, level.at.y, level.level);
        PostMessageA(window, WM_CLOSE, 0, 0);
        CHECK(ExpectExitStatus(next, 0));
    }

    // The credits last: their click ends the program.
    const Point credits[] = {{300, 461}, {290, 515}, {445, 515}};
    Shot creditsPicture;
    CHECK(LoadScreen(options, "credits.bmp", &creditsPicture));
    for (const Point& at : credits) {
        Game next;
        CHECK(StartAtMenu(options, &next, &window));
        if (!SendClick(window, at.x, at.y, 5000))
            return Format("the click at %d,%d was not handled within 5 s (a dialog?)", at.x, at.y);
        CHECK(ExpectNoBox(next, "the credits click"));
        Failure failure = WaitForPicture(window, creditsPicture, 0, 0, Exact, "the credits");
        if (!failure.empty())
            return Format("click at %d,%d: %s", at.x, at.y, failure.c_str());
        std::printf("menu click at %d,%d: credits\n", at.x, at.y);
        Click(window, 400, 300);
        CHECK(ExpectExitStatus(next, 0));
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
    CHECK(LoadScreen(options, "spielfeld.bmp", &board));
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    CHECK(LoadPicture(options, "spieler1.bmp", 202, 58, &firstTurn));
    CHECK(LoadPicture(options, "spieler2.bmp", 202, 58, &secondTurn));
    if (Agreement(firstTurn, secondTurn, 0, 0) > 0.99)
        return "the two turn pictures are alike";

    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    CHECK(StartTwoPlayers(game, window, "Anna", "Ben"));
    CHECK(WaitForPicture(window, board, 0, 0, Mostly, "the board"));
    CHECK(WaitForPicture(window, firstTurn, 568, 96, Exact, "player 1's turn picture"));

    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    const int firstName = CountColour(shot, 605, 240, 120, 30, White);
    const int secondName = CountColour(shot, 605, 395, 120, 30, White);
    std::printf("white name pixels: %d at (610,245), %d at (610,400)\n", firstName, secondName);
    if (firstName < 20 || secondName < 20)
        return Format("the names are not drawn in white (%d and %d white pixels)", firstName,
                      secondName);
    if (CountColour(board, 605, 240, 120, 30, White) > 0 ||
        CountColour(board, 605, 395, 120, 30, White) > 0)
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
        CHECK(DropDisc(window, column, row, first ? YellowCore : RedCore, &took));
        discTimes.push_back(took);
        if (move == 6)
            break;  // the win box is up
        CHECK(ExpectDisc(window, column, row, first ? YellowRing : RedRing,
                         first ? YellowCore : RedCore,
                         first ? "player 1's disc" : "player 2's disc"));
        // The other side is to move now.
        CHECK(WaitForPicture(window, first ? secondTurn : firstTurn, 568, 96, Exact,
                             first ? "player 2's turn picture" : "player 1's turn picture"));
        CHECK(ExpectNoBox(game, "a move"));
        if (move == 5)
            CHECK(SaveScreenshot(game, window, "game.bmp"));
    }
    PrintTimes("click to disc core", discTimes);

    Box won;
    CHECK(WaitForBox(game, BoxTimeout, &won));
    CHECK(ExpectBox(won, "Anna", "***SIEG***SPIELER 1***"));
    CHECK(ExpectDisc(window, 0, 2, YellowRing, YellowCore, "the winning disc"));
    CHECK(PressButton(won, IDOK));
    Box again;
    CHECK(WaitForBox(game, BoxTimeout, &again));
    CHECK(ExpectBox(again, "Nochmal", "***????***"));
    CHECK(PressButton(again, IDNO));
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after \"No\""));

    // The next game starts on an empty board with player 1 to move.
    CHECK(StartTwoPlayers(game, window, "Anna", "Ben"));
    CHECK(WaitForPicture(window, firstTurn, 568, 96, Exact, "player 1's turn picture"));
    CHECK(TakeSettledShot(game, window, &shot));
    for (int column = 0; column < 2; ++column) {
        for (int row = 2; row <= 5; ++row) {
            const int x = DiscX(column);
            const int y = DiscY(row);
            if (shot.At(x, y) != board.At(x, y) || shot.At(x + 22, y) != board.At(x + 22, y))
                return Format("the new game still shows a disc at column %d row %d", column, row);
        }
    }
    double took = 0;
    CHECK(DropDisc(window, 3, 5, YellowCore, &took));
    CHECK(ExpectDisc(window, 3, 5, YellowRing, YellowCore, "the first disc of the new game"));

    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}
E2E_SCENARIO(60, "two_player_win", TwoPlayerWinScenario, "");

// The credits screen: a click there ends the program with status 0.
Failure CreditsExitScenario(const Options& options) {
    Shot credits;
    CHECK(LoadScreen(options, "credits.bmp", &credits));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    Click(window, CreditsButton.x, CreditsButton.y);
    CHECK(WaitForPicture(window, credits, 0, 0, Exact, "the credits"));
    CHECK(ExpectNoBox(game, "the credits choice"));
    Click(window, 400, 300);
    return ExpectExitStatus(game, 0);
}
E2E_SCENARIO(70, "credits_exit", CreditsExitScenario, "");

// Without the board picture: its error box at the paints of the game
// screen, and the discs still drawn over the erased background.
Failure MissingBoardPictureScenario(const Options& options) {
    if (FileExists(options.folder + "\\src\\spielfeld.bmp"))
        return "the working folder still holds src\\spielfeld.bmp";
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    CHECK(StartTwoPlayers(game, window, "Anna", "Ben"));

    // The box comes at each paint of the game screen; closing it may bring a
    // paint of its own, so it is answered until it stays away.
    int boxes = 0;
    for (;;) {
        Box box;
        Failure failure = WaitForBox(game, boxes == 0 ? BoxTimeout : 1000, &box);
        if (!failure.empty()) {
            if (boxes == 0)
                return failure;
            if (!game.Running())
                return "the program ended";
            break;
        }
        CHECK(ExpectBox(box, "Bild konnte nicht geladen werden", "Error"));
        CHECK(PressButton(box, IDOK));
        if (++boxes > 20)
            return "the picture error box keeps coming back (more than 20 times)";
    }
    std::printf("picture error boxes answered: %d\n", boxes);

    double took = 0;
    CHECK(DropDisc(window, 3, 5, YellowCore, &took));
    CHECK(ExpectDisc(window, 3, 5, YellowRing, YellowCore, "the disc on the missing board"));
    std::printf("click to disc core without the board picture: %.1f ms\n", took);
    CHECK(DropDisc(window, 4, 5, RedCore, &took));
    if (!game.Running())
        return "the program ended";
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}
E2E_SCENARIO(80, "missing_board_picture", MissingBoardPictureScenario, "spielfeld.bmp");

// The highscore screen shows the table of src\Highscore.txt in white, read
// again at each paint.
Failure HighscoreScreenScenario(const Options& options) {
    Shot highscores;
    Shot menu;
    CHECK(LoadScreen(options, "highscore.bmp", &highscores));
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    double clicked = NowMs();
    Click(window, HighscoresButton.x, HighscoresButton.y);
    CHECK(WaitForPicture(window, highscores, 0, 0, Mostly, "the highscores"));
    std::printf("menu click to highscores painted: %.1f ms\n", NowMs() - clicked);
    CHECK(SaveScreenshot(game, window, "highscores.bmp"));

    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    const int rowTops[] = {157, 230, 290, 343, 378, 413, 448, 483, 518, 553};
    for (int row = 0; row < 10; ++row) {
        int name = CountColour(shot, 105, rowTops[row], 200, 20, White);
        int moves = CountColour(shot, 600, rowTops[row], 60, 20, White);
        if (name < 10 || moves < 5)
            return Format("row %d: %d white pixels in the name and %d in the moves", row + 1, name,
                          moves);
    }
    const int shortName = RightmostColour(shot, 105, 157, 300, 20, White);

    // A longer first name in the file makes the first row wider at the next
    // paint of the table.
    std::string path = options.folder + "\\src\\Highscore.txt";
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
    Click(window, 400, 300);
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the highscores"));
    Click(window, HighscoresButton.x, HighscoresButton.y);
    CHECK(WaitForPicture(window, highscores, 0, 0, Mostly, "the highscores again"));
    CHECK(TakeSettledShot(game, window, &shot));
    const int longName = RightmostColour(shot, 105, 157, 300, 20, White);
    std::printf("first row's white text ends at x %d, with a longer name at x %d\n", shortName,
                longName);
    if (longName <= shortName + 20)
        return "the table does not follow src\\Highscore.txt";

    double repaint = NowMs();
    Click(window, 400, 300);
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the highscores"));
    std::printf("highscores click to menu painted: %.1f ms\n", NowMs() - repaint);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}
E2E_SCENARIO(90, "highscore_screen", HighscoreScreenScenario, "");

// The live GDI objects of a process. Wine answers GetGuiResources with 0,
// so where it does the count is read from the process's GDI handle table,
// which Wine keeps in the process's memory and names in its process block
// (the 64-bit block's field at 0xF8): 65536 entries of 24 bytes, a byte at 14
// giving the object's type, 0 for a free entry. Answers 0 when neither works.

}  // namespace e2e
