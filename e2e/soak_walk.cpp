// The soak walk's steps and checks.
#include "e2e/soak_walk.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace e2e::soak {

MenuChoice MenuHit(int x, int y) {
    for (const MenuArea& area : MenuAreas)
        if (x >= area.left && x <= area.right && y >= area.top && y <= area.bottom)
            switch (area.screen) {
                case ScreenTwoPlayers:
                    return TwoPlayers;
                case ScreenEasyComputer:
                    return Easy;
                case ScreenHardComputer:
                    return Hard;
                case ScreenHighscores:
                    return Highscores;
                default:
                    return Credits;
            }
    return Stays;
}

const char* ChoiceName(MenuChoice choice) {
    switch (choice) {
        case TwoPlayers:
            return "two players";
        case Easy:
            return "easy computer";
        case Hard:
            return "hard computer";
        case Highscores:
            return "highscores";
        case Credits:
            return "credits";
        default:
            return "nothing";
    }
}

// ---------------------------------------------------------------- checks

// A click that can open no box: sent, so it returns once the game has
// handled it; a box it opened would keep it from returning.
Failure Walk::SentClick(int x, int y, const char* what) {
    ++clicks_;
    if (!SendClick(session_.window, x, y, HandledTimeout)) {
        std::vector<HWND> boxes = TopWindows(session_.game.Id(), DialogClass, true);
        return Format("the %s click at %d,%d was not handled within %lu ms%s", what, x, y,
                      HandledTimeout,
                      boxes.empty() ? "" : (": " + Describe(ReadBox(boxes[0]))).c_str());
    }
    return "";
}

// Reads the window until the board and the turn picture agree with the
// model: a disc drawn by the game may reach the screen a moment later.
Failure Walk::ExpectBoardAsModelled(const char* after) {
    const int turn = mode_ == TwoPlayers ? (turnCounter_ % 2 == 0 ? 1 : 2) : 1;
    double until = NowMs() + BoxTimeout;
    std::string last;
    while (NowMs() < until) {
        Shot shot;
        RETURN_IF_FAILED(TakeShot(session_.window, &shot));
        Position seen{};
        last = ReadBoard(shot, session_.pictures, &seen);
        if (last.empty()) {
            for (int r = 0; r < Rows && last.empty(); ++r)
                for (int c = 0; c < Columns && last.empty(); ++c)
                    if (seen.cell[r][c] != board_.cell[r][c])
                        last = Format("row %d column %d shows '%c', expected '%c'", r, c,
                                      seen.cell[r][c], board_.cell[r][c]);
            if (last.empty() && TurnShown(shot, session_.pictures) != turn)
                last = Format("turn picture %d, expected %d", TurnShown(shot, session_.pictures),
                              turn);
            if (last.empty())
                return ExpectNoBox(session_.game, after);
        }
        if (!session_.game.Running())
            return "the program ended";
        Sleep(5);
    }
    Shot shot;
    if (TakeShot(session_.window, &shot).empty())
        SaveShot(shot, "soak_board.bmp");
    return Format("after %s: %s", after, last.c_str());
}

// The highscore screen with its ten rows of text, drawn after the picture.
Failure Walk::ExpectHighscoresShown() const {
    double until = NowMs() + BoxTimeout;
    std::string last;
    while (NowMs() < until) {
        Shot shot;
        RETURN_IF_FAILED(TakeShot(session_.window, &shot));
        if (ShareShown(shot, session_.pictures.highscores, session_.pictures.menu, 0, 0, 20) <
            0.8) {
            last = "the highscore picture is not shown";
        } else {
            int first = NewWhitePixels(shot, session_.pictures.highscores, HighscoreNameX - 5,
                                       HighscoreRowY[0], 400, HighscoreRowY[0] + 25);
            int tenth = NewWhitePixels(shot, session_.pictures.highscores, HighscoreNameX - 5,
                                       HighscoreRowY[9], 400, HighscoreRowY[9] + 25);
            if (first >= 10 && tenth >= 10)
                return ExpectNoBox(session_.game, "the highscore choice");
            last = Format("%d and %d white pixels in the first and tenth row", first, tenth);
        }
        if (!session_.game.Running())
            return "the program ended";
        Sleep(10);
    }
    return "highscore screen: " + last;
}

