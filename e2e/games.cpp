// Games against the computer as a player plays them.
#include "e2e/games.h"

#include <cstdio>

namespace e2e {

Failure ChooseComputerGame(const Session& session, const std::string& name, Level level) {
    bool easy = level == Level::Easy;
    Point button = easy ? EasyButton : HardButton;
    Click(session.window, button.x, button.y);
    HWND previous = nullptr;
    RETURN_IF_FAILED(AnswerName(session, SinglePlayerPrompt, name.c_str(), &previous));
    RETURN_IF_FAILED(ExpectBoard(
        session, easy ? "the name for the easy computer" : "the name for the hard computer"));
    Shot shot;
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    const Pictures& pictures = session.pictures;
    const Shot& shown = easy ? pictures.easyLevel : pictures.hardLevel;
    const Shot& other = easy ? pictures.hardLevel : pictures.easyLevel;
    if (ShareShown(shot, shown, other, LevelPictureX, LevelPictureY, 4) < 0.9)
        return easy ? "the easy level picture is not shown" : "the hard level picture is not shown";
    return "";
}

Failure WaitForNewGame(const Session& session, int gameNumber, Position* position) {
    double until = NowMs() + BoxTimeout;
    Failure last;
    while (NowMs() < until) {
        Shot shot;
        RETURN_IF_FAILED(TakeShot(session.window, &shot));
        last = ReadBoard(shot, session.pictures, position);
        if (last.empty()) {
            int discs = CountDiscs(*position, 'H') + CountDiscs(*position, 'C');
            int turn = TurnShown(shot, session.pictures);
            if (discs == 0 && turn == 1)
                return "";
            last = Format("%d discs, turn picture %d", discs, turn);
        }
        if (!session.game.Running())
            return "the program ended before a new game";
        Sleep(20);
    }
    return Format("game %d does not begin on an empty board with the human to move: %s", gameNumber,
                  last.c_str());
}

// The disc drawn during the computer's pause may reach the screen only
// together with the answer, so the pause itself is not looked for.
Failure AwaitAnswer(const Session& session, int humanBefore, int computerBefore, Box* box,
                    bool* boxShown, Position* position) {
    double until = NowMs() + BoxTimeout;
    Failure unreadable;
    const double clicked = NowMs();
    while (NowMs() < until) {
        std::vector<HWND> boxes = TopWindows(session.game.Id(), DialogClass, true);
        if (!boxes.empty()) {
            // The box covers part of the board: the cells stay as last read.
            RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, box));
            *boxShown = true;
            return "";
        }
        Shot shot;
        RETURN_IF_FAILED(TakeShot(session.window, &shot));
        Position seen;
        unreadable = ReadBoard(shot, session.pictures, &seen);  // a disc may be half drawn
        if (unreadable.empty()) {
            *position = seen;
            int human = CountDiscs(seen, 'H');
            int computer = CountDiscs(seen, 'C');
            if (human > humanBefore + 1 || computer > computerBefore + 1)
                return Format("%d yellow and %d red discs after one click (were %d and %d)", human,
                              computer, humanBefore, computerBefore);
            const int turn = TurnShown(shot, session.pictures);
            if (human == humanBefore + 1 && computer == computerBefore + 1 && !HasFour(seen, 'C') &&
                !BoardFull(seen) && turn == 1) {
                *boxShown = false;
                return "";
            }
            if (human == humanBefore + 1 && computer == computerBefore && turn == 1 &&
                NowMs() - clicked > LongestAnswerMs && OpeningColumnFull(seen)) {
                std::printf("the computer passed its turn (a full column in the opening)\n");
                *boxShown = false;
                return "";
            }
        }
        if (!session.game.Running())
            return "the program ended during a move";
        Sleep(15);
    }
    Shot shot;
    RETURN_IF_FAILED(TakeShot(session.window, &shot));
    SaveShot(shot, "no_answer.bmp");
    return Format("no answer to the click within %lu ms%s%s", BoxTimeout,
                  unreadable.empty() ? "" : ": ", unreadable.c_str());
}

