// Scenarios of the game of two players at one mouse: a win of each player in
// each direction, a full board, a full column, clicks beside the board, every
// answer to "Nochmal", and the close box on every screen.
#include <algorithm>

#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {
namespace {

constexpr const char* FirstName = "Karl Otto";  // nine characters, a blank inside
constexpr const char* SecondName = "Ben";

// Games as the columns played, player 1 first. The first 40 discs of the two
// full boards are the same; the draw ends "30", the last-disc win "03".
constexpr const char* DrawGame = "416210144241363310466123232265505465550030";
constexpr const char* LastDiscWinGame = "416210144241363310466123232265505465550003";

// The board as ReadBoard letters: player 1's yellow discs 'H', player 2's red 'C'.
struct Model {
    Position position{};
    int moves = 0;  // discs dropped; its parity says who is to move
    Shot names;     // the window as it first showed the players' names
    Model() { Clear(); }
    void Clear() {
        std::memset(position.cell, ' ', sizeof position.cell);
        moves = 0;
    }
    [[nodiscard]] char ToMove() const { return moves % 2 == 0 ? 'H' : 'C'; }
    [[nodiscard]] int Player() const { return moves % 2 == 0 ? 1 : 2; }
};

COLORREF CoreOf(char who) { return who == 'H' ? YellowCore : RedCore; }
COLORREF RingOf(char who) { return who == 'H' ? YellowRing : RedRing; }
const char* PlayerText(char who) { return who == 'H' ? "player 1" : "player 2"; }

// The line of four of one side in the model: its cells and its direction
// (row step, column step), the first one found.
struct Line {
    int row[4]{};
    int column[4]{};
    int dr = 0, dc = 0;
};

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

// The ids of a box's visible buttons, in increasing order.
struct ButtonSearch {
    std::vector<int> ids;
};

BOOL CALLBACK CollectButton(HWND child, LPARAM data) {
    if (ClassOf(child) == "Button" && IsWindowVisible(child) != 0)
        reinterpret_cast<ButtonSearch*>(data)->ids.push_back(GetDlgCtrlID(child));
    return TRUE;
}

std::string IdsText(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids)
        text += (text.empty() ? "" : ",") + std::to_string(id);
    return "{" + text + "}";
}