// The file holds exactly the table the walk expects.
Failure Walk::ExpectScoreFile(const char* after) {
    std::string contents;
    if (!ReadWholeFile(HighscorePath(options_), &contents))
        return Format("after %s: src\\Highscore.txt is gone", after);
    std::vector<ScoreLine> lines;
    Failure failure = ParseScoreFile(contents, &lines);
    if (!failure.empty())
        return Format("after %s: src\\Highscore.txt: %s", after, failure.c_str());
    if (lines.size() != 10)
        return Format("after %s: src\\Highscore.txt has %d lines", after,
                      static_cast<int>(lines.size()));
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].moves < lines[i - 1].moves)
            return Format("after %s: rank %d has %d moves, fewer than rank %d", after,
                          static_cast<int>(i) + 1, lines[i].moves, static_cast<int>(i));
    // The first file may end its lines with LF alone; the game writes CR LF.
    bool same = lines.size() == table_.size();
    for (size_t i = 0; same && i < lines.size(); ++i)
        same = lines[i].name == table_[i].name && lines[i].moves == table_[i].moves;
    if (!same || (entries_ > 0 && contents != ScoreText(table_)))
        return Format("after %s: src\\Highscore.txt holds\n%sexpected\n%s", after, contents.c_str(),
                      ScoreText(table_).c_str());
    return "";
}

// The count once the window has settled, the least of a few readings: a
// paint in progress holds a picture and a memory context for a moment.
DWORD Walk::GdiObjects() const {
    Shot settled;
    TakeSettledShot(session_.game, session_.window, &settled);
    DWORD least = CountGdiObjects(session_.game.process.hProcess);
    for (int reading = 0; reading < 4; ++reading) {
        Sleep(20);
        least = std::min(least, CountGdiObjects(session_.game.process.hProcess));
    }
    return least;
}

// ---------------------------------------------------------------- steps

Failure Walk::Step() {
    const double start = NowMs();
    const int clicksBefore = clicks_;
    StepKind kind = MenuSteps;
    Failure failure;
    switch (place_) {
        case AtMenu:
            failure = MenuStep();
            break;
        case AtHighscores:
            kind = HighscoreSteps;
            failure = HighscoreStep();
            break;
        case InGame:
            if (Chance(0.04)) {
                kind = OffBoardSteps;
                failure = OffBoardClick();
            } else if (mode_ == TwoPlayers) {
                kind = TwoPlayerSteps;
                failure = TwoPlayerStep();
            } else {
                kind = ComputerSteps;
                failure = ComputerStep();
            }
            break;
    }
    spentMs_[kind] += NowMs() - start;
    stepClicks_[kind] += clicks_ - clicksBefore;
    return failure;
}

Failure Walk::MenuStep() {
    // Mostly the buttons, sometimes anywhere; never the credits, whose click
    // would end the program.
    const bool computerAllowed = computerClicks_ < ComputerClickBudget;
    for (;;) {
        int x = 0;
        int y = 0;
        const int pick = Uniform(0, 99);
        // The first four menu areas: two players, easy, hard, highscores.
        const int area = pick < 32 ? 0 : pick < 39 ? 1 : pick < 44 ? 2 : pick < 64 ? 3 : -1;
        if (area >= 0) {
            x = Uniform(MenuAreas[area].left, MenuAreas[area].right);
            y = Uniform(MenuAreas[area].top, MenuAreas[area].bottom);
        } else {
            x = Uniform(0, ScreenPictureWidth - 1), y = Uniform(0, ScreenPictureHeight - 1);
        }
        MenuChoice choice = MenuHit(x, y);
        if (choice == Credits)
            continue;
        if ((choice == Easy || choice == Hard) && !computerAllowed)
            continue;
        return MenuClick(x, y);
    }
}

