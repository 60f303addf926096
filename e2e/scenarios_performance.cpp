// Performance figures of the game under Wine, printed one sample a line as
// "PERF <measure> <value>" for tools/performance.sh, which gathers several
// runs into docs/performance.md. The times never decide the verdict: the
// scenario fails only when the game does not do what is being timed.
//
// Measures (times in milliseconds, sizes in bytes):
//   start_to_window_ms    process start to its main window, Wine warm
//   start_to_intro_ms     process start to the intro's pixels in the window
//   click_to_disc_ms      a posted click on a column of a game of two to the
//                         disc's pixels in the window
//   click_to_winning_disc_ms  the same for the disc that wins (one of
//                         click_to_disc_ms), after which the win box follows
//   click_to_win_box_ms   the same click to its win box shown
//   click_handled_ms      a sent click on a column until the game has handled it
//   repaint_ms            a request to repaint the whole game screen until all
//                         of it shows again, every picture read from its file
//   picture_load_ms       loading the board picture scaled to 800 by 600, as
//                         each paint does, timed in the driver under the same Wine
//   shot_ms               one read of the window's pixels by the driver (the
//                         granularity of the pixel waits)
//   private_bytes, working_set_bytes, gdi_objects, user_objects,
//   kernel_handles        the process's resources on the game screen
//   program_bytes         the size of rillo.exe
#include "e2e/driver.h"
#include "e2e/scenarios.h"

namespace e2e {
namespace {

constexpr int StartRuns = 5;
constexpr int PostedGames = 5;  // seven discs each
constexpr int SentGames = 2;
constexpr int RepaintSamples = 20;

void Perf(const char* measure, double value) {
    std::printf("PERF %s %.3f\n", measure, value);
    (void)std::fflush(stdout);  // progress for a person watching
}

struct Probe {
    int x, y;
    COLORREF colour;
};

// True when every probe shows its colour in the window, read through one
// drawing context.
bool ProbesShown(HWND window, const std::vector<Probe>& probes) {
    HDC context = GetDC(window);
    bool shown = context != nullptr;
    for (size_t i = 0; shown && i < probes.size(); ++i)
        shown = GetPixel(context, probes[i].x, probes[i].y) == probes[i].colour;
    ReleaseDC(window, context);
    return shown;
}

// Polls the probes at about a millisecond; the time it took, or -1.
double WaitForProbes(HWND window, const std::vector<Probe>& probes, double since, DWORD timeoutMs) {
    while (NowMs() - since < timeoutMs) {
        if (ProbesShown(window, probes))
            return NowMs() - since;
        Sleep(1);
    }
    return -1;
}

// Points spread over a picture where it differs from the colours a window
// shows before it is painted (black, the erased background).
std::vector<Probe> PictureProbes(const Shot& picture, COLORREF background) {
    std::vector<Probe> probes;
    for (int y = 37; y < picture.height; y += 131)
        for (int x = 23; x < picture.width; x += 157) {
            COLORREF colour = picture.At(x, y);
            if (colour != Black && colour != background)
                probes.push_back({x, y, colour});
        }
    return probes;
}

Failure MeasureStart(const Options& options, const Shot& intro, bool report) {
    const std::vector<Probe> probes = PictureProbes(intro, GetSysColor(COLOR_SCROLLBAR));
    if (probes.size() < 5)
        return "the intro picture has too few points to probe";
    Session session(options);
    RETURN_IF_FAILED(StartGame(options, &session.game));
    while (session.window == nullptr && NowMs() - session.game.startedMs < StartTimeout) {
        HWND found = FindWindowA(MainClass, WindowTitle);
        if (found != nullptr && BelongsTo(found, session.game.Id()) && IsWindowVisible(found) != 0)
            session.window = found;
        else if (!session.game.Running())
            return "the program ended at its start";
        else
            Sleep(1);
    }
    if (session.window == nullptr)
        return "the main window did not appear";
    const double toWindow = NowMs() - session.game.startedMs;
    const double toIntro =
        WaitForProbes(session.window, probes, session.game.startedMs, StartTimeout);
    if (toIntro < 0)
        return "the intro was not painted";
    RETURN_IF_FAILED(WaitForPicture(session.window, intro, 0, 0, Exact, "the intro"));
    if (report) {
        Perf("start_to_window_ms", toWindow);
        Perf("start_to_intro_ms", toIntro);
    }
    return CloseAndExpectExit(session);
}

// Waits until the game has handled everything sent or posted before: a sent
// message is answered once the handler before it has returned.
Failure Synchronise(HWND window) {
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, BoxTimeout, &ignored) == 0)
        return "the game does not answer";
    return "";
}

