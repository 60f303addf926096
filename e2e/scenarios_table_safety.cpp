// Scenarios of the highscore table under pressure: two programs in one folder
// winning at the same moment, a table another program holds open, a table
// that cannot be written and a lock that cannot be had. Whatever happens, the
// win box comes, the table is whole and no temporary or lock file is left.
#include <algorithm>
#include <cstring>

#include "e2e/driver.h"
#include "e2e/games.h"
#include "e2e/scenarios.h"

namespace e2e {
namespace {

// Ten entries with more moves than a quick win over the easy computer needs,
// so every new entry lands in the table; LF line ends, as the data file has
// them.
const char* const RoomyTable =
    "Ada 40\nBen 41\nCleo 42\nDirk 43\nEmma 44\nFinn 45\nGret 46\nHugo 47\nIda 48\nJan 49\n";

// The files beside the table that only a write in progress may leave:
// "Highscore.txt.<anything>", the lock and the temporary files.
std::vector<std::string> FilesBesideTable(const Options& options) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((HighscorePath(options) + ".*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        // The pattern's ".*" matches the table's own name too.
        if (std::strcmp(found.cFileName, "Highscore.txt") != 0)
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found) != 0);
    FindClose(search);
    return names;
}

Failure ExpectNothingBesideTable(const Options& options, const char* after) {
    std::vector<std::string> left = FilesBesideTable(options);
    if (left.empty())
        return "";
    std::string list;
    for (const std::string& name : left)
        list += " " + name;
    return Format("left in src\\ %s:%s", after, list.c_str());
}

// Where the winning click goes: the column's disc centre, halfway down.
constexpr int ClickY = ScreenPictureHeight / 2;

// Starts a game against the easy computer for a player of that name; the
// main window is found by the process, as a second game in the same folder
// has a window of the same class and title.
Failure StartEasyGame(Session* session, const std::string& name) {
    RETURN_IF_FAILED(LoadPictures(session));
    RETURN_IF_FAILED(StartAtMenu(session));
    return ChooseComputerGame(*session, name, Level::Easy);
}

// Puts a game's window above the other one, so the board can be read.
Failure Raise(HWND window) {
    if (SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE) == 0)
        return "cannot raise the window";
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return "";
}

// Where a game against the easy computer stands when the human's next disc
// wins: the column to click and the move count the win will be entered with.
struct Brink {
    int games = 0;
    int column = -1;
    int moves = 0;
};

// Plays against the easy computer from a new game until the human can win
// with the next click, and stops before that click. A lost or drawn game is
// answered with "Nochmal" Yes and the next one played.
Failure PlayToTheBrink(const Session& session, int firstGame, Brink* brink) {
    Plan plan;
    plan.firstGame = firstGame;
    plan.stopBeforeWin = true;
    Played played;
    Box noWin;
    RETURN_IF_FAILED(BeatComputer(session, plan, "", &played, &noWin));
    *brink = {played.games, played.winningColumn, played.winningMoves};
    return "";
}

// The win box answered OK and "Nochmal" with Cancel, which ends the game at
// its next message; the window is closed and the exit status must be 0.
Failure EndAfterWin(Session& session, const Box& win) {
    RETURN_IF_FAILED(AnswerPlayAgain(session.game, win, IDCANCEL));
    return CloseAndExpectExit(session);
}

// What the table file held and when, as seen from outside while the games
// enter their wins: when each file beside the table was first and last seen.
struct Sighting {
    std::string name;
    double firstMs = -1;
    double lastMs = -1;
};

void Sight(std::vector<Sighting>* sightings, const std::string& name, double atMs) {
    for (Sighting& s : *sightings) {
        if (s.name == name) {
            s.lastMs = atMs;
            return;
        }
    }
    sightings->push_back({name, atMs, atMs});
}

// The tables the rounds' wins can give: each round's two entries are
// entered in either order.
std::vector<std::string> PossibleTables(const std::vector<ScoreLine>& before,
                                        const std::vector<ScoreLine>& entries) {
    std::vector<std::vector<ScoreLine>> tables = {before};
    for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
        std::vector<std::vector<ScoreLine>> next;
        for (const auto& table : tables) {
            next.push_back(WithEntry(WithEntry(table, entries[i]), entries[i + 1]));
            next.push_back(WithEntry(WithEntry(table, entries[i + 1]), entries[i]));
        }
        tables = next;
    }
    std::vector<std::string> texts;
    texts.reserve(tables.size());
    for (const auto& table : tables)
        texts.push_back(ScoreText(table));
    return texts;
}

