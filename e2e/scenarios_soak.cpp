// A long run of the game: a seeded random walk of the mouse over the menu,
// the name dialogs, the highscore screen and games of every kind, answering
// every box and dialog that comes and never ending the program. Afterwards the
// program must still answer, its GDI objects and private memory must not have
// grown beyond a small bound over a warmed-up baseline, and the highscore file
// must still hold ten well-formed lines in rank order.
//
// The walk keeps its own model of what the program shows (the screen, the
// board, whose turn it is, the move count and the highscore table) and after
// every click waits for what the program does then: a click that can open no
// box is sent and handled to its end, a click that opens a dialog or box
// waits for it, and after each the window is read until it agrees with the
// model. The seed is printed; E2E_SOAK_SEED=<seed> replays a walk and
// E2E_SOAK_CLICKS=<n> sets its length. The computer seeds its choices from
// the clock, so a replay follows the same path up to the end of the first
// game against the computer that turns out differently.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <random>

#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {
namespace {

constexpr int DefaultClicks = 3000;
constexpr int ComputerClickBudget = 30;  // each answer of the computer takes a second
constexpr DWORD HandledTimeout = 10000;  // a click that opens no box is handled within this
constexpr DWORD GdiBound = 10;           // objects more than the baseline that still pass
constexpr double MemoryBoundBytes = 2.0 * 1024 * 1024;

// Where a click on the menu leads, by the menu's hit areas in their order.
enum MenuChoice { Stays, TwoPlayers, Easy, Hard, Highscores, Credits };

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

// Names as typed: short, long (cut to 9), with blanks, blanks only.
const char* const TypedNames[] = {"Anna", "Ben",          "Maximilian12", "Tom Test", " ",
                                  "a",    "Lena-Marie",   "123456789",    "X Y Z",    "Ute",
                                  "Ole",  "Kunigunde99x", "Bo",           "  Mia",    "Eva"};

class Walk {
public:
    // NOLINTNEXTLINE(cert-msc51-cpp): random_ is seeded in Run, which prints the seed
    explicit Walk(const Options& options) : options_(options), session_(options) {}

    Failure Run();

private:
    // ------------------------------------------------ steps
    Failure Step();
    Failure MenuStep();
    Failure MenuClick(int x, int y);
    Failure AnswerNameDialogs(MenuChoice choice);
    Failure HighscoreStep();
    Failure TwoPlayerStep();
    Failure ComputerStep();
    Failure OffBoardClick();
    Failure GameOver(const char* text, const char* caption);
    Failure LeaveToMenu();

    // ------------------------------------------------ checks
    Failure SentClick(int x, int y, const char* what);
    Failure ExpectBoardAsModelled(const char* after);
    Failure ExpectHighscoresShown();
    Failure ExpectScoreFile(const char* after);
    DWORD GdiObjects();
    Failure Warmup();

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    void Note(const std::string& step) {
        recent_.push_back(Format("%d: %s", clicks_, step.c_str()));
        if (recent_.size() > 12)
            recent_.pop_front();
    }
    int ColumnX(int column) { return BandFirstX + BandWidth * column + Uniform(0, BandWidth - 1); }
    static std::string Stored(const std::string& typed) {
        std::string stored = typed.substr(0, 9);
        for (char& c : stored)
            if (c == ' ')
                c = '_';
        return stored.empty() ? "_" : stored;
    }

    const Options& options_;
    Session session_;
    std::mt19937 random_;     // seeded in Run, which prints the seed for a replay
    bool finishing_ = false;  // the walk is over: games end with "No"

    // What the program shows, as the walk expects it.
    enum Place { AtMenu, AtHighscores, InGame } place_ = AtMenu;
    MenuChoice mode_ = TwoPlayers;
    Position board_ = {};
    int turnCounter_ = 2;  // even: player 1 (yellow) to move in a game of two
    int moveCount_ = 0;    // board clicks handled since the last reset
    std::string name1_, name2_;
    std::vector<ScoreLine> table_;

