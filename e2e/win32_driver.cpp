// End-to-end driver: starts rillo.exe, acts like a player from outside the
// process and checks what the program shows and how it ends.
//
//   rillo_e2e.exe <scenario> <rillo.exe> <working folder> [arguments...]
//   rillo_e2e.exe --list
//
// Each scenario prints "PASS <name>" or "FAIL <name>: <reason>" as its last
// line and the driver exits with 0 or 1. Screenshots are written into the
// driver's own current folder. --list prints one line per scenario: its name,
// a tab and the files of src\ its working folder must not contain.
//
// The first half of this file is a small library of helpers (processes,
// windows, message boxes and dialogs, clicks, pixels, screenshots, clocks);
// a scenario is one function over them plus one row of the table at the end.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

// Named rather than anonymous: helpers no scenario uses yet stay available
// without unused-function warnings.
namespace e2e {

// ---------------------------------------------------------------- basics

constexpr const char* MainClass = "WindowClass";
constexpr const char* MainTitle = "Rillo";
constexpr const char* DialogClass = "#32770";

constexpr DWORD StartTimeout = 30000;  // a cold Wine start can be slow
constexpr DWORD BoxTimeout = 15000;
constexpr DWORD ExitTimeout = 15000;

struct Options {
    std::string program;  // path of rillo.exe
    std::string folder;   // the game's working folder
    std::vector<std::string> arguments;
};

// A scenario's result: empty when it passed, otherwise why it failed.
using Failure = std::string;

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

// Returns the failure of a step from the function that made it.
#define CHECK(expression)                \
    do {                                 \
        Failure failure_ = (expression); \
        if (!failure_.empty())           \
            return failure_;             \
    } while (false)

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

// Milliseconds on a monotonic clock.
double NowMs() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---------------------------------------------------------------- the game process

// One running rillo.exe. Whatever a scenario leaves running when it returns
// is ended, so a failed scenario never leaves a game behind.
struct Game {
    PROCESS_INFORMATION process = {};
    double startedMs = 0;

    Game() = default;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    ~Game() {
        if (process.hProcess == nullptr)
            return;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    DWORD Id() const { return process.dwProcessId; }
    bool Running() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; }
};

Failure StartGame(const Options& options, Game* game) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = Quote(options.program);
    game->startedMs = NowMs();
    if (!CreateProcessA(options.program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                        nullptr, options.folder.c_str(), &startup, &game->process)) {
        game->process = PROCESS_INFORMATION();
        return Format("cannot start %s in %s (error %lu)", options.program.c_str(),
                      options.folder.c_str(), GetLastError());
    }
    return "";
}

// Waits for the process to end; answers its exit status.
Failure WaitForExit(Game& game, DWORD timeoutMs, DWORD* status) {
    if (WaitForSingleObject(game.process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return Format("the program did not end within %lu ms", timeoutMs);
    if (!GetExitCodeProcess(game.process.hProcess, status))
        return "no exit status";
    return "";
}

Failure ExpectExitStatus(Game& game, DWORD expected) {
    DWORD status = 0;
    Failure failure = WaitForExit(game, ExitTimeout, &status);
    if (!failure.empty())
        return failure;
    if (status != expected)
        return Format("exit status %lu, expected %lu", status, expected);
    return "";
}

// ---------------------------------------------------------------- windows

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The text of a window of any process, through WM_GETTEXT.
std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return "";
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return std::string(text.data());
}

bool BelongsTo(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
    if (!BelongsTo(window, search->processId))
        return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window))
        return TRUE;
    if (ClassOf(window) == search->className)
        search->found.push_back(window);
    return TRUE;
}