// Posts both winning clicks as close together as they can be, then watches
// the files beside the table until both win boxes show, and prints what it saw.
Failure RaceTheWins(const Options& options, Session* const (&sessions)[2], const Brink (&brinks)[2],
                    Box (&wins)[2]) {
    const double clickedMs = NowMs();
    for (int i = 0; i < 2; ++i)
        PostMessageA(sessions[i]->window, WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(DiscX(brinks[i].column), ClickY));
    const double apartMs = NowMs() - clickedMs;
    for (int i = 0; i < 2; ++i)
        PostMessageA(sessions[i]->window, WM_LBUTTONUP, 0,
                     MAKELPARAM(DiscX(brinks[i].column), ClickY));
    std::printf("winning clicks posted %.3f ms apart\n", apartMs);

    std::vector<Sighting> sightings;
    double boxMs[2] = {-1, -1};
    double lookedForBoxesMs = -1000;
    int looks = 0;
    while (boxMs[0] < 0 || boxMs[1] < 0) {
        double now = NowMs() - clickedMs;
        ++looks;
        if (now > BoxTimeout)
            return "the two win boxes did not both appear";
        for (const std::string& name : FilesBesideTable(options))
            Sight(&sightings, name, now);
        if (now - lookedForBoxesMs < 5)
            continue;  // the files change within milliseconds, the boxes come later
        lookedForBoxesMs = now;
        for (int i = 0; i < 2; ++i) {
            if (boxMs[i] < 0 && !TopWindows(sessions[i]->game.Id(), DialogClass, true).empty())
                boxMs[i] = now;
            if (!sessions[i]->game.Running())
                return Format("program %d ended after its winning click", i + 1);
        }
    }
    std::printf(
        "win boxes %.0f ms and %.0f ms after the first click; the folder looked at "
        "every %.2f ms\n",
        boxMs[0], boxMs[1], NowMs() - clickedMs > 0 ? (NowMs() - clickedMs) / looks : 0.0);
    for (const Sighting& s : sightings)
        std::printf("  %s seen from %.1f ms to %.1f ms\n", s.name.c_str(), s.firstMs, s.lastMs);
    for (int i = 0; i < 2; ++i)
        RETURN_IF_FAILED(WaitForBox(sessions[i]->game, BoxTimeout, &wins[i]));
    return "";
}

// Two programs in one folder, both beating the easy computer, their winning
// clicks posted one right after the other, three times over: all six wins are
// in the table, which is ten well-formed lines, and nothing is left beside it.
Failure TwoProgramsOneTableScenario(const Options& options) {
    constexpr int Rounds = 3;
    RETURN_IF_FAILED(WriteWholeFile(HighscorePath(options), RoomyTable));
    std::vector<ScoreLine> before;
    RETURN_IF_FAILED(ParseScoreFile(RoomyTable, &before));
    const std::string names[2] = {"Erste", "Zweite"};
    Session first(options);
    Session second(options);
    Session* const sessions[2] = {&first, &second};
    Brink brinks[2];
    for (int i = 0; i < 2; ++i)
        RETURN_IF_FAILED(StartEasyGame(sessions[i], names[i]));
    std::vector<ScoreLine> entries;
    for (int round = 1; round <= Rounds; ++round) {
        std::printf("round %d\n", round);
        for (int i = 0; i < 2; ++i) {
            RETURN_IF_FAILED(Raise(sessions[i]->window));
            RETURN_IF_FAILED(PlayToTheBrink(*sessions[i], brinks[i].games + 1, &brinks[i]));
            std::printf("program %d (process %lu): a win in column %d with move count %d\n", i + 1,
                        sessions[i]->game.Id(), brinks[i].column, brinks[i].moves);
            entries.push_back({names[i], brinks[i].moves});
        }
        Box wins[2];
        RETURN_IF_FAILED(RaceTheWins(options, sessions, brinks, wins));
        for (int i = 0; i < 2; ++i) {
            RETURN_IF_FAILED(ExpectBox(wins[i], names[i].c_str(), ComputerGameWinCaption));
            // Yes to the next round; Cancel after the last ends the program.
            RETURN_IF_FAILED(
                AnswerPlayAgain(sessions[i]->game, wins[i], round < Rounds ? IDYES : IDCANCEL));
        }

        std::string written;
        if (!ReadWholeFile(HighscorePath(options), &written))
            return "src\\Highscore.txt is gone after the two wins";
        std::vector<ScoreLine> after;
        RETURN_IF_FAILED(ParseScoreFile(written, &after));
        if (after.size() != 10)
            return Format("the table after round %d has %d lines:\n%s", round,
                          static_cast<int>(after.size()), written.c_str());
        std::vector<std::string> possible = PossibleTables(before, entries);
        if (std::find(possible.begin(), possible.end(), written) == possible.end())
            return Format("a win is missing from the table after round %d:\n", round) + written +
                   "expected, in some order of each round's two wins\n" + possible[0];
        RETURN_IF_FAILED(ExpectNothingBesideTable(options, "after the two wins"));
    }
    std::printf("all %d wins are in the table\n", 2 * Rounds);
    for (Session* session : sessions)
        RETURN_IF_FAILED(CloseAndExpectExit(*session));
    return "";
}
E2E_LONG_SCENARIO(350, "two_programs_one_table", TwoProgramsOneTableScenario, "", 240);

