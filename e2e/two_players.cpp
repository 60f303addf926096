// Games of two players as the scenarios play them.
#include "e2e/two_players.h"

#include <cstdio>
#include <cstring>

#include "e2e/box_icons.h"

namespace e2e {

bool FindFour(const Position& p, char who, Line* line) {
    bool found = false;
    ForEachWindow([&](int r, int c, int dr, int dc) {
        if (found)
            return;
        for (int k = 0; k < 4; ++k)
            if (p.cell[r + k * dr][c + k * dc] != who)
                return;
        for (int k = 0; k < 4; ++k) {
            line->row[k] = r + k * dr;
            line->column[k] = c + k * dc;
        }
        line->dr = dr;
        line->dc = dc;
        found = true;
    });
    return found;
}

Failure ExpectDiscs(const Session& session, const Model& model, const char* what) {
    return WaitForPosition(session, model.position, what);
}

Failure ExpectTurnPicture(HWND window, const Pictures& pictures, int player, const char* what) {
    Failure failure = WaitForPicture(
        window, player == 1 ? pictures.turn1 : pictures.turn2, TurnPictureX, TurnPictureY, Exact,
        player == 1 ? "player 1's turn picture" : "player 2's turn picture");
    return failure.empty() ? "" : Format("%s: %s", what, failure.c_str());
}

Failure ExpectNames(const Session& session, const char* what, Shot* names) {
    Shot shot;
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    int first = NamePixels(shot, session.pictures, 1);
    int second = NamePixels(shot, session.pictures, 2);
    if (first < 20 || second < 20)
        return Format("%s: the names beside the board have %d and %d white pixels", what, first,
                      second);
    if (names->pixels.empty()) {
        *names = shot;
        return "";
    }
    const int bands[][2] = {{Name1Y - 5, Name1Y + 35}, {Name2Y - 5, Name2Y + 35}};
    // cppcheck takes the reference to a row of two ints for a pointer.
    // cppcheck-suppress constVariable
    for (const auto& band : bands)
        for (int y = band[0]; y < band[1]; ++y)
            for (int x = Name1X - 10; x < ScreenPictureWidth && x < shot.width && x < names->width;
                 ++x)
                if (shot.At(x, y) != names->At(x, y))
                    return Format("%s: the names beside the board are not drawn as before (%d,%d)",
                                  what, x, y);
    return "";
}

Failure PlayDisc(const Session& session, Model* model, int column) {
    const int row = LandingRow(model->position, column);
    if (row < 0)
        return Format("column %d is full in the model", column);
    const char who = model->ToMove();
    if (!SendClick(session.window, ColumnClickX(column), 300, BoxTimeout))
        return Format("move %d (column %d) was not handled within %lu ms (a box?)",
                      model->moves + 1, column, BoxTimeout);
    if (WaitForPixel(session.window, DiscX(column), DiscY(row), CoreOf(who), BoxTimeout) < 0)
        return Format("move %d: no disc of %s at column %d row %d", model->moves + 1,
                      PlayerText(who), column, row);
    RETURN_IF_FAILED(
        ExpectDisc(session.window, column, row, RingOf(who), CoreOf(who), PlayerText(who)));
    model->position.cell[row][column] = who;
    ++model->moves;
    RETURN_IF_FAILED(ExpectTurnPicture(session.window, session.pictures, model->Player(),
                                       Format("after move %d", model->moves).c_str()));
    return ExpectNoBox(session.game, Format("move %d", model->moves).c_str());
}

Failure PlayToEnd(const Session& session, Model* model, const char* columns, Box* box) {
    const int count = static_cast<int>(std::strlen(columns));
    for (int i = 0; i + 1 < count; ++i)
        RETURN_IF_FAILED(PlayDisc(session, model, columns[i] - '0'));
    const int column = columns[count - 1] - '0';
    const int row = LandingRow(model->position, column);
    if (row < 0)
        return Format("the last column %d is full in the model", column);
    const char who = model->ToMove();
    Click(session.window, ColumnClickX(column), 300);
    // The box may open over the last disc before the disc has been read:
    // it is moved aside first, and the uncovered board repainted.
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, box));
    RETURN_IF_FAILED(MoveBoxAside(*box, BelowTheNames));
    if (WaitForPixel(session.window, DiscX(column), DiscY(row), CoreOf(who), BoxTimeout) < 0)
        return Format("the last disc of %s does not show at column %d row %d", PlayerText(who),
                      column, row);
    model->position.cell[row][column] = who;
    ++model->moves;
    return "";
}

const Win FirstPlayerWins[4] = {
    {"522334465", "horizontal, in row 4", 0, 1},
    {"6565656", "vertical, in column 6", -1, 0},
    {"01123223363", "rising diagonal", -1, 1},
    {"65543443303", "falling diagonal", -1, -1},
};
const Win SecondPlayerWins[4] = {
    {"60011223", "horizontal, in row 5", 0, 1},
    {"01212121", "vertical, in column 1", -1, 0},
    {"601123223363", "rising diagonal", -1, 1},
    {"065543443303", "falling diagonal", -1, -1},
};

