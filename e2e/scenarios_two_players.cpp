// Scenarios of the game of two players at one mouse: a win of each player in
// each direction, a full column, a full board, a last disc that wins, and
// clicks beside the board.
#include <cstdio>
#include <cstring>

#include "e2e/box_icons.h"
#include "e2e/driver.h"
#include "e2e/scenarios.h"
#include "e2e/two_players.h"

namespace e2e {

// Player 1 wins in every direction; each win box names player 1, the board
// shows the four, and Yes begins the next game with player 1.
Failure FirstPlayerWinsScenario(const Options& options) {
    return PlayWins(options, FirstPlayerWins, false);
}
E2E_SCENARIO(210, "two_player_wins_first", FirstPlayerWinsScenario, "");

// Player 2 wins in every direction; Yes after each but the last, which is
// answered No and leads to the menu.
Failure SecondPlayerWinsScenario(const Options& options) {
    return PlayWins(options, SecondPlayerWins, true);
}
E2E_SCENARIO(215, "two_player_wins_second", SecondPlayerWinsScenario, "");

// Clicks on a full column: no disc, no box, the same player to move, as
// often as it is clicked; the game goes on with the turns in order, and the
// win goes to the right player.
Failure FullColumnScenario(const Options& options) {
    Session session(options);
    Model model;
    RETURN_IF_FAILED(StartNamedGame(&session, &model));
    for (int i = 0; i < 6; ++i)
        RETURN_IF_FAILED(PlayDisc(session, &model, 3));
    if (LandingRow(model.position, 3) >= 0)
        return "column 3 is not full after six discs";

    int fullClicks = 0;
    auto clickFull = [&](int times) -> Failure {
        for (int i = 0; i < times; ++i) {
            const int player = model.Player();
            // Anywhere in the column's band, at any height.
            const int x = ColumnClickX(3) - 34 + 23 * i % 70;
            const int y = 120 + 97 * i % 450;
            if (!SendClick(session.window, x, y, BoxTimeout))
                return Format("a click on the full column at %d,%d was not handled (a box?)", x, y);
            ++fullClicks;
            Sleep(SettleMs / 2);
            RETURN_IF_FAILED(ExpectNoBox(session.game, "a click on the full column"));
            RETURN_IF_FAILED(ExpectDiscs(session, model, "a click on the full column"));
            RETURN_IF_FAILED(ExpectTurnPicture(session.window, session.pictures, player,
                                               "a click on the full column"));
        }
        return "";
    };
    RETURN_IF_FAILED(clickFull(3));                  // player 1
    RETURN_IF_FAILED(PlayDisc(session, &model, 0));  // player 1's yellow disc
    RETURN_IF_FAILED(PlayDisc(session, &model, 1));  // player 2
    RETURN_IF_FAILED(PlayDisc(session, &model, 0));  // player 1
    RETURN_IF_FAILED(clickFull(2));                  // player 2
    RETURN_IF_FAILED(PlayDisc(session, &model, 1));  // player 2's red disc
    RETURN_IF_FAILED(clickFull(1));                  // player 1
    RETURN_IF_FAILED(PlayDisc(session, &model, 0));  // player 1
    RETURN_IF_FAILED(PlayDisc(session, &model, 1));  // player 2: three in column 1
    Box box;
    RETURN_IF_FAILED(PlayToEnd(session, &model, "0", &box));
    RETURN_IF_FAILED(ExpectWinBox(session, model, box, nullptr));
    std::printf("%d clicks on the full column left board and turn alone\n", fullClicks);
    Box question;
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    Position empty{};
    RETURN_IF_FAILED(PostButton(question, IDYES));
    RETURN_IF_FAILED(WaitForNewGame(session, 2, &empty));
    return CloseAndExpectExit(session);
}
E2E_SCENARIO(250, "full_column", FullColumnScenario, "");

// A game to a full board without four: the draw box with its text and
// caption over the full board, the question; Yes begins a new game with
// the same names, and the same draw again answered No leads to the menu.
Failure FullBoardScenario(const Options& options) {
    Session session(options);
    Model model;
    RETURN_IF_FAILED(StartNamedGame(&session, &model));
    Box box;
    double started = NowMs();
    RETURN_IF_FAILED(PlayToEnd(session, &model, DrawGame, &box));
    std::printf("42 discs to the draw box: %.0f ms\n", NowMs() - started);
    RETURN_IF_FAILED(
        ExpectGameBox(box, session.window, DrawAnnouncement, DrawAnnouncementCaption, {IDOK}));
    if (HasFour(model.position, 'H') || HasFour(model.position, 'C') || !BoardFull(model.position))
        return "the drawn game's record is not a full board without four";
    RETURN_IF_FAILED(ExpectDiscs(session, model, "the board under the draw box"));
    if (CountDiscs(model.position, 'H') != 21 || CountDiscs(model.position, 'C') != 21)
        return "the full board does not hold 21 discs of each player";
    Box question;
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    RETURN_IF_FAILED(AnswerYes(session, question, &model, 2));

    // The same draw again, answered No: the menu.
    RETURN_IF_FAILED(PlayToEnd(session, &model, DrawGame, &box));
    RETURN_IF_FAILED(
        ExpectGameBox(box, session.window, DrawAnnouncement, DrawAnnouncementCaption, {IDOK}));
    RETURN_IF_FAILED(ExpectDiscs(session, model, "the board under the second draw box"));
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    return AnswerNoThenClose(session, question, "No after the draw");
}
E2E_SCENARIO(252, "full_board", FullBoardScenario, "");

// The 42nd disc fills the board and wins: only the win box and one
// question; No clears the board, so no draw box follows, and the menu shows.
Failure LastDiscWinScenario(const Options& options) {
    Session session(options);
    Model model;
    RETURN_IF_FAILED(StartNamedGame(&session, &model));
    Box box;
    RETURN_IF_FAILED(PlayToEnd(session, &model, LastDiscWinGame, &box));
    if (!BoardFull(model.position))
        return "the last-disc win does not fill the board";
    RETURN_IF_FAILED(ExpectWinBox(session, model, box, nullptr));
    Box question;
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    return AnswerNoThenClose(session, question, "No after the last-disc win");
}
E2E_SCENARIO(254, "last_disc_win", LastDiscWinScenario, "");

// Clicks on the game screen beside the board play nothing; the board's
// edges play columns 0 and 6 at any height; the second press of a double
// click is not a move.
Failure BoardEdgesScenario(const Options& options) {
    Session session(options);
    Model model;
    RETURN_IF_FAILED(StartNamedGame(&session, &model));
    auto nothing = [&](int x, int y) -> Failure {
        const int player = model.Player();
        if (!SendClick(session.window, x, y, BoxTimeout))
            return Format("the click at %d,%d was not handled (a box?)", x, y);
        Sleep(SettleMs / 2);
        Failure failure = ExpectNoBox(session.game);
        if (failure.empty())
            failure = ExpectDiscs(session, model, "the board");
        if (failure.empty())
            failure = ExpectTurnPicture(session.window, session.pictures, player, "the turn");
        return failure.empty() ? "" : Format("a click at %d,%d: %s", x, y, failure.c_str());
    };
    auto edge = [&](int x, int y, int column) -> Failure {
        const int row = LandingRow(model.position, column);
        const char who = model.ToMove();
        if (!SendClick(session.window, x, y, BoxTimeout))
            return Format("the click at %d,%d was not handled (a box?)", x, y);
        if (WaitForPixel(session.window, DiscX(column), DiscY(row), CoreOf(who), BoxTimeout) < 0)
            return Format("a click at %d,%d: no disc of %s in column %d", x, y, PlayerText(who),
                          column);
        model.position.cell[row][column] = who;
        ++model.moves;
        Failure failure = ExpectDiscs(session, model, "the board");
        if (failure.empty())
            failure =
                ExpectTurnPicture(session.window, session.pictures, model.Player(), "the turn");
        return failure.empty() ? "" : Format("a click at %d,%d: %s", x, y, failure.c_str());
    };
    const Point beside[] = {{35, 300}, {0, 545}, {526, 300}, {600, 250}, {790, 590}, {35, 5}};
    for (const Point& at : beside)
        RETURN_IF_FAILED(nothing(at.x, at.y));
    RETURN_IF_FAILED(edge(36, 300, 0));   // player 1
    RETURN_IF_FAILED(edge(525, 2, 6));    // player 2, above the board's holes
    RETURN_IF_FAILED(edge(36, 598, 0));   // player 1, below them
    RETURN_IF_FAILED(edge(525, 545, 6));  // player 2
    RETURN_IF_FAILED(edge(105, 100, 0));  // the last pixel of column 0's band
    RETURN_IF_FAILED(edge(106, 100, 1));  // the first of column 1's
    for (const Point& at : beside)
        RETURN_IF_FAILED(nothing(at.x, at.y));

    // A double click: press, release, the second press as a double click,
    // release. One disc falls.
    const int x = ColumnClickX(4);
    const int row = LandingRow(model.position, 4);
    const char who = model.ToMove();
    PostMessageA(session.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 300));
    PostMessageA(session.window, WM_LBUTTONUP, 0, MAKELPARAM(x, 300));
    PostMessageA(session.window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, 300));
    PostMessageA(session.window, WM_LBUTTONUP, 0, MAKELPARAM(x, 300));
    if (WaitForPixel(session.window, DiscX(4), DiscY(row), CoreOf(who), BoxTimeout) < 0)
        return "no disc after a double click";
    model.position.cell[row][4] = who;
    ++model.moves;
    Sleep(SettleMs);
    RETURN_IF_FAILED(ExpectDiscs(session, model, "a double click"));
    RETURN_IF_FAILED(
        ExpectTurnPicture(session.window, session.pictures, model.Player(), "a double click"));
    RETURN_IF_FAILED(ExpectNoBox(session.game, "a double click"));
    return CloseAndExpectExit(session);
}
E2E_SCENARIO(260, "board_edges", BoardEdgesScenario, "");

}  // namespace e2e