// One game of two: player 1 stacks column 0, player 2 column 1, the seventh
// disc wins; "Nochmal" is answered Yes. Each disc is timed.
Failure TimedGame(const Session& session, bool sent, int gameNumber) {
    const int columns[] = {0, 1, 0, 1, 0, 1, 0};
    int heights[Columns] = {};
    for (int move = 0; move < 7; ++move) {
        const int column = columns[move];
        const int row = Rows - 1 - heights[column]++;
        const COLORREF core = move % 2 == 0 ? YellowCore : RedCore;
        const std::vector<Probe> disc = {
            {DiscX(column), DiscY(row), core},
            {DiscX(column) + 22, DiscY(row), move % 2 == 0 ? YellowRing : RedRing}};
        RETURN_IF_FAILED(Synchronise(session.window));
        const double clicked = NowMs();
        if (sent && move < 6) {
            if (!SendClick(session.window, ColumnClickX(column), 300, BoxTimeout))
                return Format("game %d: the click on column %d was not handled", gameNumber,
                              column);
            Perf("click_handled_ms", NowMs() - clicked);
        } else {
            Click(session.window, ColumnClickX(column), 300);
        }
        const double took = WaitForProbes(session.window, disc, clicked, BoxTimeout);
        if (took < 0)
            return Format("game %d: no disc at column %d row %d after a click", gameNumber, column,
                          row);
        if (!sent)
            Perf("click_to_disc_ms", took);
        if (!sent && move == 6) {
            Perf("click_to_winning_disc_ms", took);
            // The win box that the same click opens, polled as finely.
            while (TopWindows(session.game.Id(), DialogClass, true).empty() &&
                   NowMs() - clicked < BoxTimeout)
                Sleep(1);
            Perf("click_to_win_box_ms", NowMs() - clicked);
        }
    }
    Box won;
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &won));
    RETURN_IF_FAILED(ExpectBox(won, "Anna", PlayerOneWinCaption));
    RETURN_IF_FAILED(PostButton(won, IDOK));
    Box again;
    RETURN_IF_FAILED(WaitForBox(session.game, BoxTimeout, &again, won.window));
    RETURN_IF_FAILED(ExpectBox(again, PlayAgainText, PlayAgainCaption));
    RETURN_IF_FAILED(PostButton(again, IDYES));
    Position empty{};
    return WaitForNewGame(session, gameNumber + 1, &empty);
}

// Repaints of the game screen with six discs, two names and the turn
// picture. The driver blackens the window's pixels, asks for a repaint and
// waits until the probes (over the board picture, the discs, the turn
// picture and the names) show what they showed before.
Failure MeasureRepaint(const Session& session) {
    const int columns[] = {0, 1, 0, 1, 0, 1};
    int heights[Columns] = {};
    for (int move = 0; move < 6; ++move) {
        const int column = columns[move];
        const int row = Rows - 1 - heights[column]++;
        double took = 0;
        RETURN_IF_FAILED(
            DropDisc(session.window, column, row, move % 2 == 0 ? YellowCore : RedCore, &took));
    }
    RETURN_IF_FAILED(Synchronise(session.window));
    Shot reference;
    RETURN_IF_FAILED(TakeSettledShot(session.game, session.window, &reference));
    std::vector<Probe> probes = PictureProbes(reference, GetSysColor(COLOR_SCROLLBAR));
    for (int move = 0; move < 6; ++move) {
        const int column = columns[move];
        const int row = Rows - 1 - move / 2;
        probes.push_back({DiscX(column), DiscY(row), reference.At(DiscX(column), DiscY(row))});
    }
    probes.push_back({650, 120, reference.At(650, 120)});  // the turn picture
    // The names, drawn late in the paint: their first white pixels.
    const int nameTops[2] = {Name1Y, Name2Y};
    for (int top : nameTops) {
        bool found = false;
        for (int y = top; y < top + 25 && !found; ++y)
            for (int x = 610; x < 720 && !found; ++x)
                if (reference.At(x, y) == White) {
                    probes.push_back({x, y, White});
                    found = true;
                }
        if (!found)
            return Format("no name drawn at y %d", top);
    }

    std::vector<Probe> blackened;
    blackened.reserve(probes.size());
    for (const Probe& probe : probes)
        blackened.push_back({probe.x, probe.y, Black});
    int visibleSamples = 0;
    for (int sample = 0; sample < RepaintSamples; ++sample) {
        RETURN_IF_FAILED(Synchronise(session.window));
        HDC context = GetDC(session.window);
        PatBlt(context, 0, 0, ScreenPictureWidth, ScreenPictureHeight, BLACKNESS);
        ReleaseDC(session.window, context);
        if (WaitForProbes(session.window, blackened, NowMs(), 1000) < 0)
            break;  // the driver cannot draw into the window here
        const double asked = NowMs();
        InvalidateRect(session.window, nullptr, TRUE);
        const double took = WaitForProbes(session.window, probes, asked, BoxTimeout);
        if (took < 0)
            return "the game screen did not come back after a repaint request";
        Perf("repaint_ms", took);
        ++visibleSamples;
    }
    if (visibleSamples == 0)
        std::printf("the driver's drawing does not reach the window: no repaint_ms\n");
    RETURN_IF_FAILED(Synchronise(session.window));
    return WaitForProbes(session.window, probes, NowMs(), BoxTimeout) < 0
               ? "the game screen is not shown after the paints"
               : "";
}