Failure BeatComputer(const Session& session, const Plan& plan, const std::string& name,
                     Played* played, Box* win) {
    const Level level = plan.level;
    const int lastGame = plan.firstGame + plan.maxGames - 1;
    for (int gameNumber = plan.firstGame; gameNumber <= lastGame; ++gameNumber) {
        played->games = gameNumber;
        int clicks = 0;
        Position position;
        RETURN_IF_FAILED(WaitForNewGame(session, gameNumber, &position));
        for (;;) {
            bool toLose = gameNumber < plan.firstGame + plan.losingGames;
            int winning = -1;
            if (plan.stopBeforeWin && !toLose && WinningColumns(position, 'H', &winning) > 0) {
                played->winningColumn = winning;
                played->winningMoves = (gameNumber == 1 ? 0 : 1) + clicks;
                return "";
            }
            int column =
                toLose ? ChooseLosingColumn(position, level) : ChooseColumn(position, level);
            if (column < 0)
                return "no column left to play and no box";
            int humanBefore = CountDiscs(position, 'H');
            int computerBefore = CountDiscs(position, 'C');
            Position expected = position;
            expected.cell[LandingRow(position, column)][column] = 'H';
            bool humanWins = HasFour(expected, 'H');
            Click(session.window, DiscX(column), ScreenPictureHeight / 2);
            ++clicks;
            ++played->clicks;
            Box box;
            bool boxShown = false;
            RETURN_IF_FAILED(
                AwaitAnswer(session, humanBefore, computerBefore, &box, &boxShown, &position));
            if (!boxShown) {
                for (int r = 0; r < Rows; ++r)
                    for (int c = 0; c < Columns; ++c)
                        if (expected.cell[r][c] == 'H' && position.cell[r][c] != 'H')
                            return Format("the human's disc is missing at row %d column %d", r, c);
                if (humanWins)
                    return "the human's four in a row was not announced";
                continue;
            }
            if (box.caption == ComputerGameWinCaption && box.text != ComputerWinText) {
                if (!humanWins)
                    return Format("%s although the human has no four", Describe(box).c_str());
                RETURN_IF_FAILED(ExpectBox(box, name.c_str(), ComputerGameWinCaption));
                played->winningMoves = (gameNumber == 1 ? 0 : 1) + clicks - 1;
                std::printf("won game %d with %d clicks (move count %d)\n", gameNumber, clicks,
                            played->winningMoves);
                *win = box;
                return "";
            }
            if (humanWins)
                return Format("%s after the human's winning disc", Describe(box).c_str());
            if (box.caption == ComputerGameWinCaption) {
                std::printf("lost game %d after %d clicks\n", gameNumber, clicks);
            } else {
                RETURN_IF_FAILED(ExpectBox(box, DrawAnnouncement, DrawAnnouncementCaption));
                std::printf("drew game %d\n", gameNumber);
            }
            RETURN_IF_FAILED(AnswerPlayAgain(session.game, box, IDYES));
            break;
        }
    }
    return Format("the human did not win in %d games", plan.maxGames);
}

Failure AnswerPlayAgain(const Game& game, const Box& ended, int answer) {
    RETURN_IF_FAILED(PressButton(ended, IDOK));
    Box again;
    RETURN_IF_FAILED(WaitForBox(game, BoxTimeout, &again, ended.window));
    RETURN_IF_FAILED(ExpectBox(again, PlayAgainText, PlayAgainCaption));
    return PressButton(again, answer);
}

Failure FinishWin(const Session& session, const Box& win) {
    RETURN_IF_FAILED(AnswerPlayAgain(session.game, win, IDNO));
    return ExpectMenu(session, "No to \"Nochmal\"");
}

}  // namespace e2e