Failure Walk::MenuClick(int x, int y) {
    MenuChoice choice = MenuHit(x, y);
    Note(Format("menu click at %d,%d: %s", x, y, ChoiceName(choice)));
    if (choice == Stays) {
        RETURN_IF_FAILED(SentClick(x, y, "menu"));
        return ExpectMenu(session_, "a menu click outside the buttons");
    }
    if (choice == Highscores) {
        RETURN_IF_FAILED(SentClick(x, y, "menu"));
        ++highscoreVisits_;
        place_ = AtHighscores;
        return ExpectHighscoresShown();
    }
    ++clicks_;
    Click(session_.window, x, y);
    return AnswerNameDialogs(choice);
}

// Answers the name dialogs of a menu choice as they come, in every way a
// player can: a name confirmed with OK or Enter, an empty name (the question
// comes again), "Abbrechen", Escape or the close box (back to the menu).
Failure Walk::AnswerNameDialogs(MenuChoice choice) {
    const char* prompts[2] = {FirstPlayerPrompt, SecondPlayerPrompt};
    if (choice != TwoPlayers)
        prompts[0] = SinglePlayerPrompt;
    const int count = choice == TwoPlayers ? 2 : 1;
    HWND previous = nullptr;
    for (int round = 0; round < 20; ++round) {
        std::string typed[2];
        for (int i = 0; i < count; ++i) {
            Box dialog;
            Failure failure = ExpectNameDialog(session_, prompts[i], &dialog, previous);
            if (!failure.empty())
                return Format("after the menu choice %s: %s", ChoiceName(choice), failure.c_str());
            previous = dialog.window;
            ++dialogs_;
            const int answer = Uniform(0, 99);
            if (answer < 9) {
                // Cancelled: back to the menu.
                const int way = answer % 3;
                Note(Format("%s cancelled (%s)", prompts[i],
                            way == 0   ? "Abbrechen"
                            : way == 1 ? "Escape"
                                       : "close box"));
                if (way == 0) {
                    RETURN_IF_FAILED(PostButton(dialog, IDCANCEL));
                } else if (way == 1) {
                    RETURN_IF_FAILED(PressKey(dialog, VK_ESCAPE, "on the Escape key"));
                } else {
                    PostMessageA(dialog.window, WM_CLOSE, 0, 0);
                    RETURN_IF_FAILED(WaitUntilGone(dialog, "on WM_CLOSE"));
                }
                place_ = AtMenu;
                return ExpectMenu(session_, "a cancelled name dialog");
            }
            typed[i] = answer < 15 ? "" : TypedNames[Uniform(0, 14)];
            Note(Format("%s %s", prompts[i], Quote(typed[i]).c_str()));
            RETURN_IF_FAILED(SetEditText(dialog, NameEditId, typed[i]));
            if (Chance(0.5)) {
                RETURN_IF_FAILED(PostButton(dialog, IDOK));
            } else {
                RETURN_IF_FAILED(PressKey(dialog, VK_RETURN, "on the Enter key"));
            }
        }
        // Against the computer the second name is never empty.
        bool empty = typed[0].empty() || (count == 2 && typed[1].empty());
        if (empty)
            continue;  // the same dialogs again
        name1_ = typed[0].substr(0, 9);
        name2_ = count == 2 ? typed[1].substr(0, 9) : "";
        place_ = InGame;
        mode_ = choice;
        board_ = Position();
        turnCounter_ = 2;
        ++games_;
        if (choice == TwoPlayers) {
            ++gamesOfTwo_;
        } else {
            ++computerGames_;
        }
        RETURN_IF_FAILED(ExpectBoard(session_, "the names"));
        return ExpectBoardAsModelled("the names");
    }
    return "the name dialogs came more than 20 times";
}