// Starts one game against the easy computer and plays it to the brink of a win.
Failure StartAtTheBrink(Session* session, const char* name, Brink* brink) {
    RETURN_IF_FAILED(StartEasyGame(session, name));
    RETURN_IF_FAILED(PlayToTheBrink(*session, 1, brink));
    std::printf("a win in column %d with move count %d, game %d\n", brink->column, brink->moves,
                brink->games);
    return "";
}

// Clicks the winning column and waits for the win box; answers the
// milliseconds from the click to the box.
Failure WinNow(const Session& session, const Brink& brink, const char* name, Box* win,
               double* tookMs) {
    const double clicked = NowMs();
    Click(session.window, DiscX(brink.column), ClickY);
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, win));
    *tookMs = NowMs() - clicked;
    return ExpectBox(*win, name, ComputerGameWinCaption);
}

// A win while another program holds the table open without sharing it for a
// second: the game waits for the file and stores the entry once it is free.
Failure TableHeldOpenScenario(const Options& options) {
    RETURN_IF_FAILED(WriteWholeFile(HighscorePath(options), RoomyTable));
    std::vector<ScoreLine> before;
    RETURN_IF_FAILED(ParseScoreFile(RoomyTable, &before));
    const char* name = "Geduld";
    Session session(options);
    Brink brink;
    RETURN_IF_FAILED(StartAtTheBrink(&session, name, &brink));

    HANDLE held = CreateFileA(HighscorePath(options).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return Format("cannot hold src\\Highscore.txt open (error %lu)", GetLastError());
    const double clicked = NowMs();
    Click(session.window, DiscX(brink.column), ClickY);
    Sleep(1000);
    bool boxWhileHeld = !TopWindows(session.game.Id(), DialogClass, true).empty();
    CloseHandle(held);
    const double releasedMs = NowMs() - clicked;
    Box win;
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &win));
    std::printf(
        "table held open for %.0f ms after the winning click; win box %s, %.0f ms after "
        "the click\n",
        releasedMs, boxWhileHeld ? "already shown while held" : "after the release",
        NowMs() - clicked);
    RETURN_IF_FAILED(ExpectBox(win, name, ComputerGameWinCaption));

    std::string written;
    if (!ReadWholeFile(HighscorePath(options), &written))
        return "src\\Highscore.txt is gone after the win";
    const std::string expected = ScoreText(WithEntry(before, {name, brink.moves}));
    if (written != expected)
        return "the table after the win is\n" + written + "expected\n" + expected;
    RETURN_IF_FAILED(ExpectNothingBesideTable(options, "after the win"));
    return EndAfterWin(session, win);
}
E2E_LONG_SCENARIO(355, "table_held_open", TableHeldOpenScenario, "", 120);

// A read-only table, then a lock another program keeps: each win shows its
// box, the game goes on, the table stays byte for byte as it was and nothing
// is left beside it.
Failure TableNotWritableScenario(const Options& options) {
    const std::string table = HighscorePath(options);
    RETURN_IF_FAILED(WriteWholeFile(table, RoomyTable));
    if (SetFileAttributesA(table.c_str(), FILE_ATTRIBUTE_READONLY) == 0)
        return "cannot make src\\Highscore.txt read-only";
    const char* name = "Pech";
    Session session(options);
    Brink brink;
    RETURN_IF_FAILED(StartAtTheBrink(&session, name, &brink));

    Box win;
    double tookMs = 0;
    RETURN_IF_FAILED(WinNow(session, brink, name, &win, &tookMs));
    std::printf("read-only table: win box %.0f ms after the winning click\n", tookMs);
    std::string now;
    if (!ReadWholeFile(table, &now) || now != RoomyTable)
        return "the read-only table changed:\n" + now;
    RETURN_IF_FAILED(ExpectNothingBesideTable(options, "after the win on a read-only table"));
    if (SetFileAttributesA(table.c_str(), FILE_ATTRIBUTE_NORMAL) == 0)
        return "cannot make src\\Highscore.txt writable again";

    // The game goes on: "Nochmal" Yes, and the next win meets a lock that
    // another program keeps for the whole time.
    RETURN_IF_FAILED(AnswerPlayAgain(session.game, win, IDYES));
    RETURN_IF_FAILED(PlayToTheBrink(session, brink.games + 1, &brink));
    std::printf("a win in column %d with move count %d, game %d\n", brink.column, brink.moves,
                brink.games);
    HANDLE lock =
        CreateFileA((table + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock == INVALID_HANDLE_VALUE)
        return Format("cannot take the table's lock (error %lu)", GetLastError());
    Failure won = WinNow(session, brink, name, &win, &tookMs);
    CloseHandle(lock);
    RETURN_IF_FAILED(won);
    std::printf("lock kept by another program: win box %.0f ms after the winning click\n", tookMs);
    if (!ReadWholeFile(table, &now) || now != RoomyTable)
        return "the table changed although its lock was kept:\n" + now;
    RETURN_IF_FAILED(ExpectNothingBesideTable(options, "after the win without the lock"));
    return EndAfterWin(session, win);
}
E2E_LONG_SCENARIO(360, "table_not_writable", TableNotWritableScenario, "", 120);

}  // namespace
}  // namespace e2e