void MeasureResources(const Options& options, const Game& game) {
    const Memory memory = ReadMemory(game.process.hProcess);
    Perf("private_bytes", memory.privateBytes);
    Perf("working_set_bytes", memory.workingSet);
    Perf("gdi_objects", CountGdiObjects(game.process.hProcess));
    Perf("user_objects", GetGuiResources(game.process.hProcess, GR_USEROBJECTS));
    DWORD handles = 0;
    GetProcessHandleCount(game.process.hProcess, &handles);
    Perf("kernel_handles", handles);
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    if (GetFileAttributesExA(options.program.c_str(), GetFileExInfoStandard, &attributes) != 0)
        Perf("program_bytes", static_cast<double>(attributes.nFileSizeLow) +
                                  4294967296.0 * attributes.nFileSizeHigh);
}

}  // namespace

Failure PerformanceScenario(const Options& options) {
    Shot intro;
    RETURN_IF_FAILED(LoadScreen(options, IntroPicture, &intro));
    // The first start warms Wine up and is not reported.
    RETURN_IF_FAILED(MeasureStart(options, intro, false));
    for (int run = 0; run < StartRuns; ++run)
        RETURN_IF_FAILED(MeasureStart(options, intro, true));
    Session session(options);
    RETURN_IF_FAILED(LoadPictures(&session));
    const std::string board = options.folder + "\\" + (BoardPicture + 2);
    for (int sample = 0; sample < 10; ++sample) {
        const double start = NowMs();
        auto* picture = static_cast<HBITMAP>(LoadImageA(
            nullptr, board.c_str(), IMAGE_BITMAP, ScreenPictureWidth, ScreenPictureHeight,
            LR_LOADFROMFILE | LR_DEFAULTSIZE | LR_CREATEDIBSECTION));
        const double took = NowMs() - start;
        if (picture == nullptr)
            return "cannot load " + board;
        DeleteObject(picture);
        Perf("picture_load_ms", took);
    }

    RETURN_IF_FAILED(StartAtMenu(&session));
    for (int sample = 0; sample < 10; ++sample) {
        const double start = NowMs();
        Shot shot;
        RETURN_IF_FAILED(TakeShot(session.window, &shot));
        Perf("shot_ms", NowMs() - start);
    }
    RETURN_IF_FAILED(StartTwoPlayers(session, "Anna", "Ben"));
    RETURN_IF_FAILED(ExpectBoard(session, "the names"));
    for (int number = 1; number <= PostedGames + SentGames; ++number)
        RETURN_IF_FAILED(TimedGame(session, number > PostedGames, number));
    RETURN_IF_FAILED(MeasureRepaint(session));
    MeasureResources(options, session.game);
    return CloseAndExpectExit(session);
}
E2E_SCENARIO(990, "performance", PerformanceScenario, "");

}  // namespace e2e