BOOL CALLBACK FindIconChild(HWND child, LPARAM data) {
    if (ClassOf(child) == "Static" && IsWindowVisible(child) != 0 &&
        (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
    }
    return TRUE;
}

// A system icon drawn as a box draws it, over a plain background.
Failure DrawSystemIcon(LPCSTR name, int width, int height, COLORREF background, Shot* drawn) {
    drawn->width = width;
    drawn->height = height;
    drawn->stride = (width * 3 + 3) & ~3;
    drawn->pixels.assign(static_cast<size_t>(drawn->stride) * height, 0);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Failure failure;
    if (picture == nullptr) {
        failure = "cannot make a picture for an icon";
    } else {
        HGDIOBJ previous = SelectObject(memory, picture);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        if (DrawIcon(memory, 0, 0, LoadIconA(nullptr, name)) == 0)
            failure = "cannot draw a system icon";
        SelectObject(memory, previous);
        if (GetDIBits(memory, picture, 0, height, drawn->pixels.data(), &info, DIB_RGB_COLORS) !=
            height)
            failure = "cannot read the pixels of an icon";
        DeleteObject(picture);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return failure;
}

// The share of the points that are not background in either picture where
// both agree.
double IconAgreement(const Shot& shown, const Shot& drawn) {
    const COLORREF background = shown.At(0, 0);
    int considered = 0;
    int same = 0;
    for (int y = 0; y < shown.height && y < drawn.height; ++y)
        for (int x = 0; x < shown.width && x < drawn.width; ++x) {
            if (shown.At(x, y) == background && drawn.At(x, y) == background)
                continue;
            ++considered;
            same += static_cast<int>(shown.At(x, y) == drawn.At(x, y));
        }
    return considered == 0 ? 0 : static_cast<double>(same) / considered;
}

// The part of a shot of a box that its icon child covers. A child of
// another program's window is read through its box: on its own it reads
// black.
bool CropIcon(const Shot& whole, HWND box, HWND child, Shot* icon) {
    RECT area;
    if (GetClientRect(child, &area) == 0)
        return false;
    MapWindowPoints(child, box, reinterpret_cast<POINT*>(&area), 2);
    if (area.left < 0 || area.top < 0 || area.right > whole.width || area.bottom > whole.height ||
        area.right <= area.left || area.bottom <= area.top)
        return false;
    icon->width = area.right - area.left;
    icon->height = area.bottom - area.top;
    icon->stride = (icon->width * 3 + 3) & ~3;
    icon->pixels.assign(static_cast<size_t>(icon->stride) * icon->height, 0);
    for (int y = 0; y < icon->height; ++y)
        for (int x = 0; x < icon->width; ++x) {
            COLORREF colour = whole.At(area.left + x, area.top + y);
            unsigned char* p = &icon->pixels[(icon->height - 1 - y) * icon->stride + x * 3];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    return true;
}

struct Icon {
    LPCSTR name;
    const char* text;
};
const Icon InformationIcon = {IDI_INFORMATION, "information"};
const Icon QuestionIcon = {IDI_QUESTION, "question"};

// Waits until the box shows the system icon it should, and none of the
// other icons a box can have fits it better.
Failure ExpectBoxIcon(const Box& box, const Icon& expected) {
    const Icon icons[] = {
        InformationIcon, QuestionIcon, {IDI_WARNING, "warning"}, {IDI_ERROR, "error"}};
    double until = NowMs() + BoxTimeout;
    std::string seen = "no icon";
    while (NowMs() < until) {
        HWND child = nullptr;
        EnumChildWindows(box.window, FindIconChild, reinterpret_cast<LPARAM>(&child));
        Shot whole;
        Shot shown;
        if (child != nullptr && TakeShot(box.window, &whole).empty() &&
            CropIcon(whole, box.window, child, &shown)) {
            const Icon* best = nullptr;
            double bestShare = 0;
            for (const Icon& icon : icons) {
                Shot drawn;
                RETURN_IF_FAILED(
                    DrawSystemIcon(icon.name, shown.width, shown.height, shown.At(0, 0), &drawn));
                double share = IconAgreement(shown, drawn);
                if (best == nullptr || share > bestShare) {
                    best = &icon;
                    bestShare = share;
                }
            }
            if (best->name == expected.name && bestShare >= 0.9)
                return "";
            seen =
                Format("at best the %s icon (%.0f%% of its points)", best->text, bestShare * 100);
        }
        Sleep(30);
    }
    return Format("%s does not show the %s icon: %s", Describe(box).c_str(), expected.text,
                  seen.c_str());
}

// A box of the game: its text and caption, owned by the main window, with
// exactly these buttons, and the icon of a message or of a question.
Failure ExpectGameBox(const Box& box, HWND window, const char* text, const char* caption,
                      std::vector<int> buttons) {
    RETURN_IF_FAILED(ExpectBox(box, text, caption));
    if (box.owner != window)
        return Describe(box) + " is not owned by the main window";
    ButtonSearch search;
    double until = NowMs() + BoxTimeout;
    std::sort(buttons.begin(), buttons.end());
    while (NowMs() < until) {
        search.ids.clear();
        EnumChildWindows(box.window, CollectButton, reinterpret_cast<LPARAM>(&search));
        std::sort(search.ids.begin(), search.ids.end());
        if (search.ids == buttons)
            return ExpectBoxIcon(box, buttons.size() == 1 ? InformationIcon : QuestionIcon);
        Sleep(20);
    }
    return Format("%s has the buttons %s, expected %s", Describe(box).c_str(),
                  IdsText(search.ids).c_str(), IdsText(buttons).c_str());
}

// Waits until the window shows exactly the discs of the model.
Failure ExpectDiscs(const Session& session, const Model& model, const char* what) {
    return WaitForPosition(session, model.position, what);
}

Failure ExpectTurnPicture(HWND window, const Pictures& pictures, int player, const char* what) {
    Failure failure = WaitForPicture(
        window, player == 1 ? pictures.turn1 : pictures.turn2, TurnPictureX, TurnPictureY, Exact,
        player == 1 ? "player 1's turn picture" : "player 2's turn picture");
    return failure.empty() ? "" : Format("%s: %s", what, failure.c_str());
}

// Both names in white beside the board. The first time, the window is kept
// in *names; later the bands of the names must show as they did then.
Failure ExpectNames(const Session& session, const char* what, Shot* names) {
    Shot shot;
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &shot));
    int first = NewWhitePixels(shot, session.pictures.board, Name1X - 10, Name1Y - 5,
                               ScreenPictureWidth, Name1Y + 35);
    int second = NewWhitePixels(shot, session.pictures.board, Name2X - 10, Name2Y - 5,
                                ScreenPictureWidth, Name2Y + 35);
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

// One disc of the side to move, into a column with room: the click is
// handled to its end, then the disc's rings and the other side's turn
// picture must show, and no box.
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

// Plays a game to its last disc; every disc but the last is checked as it
// falls, the last one only for its core once the box that follows it has
// been moved off the board: that box is open when this returns, in *box.
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

struct Win {
    const char* columns;
    const char* direction;
    int dr, dc;  // the direction of the four, as FindFour gives it
};

// The four ways to win, for each player; each winning disc is the first four.
const Win FirstPlayerWins[] = {
    {"522334465", "horizontal, in row 4", 0, 1},
    {"6565656", "vertical, in column 6", -1, 0},
    {"01123223363", "rising diagonal", -1, 1},
    {"65543443303", "falling diagonal", -1, -1},
};
const Win SecondPlayerWins[] = {
    {"60011223", "horizontal, in row 5", 0, 1},
    {"01212121", "vertical, in column 1", -1, 0},
    {"601123223363", "rising diagonal", -1, 1},
    {"065543443303", "falling diagonal", -1, -1},
};

// A won game's box: the winner's name and caption, OK alone; the board
// shows the model with the winner's four; the model's only four is that.
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

// OK on a win or draw box, then the question "Nochmal" with Yes, No and
// Cancel, moved off the board.
Failure AwaitQuestion(const Session& session, const Box& box, Box* question) {
    RETURN_IF_FAILED(PostButton(box, IDOK));
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, question, box.window));
    RETURN_IF_FAILED(ExpectGameBox(*question, session.window, PlayAgainText, PlayAgainCaption,
                                   {IDYES, IDNO, IDCANCEL}));
    RETURN_IF_FAILED(MoveBoxAside(*question, BelowTheNames));
    return "";
}