Failure Walk::HighscoreStep() {
    int x = Uniform(0, ScreenPictureWidth - 1);
    int y = Uniform(0, ScreenPictureHeight - 1);
    Note(Format("highscore screen click at %d,%d", x, y));
    RETURN_IF_FAILED(SentClick(x, y, "highscore screen"));
    place_ = AtMenu;
    return ExpectMenu(session_, "a click on the highscore screen");
}

// A click on a game screen outside the board's columns does nothing.
Failure Walk::OffBoardClick() {
    int x = Chance(0.5) ? Uniform(0, BoardLeftOutside)
                        : Uniform(BoardRight + 1, ScreenPictureWidth - 1);
    int y = Uniform(0, ScreenPictureHeight - 1);
    Note(Format("game click beside the board at %d,%d", x, y));
    RETURN_IF_FAILED(SentClick(x, y, "off-board"));
    return ExpectBoardAsModelled("a click beside the board");
}

// The end of a game: its box, then "Nochmal" answered Yes (a new game on
// the same screen) or No (the menu); never Cancel, which ends the program.
Failure Walk::GameOver(const char* text, const char* caption) {
    Box box;
    RETURN_IF_FAILED(WaitForBox(session_.game, BoxTimeout, &box));
    if (text != nullptr)
        RETURN_IF_FAILED(ExpectBox(box, text, caption));
    RETURN_IF_FAILED(PostButton(box, IDOK));
    ++boxes_;
    Box again;
    RETURN_IF_FAILED(WaitForBox(session_.game, BoxTimeout, &again, box.window));
    RETURN_IF_FAILED(ExpectBox(again, PlayAgainText, PlayAgainCaption));
    const bool yes = !finishing_ && Chance(0.3);
    Note(Format("%s / %s, Nochmal %s", Quote(box.text).c_str(), Quote(box.caption).c_str(),
                yes ? "Yes" : "No"));
    RETURN_IF_FAILED(PostButton(again, yes ? IDYES : IDNO));
    ++boxes_;
    moveCount_ = 1;       // reset by the answer, raised by the end of the same click
    board_ = Position();  // an empty board
    turnCounter_ = 2;
    if (!yes) {
        place_ = AtMenu;
        return ExpectMenu(session_, "No to \"Nochmal\"");
    }
    ++games_;
    if (mode_ == TwoPlayers) {
        ++gamesOfTwo_;
    } else {
        ++computerGames_;
    }
    Position fresh{};
    RETURN_IF_FAILED(WaitForNewGame(session_, games_, &fresh));
    return ExpectBoardAsModelled("Yes to \"Nochmal\"");
}

Failure Walk::TwoPlayerStep() {
    const int column = Uniform(0, Columns - 1);
    const int x = ColumnX(column);
    const int y = Uniform(0, ScreenPictureHeight - 1);
    const int row = LandingRow(board_, column);
    const bool first = turnCounter_ % 2 == 0;
    Note(Format("player %d clicks column %d at %d,%d%s", first ? 1 : 2, column, x, y,
                row < 0 ? " (full)" : ""));
    ++moveCount_;
    if (row < 0) {
        // A full column: nothing falls and the same player moves again.
        RETURN_IF_FAILED(SentClick(x, y, "full column"));
        return ExpectBoardAsModelled("a click on a full column");
    }
    const char mark = first ? 'H' : 'C';
    board_.cell[row][column] = mark;
    ++turnCounter_;
    if (HasFour(board_, mark)) {
        ++clicks_;
        Click(session_.window, x, y);
        return GameOver(first ? name1_.c_str() : name2_.c_str(),
                        first ? PlayerOneWinCaption : PlayerTwoWinCaption);
    }
    if (BoardFull(board_)) {
        ++clicks_;
        Click(session_.window, x, y);
        return GameOver(DrawAnnouncement, DrawAnnouncementCaption);
    }
    RETURN_IF_FAILED(SentClick(x, y, "board"));
    return ExpectBoardAsModelled("a disc");
}

