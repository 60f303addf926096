// Scenarios of the question "Nochmal" after a game: every answer after a
// win, Cancel after a win, a draw, a last-disc win and a game against the
// computer.
#include <cstdio>
#include <cstring>

#include "e2e/box_icons.h"
#include "e2e/driver.h"
#include "e2e/scenarios.h"
#include "e2e/two_players.h"

namespace e2e {

// Each answer to "Nochmal" but Cancel. Yes after a win of player 2 keeps the
// game screen and both names, and player 1 opens the new game; the win box
// closed with its close box counts as OK; No leads to the menu, where a
// click on a column's place plays nothing, and a new game of two begins
// empty with the new names.
Failure NochmalAnswersScenario(const Options& options) {
    Session session(options);
    Model model;
    RETURN_IF_FAILED(StartNamedGame(&session, &model));
    Box box;
    Box question;
    RETURN_IF_FAILED(PlayToEnd(session, &model, "60011223", &box));
    RETURN_IF_FAILED(ExpectWinBox(session, model, box, nullptr));
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    RETURN_IF_FAILED(AnswerYes(session, question, &model, 2));
    RETURN_IF_FAILED(PlayDisc(session, &model, 6));  // player 1's yellow disc

    // Player 1 wins the second game; the box is closed from its frame.
    RETURN_IF_FAILED(PlayToEnd(session, &model, "3322110", &box));
    RETURN_IF_FAILED(ExpectWinBox(session, model, box, nullptr));
    PostMessageA(box.window, WM_CLOSE, 0, 0);
    RETURN_IF_FAILED(WaitUntilGone(box, "on WM_CLOSE"));
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &question, box.window));
    RETURN_IF_FAILED(ExpectGameBox(question, session.window, PlayAgainText, PlayAgainCaption,
                                   {IDYES, IDNO, IDCANCEL}));
    RETURN_IF_FAILED(PostButton(question, IDNO));
    RETURN_IF_FAILED(ExpectMenu(session, "No to \"Nochmal\""));
    for (int column : {0, 3, 6}) {
        if (!SendClick(session.window, ColumnClickX(column), 560, 5000))
            return "a click on the menu was not handled within 5 s";
    }
    Sleep(SettleMs);
    RETURN_IF_FAILED(ExpectMenu(session, "clicks on the menu where the columns were"));

    RETURN_IF_FAILED(StartTwoPlayers(session, "Ute", "Maximilia"));
    RETURN_IF_FAILED(ExpectBoard(session, "the new names"));
    Position empty{};
    RETURN_IF_FAILED(WaitForNewGame(session, 3, &empty));
    model.Clear();
    model.names = Shot();
    RETURN_IF_FAILED(ExpectNames(session, "the new names", &model.names));
    RETURN_IF_FAILED(PlayToEnd(session, &model, "60011223", &box));
    RETURN_IF_FAILED(ExpectGameBox(box, session.window, "Maximilia", PlayerTwoWinCaption, {IDOK}));
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    RETURN_IF_FAILED(AnswerYes(session, question, &model, 4));
    RETURN_IF_FAILED(PlayToEnd(session, &model, "0011223", &box));
    RETURN_IF_FAILED(ExpectGameBox(box, session.window, "Ute", PlayerOneWinCaption, {IDOK}));
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    RETURN_IF_FAILED(PostButton(question, IDYES));
    RETURN_IF_FAILED(WaitForNewGame(session, 5, &empty));
    return CloseAndExpectExit(session);
}
E2E_SCENARIO(220, "nochmal_answers", NochmalAnswersScenario, "");