// The process's top-level windows of a class.
std::vector<HWND> TopWindows(DWORD processId, const char* className, bool visibleOnly) {
    WindowSearch search = {processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits until the main window of the game is shown: FindWindowA's class and
// title, and owned by the game's process. Null on timeout or early exit.
HWND WaitForMainWindow(const Game& game, DWORD timeoutMs) {
    double until = NowMs() + timeoutMs;
    while (NowMs() < until) {
        HWND window = FindWindowA(MainClass, MainTitle);
        if (window != nullptr && BelongsTo(window, game.Id()) && IsWindowVisible(window))
            return window;
        if (!game.Running())
            return nullptr;
        Sleep(20);
    }
    return nullptr;
}

// ---------------------------------------------------------------- message boxes and dialogs

struct ChildSearch {
    const char* className;
    std::string text;  // the first child of the class with some text
};

BOOL CALLBACK FindTextChild(HWND child, LPARAM data) {
    ChildSearch* search = reinterpret_cast<ChildSearch*>(data);
    if (ClassOf(child) != search->className)
        return TRUE;
    std::string text = TextOf(child);
    if (text.empty())
        return TRUE;  // the icon of a box is a Static without text
    search->text = text;
    return FALSE;
}

// A message box or dialog as a player sees it.
struct Box {
    HWND window = nullptr;
    std::string caption;
    std::string text;  // the box's message: its Static child with text
    HWND owner = nullptr;
};

Box ReadBox(HWND window) {
    Box box;
    box.window = window;
    box.caption = TextOf(window);
    ChildSearch search = {"Static", ""};
    EnumChildWindows(window, FindTextChild, reinterpret_cast<LPARAM>(&search));
    box.text = search.text;
    box.owner = GetWindow(window, GW_OWNER);
    return box;
}

std::string Describe(const Box& box) {
    return Format("box %s caption %s", Quote(box.text).c_str(), Quote(box.caption).c_str());
}

// Waits for a shown box or dialog of the game other than notThis; its text
// is read once it has some, since a box fills in its controls after it shows.
Failure WaitForBox(const Game& game, DWORD timeoutMs, Box* box, HWND notThis = nullptr) {
    double until = NowMs() + timeoutMs;
    while (NowMs() < until) {
        for (HWND window : TopWindows(game.Id(), DialogClass, true)) {
            if (window == notThis)
                continue;
            *box = ReadBox(window);
            if (!box->caption.empty() || !box->text.empty())
                return "";
        }
        if (!game.Running())
            return "the program ended while a box was awaited";
        Sleep(20);
    }
    return Format("no box appeared within %lu ms", timeoutMs);
}

Failure ExpectBox(const Box& box, const char* text, const char* caption) {
    if (box.text != text || box.caption != caption)
        return Format("%s, expected box %s caption %s", Describe(box).c_str(), Quote(text).c_str(),
                      Quote(caption).c_str());
    return "";
}

// Presses a button of a box or dialog by its id (IDOK, IDCANCEL, IDYES,
// IDNO, or a dialog's own) and waits until the box has gone.
Failure PressButton(const Box& box, int id) {
    HWND button = GetDlgItem(box.window, id);
    if (button == nullptr)
        return Format("%s has no button %d", Describe(box).c_str(), id);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    double until = NowMs() + BoxTimeout;
    while (NowMs() < until) {
        if (!IsWindow(box.window) || !IsWindowVisible(box.window))
            return "";
        Sleep(20);
    }
    return Format("%s did not close after button %d", Describe(box).c_str(), id);
}

// Types a text into an edit control of a dialog at once.
Failure SetEditText(const Box& dialog, int id, const std::string& text) {
    HWND edit = GetDlgItem(dialog.window, id);
    if (edit == nullptr)
        return Format("%s has no control %d", Describe(dialog).c_str(), id);
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 2000, &ignored))
        return Format("cannot set the text of control %d", id);
    return "";
}

// ---------------------------------------------------------------- clicks and pixels