Failure Walk::ComputerStep() {
    // Mostly a good column, so the human wins now and then and enters the
    // table; sometimes any column, full ones included.
    int column = Uniform(0, Columns - 1);
    if (finishing_ || computerClicks_ >= ComputerClickBudget || Chance(0.7)) {
        int good = ChooseColumn(board_, Level::Easy);
        if (good >= 0)
            column = good;
    }
    const int x = ColumnX(column);
    const int y = Uniform(0, ScreenPictureHeight - 1);
    const int row = LandingRow(board_, column);
    Note(Format("human clicks column %d at %d,%d against the %s%s", column, x, y, ChoiceName(mode_),
                row < 0 ? " (full)" : ""));
    const int movesBefore = moveCount_++;
    if (row < 0) {
        // A full column: nothing falls and the computer does not answer.
        RETURN_IF_FAILED(SentClick(x, y, "full column"));
        return ExpectBoardAsModelled("a click on a full column");
    }
    board_.cell[row][column] = 'H';
    ++clicks_;
    if (HasFour(board_, 'H')) {
        // The table is written before the win box shows.
        Click(session_.window, x, y);
        Box box;
        RETURN_IF_FAILED(WaitForBox(session_.game, BoxTimeout, &box));
        RETURN_IF_FAILED(ExpectBox(box, name1_.c_str(), ComputerGameWinCaption));
        table_ = WithEntry(table_, {Stored(name1_), movesBefore});
        ++entries_;
        RETURN_IF_FAILED(ExpectScoreFile("a win against the computer"));
        return GameOver(nullptr, nullptr);
    }
    ++computerClicks_;
    const int humanBefore = CountDiscs(board_, 'H') - 1;
    const int computerBefore = CountDiscs(board_, 'C');
    Click(session_.window, x, y);
    Box box;
    bool boxShown = false;
    Position seen{};
    RETURN_IF_FAILED(AwaitAnswer(session_, humanBefore, computerBefore, &box, &boxShown, &seen));
    if (boxShown) {
        // The computer's disc won or filled the board; the box covers part
        // of the board, so the cells are not read.
        if (!(box.text == ComputerWinText && box.caption == ComputerGameWinCaption))
            RETURN_IF_FAILED(ExpectBox(box, DrawAnnouncement, DrawAnnouncementCaption));
        return GameOver(nullptr, nullptr);
    }
    // The human's disc where it fell and one red disc more, on a cell a disc
    // can fall to.
    int added = 0;
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c) {
            if (seen.cell[r][c] == board_.cell[r][c])
                continue;
            if (board_.cell[r][c] != ' ' || seen.cell[r][c] != 'C' || LandingRow(board_, c) != r)
                return Format(
                    "after the computer's answer row %d column %d shows '%c' where "
                    "'%c' was",
                    r, c, seen.cell[r][c], board_.cell[r][c]);
            board_.cell[r][c] = 'C';
            ++added;
        }
    if (added != 1)
        return Format("the computer answered with %d discs", added);
    return ExpectBoardAsModelled("the computer's answer");
}

// Ends the walk on the menu: a game is played to its end and left with No.
Failure Walk::LeaveToMenu() {
    finishing_ = true;
    for (int step = 0; step < 200 && place_ != AtMenu; ++step) {
        if (place_ == AtHighscores) {
            RETURN_IF_FAILED(HighscoreStep());
        } else {
            RETURN_IF_FAILED(mode_ == TwoPlayers ? TwoPlayerStep() : ComputerStep());
        }
    }
    return place_ == AtMenu ? "" : "the walk did not get back to the menu";
}

}  // namespace e2e::soak
