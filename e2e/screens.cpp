// The game's screens as a player meets them.
#include "e2e/screens.h"

#include <cstdio>

namespace e2e {

Failure LoadPictures(Session* session) {
    const Options& options = session->options;
    Pictures& pictures = session->pictures;
    RETURN_IF_FAILED(LoadScreen(options, MenuPicture, &pictures.menu));
    RETURN_IF_FAILED(LoadScreen(options, BoardPicture, &pictures.board));
    RETURN_IF_FAILED(LoadScreen(options, HighscorePicture, &pictures.highscores));
    RETURN_IF_FAILED(LoadPicture(options, PlayerOnePicture, 0, 0, &pictures.turn1));
    RETURN_IF_FAILED(LoadPicture(options, PlayerTwoPicture, 0, 0, &pictures.turn2));
    RETURN_IF_FAILED(LoadPicture(options, EasyLevelPicture, 0, 0, &pictures.easyLevel));
    RETURN_IF_FAILED(LoadPicture(options, HardLevelPicture, 0, 0, &pictures.hardLevel));
    return "";
}

Failure StartAtMenu(Session* session, double* introClickToMenuMs) {
    Pictures& pictures = session->pictures;
    RETURN_IF_FAILED(LoadScreen(session->options, IntroPicture, &pictures.intro));
    RETURN_IF_FAILED(LoadScreen(session->options, MenuPicture, &pictures.menu));
    RETURN_IF_FAILED(StartGame(session->options, &session->game));
    session->window = WaitForMainWindow(session->game, StartTimeout);
    if (session->window == nullptr)
        return "the main window did not appear";
    RETURN_IF_FAILED(WaitForPicture(session->window, pictures.intro, 0, 0, Exact, "the intro"));
    double clicked = NowMs();
    Click(session->window, ScreenPictureWidth / 2, ScreenPictureHeight / 2);  // anywhere
    RETURN_IF_FAILED(WaitForPicture(session->window, pictures.menu, 0, 0, Exact,
                                    "the menu after the intro click"));
    if (introClickToMenuMs != nullptr)
        *introClickToMenuMs = NowMs() - clicked;
    return ExpectNoBox(session->game, "the intro click");
}

namespace {

// The share of its differing points a full-window screen must show to count
// as shown: discs, names and status pictures cover only a small part.
constexpr double ScreenShare = 0.8;

// Waits until the window shows a screen rather than another one: most of
// the points where the two pictures differ show the first.
Failure WaitForScreen(const Session& session, const Shot& screen, const Shot& other,
                      const char* name, Shot* shot) {
    double until = NowMs() + BoxTimeout;
    double share = 0;
    while (NowMs() < until) {
        RETURN_IF_FAILED(TakeShot(session.window, shot));
        share = ShareShown(*shot, screen, other, 0, 0, 20);
        if (share >= ScreenShare)
            return "";
        if (!session.game.Running())
            return Format("the program ended while the %s was awaited", name);
        Sleep(30);
    }
    return Format("the %s was not shown (%.0f%% of its points)", name, share * 100);
}

// The screen shown rather than the other one, and no box over it.
Failure ExpectScreen(const Session& session, const Shot& screen, const Shot& other,
                     const char* name, const char* after) {
    Shot shot;
    Failure failure = WaitForScreen(session, screen, other, name, &shot);
    if (failure.empty())
        failure = ExpectNoBox(session.game);
    return failure.empty() ? "" : Format("after %s: %s", after, failure.c_str());
}

}  // namespace

Failure ExpectMenu(const Session& session, const char* after) {
    return ExpectScreen(session, session.pictures.menu, session.pictures.board, "menu", after);
}

Failure ExpectBoard(const Session& session, const char* after) {
    return ExpectScreen(session, session.pictures.board, session.pictures.menu, "board", after);
}

Failure OpenHighscores(const Session& session, Shot* shot) {
    Click(session.window, HighscoresButton.x, HighscoresButton.y);
    RETURN_IF_FAILED(WaitForScreen(session, session.pictures.highscores, session.pictures.menu,
                                   "highscore screen", shot));
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, shot));
    return ExpectNoBox(session.game);
}

int TurnShown(const Shot& shot, const Pictures& pictures) {
    if (ShareShown(shot, pictures.turn1, pictures.turn2, TurnPictureX, TurnPictureY, 3) >= 0.9)
        return 1;
    if (ShareShown(shot, pictures.turn2, pictures.turn1, TurnPictureX, TurnPictureY, 3) >= 0.9)
        return 2;
    return 0;
}

int NamePixels(const Shot& shot, const Pictures& pictures, int player) {
    const Point name = player == 1 ? Point{Name1X, Name1Y} : Point{Name2X, Name2Y};
    return NewWhitePixels(shot, pictures.board, name.x - 10, name.y - 5, ScreenPictureWidth,
                          name.y + 35);
}

// ---------------------------------------------------------------- the name dialog