Failure ExpectWinBox(const Session& session, const Model& model, const Box& box, const Win* win) {
    const char winner = model.moves % 2 == 1 ? 'H' : 'C';
    const char loser = winner == 'H' ? 'C' : 'H';
    RETURN_IF_FAILED(ExpectGameBox(box, session.window, winner == 'H' ? FirstName : SecondName,
                                   winner == 'H' ? PlayerOneWinCaption : PlayerTwoWinCaption,
                                   {IDOK}));
    Line line;
    if (!FindFour(model.position, winner, &line) || HasFour(model.position, loser))
        return "the game's record does not end in a four of the last mover alone";
    if (win != nullptr && (line.dr != win->dr || line.dc != win->dc))
        return Format("the four of %s is not %s", PlayerText(winner), win->direction);
    RETURN_IF_FAILED(ExpectDiscs(session, model, "the board under the win box"));
    for (int k = 0; k < 4; ++k)
        RETURN_IF_FAILED(ExpectDisc(session.window, line.column[k], line.row[k], RingOf(winner),
                                    CoreOf(winner), "the winning four"));
    return "";
}

Failure AwaitQuestion(const Session& session, const Box& box, Box* question) {
    RETURN_IF_FAILED(PostButton(box, IDOK));
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, question, box.window));
    RETURN_IF_FAILED(ExpectGameBox(*question, session.window, PlayAgainText, PlayAgainCaption,
                                   {IDYES, IDNO, IDCANCEL}));
    RETURN_IF_FAILED(MoveBoxAside(*question, BelowTheNames));
    return "";
}

Failure AnswerYes(const Session& session, const Box& question, Model* model, int gameNumber) {
    RETURN_IF_FAILED(PostButton(question, IDYES));
    Failure failure = ExpectBoard(session, "Yes to \"Nochmal\"");
    if (!failure.empty())
        return Format("game %d: %s", gameNumber, failure.c_str());
    Position empty{};
    RETURN_IF_FAILED(WaitForNewGame(session, gameNumber, &empty));
    model->Clear();
    RETURN_IF_FAILED(ExpectNames(session, "Yes to \"Nochmal\"", &model->names));
    return ExpectNoBox(session.game, "Yes to \"Nochmal\"");
}

Failure StartNamedGame(Session* session, Model* model) {
    RETURN_IF_FAILED(LoadPictures(session));
    RETURN_IF_FAILED(StartAtMenu(session));
    RETURN_IF_FAILED(StartTwoPlayers(*session, FirstName, SecondName));
    RETURN_IF_FAILED(ExpectBoard(*session, "both names"));
    Position empty;
    RETURN_IF_FAILED(WaitForNewGame(*session, 1, &empty));
    return ExpectNames(*session, "both names", &model->names);
}

Failure AnswerNoThenClose(Session& session, const Box& question, const char* what) {
    RETURN_IF_FAILED(PostButton(question, IDNO));
    RETURN_IF_FAILED(ExpectMenu(session, what));
    Sleep(SettleMs);
    RETURN_IF_FAILED(ExpectNoBox(session.game, what));
    return CloseAndExpectExit(session);
}

Failure ExpectEndAtNextMessage(Session& session, const char* after) {
    if (WaitForSingleObject(session.game.process.hProcess, 1000) == WAIT_TIMEOUT)
        PostMessageA(session.window, WM_MOUSEMOVE, 0, MAKELPARAM(300, 300));
    Failure failure = ExpectExitStatus(session.game, 0);
    if (!failure.empty())
        return Format("after %s: %s", after, failure.c_str());
    if (!TopWindows(session.game.Id(), DialogClass, false).empty() ||
        !TopWindows(session.game.Id(), MainClass, false).empty())
        return Format("after %s: a window of the program is left", after);
    return "";
}

Failure PlayWins(const Options& options, const Win (&wins)[4], bool lastAnswerNo) {
    Session session(options);
    Model model;
    RETURN_IF_FAILED(StartNamedGame(&session, &model));
    for (int n = 0; n < 4; ++n) {
        const Win& win = wins[n];
        double started = NowMs();
        Box box;
        Failure failure = PlayToEnd(session, &model, win.columns, &box);
        if (failure.empty())
            failure = ExpectWinBox(session, model, box, &win);
        Box question;
        if (failure.empty())
            failure = AwaitQuestion(session, box, &question);
        if (failure.empty() && lastAnswerNo && n == 3) {
            failure = PostButton(question, IDNO);
            if (failure.empty())
                failure = ExpectMenu(session, "No to \"Nochmal\"");
        } else if (failure.empty()) {
            failure = AnswerYes(session, question, &model, n + 2);
        }
        if (!failure.empty())
            return Format("%s, %s: %s", box.caption.c_str(), win.direction, failure.c_str());
        std::printf("%s %s won %s in %d discs, %.0f ms\n", Quote(box.caption).c_str(),
                    Quote(box.text).c_str(), win.direction,
                    static_cast<int>(std::strlen(win.columns)), NowMs() - started);
    }
    // The game goes on after the last answer: on the board player 1 opens,
    // on the menu a click where a column was plays nothing.
    if (!lastAnswerNo) {
        RETURN_IF_FAILED(PlayDisc(session, &model, 3));
    } else {
        if (!SendClick(session.window, ColumnClickX(0), 300, 5000))
            return "a click on the menu was not handled within 5 s";
        Sleep(SettleMs);
        RETURN_IF_FAILED(ExpectMenu(session, "a click on the menu where column 0 was"));
    }
    return CloseAndExpectExit(session);
}

}  // namespace e2e