// Yes: the same game screen with an empty board, both names as before,
// player 1's turn picture; the model is cleared, so the next disc played
// must be player 1's yellow one.
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

// Starts the game and chooses two players with both names; the board is
// empty and player 1 is to move.
Failure StartNamedGame(Session* session, Model* model) {
    RETURN_IF_FAILED(LoadPictures(session));
    RETURN_IF_FAILED(StartAtMenu(session));
    RETURN_IF_FAILED(StartTwoPlayers(*session, FirstName, SecondName));
    RETURN_IF_FAILED(ExpectBoard(*session, "both names"));
    Position empty;
    RETURN_IF_FAILED(WaitForNewGame(*session, 1, &empty));
    return ExpectNames(*session, "both names", &model->names);
}

// No to "Nochmal": the menu shows, no box follows, and the close box then
// ends the program.
Failure AnswerNoThenClose(Session& session, const Box& question, const char* what) {
    RETURN_IF_FAILED(PostButton(question, IDNO));
    RETURN_IF_FAILED(ExpectMenu(session, what));
    Sleep(SettleMs);
    RETURN_IF_FAILED(ExpectNoBox(session.game, what));
    return CloseAndExpectExit(session);
}

// After the game has been told to end: the next message ends it, with
// status 0, leaving no window. The mouse moving over the window is such a
// message, if none came by itself.
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

// ---------------------------------------------------------------- scenarios

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
        Position seen{};
        // The program may end while the shot is taken, so it is asked again.
        // cppcheck-suppress knownConditionTrueFalse
        if (session.game.Running() && TakeShot(session.window, &shot).empty() &&
            session.game.Running() && ReadBoard(shot, session.pictures, &seen).empty() &&
            std::memcmp(seen.cell, model.position.cell, sizeof seen.cell) != 0)
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

}  // namespace
}  // namespace e2e