Failure ExpectNameDialog(const Session& session, const char* prompt, Box* dialog, HWND notThis) {
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, dialog, notThis));
    if (dialog->caption != NameCaption || dialog->text != prompt)
        return Format("%s, expected the name dialog %s", Describe(*dialog).c_str(),
                      Quote(prompt).c_str());
    if (dialog->owner != session.window)
        return Format("the name dialog %s is not owned by the main window", Quote(prompt).c_str());
    HWND edit = GetDlgItem(dialog->window, NameEditId);
    if (edit == nullptr || ClassOf(edit) != "Edit")
        return "the name dialog has no edit field 200";
    if (!TextOf(edit).empty())
        return "the name dialog's edit field is not empty: " + Quote(TextOf(edit));
    return "";
}

Failure AnswerName(const Session& session, const char* prompt, const char* name, HWND* previous) {
    Box dialog;
    RETURN_IF_FAILED(
        ExpectNameDialog(session, prompt, &dialog, previous == nullptr ? nullptr : *previous));
    if (previous != nullptr)
        *previous = dialog.window;
    if (name == nullptr)
        return PostButton(dialog, IDCANCEL);
    RETURN_IF_FAILED(SetEditText(dialog, NameEditId, name));
    return PressButton(dialog, IDOK);
}

Failure PressKey(const Box& dialog, WPARAM key, const char* what) {
    HWND edit = GetDlgItem(dialog.window, NameEditId);
    PostMessageA(edit, WM_KEYDOWN, key, 1);
    PostMessageA(edit, WM_KEYUP, key, 0xC0000001);  // the release: previous state down, up now
    return WaitUntilGone(dialog, what);
}

Failure StartTwoPlayers(const Session& session, const char* first, const char* second) {
    Click(session.window, TwoPlayersButton.x, TwoPlayersButton.y);
    RETURN_IF_FAILED(AnswerName(session, FirstPlayerPrompt, first));
    return AnswerName(session, SecondPlayerPrompt, second);
}

// ---------------------------------------------------------------- the board

Failure ReadBoard(const Shot& shot, const Pictures& pictures, Position* position) {
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            int x = DiscX(c);
            int y = DiscY(r);
            COLORREF core = shot.At(x, y);
            COLORREF ring = shot.At(x + 22, y);
            if (core == YellowCore && ring == YellowRing)
                position->cell[r][c] = 'H';
            else if (core == RedCore && ring == RedRing)
                position->cell[r][c] = 'C';
            else if (core == pictures.board.At(x, y))
                position->cell[r][c] = ' ';
            else
                return Format("cell row %d column %d shows %s / %s: neither disc nor board", r, c,
                              ColourText(core).c_str(), ColourText(ring).c_str());
        }
    }
    return "";
}

Failure WaitForPosition(const Session& session, const Position& expected, const char* what) {
    double until = NowMs() + BoxTimeout;
    Failure last;
    Position seen;
    while (NowMs() < until) {
        Shot shot;
        RETURN_IF_FAILED(TakeShot(session.window, &shot));
        last = ReadBoard(shot, session.pictures, &seen);
        if (last.empty()) {
            if (SamePosition(seen, expected))
                return "";
            last = "the window shows" + BoardText(seen) + "\n  expected" + BoardText(expected);
        }
        if (!session.game.Running())
            return Format("%s: the program ended", what);
        Sleep(20);
    }
    return Format("%s: %s", what, last.c_str());
}

Failure ExpectDisc(HWND window, int column, int row, COLORREF ring, COLORREF core,
                   const char* what) {
    const int x = DiscX(column);
    const int y = DiscY(row);
    struct Sample {
        int dx, dy;
        COLORREF colour;
        const char* part;
    };
    const Sample samples[] = {
        {0, 0, core, "core"},   {-10, 0, core, "core"},       {22, 0, ring, "ring"},
        {-22, 0, ring, "ring"}, {0, 22, ring, "ring"},        {0, -22, ring, "ring"},
        {26, 0, Black, "rim"},  {-26, 0, Black, "rim"},       {0, 26, Black, "rim"},
        {0, -26, Black, "rim"}, {18, 0, Black, "inner ring"},
    };
    for (const Sample& sample : samples) {
        COLORREF shown = SamplePixel(window, x + sample.dx, y + sample.dy);
        if (shown != sample.colour)
            return Format("%s at column %d row %d: %s at %d,%d is %s, expected %s", what, column,
                          row, sample.part, x + sample.dx, y + sample.dy, ColourText(shown).c_str(),
                          ColourText(sample.colour).c_str());
    }
    return "";
}

Failure DropDisc(HWND window, int column, int row, COLORREF core, double* tookMs) {
    double clicked = NowMs();
    Click(window, ColumnClickX(column), ScreenPictureHeight / 2);
    double took = WaitForPixel(window, DiscX(column), DiscY(row), core, BoxTimeout);
    if (took < 0)
        return Format("no disc core %s at column %d row %d after a click", ColourText(core).c_str(),
                      column, row);
    *tookMs = NowMs() - clicked;
    return "";
}

// ---------------------------------------------------------------- leaving

Failure CloseAndExpectExit(Session& session) {
    PostMessageA(session.window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(session.game, 0);
}

void PrintTimes(const char* what, const std::vector<double>& times) {
    if (times.empty())
        return;
    double total = 0;
    double longest = 0;
    for (double time : times) {
        total += time;
        if (time > longest)
            longest = time;
    }
    std::printf("%s: mean %.1f ms, longest %.1f ms over %u\n", what,
                total / static_cast<double>(times.size()), longest,
                static_cast<unsigned>(times.size()));
}

}  // namespace e2e