// Cancel after a win, in three ways, each in a fresh start: the Cancel
// button, the question's close box, the Escape key. The board stays as it
// was, no box follows, and the program ends at the next message with
// status 0.
Failure NochmalCancelScenario(const Options& options) {
    const char* const ways[] = {"the Cancel button", "the question's close box", "the Escape key"};
    for (int way = 0; way < 3; ++way) {
        Session session(options);
        Model model;
        RETURN_IF_FAILED(StartNamedGame(&session, &model));
        Box box;
        Box question;
        RETURN_IF_FAILED(PlayToEnd(session, &model, way == 1 ? "60011223" : "0011223", &box));
        RETURN_IF_FAILED(ExpectWinBox(session, model, box, nullptr));
        RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
        if (way == 0) {
            RETURN_IF_FAILED(PostButton(question, IDCANCEL));
        } else if (way == 1) {
            PostMessageA(question.window, WM_CLOSE, 0, 0);
            RETURN_IF_FAILED(WaitUntilGone(question, "on WM_CLOSE"));
        } else {
            HWND focused = GetDlgItem(question.window, IDYES);
            PostMessageA(focused, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(focused, WM_KEYUP, VK_ESCAPE, 0xC0000001);
            RETURN_IF_FAILED(WaitUntilGone(question, "on the Escape key"));
        }
        // Until the program has gone, the board is not cleared.
        Shot shot;
        Position seen;
        bool shown = session.game.Running() && TakeShot(session.window, &shot).empty();
        // The program may end while the shot is taken, so it is asked again.
        // cppcheck-suppress knownConditionTrueFalse
        shown = shown && session.game.Running();
        if (shown && ReadBoard(shot, session.pictures, &seen).empty() &&
            !SamePosition(seen, model.position))
            return Format("after Cancel by %s the window shows%s", ways[way],
                          BoardText(seen).c_str());
        std::vector<HWND> boxes = TopWindows(session.game.Id(), DialogClass, true);
        if (!boxes.empty())
            return Format("after Cancel by %s: %s", ways[way], Describe(ReadBox(boxes[0])).c_str());
        RETURN_IF_FAILED(ExpectEndAtNextMessage(session, ways[way]));
        std::printf("Cancel by %s after a win: ended with status 0\n", ways[way]);
    }
    return "";
}
E2E_SCENARIO(230, "nochmal_cancel", NochmalCancelScenario, "");

// A full board without four: the draw box, then Cancel ends the program.
Failure NochmalCancelDrawScenario(const Options& options) {
    Session session(options);
    Model model;
    RETURN_IF_FAILED(StartNamedGame(&session, &model));
    Box box;
    Box question;
    RETURN_IF_FAILED(PlayToEnd(session, &model, DrawGame, &box));
    RETURN_IF_FAILED(
        ExpectGameBox(box, session.window, DrawAnnouncement, DrawAnnouncementCaption, {IDOK}));
    RETURN_IF_FAILED(ExpectDiscs(session, model, "the board under the draw box"));
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    RETURN_IF_FAILED(PostButton(question, IDCANCEL));
    Sleep(SettleMs);
    RETURN_IF_FAILED(ExpectNoBox(session.game, "Cancel after the draw"));
    return ExpectEndAtNextMessage(session, "Cancel after the draw");
}
E2E_SCENARIO(235, "nochmal_cancel_draw", NochmalCancelDrawScenario, "");

// The 42nd disc wins: the win box, and Cancel leaves the full board, so the
// draw box and the question follow in the same click. Once Cancel has been
// answered the program ends at the next message, whatever the second answer.
Failure NochmalCancelLastDiscScenario(const Options& options) {
    Session session(options);
    Model model;
    RETURN_IF_FAILED(StartNamedGame(&session, &model));
    Box box;
    Box question;
    RETURN_IF_FAILED(PlayToEnd(session, &model, LastDiscWinGame, &box));
    RETURN_IF_FAILED(ExpectWinBox(session, model, box, nullptr));
    RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
    RETURN_IF_FAILED(PostButton(question, IDCANCEL));
    Box draw;
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &draw, question.window));
    RETURN_IF_FAILED(
        ExpectGameBox(draw, session.window, DrawAnnouncement, DrawAnnouncementCaption, {IDOK}));
    RETURN_IF_FAILED(MoveBoxAside(draw, BelowTheNames));
    RETURN_IF_FAILED(ExpectDiscs(session, model, "the board under the draw box"));
    Box again;
    RETURN_IF_FAILED(AwaitQuestion(session, draw, &again));
    RETURN_IF_FAILED(PostButton(again, IDYES));
    Sleep(SettleMs);
    RETURN_IF_FAILED(ExpectNoBox(session.game, "Yes after Cancel"));
    return ExpectEndAtNextMessage(session, "Yes to the question after Cancel");
}
E2E_SCENARIO(240, "nochmal_cancel_last_disc", NochmalCancelLastDiscScenario, "");

// Cancel after a game against the easy computer, played to lose: the
// program ends at the next message with status 0, as after a game of two.
Failure NochmalCancelComputerScenario(const Options& options) {
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    RETURN_IF_FAILED(StartAtMenu(&session));
    RETURN_IF_FAILED(ChooseComputerGame(session, "Ede", Level::Easy));
    Position position{};
    RETURN_IF_FAILED(WaitForNewGame(session, 1, &position));
    for (int click = 1; click <= 21; ++click) {
        const int column = ChooseLosingColumn(position, Level::Easy);
        if (column < 0)
            return "no column left to play and no box";
        const int human = CountDiscs(position, 'H');
        const int computer = CountDiscs(position, 'C');
        Click(session.window, DiscX(column), 300);
        Box box;
        bool boxShown = false;
        RETURN_IF_FAILED(AwaitAnswer(session, human, computer, &box, &boxShown, &position));
        if (!boxShown)
            continue;
        if (box.caption == DrawAnnouncementCaption)
            RETURN_IF_FAILED(ExpectGameBox(box, session.window, DrawAnnouncement,
                                           DrawAnnouncementCaption, {IDOK}));
        else
            RETURN_IF_FAILED(ExpectGameBox(box, session.window,
                                           box.text == "Ede" ? "Ede" : ComputerWinText,
                                           ComputerGameWinCaption, {IDOK}));
        std::printf("the game against the easy computer ended after %d clicks: %s\n", click,
                    Describe(box).c_str());
        Box question;
        RETURN_IF_FAILED(AwaitQuestion(session, box, &question));
        RETURN_IF_FAILED(PostButton(question, IDCANCEL));
        return ExpectEndAtNextMessage(session, "Cancel after a game against the computer");
    }
    return "the game against the easy computer did not end in 21 clicks";
}
E2E_SCENARIO(245, "nochmal_cancel_computer", NochmalCancelComputerScenario, "");

}  // namespace e2e