// A left click at client coordinates, as the window receives it.
void Click(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The colour shown at client coordinates of a window.
COLORREF SamplePixel(HWND window, int x, int y) {
    HDC context = GetDC(window);
    COLORREF colour = GetPixel(context, x, y);
    ReleaseDC(window, context);
    return colour;
}

std::string ColourText(COLORREF colour) {
    return Format("%u,%u,%u", static_cast<unsigned>(GetRValue(colour)),
                  static_cast<unsigned>(GetGValue(colour)),
                  static_cast<unsigned>(GetBValue(colour)));
}

// Waits until a client pixel shows a colour; answers the milliseconds it
// took, or a negative value on timeout.
double WaitForPixel(HWND window, int x, int y, COLORREF colour, DWORD timeoutMs) {
    double start = NowMs();
    while (NowMs() - start < timeoutMs) {
        if (SamplePixel(window, x, y) == colour)
            return NowMs() - start;
        Sleep(5);
    }
    return -1;
}

// The client area of a window, copied from its drawing context.
struct Shot {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row, rows bottom-up, blue-green-red
    std::vector<unsigned char> pixels;

    COLORREF At(int x, int y) const {
        const unsigned char* p = &pixels[(height - 1 - y) * stride + x * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

Failure TakeShot(HWND window, Shot* shot) {
    RECT client;
    if (!GetClientRect(window, &client))
        return "no client area";
    shot->width = client.right - client.left;
    shot->height = client.bottom - client.top;
    if (shot->width <= 0 || shot->height <= 0)
        return "empty client area";
    shot->stride = (shot->width * 3 + 3) & ~3;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot->width;
    info.bmiHeader.biHeight = shot->height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Failure failure;
    if (picture == nullptr) {
        failure = "cannot make a picture for the screenshot";
    } else {
        HGDIOBJ previous = SelectObject(memory, picture);
        BitBlt(memory, 0, 0, shot->width, shot->height, source, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        shot->pixels.assign(static_cast<size_t>(shot->stride) * shot->height, 0);
        if (GetDIBits(memory, picture, 0, shot->height, shot->pixels.data(), &info,
                      DIB_RGB_COLORS) != shot->height)
            failure = "cannot read the screenshot's pixels";
        DeleteObject(picture);
    }
    DeleteDC(memory);
    ReleaseDC(window, source);
    return failure;
}

// Writes a shot as a 24-bit BMP file.
Failure SaveShot(const Shot& shot, const std::string& path) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    const DWORD imageSize = static_cast<DWORD>(shot.pixels.size());
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + imageSize;
    header.biSize = sizeof header;
    header.biWidth = shot.width;
    header.biHeight = shot.height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = imageSize;

    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return "cannot write " + path;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                   std::fwrite(&header, sizeof header, 1, out) == 1 &&
                   std::fwrite(shot.pixels.data(), 1, imageSize, out) == imageSize;
    written = std::fclose(out) == 0 && written;
    return written ? "" : "cannot write " + path;
}

// A window is drawn some time after it shows: this waits until the game
// waits for input and two shots 50 ms apart agree.
Failure TakeSettledShot(const Game& game, HWND window, Shot* shot) {
    WaitForInputIdle(game.process.hProcess, BoxTimeout);
    Shot previous;
    CHECK(TakeShot(window, &previous));
    double until = NowMs() + BoxTimeout;
    while (NowMs() < until) {
        Sleep(50);
        CHECK(TakeShot(window, shot));
        if (shot->width == previous.width && shot->height == previous.height &&
            shot->pixels == previous.pixels)
            return "";
        previous = *shot;
    }
    return Format("the window did not settle within %lu ms", BoxTimeout);
}

Failure SaveScreenshot(const Game& game, HWND window, const std::string& path) {
    Shot shot;
    Failure failure = TakeSettledShot(game, window, &shot);
    return failure.empty() ? SaveShot(shot, path) : failure;
}

// ---------------------------------------------------------------- scenarios

// The window of class "WindowClass" titled "Rillo" opens with the outer size
// 810 by 630 at (0, 0) and no box; closing it ends the program with status 0.
Failure WindowScenario(const Options& options) {
    Game game;
    CHECK(StartGame(options, &game));
    HWND window = WaitForMainWindow(game, StartTimeout);
    if (window == nullptr)
        return "the main window did not appear";
    std::printf("window after %.0f ms\n", NowMs() - game.startedMs);

    RECT frame;
    GetWindowRect(window, &frame);
    if (frame.left != 0 || frame.top != 0 || frame.right - frame.left != 810 ||
        frame.bottom - frame.top != 630)
        return Format("window at (%ld, %ld) size %ld x %ld, expected (0, 0) size 810 x 630",
                      frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);

    std::vector<HWND> boxes = TopWindows(game.Id(), DialogClass, true);
    if (!boxes.empty())
        return "unexpected " + Describe(ReadBox(boxes[0]));

    // The screenshot must agree with what the window shows, pixel for pixel.
    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    const int points[][2] = {{0, 0}, {shot.width - 1, 0}, {0, shot.height - 1}, {400, 300}};
    for (const auto& point : points) {
        COLORREF shown = SamplePixel(window, point[0], point[1]);
        if (shot.At(point[0], point[1]) != shown)
            return Format("screenshot shows %s at %d,%d where the window shows %s",
                          ColourText(shot.At(point[0], point[1])).c_str(), point[0], point[1],
                          ColourText(shown).c_str());
    }
    CHECK(SaveShot(shot, "window.bmp"));

    PostMessageA(window, WM_CLOSE, 0, 0);
    CHECK(ExpectExitStatus(game, 0));
    return "";
}

// Without src\intro.bmp: the picture error owned by the window being made,
// then the ownerless "Fehler" box, then exit status 0 and no window.
Failure NoIntroScenario(const Options& options) {
    if (FileExists(options.folder + "\\src\\intro.bmp"))
        return "the working folder still holds src\\intro.bmp";
    Game game;
    CHECK(StartGame(options, &game));

    Box first;
    CHECK(WaitForBox(game, StartTimeout, &first));
    CHECK(ExpectBox(first, "Bild konnte nicht geladen werden", "Error"));
    if (first.owner == nullptr || ClassOf(first.owner) != MainClass)
        return "the picture error box is not owned by the window being made";
    if (TopWindows(game.Id(), DialogClass, true).size() != 1)
        return "more than one box at once";
    CHECK(PressButton(first, IDOK));

    Box second;
    CHECK(WaitForBox(game, BoxTimeout, &second, first.window));
    CHECK(ExpectBox(second, "Fehler", "Fehler"));
    if (second.owner != nullptr)
        return "the \"Fehler\" box has an owner";
    if (!TopWindows(game.Id(), MainClass, false).empty())
        return "a main window exists while \"Fehler\" is shown";
    CHECK(PressButton(second, IDOK));

    CHECK(ExpectExitStatus(game, 0));
    HWND left = FindWindowA(MainClass, MainTitle);
    if (left != nullptr && BelongsTo(left, game.Id()))
        return "a main window remains";
    return "";
}

// How long the window takes to appear, over a few starts. Reported only.
Failure StartupTimeScenario(const Options& options) {
    const int runs = 3;
    double total = 0;
    double fastest = 0;
    for (int run = 1; run <= runs; ++run) {
        Game game;
        CHECK(StartGame(options, &game));
        HWND window = WaitForMainWindow(game, StartTimeout);
        if (window == nullptr)
            return Format("run %d: the main window did not appear", run);
        double took = NowMs() - game.startedMs;
        std::printf("startup_time run %d: %.0f ms from start to window\n", run, took);
        total += took;
        if (run == 1 || took < fastest)
            fastest = took;
        PostMessageA(window, WM_CLOSE, 0, 0);
        CHECK(ExpectExitStatus(game, 0));
    }
    std::printf("startup_time: mean %.0f ms, fastest %.0f ms over %d runs\n", total / runs, fastest,
                runs);
    return "";
}

struct Scenario {
    const char* name;
    Failure (*run)(const Options&);
    const char* leftOut;  // files of src\ the working folder must not hold
};

const Scenario Scenarios[] = {
    {"window", WindowScenario, ""},
    {"no_intro", NoIntroScenario, "intro.bmp"},
    {"startup_time", StartupTimeScenario, ""},
};

}  // namespace e2e

int main(int argc, char** argv) {
    using e2e::Failure;
    using e2e::Options;
    using e2e::Scenario;
    using e2e::Scenarios;
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const Scenario& scenario : Scenarios)
            std::printf("%s\t%s\n", scenario.name, scenario.leftOut);
        return 0;
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: rillo_e2e <scenario> <rillo.exe> <working folder> [...]\n");
        std::fprintf(stderr, "       rillo_e2e --list\n");
        return 2;
    }
    Options options;
    options.program = argv[2];
    options.folder = argv[3];
    for (int i = 4; i < argc; ++i)
        options.arguments.push_back(argv[i]);

    const std::string name = argv[1];
    for (const Scenario& scenario : Scenarios) {
        if (name != scenario.name)
            continue;
        Failure failure = scenario.run(options);
        if (failure.empty()) {
            std::printf("PASS %s\n", scenario.name);
        } else {
            std::printf("FAIL %s: %s\n", scenario.name, failure.c_str());
        }
        std::fflush(stdout);
        return failure.empty() ? 0 : 1;
    }
    std::printf("FAIL %s: no such scenario\n", name.c_str());
    return 1;
}