    // Figures.
    int clicks_ = 0;
    int games_ = 0;
    int gamesOfTwo_ = 0;
    int computerGames_ = 0;
    int computerClicks_ = 0;
    int boxes_ = 0;    // message boxes answered
    int dialogs_ = 0;  // name dialogs answered
    int highscoreVisits_ = 0;
    int entries_ = 0;  // wins against the computer entered in the table
    std::deque<std::string> recent_;
    // Time spent per kind of step, with the clicks they made (box answers
    // and the screens they lead to included).
    enum StepKind { MenuSteps, HighscoreSteps, TwoPlayerSteps, ComputerSteps, OffBoardSteps };
    double spentMs_[5] = {};
    int stepClicks_[5] = {};

public:
    void PrintTimes() const {
        const char* names[5] = {"menu", "highscore screen", "two-player board", "computer board",
                                "beside the board"};
        for (int kind = 0; kind < 5; ++kind)
            if (stepClicks_[kind] > 0)
                std::printf("soak: %s clicks: %d, %.1f ms each with what follows them\n",
                            names[kind], stepClicks_[kind], spentMs_[kind] / stepClicks_[kind]);
    }
};

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
Failure Walk::ExpectHighscoresShown() {
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
DWORD Walk::GdiObjects() {
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
        std::memset(board_.cell, ' ', sizeof board_.cell);
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
    moveCount_ = 1;  // reset by the answer, raised by the end of the same click
    std::memset(board_.cell, ' ', sizeof board_.cell);
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

// What Wine makes once, for its first boxes and dialogs, is made before the
// baseline: the highscore screen, each name dialog, a game of two won by each
// player, Yes and No.
Failure Walk::Warmup() {
    RETURN_IF_FAILED(MenuClick(HighscoresButton.x, HighscoresButton.y));
    RETURN_IF_FAILED(HighscoreStep());
    const MenuChoice kinds[] = {TwoPlayers, Easy, Hard};
    for (MenuChoice kind : kinds) {
        const Point at = kind == TwoPlayers ? TwoPlayersButton
                         : kind == Easy     ? EasyButton
                                            : HardButton;
        ++clicks_;
        Click(session_.window, at.x, at.y);
        RETURN_IF_FAILED(AnswerName(
            session_, kind == TwoPlayers ? FirstPlayerPrompt : SinglePlayerPrompt, nullptr));
        ++dialogs_;
        RETURN_IF_FAILED(ExpectMenu(session_, "a cancelled name dialog"));
    }
    for (int winner = 1; winner <= 2; ++winner) {
        ++clicks_;
        Click(session_.window, TwoPlayersButton.x, TwoPlayersButton.y);
        RETURN_IF_FAILED(AnswerName(session_, FirstPlayerPrompt, "Anna"));
        RETURN_IF_FAILED(AnswerName(session_, SecondPlayerPrompt, "Ben"));
        dialogs_ += 2;
        name1_ = "Anna", name2_ = "Ben";
        place_ = InGame, mode_ = TwoPlayers;
        std::memset(board_.cell, ' ', sizeof board_.cell);
        turnCounter_ = 2;
        ++games_, ++gamesOfTwo_;
        RETURN_IF_FAILED(ExpectBoard(session_, "the names"));
        // Player 1 stacks column 0, player 2 column 1; with a first disc in
        // column 6, player 2 completes column 1 first.
        std::vector<int> columns = {0, 1, 0, 1, 0, 1, 0};
        if (winner == 2)
            columns = {6, 1, 0, 1, 0, 1, 0, 1};
        finishing_ = winner == 2;
        for (int column : columns) {
            const int row = LandingRow(board_, column);
            const bool first = turnCounter_ % 2 == 0;
            const char mark = first ? 'H' : 'C';
            board_.cell[row][column] = mark;
            ++turnCounter_;
            ++moveCount_;
            if (HasFour(board_, mark)) {
                ++clicks_;
                Click(session_.window, DiscX(column), 300);
                RETURN_IF_FAILED(GameOver(first ? "Anna" : "Ben",
                                          first ? PlayerOneWinCaption : PlayerTwoWinCaption));
                break;
            }
            RETURN_IF_FAILED(SentClick(DiscX(column), 300, "board"));
            RETURN_IF_FAILED(ExpectBoardAsModelled("a disc"));
        }
        if (place_ == InGame)
            RETURN_IF_FAILED(LeaveToMenu());
        finishing_ = false;
    }
    return place_ == AtMenu ? "" : "the warm-up did not end on the menu";
}

Failure Walk::Run() {
    char text[32] = "";
    std::uint32_t seed = 0;
    if (GetEnvironmentVariableA("E2E_SOAK_SEED", text, sizeof text) > 0) {
        seed = static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
    } else {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        seed =
            static_cast<std::uint32_t>(now.QuadPart ^ (now.QuadPart >> 32) ^ GetCurrentProcessId());
    }
    int target = DefaultClicks;
    if (GetEnvironmentVariableA("E2E_SOAK_CLICKS", text, sizeof text) > 0)
        target = static_cast<int>(std::max(1L, std::strtol(text, nullptr, 10)));
    std::printf("soak seed %u (replay with E2E_SOAK_SEED=%u), %d clicks\n", seed, seed, target);
    (void)std::fflush(stdout);  // progress for a person watching
    random_.seed(seed);

    std::string original;
    if (!ReadWholeFile(HighscorePath(options_), &original))
        return "the working folder has no src\\Highscore.txt";
    RETURN_IF_FAILED(ParseScoreFile(original, &table_));
    if (table_.size() != 10)
        return Format("the original table has %d lines", static_cast<int>(table_.size()));
    RETURN_IF_FAILED(LoadPictures(&session_));
    RETURN_IF_FAILED(StartAtMenu(&session_));
    ++clicks_;  // the intro click

    const double started = NowMs();
    RETURN_IF_FAILED(Warmup());
    const DWORD gdiBefore = GdiObjects();
    const Memory memoryBefore = ReadMemory(session_.game.process.hProcess);
    const int warmupClicks = clicks_;
    std::printf(
        "after the warm-up of %d clicks: %lu GDI objects, private %.2f MiB, working "
        "set %.2f MiB\n",
        warmupClicks, gdiBefore, Mib(memoryBefore.privateBytes), Mib(memoryBefore.workingSet));
    (void)std::fflush(stdout);  // progress for a person watching

    int nextReport = 500;
    while (clicks_ < target) {
        Failure failure = Step();
        if (failure.empty() && clicks_ >= nextReport && place_ == AtMenu) {
            Memory memory = ReadMemory(session_.game.process.hProcess);
            std::printf("click %d: %d games, %lu GDI objects, private %.2f MiB, %.0f s\n", clicks_,
                        games_, CountGdiObjects(session_.game.process.hProcess),
                        Mib(memory.privateBytes), (NowMs() - started) / 1000);
            (void)std::fflush(stdout);  // progress for a person watching
            nextReport += 500;
        }
        if (!failure.empty()) {
            Shot shot;
            if (TakeShot(session_.window, &shot).empty())
                SaveShot(shot, "soak_failure.bmp");
            std::string steps;
            for (const std::string& step : recent_)
                steps += "\n    " + step;
            return Format("click %d of the walk with seed %u: %s; the last steps:%s", clicks_, seed,
                          failure.c_str(), steps.c_str());
        }
    }
    RETURN_IF_FAILED(LeaveToMenu());
    const double walkSeconds = (NowMs() - started) / 1000;

    // Alive and answering, drawing what it should.
    if (!session_.game.Running())
        return "the program ended during the walk";
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(session_.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) == 0)
        return "the program does not answer after the walk";
    const DWORD gdiAfter = GdiObjects();
    const Memory memoryAfter = ReadMemory(session_.game.process.hProcess);
    RETURN_IF_FAILED(ExpectMenu(session_, "the walk"));
    RETURN_IF_FAILED(ExpectScoreFile("the walk"));

    std::printf(
        "soak: %d clicks (%d in the warm-up) in %.1f s, %d games (%d of two players, "
        "%d against the computer with %d answers), %d message boxes and %d name "
        "dialogs answered, %d highscore visits, %d table entries\n",
        clicks_, warmupClicks, walkSeconds, games_, gamesOfTwo_, computerGames_, computerClicks_,
        boxes_, dialogs_, highscoreVisits_, entries_);
    std::printf("soak: GDI objects %lu before, %lu after (bound +%lu)\n", gdiBefore, gdiAfter,
                GdiBound);
    std::printf(
        "soak: private memory %.2f MiB before, %.2f MiB after (bound +%.1f MiB); "
        "working set %.2f MiB before, %.2f MiB after\n",
        Mib(memoryBefore.privateBytes), Mib(memoryAfter.privateBytes), Mib(MemoryBoundBytes),
        Mib(memoryBefore.workingSet), Mib(memoryAfter.workingSet));
    (void)std::fflush(stdout);  // progress for a person watching

    PrintTimes();
    (void)std::fflush(stdout);  // progress for a person watching
    if (gdiBefore == 0) {
        std::printf("soak: no count of GDI objects here\n");
    } else if (gdiAfter > gdiBefore + GdiBound) {
        return Format("GDI objects grew from %lu to %lu over %d clicks", gdiBefore, gdiAfter,
                      clicks_);
    }
    if (memoryBefore.privateBytes <= 0)
        return "no private memory figure for the program";
    if (memoryAfter.privateBytes > memoryBefore.privateBytes + MemoryBoundBytes)
        return Format("private memory grew from %.2f MiB to %.2f MiB over %d clicks",
                      Mib(memoryBefore.privateBytes), Mib(memoryAfter.privateBytes), clicks_);
    return CloseAndExpectExit(session_);
}

}  // namespace

Failure SoakScenario(const Options& options) {
    Walk walk(options);
    return walk.Run();
}
E2E_LONG_SCENARIO(950, "soak", SoakScenario, "", 360);

}  // namespace e2e
