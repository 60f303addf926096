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
#include <cstdint>
#include <cstdio>

#include "e2e/driver.h"
#include "e2e/scenarios.h"
#include "e2e/soak_walk.h"

namespace e2e {
namespace soak {

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
        board_ = Position();  // an empty board
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

}  // namespace soak

Failure SoakScenario(const Options& options) {
    soak::Walk walk(options);
    return walk.Run();
}
// 3000 clicks take about 150 s on a quiet two-core machine and 670 s with a
// load of eleven; each click has a bound of its own (HandledTimeout).
E2E_LONG_SCENARIO(950, "soak", SoakScenario, "", 1200);

}  // namespace e2e
