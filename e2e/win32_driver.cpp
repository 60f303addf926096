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
#include <cstdlib>
#include <cstring>
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

// ---------------------------------------------------------------- screens, menu and board

// Where the game's pictures and texts are, in client coordinates.
constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
constexpr int NameEditId = 200;  // the name dialog's edit field
constexpr const char* NameCaption = "***Name***";
constexpr DWORD SettleMs = 400;  // how long "nothing appears" is watched
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF YellowRing = RGB(255, 255, 0);
constexpr COLORREF YellowCore = RGB(128, 128, 0);
constexpr COLORREF RedRing = RGB(255, 0, 0);
constexpr COLORREF RedCore = RGB(128, 0, 0);

struct Point {
    int x;
    int y;
};

// Client points of the menu's buttons (middle of each).
constexpr Point TwoPlayersButton = {375, 330};
constexpr Point EasyButton = {375, 385};
constexpr Point HardButton = {552, 385};
constexpr Point HighscoresButton = {367, 440};
constexpr Point CreditsButton = {367, 490};

int DiscX(int column) { return 71 * column + 70; }
int DiscY(int row) { return 545 - 78 * (5 - row); }
int ColumnClickX(int column) { return 36 + 70 * column + 35; }

// A picture file of the working folder's src\, scaled at loading as the game
// does (0 by 0: at the file's own size), read into the same layout as a
// screenshot.
Failure LoadPicture(const Options& options, const char* file, int width, int height, Shot* shot) {
    std::string path = options.folder + "\\src\\" + file;
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(
        nullptr, path.c_str(), IMAGE_BITMAP, width, height, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (picture == nullptr)
        return "cannot load " + path;
    BITMAP size = {};
    if (GetObjectA(picture, sizeof size, &size) == 0) {
        DeleteObject(picture);
        return "cannot read the size of " + path;
    }
    shot->width = size.bmWidth;
    shot->height = size.bmHeight;
    shot->stride = (shot->width * 3 + 3) & ~3;
    shot->pixels.assign(static_cast<size_t>(shot->stride) * shot->height, 0);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot->width;
    info.bmiHeader.biHeight = shot->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    int rows =
        GetDIBits(screen, picture, 0, shot->height, shot->pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(picture);
    return rows == shot->height ? "" : "cannot read the pixels of " + path;
}

Failure LoadScreen(const Options& options, const char* file, Shot* shot) {
    return LoadPicture(options, file, ScreenWidth, ScreenHeight, shot);
}

// The share of a grid of points (every 7 pixels) of a region where the shot
// shows the picture's pixel, the picture's top left corner put at (left, top).
double Agreement(const Shot& shot, const Shot& picture, int left, int top) {
    int same = 0;
    int all = 0;
    for (int y = 0; y < picture.height; y += 7) {
        for (int x = 0; x < picture.width; x += 7) {
            if (left + x >= shot.width || top + y >= shot.height)
                continue;
            ++all;
            if (shot.At(left + x, top + y) == picture.At(x, y))
                ++same;
        }
    }
    return all == 0 ? 0 : static_cast<double>(same) / all;
}

// Waits until the window shows a picture at (left, top) on at least the given
// share of its points; answers the milliseconds it took.
Failure WaitForPicture(HWND window, const Shot& picture, int left, int top, double share,
                       const char* what, double* tookMs = nullptr) {
    double start = NowMs();
    double best = 0;
    while (NowMs() - start < BoxTimeout) {
        Shot shot;
        CHECK(TakeShot(window, &shot));
        double agreement = Agreement(shot, picture, left, top);
        if (agreement >= share) {
            if (tookMs != nullptr)
                *tookMs = NowMs() - start;
            return "";
        }
        if (agreement > best)
            best = agreement;
        Sleep(10);
    }
    return Format("the window does not show %s (at best %.0f%% of its points agree)", what,
                  best * 100);
}

// The whole screen pictures are compared loosely where the game draws over
// them (names, discs, the table), exactly where it does not.
constexpr double Exact = 0.999;
constexpr double Mostly = 0.9;

// Number of pixels of a region that have a colour.
int CountColour(const Shot& shot, int left, int top, int width, int height, COLORREF colour) {
    int count = 0;
    for (int y = top; y < top + height && y < shot.height; ++y)
        for (int x = left; x < left + width && x < shot.width; ++x)
            if (shot.At(x, y) == colour)
                ++count;
    return count;
}

// The rightmost column of a region holding a pixel of the colour, or -1.
int RightmostColour(const Shot& shot, int left, int top, int width, int height, COLORREF colour) {
    int rightmost = -1;
    for (int y = top; y < top + height && y < shot.height; ++y)
        for (int x = left; x < left + width && x < shot.width; ++x)
            if (shot.At(x, y) == colour && x > rightmost)
                rightmost = x;
    return rightmost;
}

Failure ExpectNoBox(const Game& game) {
    std::vector<HWND> boxes = TopWindows(game.Id(), DialogClass, true);
    if (!boxes.empty())
        return "unexpected " + Describe(ReadBox(boxes[0]));
    return "";
}

Failure ExpectNoBox(const Game& game, const char* after) {
    Failure failure = ExpectNoBox(game);
    return failure.empty() ? "" : Format("after %s: %s", after, failure.c_str());
}

// A click handled to its end: the press is sent and returns only once the
// game's handler has returned, so a click that opens a modal dialog does not
// return within the timeout. The release is posted after it.
bool SendClick(HWND window, int x, int y, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    LRESULT sent = SendMessageTimeoutA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y),
                                       SMTO_ABORTIFHUNG, timeoutMs, &ignored);
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    return sent != 0;
}

// Starts the game, waits for the intro and clicks it away; the window shows
// the menu picture when this returns.
Failure StartAtMenu(const Options& options, Game* game, HWND* window, double* repaintMs = nullptr) {
    Shot intro;
    Shot menu;
    CHECK(LoadScreen(options, "intro.bmp", &intro));
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    CHECK(StartGame(options, game));
    *window = WaitForMainWindow(*game, StartTimeout);
    if (*window == nullptr)
        return "the main window did not appear";
    CHECK(WaitForPicture(*window, intro, 0, 0, Exact, "the intro"));
    double clicked = NowMs();
    Click(*window, 400, 300);
    CHECK(WaitForPicture(*window, menu, 0, 0, Exact, "the menu after the intro click"));
    if (repaintMs != nullptr)
        *repaintMs = NowMs() - clicked;
    return "";
}

// Presses a button like PressButton, but posts the click to the button
// instead of sending it: a sent BM_CLICK into a dialog of the game takes
// about two seconds to return under Wine, a posted one is handled at once.
Failure PostButton(const Box& box, int id) {
    HWND button = GetDlgItem(box.window, id);
    if (button == nullptr)
        return Format("%s has no button %d", Describe(box).c_str(), id);
    PostMessageA(button, BM_CLICK, 0, 0);
    double until = NowMs() + BoxTimeout;
    while (NowMs() < until) {
        if (!IsWindow(box.window) || !IsWindowVisible(box.window))
            return "";
        Sleep(5);
    }
    return Format("%s did not close after button %d", Describe(box).c_str(), id);
}

// Waits for the name dialog, checks its caption and prompt, and either types
// a name and confirms it or, with no name, presses "Abbrechen".
Failure AnswerNameDialog(const Game& game, const char* prompt, const char* name) {
    Box dialog;
    CHECK(WaitForBox(game, BoxTimeout, &dialog));
    CHECK(ExpectBox(dialog, prompt, NameCaption));
    if (name == nullptr)
        return PostButton(dialog, IDCANCEL);
    CHECK(SetEditText(dialog, NameEditId, name));
    return PressButton(dialog, IDOK);
}

// Chooses the two-player game on the menu and gives both names.
Failure StartTwoPlayers(const Game& game, HWND window, const char* first, const char* second) {
    Click(window, TwoPlayersButton.x, TwoPlayersButton.y);
    CHECK(AnswerNameDialog(game, "Spieler1:", first));
    return AnswerNameDialog(game, "Spieler2:", second);
}

// Checks the rings of the disc in a cell: core, light ring 22 pixels out on
// four sides, black rim 26 pixels out.
Failure ExpectDisc(HWND window, int column, int row, COLORREF ring, COLORREF core,
                   const char* what) {
    const int x = DiscX(column);
    const int y = DiscY(row);
    struct Sample {
        int dx, dy;
        COLORREF colour;
        const char* part;
    };
    const Sample samples[] = {
        {0, 0, core, "core"},   {-10, 0, core, "core"},       {22, 0, ring, "ring"},
        {-22, 0, ring, "ring"}, {0, 22, ring, "ring"},        {0, -22, ring, "ring"},
        {26, 0, Black, "rim"},  {-26, 0, Black, "rim"},       {0, 26, Black, "rim"},
        {0, -26, Black, "rim"}, {18, 0, Black, "inner ring"},
    };
    for (const Sample& sample : samples) {
        COLORREF shown = SamplePixel(window, x + sample.dx, y + sample.dy);
        if (shown != sample.colour)
            return Format("%s at column %d row %d: %s at %d,%d is %s, expected %s", what, column,
                          row, sample.part, x + sample.dx, y + sample.dy, ColourText(shown).c_str(),
                          ColourText(sample.colour).c_str());
    }
    return "";
}

// Clicks a column and waits until the disc's core shows in the cell; answers
// the milliseconds from the click to the core.
Failure DropDisc(HWND window, int column, int row, COLORREF core, double* tookMs) {
    double clicked = NowMs();
    Click(window, ColumnClickX(column), 300);
    double took = WaitForPixel(window, DiscX(column), DiscY(row), core, BoxTimeout);
    if (took < 0)
        return Format("no disc core %s at column %d row %d after a click", ColourText(core).c_str(),
                      column, row);
    *tookMs = NowMs() - clicked;
    return "";
}

void PrintTimes(const char* what, const std::vector<double>& times) {
    if (times.empty())
        return;
    double total = 0;
    double longest = 0;
    for (double time : times) {
        total += time;
        if (time > longest)
            longest = time;
    }
    std::printf("%s: mean %.1f ms, longest %.1f ms over %u\n", what, total / times.size(), longest,
                static_cast<unsigned>(times.size()));
}

// The intro shows first; a click anywhere brings the menu, and a point where
// the two pictures differ changes from the one to the other.
Failure IntroMenuScenario(const Options& options) {
    Shot intro;
    Shot menu;
    CHECK(LoadScreen(options, "intro.bmp", &intro));
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    Point differing = {-1, -1};
    for (int y = 0; y < ScreenHeight && differing.x < 0; y += 5)
        for (int x = 0; x < 780 && differing.x < 0; x += 5)
            if (intro.At(x, y) != menu.At(x, y) && y > 300)
                differing = {x, y};
    if (differing.x < 0)
        return "the intro and menu pictures do not differ";

    Game game;
    CHECK(StartGame(options, &game));
    HWND window = WaitForMainWindow(game, StartTimeout);
    if (window == nullptr)
        return "the main window did not appear";
    CHECK(WaitForPicture(window, intro, 0, 0, Exact, "the intro"));
    CHECK(SaveScreenshot(game, window, "intro.bmp"));
    COLORREF before = SamplePixel(window, differing.x, differing.y);
    if (before != intro.At(differing.x, differing.y))
        return Format("the intro shows %s at %d,%d", ColourText(before).c_str(), differing.x,
                      differing.y);

    double clicked = NowMs();
    Click(window, 20, 20);  // anywhere, not on a button's place
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the intro click"));
    std::printf("intro click to menu painted: %.1f ms\n", NowMs() - clicked);
    COLORREF after = SamplePixel(window, differing.x, differing.y);
    if (after != menu.At(differing.x, differing.y) || after == before)
        return Format("at %d,%d the window showed %s on the intro and %s on the menu", differing.x,
                      differing.y, ColourText(before).c_str(), ColourText(after).c_str());
    CHECK(ExpectNoBox(game, "the intro click"));
    CHECK(SaveScreenshot(game, window, "menu.bmp"));

    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}

// Every menu area at its boundary points, and clicks outside all of them.
Failure MenuAreasScenario(const Options& options) {
    Shot menu;
    Shot highscores;
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    CHECK(LoadScreen(options, "highscore.bmp", &highscores));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));

    enum Outcome { Stays, TwoPlayers, Computer, Highscores };
    struct Case {
        Point at;
        Outcome outcome;
    };
    const Case cases[] = {
        {{460, 350}, TwoPlayers}, {{290, 310}, TwoPlayers}, {{461, 350}, Stays},
        {{375, 351}, Stays},      {{310, 370}, Computer},   {{440, 400}, Computer},
        {{309, 385}, Stays},      {{484, 385}, Stays},      {{485, 385}, Computer},
        {{620, 400}, Computer},   {{621, 400}, Stays},      {{552, 401}, Stays},
        {{300, 458}, Highscores}, {{270, 420}, Highscores}, {{465, 460}, Highscores},
        {{269, 440}, Stays},      {{466, 440}, Stays},      {{20, 20}, Stays},
        {{780, 580}, Stays},      {{400, 300}, Stays},
    };
    for (const Case& test : cases) {
        const int x = test.at.x;
        const int y = test.at.y;
        if (test.outcome == Stays || test.outcome == Highscores) {
            // No dialog may hold the click: it is handled to its end at once.
            if (!SendClick(window, x, y, 5000))
                return Format("the click at %d,%d was not handled within 5 s (a dialog?)", x, y);
            CHECK(ExpectNoBox(game, Format("the click at %d,%d", x, y).c_str()));
        } else {
            Click(window, x, y);
            const char* prompt = test.outcome == TwoPlayers ? "Spieler1:" : "Spieler:";
            Failure failure = AnswerNameDialog(game, prompt, nullptr);
            if (!failure.empty())
                return Format("click at %d,%d: %s", x, y, failure.c_str());
        }
        if (test.outcome == Highscores) {
            Failure failure = WaitForPicture(window, highscores, 0, 0, Mostly, "the highscores");
            if (!failure.empty())
                return Format("click at %d,%d: %s", x, y, failure.c_str());
            Click(window, 400, 300);
        }
        Failure failure = WaitForPicture(window, menu, 0, 0, Exact, "the menu");
        if (!failure.empty())
            return Format("after the click at %d,%d: %s", x, y, failure.c_str());
        // A repaint after a click on the menu shows nothing else at all.
        Sleep(50);
        CHECK(ExpectNoBox(game, Format("the click at %d,%d", x, y).c_str()));
        std::printf("menu click at %d,%d: %s\n", x, y,
                    test.outcome == Stays        ? "stays on the menu"
                    : test.outcome == TwoPlayers ? "name dialog \"Spieler1:\""
                    : test.outcome == Computer   ? "name dialog \"Spieler:\""
                                                 : "highscores");
    }

    // Easy and hard both ask "Spieler:"; the level picture beside the board
    // tells them apart, one fresh game per point.
    PostMessageA(window, WM_CLOSE, 0, 0);
    CHECK(ExpectExitStatus(game, 0));
    const struct {
        Point at;
        const char* level;
    } levels[] = {{{310, 370}, "compuleicht.bmp"},
                  {{440, 400}, "compuleicht.bmp"},
                  {{485, 385}, "compuschwer.bmp"},
                  {{620, 400}, "compuschwer.bmp"}};
    for (const auto& level : levels) {
        Shot picture;
        CHECK(LoadPicture(options, level.level, 212, 134, &picture));
        Game next;
        CHECK(StartAtMenu(options, &next, &window));
        Click(window, level.at.x, level.at.y);
        CHECK(AnswerNameDialog(next, "Spieler:", "Anna"));
        Failure failure = WaitForPicture(window, picture, 565, 336, Exact, level.level);
        if (!failure.empty())
            return Format("click at %d,%d: %s", level.at.x, level.at.y, failure.c_str());
        std::printf("menu click at %d,%d: game with %s\n", level.at.x, level.at.y, level.level);
        PostMessageA(window, WM_CLOSE, 0, 0);
        CHECK(ExpectExitStatus(next, 0));
    }

    // The credits last: their click ends the program.
    const Point credits[] = {{300, 461}, {290, 515}, {445, 515}};
    Shot creditsPicture;
    CHECK(LoadScreen(options, "credits.bmp", &creditsPicture));
    for (const Point& at : credits) {
        Game next;
        CHECK(StartAtMenu(options, &next, &window));
        if (!SendClick(window, at.x, at.y, 5000))
            return Format("the click at %d,%d was not handled within 5 s (a dialog?)", at.x, at.y);
        CHECK(ExpectNoBox(next, "the credits click"));
        Failure failure = WaitForPicture(window, creditsPicture, 0, 0, Exact, "the credits");
        if (!failure.empty())
            return Format("click at %d,%d: %s", at.x, at.y, failure.c_str());
        std::printf("menu click at %d,%d: credits\n", at.x, at.y);
        Click(window, 400, 300);
        CHECK(ExpectExitStatus(next, 0));
    }
    return "";
}

// A whole two-player game: names beside the board, disc colours, the turn
// picture, the win and the way back to the menu with a cleared board.
Failure TwoPlayerWinScenario(const Options& options) {
    Shot board;
    Shot menu;
    Shot firstTurn;
    Shot secondTurn;
    CHECK(LoadScreen(options, "spielfeld.bmp", &board));
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    CHECK(LoadPicture(options, "spieler1.bmp", 202, 58, &firstTurn));
    CHECK(LoadPicture(options, "spieler2.bmp", 202, 58, &secondTurn));
    if (Agreement(firstTurn, secondTurn, 0, 0) > 0.99)
        return "the two turn pictures are alike";

    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    CHECK(StartTwoPlayers(game, window, "Anna", "Ben"));
    CHECK(WaitForPicture(window, board, 0, 0, Mostly, "the board"));
    CHECK(WaitForPicture(window, firstTurn, 568, 96, Exact, "player 1's turn picture"));

    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    const int firstName = CountColour(shot, 605, 240, 120, 30, White);
    const int secondName = CountColour(shot, 605, 395, 120, 30, White);
    std::printf("white name pixels: %d at (610,245), %d at (610,400)\n", firstName, secondName);
    if (firstName < 20 || secondName < 20)
        return Format("the names are not drawn in white (%d and %d white pixels)", firstName,
                      secondName);
    if (CountColour(board, 605, 240, 120, 30, White) > 0 ||
        CountColour(board, 605, 395, 120, 30, White) > 0)
        return "the board picture itself is white where the names go";

    // Player 1 takes column 0, player 2 column 1; the seventh disc wins.
    std::vector<double> discTimes;
    const int columns[] = {0, 1, 0, 1, 0, 1, 0};
    int heights[7] = {};
    for (int move = 0; move < 7; ++move) {
        const int column = columns[move];
        const int row = 5 - heights[column]++;
        const bool first = move % 2 == 0;
        double took = 0;
        CHECK(DropDisc(window, column, row, first ? YellowCore : RedCore, &took));
        discTimes.push_back(took);
        if (move == 6)
            break;  // the win box is up
        CHECK(ExpectDisc(window, column, row, first ? YellowRing : RedRing,
                         first ? YellowCore : RedCore,
                         first ? "player 1's disc" : "player 2's disc"));
        // The other side is to move now.
        CHECK(WaitForPicture(window, first ? secondTurn : firstTurn, 568, 96, Exact,
                             first ? "player 2's turn picture" : "player 1's turn picture"));
        CHECK(ExpectNoBox(game, "a move"));
        if (move == 5)
            CHECK(SaveScreenshot(game, window, "game.bmp"));
    }
    PrintTimes("click to disc core", discTimes);

    Box won;
    CHECK(WaitForBox(game, BoxTimeout, &won));
    CHECK(ExpectBox(won, "Anna", "***SIEG***SPIELER 1***"));
    CHECK(ExpectDisc(window, 0, 2, YellowRing, YellowCore, "the winning disc"));
    CHECK(PressButton(won, IDOK));
    Box again;
    CHECK(WaitForBox(game, BoxTimeout, &again));
    CHECK(ExpectBox(again, "Nochmal", "***????***"));
    CHECK(PressButton(again, IDNO));
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after \"No\""));

    // The next game starts on an empty board with player 1 to move.
    CHECK(StartTwoPlayers(game, window, "Anna", "Ben"));
    CHECK(WaitForPicture(window, firstTurn, 568, 96, Exact, "player 1's turn picture"));
    CHECK(TakeSettledShot(game, window, &shot));
    for (int column = 0; column < 2; ++column) {
        for (int row = 2; row <= 5; ++row) {
            const int x = DiscX(column);
            const int y = DiscY(row);
            if (shot.At(x, y) != board.At(x, y) || shot.At(x + 22, y) != board.At(x + 22, y))
                return Format("the new game still shows a disc at column %d row %d", column, row);
        }
    }
    double took = 0;
    CHECK(DropDisc(window, 3, 5, YellowCore, &took));
    CHECK(ExpectDisc(window, 3, 5, YellowRing, YellowCore, "the first disc of the new game"));

    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}

// The credits screen: a click there ends the program with status 0.
Failure CreditsExitScenario(const Options& options) {
    Shot credits;
    CHECK(LoadScreen(options, "credits.bmp", &credits));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    Click(window, CreditsButton.x, CreditsButton.y);
    CHECK(WaitForPicture(window, credits, 0, 0, Exact, "the credits"));
    CHECK(ExpectNoBox(game, "the credits choice"));
    Click(window, 400, 300);
    return ExpectExitStatus(game, 0);
}

// Without the board picture: its error box at the paints of the game
// screen, and the discs still drawn over the erased background.
Failure MissingBoardPictureScenario(const Options& options) {
    if (FileExists(options.folder + "\\src\\spielfeld.bmp"))
        return "the working folder still holds src\\spielfeld.bmp";
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    CHECK(StartTwoPlayers(game, window, "Anna", "Ben"));

    // The box comes at each paint of the game screen; closing it may bring a
    // paint of its own, so it is answered until it stays away.
    int boxes = 0;
    for (;;) {
        Box box;
        Failure failure = WaitForBox(game, boxes == 0 ? BoxTimeout : 1000, &box);
        if (!failure.empty()) {
            if (boxes == 0)
                return failure;
            if (!game.Running())
                return "the program ended";
            break;
        }
        CHECK(ExpectBox(box, "Bild konnte nicht geladen werden", "Error"));
        CHECK(PressButton(box, IDOK));
        if (++boxes > 20)
            return "the picture error box keeps coming back (more than 20 times)";
    }
    std::printf("picture error boxes answered: %d\n", boxes);

    double took = 0;
    CHECK(DropDisc(window, 3, 5, YellowCore, &took));
    CHECK(ExpectDisc(window, 3, 5, YellowRing, YellowCore, "the disc on the missing board"));
    std::printf("click to disc core without the board picture: %.1f ms\n", took);
    CHECK(DropDisc(window, 4, 5, RedCore, &took));
    if (!game.Running())
        return "the program ended";
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}

// The highscore screen shows the table of src\Highscore.txt in white, read
// again at each paint.
Failure HighscoreScreenScenario(const Options& options) {
    Shot highscores;
    Shot menu;
    CHECK(LoadScreen(options, "highscore.bmp", &highscores));
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    double clicked = NowMs();
    Click(window, HighscoresButton.x, HighscoresButton.y);
    CHECK(WaitForPicture(window, highscores, 0, 0, Mostly, "the highscores"));
    std::printf("menu click to highscores painted: %.1f ms\n", NowMs() - clicked);
    CHECK(SaveScreenshot(game, window, "highscores.bmp"));

    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    const int rowTops[] = {157, 230, 290, 343, 378, 413, 448, 483, 518, 553};
    for (int row = 0; row < 10; ++row) {
        int name = CountColour(shot, 105, rowTops[row], 200, 20, White);
        int moves = CountColour(shot, 600, rowTops[row], 60, 20, White);
        if (name < 10 || moves < 5)
            return Format("row %d: %d white pixels in the name and %d in the moves", row + 1, name,
                          moves);
    }
    const int shortName = RightmostColour(shot, 105, 157, 300, 20, White);

    // A longer first name in the file makes the first row wider at the next
    // paint of the table.
    std::string path = options.folder + "\\src\\Highscore.txt";
    FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr)
        return "cannot write " + path;
    std::fputs(
        "WWWWWWWWW 9\nTilo 11\nHenrike 12\nJasper 14\nOle 16\nFrieda 18\n"
        "Lennart 21\nWiebke 24\nBjarne 27\nIlka 30\n",
        file);
    std::fclose(file);
    Click(window, 400, 300);
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the highscores"));
    Click(window, HighscoresButton.x, HighscoresButton.y);
    CHECK(WaitForPicture(window, highscores, 0, 0, Mostly, "the highscores again"));
    CHECK(TakeSettledShot(game, window, &shot));
    const int longName = RightmostColour(shot, 105, 157, 300, 20, White);
    std::printf("first row's white text ends at x %d, with a longer name at x %d\n", shortName,
                longName);
    if (longName <= shortName + 20)
        return "the table does not follow src\\Highscore.txt";

    double repaint = NowMs();
    Click(window, 400, 300);
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the highscores"));
    std::printf("highscores click to menu painted: %.1f ms\n", NowMs() - repaint);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}

// The live GDI objects of a process. Wine answers GetGuiResources with 0,
// so where it does the count is read from the process's GDI handle table,
// which Wine keeps in the process's memory and names in its process block
// (the 64-bit block's field at 0xF8): 65536 entries of 24 bytes, a byte at 14
// giving the object's type, 0 for a free entry. Answers 0 when neither works.
DWORD CountGdiObjects(HANDLE process) {
    DWORD counted = GetGuiResources(process, GR_GDIOBJECTS);
    if (counted != 0)
        return counted;
    struct BasicInformation {
        void* exitStatus;
        void* processBlock;
        ULONG_PTR reserved[4];
    };
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    QueryProcess query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    BasicInformation information = {};
    if (sizeof(void*) != 8 || query == nullptr ||
        query(process, 0, &information, sizeof information, nullptr) != 0)
        return 0;
    unsigned long long table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<char*>(information.processBlock) + 0xF8, &table,
                           sizeof table, &read) ||
        table == 0)
        return 0;
    const size_t entries = 65536;
    const size_t entrySize = 24;
    std::vector<unsigned char> handles(entries * entrySize);
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), handles.data(), handles.size(),
                           &read) ||
        read != handles.size())
        return 0;
    for (size_t entry = 0; entry < entries; ++entry)
        if (handles[entry * entrySize + 14] != 0)
            ++counted;
    return counted;
}

// Many clicks leave the count of the game's GDI objects where it was: menu
// choices that open and cancel the name dialog, highscores and back, board
// clicks over several games.
Failure GdiHandlesScenario(const Options& options) {
    Shot menu;
    Shot highscores;
    CHECK(LoadScreen(options, "menue.bmp", &menu));
    CHECK(LoadScreen(options, "highscore.bmp", &highscores));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window));
    // A paint in progress holds a picture and a memory context for a moment:
    // the count is taken once the window has settled, the least of a few.
    auto objects = [&game, window]() {
        Shot settled;
        TakeSettledShot(game, window, &settled);
        DWORD least = CountGdiObjects(game.process.hProcess);
        for (int reading = 0; reading < 4; ++reading) {
            Sleep(20);
            DWORD count = CountGdiObjects(game.process.hProcess);
            if (count < least)
                least = count;
        }
        return least;
    };
    std::printf("GetGuiResources answers %lu\n",
                GetGuiResources(game.process.hProcess, GR_GDIOBJECTS));
    // Some rounds first: what Wine makes once for its dialogs (in the first
    // few of them) is counted before.
    for (int round = 0; round < 20; ++round) {
        const Point at = round % 2 == 0 ? TwoPlayersButton : HardButton;
        Click(window, at.x, at.y);
        CHECK(AnswerNameDialog(game, round % 2 == 0 ? "Spieler1:" : "Spieler:", nullptr));
    }
    if (!SendClick(window, HighscoresButton.x, HighscoresButton.y, 5000) ||
        !SendClick(window, 400, 300, 5000))
        return "a highscore click was not handled";
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu"));
    const DWORD before = objects();

    const int dialogRounds = 300;
    const int highscoreRounds = 400;
    const int BoardGames = 29;
    double start = NowMs();
    for (int round = 0; round < dialogRounds; ++round) {
        const Point at = round % 2 == 0 ? TwoPlayersButton : HardButton;
        Click(window, at.x, at.y);
        Failure failure =
            AnswerNameDialog(game, round % 2 == 0 ? "Spieler1:" : "Spieler:", nullptr);
        if (!failure.empty())
            return Format("dialog round %d: %s", round + 1, failure.c_str());
    }
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the dialog rounds"));
    const DWORD afterDialogs = objects();
    std::printf("%d dialog rounds: %.0f ms\n", dialogRounds, NowMs() - start);
    std::fflush(stdout);
    start = NowMs();
    for (int round = 0; round < highscoreRounds; ++round) {
        if (!SendClick(window, HighscoresButton.x, HighscoresButton.y, 5000) ||
            !SendClick(window, 400, 300, 5000))
            return Format("highscore round %d: a click was not handled", round + 1);
    }
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu after the highscore rounds"));
    Click(window, HighscoresButton.x, HighscoresButton.y);
    CHECK(WaitForPicture(window, highscores, 0, 0, Mostly, "the highscores"));
    Click(window, 400, 300);
    CHECK(WaitForPicture(window, menu, 0, 0, Exact, "the menu"));
    const DWORD afterHighscores = objects();
    std::printf("%d highscore rounds: %.0f ms\n", highscoreRounds, NowMs() - start);
    std::fflush(stdout);
    start = NowMs();

    // Board clicks: full games of two players, each a draw-free win in
    // column 0, answered with "Yes" for the next one.
    CHECK(StartTwoPlayers(game, window, "Anna", "Ben"));
    int boardClicks = 0;
    DWORD afterFirstGame = 0;
    for (int gameNumber = 0; gameNumber < BoardGames; ++gameNumber) {
        const int columns[] = {0, 1, 0, 1, 0, 1, 0};
        int heights[7] = {};
        for (int move = 0; move < 7; ++move) {
            const int column = columns[move];
            const int row = 5 - heights[column]++;
            double took = 0;
            CHECK(DropDisc(window, column, row, move % 2 == 0 ? YellowCore : RedCore, &took));
            ++boardClicks;
        }
        Box won;
        CHECK(WaitForBox(game, BoxTimeout, &won));
        CHECK(ExpectBox(won, "Anna", "***SIEG***SPIELER 1***"));
        CHECK(PressButton(won, IDOK));
        Box again;
        CHECK(WaitForBox(game, BoxTimeout, &again));
        CHECK(ExpectBox(again, "Nochmal", "***????***"));
        CHECK(PressButton(again, IDYES));
        // A cleared board: the bottom left hole is empty again.
        Shot board;
        CHECK(LoadScreen(options, "spielfeld.bmp", &board));
        if (WaitForPixel(window, DiscX(0), DiscY(5), board.At(DiscX(0), DiscY(5)), BoxTimeout) < 0)
            return Format("game %d: the board was not cleared after \"Yes\"", gameNumber + 1);
        // The first message boxes make what Wine keeps for all later ones.
        if (gameNumber == 0)
            afterFirstGame = objects();
    }
    const DWORD afterBoard = objects();
    std::printf("%d board clicks in %d games: %.0f ms\n", boardClicks, BoardGames, NowMs() - start);
    std::printf(
        "GDI objects: %lu before, %lu after the dialogs, %lu after the highscores, %lu "
        "after the first game, %lu after the board clicks\n",
        before, afterDialogs, afterHighscores, afterFirstGame, afterBoard);

    // The game still answers and draws right.
    double took = 0;
    CHECK(DropDisc(window, 6, 5, YellowCore, &took));
    CHECK(ExpectDisc(window, 6, 5, YellowRing, YellowCore, "a disc after many clicks"));
    if (before == 0) {
        std::printf("no count of GDI objects here: only the answers and pixels are checked\n");
    } else if (afterDialogs > before || afterHighscores > before || afterBoard > afterFirstGame) {
        return Format(
            "GDI objects grew: %lu before, %lu / %lu after the menu clicks, %lu after "
            "the first game, %lu after the board clicks",
            before, afterDialogs, afterHighscores, afterFirstGame, afterBoard);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}

// ---------------------------------------------------------------- names, games and highscores

constexpr int Rows = 6;
constexpr int Columns = 7;

// ---------------- files

bool ReadWholeFile(const std::string& path, std::string* contents) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr)
        return false;
    contents->clear();
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        contents->append(buffer, got);
    std::fclose(in);
    return true;
}

Failure WriteWholeFile(const std::string& path, const std::string& contents) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return "cannot write " + path;
    bool written = std::fwrite(contents.data(), 1, contents.size(), out) == contents.size();
    written = std::fclose(out) == 0 && written;
    return written ? "" : "cannot write " + path;
}

std::string HighscorePath(const Options& options) {
    return options.folder + "\\src\\Highscore.txt";
}

struct ScoreLine {
    std::string name;
    int moves;
};

// The lines of a highscore file: "name moves" with a line end, the name one
// token of 1 to 9 characters, the moves a signed decimal number. Fails on
// anything else. The game writes CR LF; the data file may have LF alone.
Failure ParseScoreFile(const std::string& contents, std::vector<ScoreLine>* lines) {
    lines->clear();
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            return Format("line %d has no line end", static_cast<int>(lines->size()) + 1);
        std::string line = contents.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t blank = line.find(' ');
        std::string name = line.substr(0, blank);
        std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        bool wellFormed =
            blank != std::string::npos && !name.empty() && name.size() <= 9 && !value.empty();
        for (char c : name)
            wellFormed =
                wellFormed && c != '\0' && std::string(" \t\r\n\v\f").find(c) == std::string::npos;
        for (size_t i = 0; i < value.size(); ++i)
            wellFormed = wellFormed && ((value[i] >= '0' && value[i] <= '9') ||
                                        (i == 0 && value[i] == '-' && value.size() > 1));
        if (!wellFormed)
            return Format("line %d %s is not \"name moves\"", static_cast<int>(lines->size()) + 1,
                          Quote(line).c_str());
        lines->push_back({name, std::atoi(value.c_str())});
    }
    return "";
}

std::string ScoreText(const std::vector<ScoreLine>& lines) {
    std::string text;
    for (const ScoreLine& line : lines)
        text += line.name + " " + std::to_string(line.moves) + "\r\n";
    return text;
}

// The table after a win: the new entry before the first entry with as many
// moves or more; the eleventh entry drops out.
std::vector<ScoreLine> WithEntry(std::vector<ScoreLine> lines, const ScoreLine& entry) {
    size_t rank = 0;
    while (rank < lines.size() && lines[rank].moves < entry.moves)
        ++rank;
    if (rank < 10)
        lines.insert(lines.begin() + rank, entry);
    if (lines.size() > 10)
        lines.resize(10);
    return lines;
}

// ---------------- pictures and screens

// The pictures a player sees, read from the working folder.
struct Pictures {
    Shot menu, board, highscores, turn1, turn2, easyLevel, hardLevel;
};

Failure LoadPictures(const Options& options, Pictures* pictures) {
    CHECK(LoadPicture(options, "menue.bmp", 0, 0, &pictures->menu));
    CHECK(LoadPicture(options, "spielfeld.bmp", 0, 0, &pictures->board));
    CHECK(LoadPicture(options, "highscore.bmp", 0, 0, &pictures->highscores));
    CHECK(LoadPicture(options, "spieler1.bmp", 0, 0, &pictures->turn1));
    CHECK(LoadPicture(options, "spieler2.bmp", 0, 0, &pictures->turn2));
    CHECK(LoadPicture(options, "compuleicht.bmp", 0, 0, &pictures->easyLevel));
    CHECK(LoadPicture(options, "compuschwer.bmp", 0, 0, &pictures->hardLevel));
    return "";
}

// The share of the points where two pictures differ at which the shot, with
// the picture placed at (left, top), shows the first one.
double ShareShown(const Shot& shot, const Shot& picture, const Shot& other, int left, int top,
                  int step) {
    int differing = 0;
    int shown = 0;
    for (int y = step / 2; y < picture.height && y < other.height; y += step) {
        for (int x = step / 2; x < picture.width && x < other.width; x += step) {
            if (picture.At(x, y) == other.At(x, y) || left + x >= shot.width ||
                top + y >= shot.height)
                continue;
            ++differing;
            if (shot.At(left + x, top + y) == picture.At(x, y))
                ++shown;
        }
    }
    return differing == 0 ? 0 : static_cast<double>(shown) / differing;
}

// A full-window screen counts as shown when most of the points where it
// differs from the other screen show it; discs, names and status pictures
// cover only a small part.
bool ShowsScreen(const Shot& shot, const Shot& screen, const Shot& other) {
    return ShareShown(shot, screen, other, 0, 0, 20) >= 0.8;
}

Failure WaitForScreen(const Game& game, HWND window, const Shot& screen, const Shot& other,
                      const char* name, Shot* shot) {
    double until = NowMs() + BoxTimeout;
    double share = 0;
    while (NowMs() < until) {
        CHECK(TakeShot(window, shot));
        share = ShareShown(*shot, screen, other, 0, 0, 20);
        if (share >= 0.8)
            return "";
        if (!game.Running())
            return Format("the program ended while the %s was awaited", name);
        Sleep(30);
    }
    return Format("the %s was not shown (%.0f%% of its points)", name, share * 100);
}

// Back on the menu: no dialog left, the menu picture in the window.
Failure ExpectMenu(const Game& game, HWND window, const Pictures& pictures, const char* after) {
    Shot shot;
    Failure failure = WaitForScreen(game, window, pictures.menu, pictures.board, "menu", &shot);
    if (failure.empty())
        failure = ExpectNoBox(game);
    return failure.empty() ? "" : Format("after %s: %s", after, failure.c_str());
}

// Waits for the game board, and makes sure it stays (the window may still
// show the menu for a moment after the names are confirmed).
Failure ExpectBoard(const Game& game, HWND window, const Pictures& pictures, const char* after) {
    Shot shot;
    Failure failure = WaitForScreen(game, window, pictures.board, pictures.menu, "board", &shot);
    if (failure.empty())
        failure = ExpectNoBox(game);
    return failure.empty() ? "" : Format("after %s: %s", after, failure.c_str());
}

// 1 or 2 for the turn picture the shot shows, 0 for neither.
int TurnShown(const Shot& shot, const Pictures& pictures) {
    if (ShareShown(shot, pictures.turn1, pictures.turn2, 568, 96, 3) >= 0.9)
        return 1;
    if (ShareShown(shot, pictures.turn2, pictures.turn1, 568, 96, 3) >= 0.9)
        return 2;
    return 0;
}

// White text pixels in a band that the screen's own picture does not have.
int NewWhitePixels(const Shot& shot, const Shot& screen, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom && y < shot.height; ++y)
        for (int x = left; x < right && x < shot.width; ++x)
            if (shot.At(x, y) == White && screen.At(x, y) != White)
                ++count;
    return count;
}

Failure StartAtMenu(const Options& options, Game* game, HWND* window, const Pictures& pictures) {
    CHECK(StartGame(options, game));
    *window = WaitForMainWindow(*game, StartTimeout);
    if (*window == nullptr)
        return "the main window did not appear";
    WaitForInputIdle(game->process.hProcess, BoxTimeout);
    Click(*window, 400, 300);  // any click leaves the intro
    return ExpectMenu(*game, *window, pictures, "the intro click");
}

// ---------------- the name dialog

// Waits for the name dialog with a prompt; checks its caption, owner and its
// empty edit field.
Failure ExpectNameDialog(const Game& game, HWND window, const char* prompt, Box* dialog,
                         HWND notThis = nullptr) {
    CHECK(WaitForBox(game, BoxTimeout, dialog, notThis));
    if (dialog->caption != NameCaption || dialog->text != prompt)
        return Format("%s, expected the name dialog %s", Describe(*dialog).c_str(),
                      Quote(prompt).c_str());
    if (dialog->owner != window)
        return Format("the name dialog %s is not owned by the main window", Quote(prompt).c_str());
    HWND edit = GetDlgItem(dialog->window, NameEditId);
    if (edit == nullptr || ClassOf(edit) != "Edit")
        return "the name dialog has no edit field 200";
    if (!TextOf(edit).empty())
        return "the name dialog's edit field is not empty: " + Quote(TextOf(edit));
    return "";
}

// Waits until a dialog has gone after a key or message.
Failure WaitUntilGone(const Box& box, const char* what) {
    double until = NowMs() + BoxTimeout;
    while (NowMs() < until) {
        if (!IsWindow(box.window) || !IsWindowVisible(box.window))
            return "";
        Sleep(20);
    }
    return Format("%s did not close %s", Describe(box).c_str(), what);
}

// A key pressed in the dialog's edit field, as the dialog's message loop gets it.
Failure PressKey(const Box& dialog, WPARAM key, const char* what) {
    HWND edit = GetDlgItem(dialog.window, NameEditId);
    PostMessageA(edit, WM_KEYDOWN, key, 1);
    PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
    return WaitUntilGone(dialog, what);
}

Failure AnswerName(const Game& game, HWND window, const char* prompt, const std::string& name,
                   HWND* previous) {
    Box dialog;
    CHECK(ExpectNameDialog(game, window, prompt, &dialog, *previous));
    CHECK(SetEditText(dialog, NameEditId, name));
    CHECK(PressButton(dialog, IDOK));
    *previous = dialog.window;
    return "";
}

// ---------------- the board as the window shows it

using Cells = char[Rows][Columns];  // 'H' yellow (the human, player 1), 'C' red, ' ' empty

Failure ReadBoard(const Shot& shot, const Pictures& pictures, Cells cells) {
    const COLORREF yellowCore = RGB(128, 128, 0), yellowRing = RGB(255, 255, 0);
    const COLORREF redCore = RGB(128, 0, 0), redRing = RGB(255, 0, 0);
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            int x = DiscX(c), y = DiscY(r);
            COLORREF core = shot.At(x, y), ring = shot.At(x + 22, y);
            if (core == yellowCore && ring == yellowRing)
                cells[r][c] = 'H';
            else if (core == redCore && ring == redRing)
                cells[r][c] = 'C';
            else if (core == pictures.board.At(x, y))
                cells[r][c] = ' ';
            else
                return Format("cell row %d column %d shows %s / %s: neither disc nor board", r, c,
                              ColourText(core).c_str(), ColourText(ring).c_str());
        }
    }
    return "";
}

int CountDiscs(const Cells cells, char who) {
    int count = 0;
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c)
            count += cells[r][c] == who;
    return count;
}

// ---------------- a player for the easy computer

struct Position {
    Cells cell;
};

int LandingRow(const Position& p, int c) {
    for (int r = Rows - 1; r >= 0; --r)
        if (p.cell[r][c] == ' ')
            return r;
    return -1;
}

// Calls visit(r, c, dr, dc) for each of the 69 windows of four cells.
template <typename Visit>
void ForEachWindow(Visit visit) {
    const int directions[4][2] = {{0, 1}, {-1, 0}, {-1, 1}, {-1, -1}};
    for (const auto& d : directions)
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                int endR = r + 3 * d[0], endC = c + 3 * d[1];
                if (endR >= 0 && endR < Rows && endC >= 0 && endC < Columns)
                    visit(r, c, d[0], d[1]);
            }
}

bool HasFour(const Position& p, char who) {
    bool found = false;
    ForEachWindow([&](int r, int c, int dr, int dc) {
        int k = 0;
        while (k < 4 && p.cell[r + k * dr][c + k * dc] == who)
            ++k;
        found = found || k == 4;
    });
    return found;
}

bool WinsIn(const Position& p, int c, char who) {
    int r = LandingRow(p, c);
    if (r < 0)
        return false;
    Position q = p;
    q.cell[r][c] = who;
    return HasFour(q, who);
}

int WinningColumns(const Position& p, char who, int* first) {
    int count = 0;
    for (int c = 0; c < Columns; ++c)
        if (WinsIn(p, c, who)) {
            if (count++ == 0)
                *first = c;
        }
    return count;
}

// Open lines: windows holding discs of one side only, more discs weigh more.
double Openness(const Position& p) {
    const double weight[4] = {0, 1, 4, 16};
    double score = 0;
    ForEachWindow([&](int r, int c, int dr, int dc) {
        int human = 0, computer = 0;
        for (int k = 0; k < 4; ++k) {
            char cell = p.cell[r + k * dr][c + k * dc];
            human += cell == 'H';
            computer += cell == 'C';
        }
        if (computer == 0)
            score += weight[human];
        if (human == 0)
            score -= 1.2 * weight[computer];
    });
    return score / 1000;
}

constexpr double WinValue = 100;
const int ColumnOrder[Columns] = {3, 2, 4, 1, 5, 0, 6};

double HumanValue(const Position& p, int depth, int ply);

// The easy computer as modelled: it takes its own win, blocks the human's one
// playable win (two of them it cannot stop), otherwise any column with room.
double ComputerValue(const Position& p, int depth, int ply) {
    int column = -1;
    if (WinningColumns(p, 'C', &column) > 0)
        return -WinValue + ply;
    int threats = WinningColumns(p, 'H', &column);
    if (threats >= 2)
        return WinValue - ply - 1;
    if (depth == 0)
        return Openness(p);
    if (threats == 1) {
        Position q = p;
        q.cell[LandingRow(p, column)][column] = 'C';
        return HumanValue(q, depth - 1, ply + 1);
    }
    double sum = 0;
    int moves = 0;
    for (int c = 0; c < Columns; ++c) {
        int r = LandingRow(p, c);
        if (r < 0)
            continue;
        Position q = p;
        q.cell[r][c] = 'C';
        sum += HumanValue(q, depth - 1, ply + 1);
        ++moves;
    }
    return moves == 0 ? 0 : sum / moves;
}

double HumanValue(const Position& p, int depth, int ply) {
    double best = -2 * WinValue;
    for (int c : ColumnOrder) {
        int r = LandingRow(p, c);
        if (r < 0)
            continue;
        Position q = p;
        q.cell[r][c] = 'H';
        if (HasFour(q, 'H'))
            return WinValue - ply;
        double value = ComputerValue(q, depth, ply + 1);
        if (value > best)
            best = value;
    }
    return best < -WinValue ? 0 : best;  // a full board is a draw
}

// The human's column: an immediate win, else the best expected value a
// short look ahead against the modelled computer gives.
int ChooseColumn(const Position& p) {
    int bestColumn = -1;
    double best = -3 * WinValue;
    for (int c : ColumnOrder) {
        int r = LandingRow(p, c);
        if (r < 0)
            continue;
        Position q = p;
        q.cell[r][c] = 'H';
        double value = HasFour(q, 'H') ? 2 * WinValue : ComputerValue(q, 2, 1);
        if (value > best) {
            best = value;
            bestColumn = c;
        }
    }
    return bestColumn;
}

// A column that helps the computer: never a human four, never a block of the
// computer's win, otherwise the worst value for the human. Lets a scenario
// lose a game on purpose, to go on with "Nochmal".
int ChooseLosingColumn(const Position& p) {
    int bestColumn = -1;
    double best = 3 * WinValue;
    for (int c : ColumnOrder) {
        int r = LandingRow(p, c);
        if (r < 0)
            continue;
        Position q = p;
        q.cell[r][c] = 'H';
        double value = HasFour(q, 'H') || WinsIn(p, c, 'C') ? 2 * WinValue : ComputerValue(q, 1, 1);
        if (value < best) {
            best = value;
            bestColumn = c;
        }
    }
    return bestColumn;
}

// Waits for an empty board with the human to move: after the name dialog or
// "Nochmal" the repaint comes a little later, and a box may still be fading.
Failure WaitForNewGame(const Game& game, HWND window, const Pictures& pictures, int gameNumber,
                       Position* position) {
    double until = NowMs() + BoxTimeout;
    Failure last;
    while (NowMs() < until) {
        Shot shot;
        CHECK(TakeShot(window, &shot));
        last = ReadBoard(shot, pictures, position->cell);
        if (last.empty()) {
            int discs = CountDiscs(position->cell, 'H') + CountDiscs(position->cell, 'C');
            int turn = TurnShown(shot, pictures);
            if (discs == 0 && turn == 1)
                return "";
            last = Format("%d discs, turn picture %d", discs, turn);
        }
        if (!game.Running())
            return "the program ended before a new game";
        Sleep(20);
    }
    return Format("game %d does not begin on an empty board with the human to move: %s", gameNumber,
                  last.c_str());
}

struct Played {
    int games = 0;         // games begun, the won one included
    int winningMoves = 0;  // the move count the game gives the won game
    int clicks = 0;        // board clicks over all games
};

bool BoardFull(const Position& p) {
    for (int c = 0; c < Columns; ++c)
        if (p.cell[0][c] == ' ')
            return false;
    return true;
}

// After a board click: waits for a box, or for the human's disc and the
// computer's answer on a board where no box can follow (no red four, room
// left). The disc drawn during the computer's pause may reach the screen
// only together with the answer, so the pause itself is not looked for.
Failure AwaitAnswer(const Game& game, HWND window, const Pictures& pictures, int humanBefore,
                    int computerBefore, Box* box, bool* boxShown, Cells cells) {
    double until = NowMs() + BoxTimeout;
    Failure unreadable;
    while (NowMs() < until) {
        std::vector<HWND> boxes = TopWindows(game.Id(), DialogClass, true);
        if (!boxes.empty()) {
            // The box covers part of the board: the cells stay as last read.
            CHECK(WaitForBox(game, BoxTimeout, box));
            *boxShown = true;
            return "";
        }
        Shot shot;
        CHECK(TakeShot(window, &shot));
        Position seen;
        unreadable = ReadBoard(shot, pictures, seen.cell);  // a disc may be half drawn
        if (unreadable.empty()) {
            std::memcpy(cells, seen.cell, sizeof seen.cell);
            int human = CountDiscs(cells, 'H');
            int computer = CountDiscs(cells, 'C');
            if (human > humanBefore + 1 || computer > computerBefore + 1)
                return Format("%d yellow and %d red discs after one click (were %d and %d)", human,
                              computer, humanBefore, computerBefore);
            if (human == humanBefore + 1 && computer == computerBefore + 1 && !HasFour(seen, 'C') &&
                !BoardFull(seen) && TurnShown(shot, pictures) == 1) {
                *boxShown = false;
                return "";
            }
        }
        if (!game.Running())
            return "the program ended during a move";
        Sleep(15);
    }
    Shot shot;
    CHECK(TakeShot(window, &shot));
    SaveShot(shot, "no_answer.bmp");
    return Format("no answer to the click within %lu ms%s%s", BoxTimeout,
                  unreadable.empty() ? "" : ": ", unreadable.c_str());
}

// Plays against the easy computer from an empty board until the human wins,
// answering "Nochmal" with Yes after a lost or drawn game. Leaves the win box
// open in *win. The first game counts its moves from 0, later ones from 1.
Failure BeatEasyComputer(const Game& game, HWND window, const Pictures& pictures,
                         const std::string& name, int losingGames, int maxGames, Played* played,
                         Box* win) {
    for (int gameNumber = 1; gameNumber <= maxGames; ++gameNumber) {
        played->games = gameNumber;
        int clicks = 0;
        Position position;
        CHECK(WaitForNewGame(game, window, pictures, gameNumber, &position));
        for (;;) {
            bool toLose = gameNumber <= losingGames;
            int column = toLose ? ChooseLosingColumn(position) : ChooseColumn(position);
            if (column < 0)
                return "no column left to play and no box";
            int humanBefore = CountDiscs(position.cell, 'H');
            int computerBefore = CountDiscs(position.cell, 'C');
            Position expected = position;
            expected.cell[LandingRow(position, column)][column] = 'H';
            bool humanWins = HasFour(expected, 'H');
            Click(window, DiscX(column), 300);
            ++clicks;
            ++played->clicks;
            Box box;
            bool boxShown = false;
            CHECK(AwaitAnswer(game, window, pictures, humanBefore, computerBefore, &box, &boxShown,
                              position.cell));
            if (!boxShown) {
                for (int r = 0; r < Rows; ++r)
                    for (int c = 0; c < Columns; ++c)
                        if (expected.cell[r][c] == 'H' && position.cell[r][c] != 'H')
                            return Format("the human's disc is missing at row %d column %d", r, c);
                if (humanWins)
                    return "the human's four in a row was not announced";
                continue;
            }
            if (box.caption == "***SIEG***" && box.text != "COMPUTER") {
                if (!humanWins)
                    return Format("%s although the human has no four", Describe(box).c_str());
                CHECK(ExpectBox(box, name.c_str(), "***SIEG***"));
                played->winningMoves = (gameNumber == 1 ? 0 : 1) + clicks - 1;
                std::printf("won game %d with %d clicks (move count %d)\n", gameNumber, clicks,
                            played->winningMoves);
                *win = box;
                return "";
            }
            if (humanWins)
                return Format("%s after the human's winning disc", Describe(box).c_str());
            if (box.caption == "***SIEG***") {
                std::printf("lost game %d after %d clicks\n", gameNumber, clicks);
            } else {
                CHECK(ExpectBox(box, "!  !  U N E N T S C H I E D E N  !  !", "***HAHA***"));
                std::printf("drew game %d\n", gameNumber);
            }
            CHECK(PressButton(box, IDOK));
            Box again;
            CHECK(WaitForBox(game, BoxTimeout, &again, box.window));
            CHECK(ExpectBox(again, "Nochmal", "***????***"));
            CHECK(PressButton(again, IDYES));
            break;
        }
    }
    return Format("the human did not win in %d games", maxGames);
}

// Chooses the easy computer from the menu and answers the name dialog.
Failure ChooseEasyGame(const Game& game, HWND window, const Pictures& pictures,
                       const std::string& name) {
    Click(window, EasyButton.x, EasyButton.y);
    HWND previous = nullptr;
    CHECK(AnswerName(game, window, "Spieler:", name, &previous));
    CHECK(ExpectBoard(game, window, pictures, "the name for the easy computer"));
    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    if (ShareShown(shot, pictures.easyLevel, pictures.hardLevel, 565, 336, 4) < 0.9)
        return "the easy level picture is not shown";
    return "";
}

// The win box answered OK, "Nochmal" answered No, back at the menu.
Failure FinishWin(const Game& game, HWND window, const Pictures& pictures, const Box& win) {
    CHECK(PressButton(win, IDOK));
    Box again;
    CHECK(WaitForBox(game, BoxTimeout, &again, win.window));
    CHECK(ExpectBox(again, "Nochmal", "***????***"));
    CHECK(PressButton(again, IDNO));
    return ExpectMenu(game, window, pictures, "No to \"Nochmal\"");
}

Failure OpenHighscores(const Game& game, HWND window, const Pictures& pictures, Shot* shot) {
    Click(window, HighscoresButton.x, HighscoresButton.y);
    CHECK(
        WaitForScreen(game, window, pictures.highscores, pictures.menu, "highscore screen", shot));
    CHECK(TakeSettledShot(game, window, shot));
    return ExpectNoBox(game);
}

Failure CloseAndExpectExit(Game& game, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}

const int HighscoreRowY[10] = {157, 230, 290, 343, 378, 413, 448, 483, 518, 553};

// ---------------- scenarios

// Every kind of game asks for names: prompts, captions, cancelling in each way,
// empty names, a name cut to 9 characters (as the win box shows it).
Failure NameDialogsScenario(const Options& options) {
    Pictures pictures;
    CHECK(LoadPictures(options, &pictures));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window, pictures));
    Box dialog;

    // Abbrechen in the first dialog.
    Click(window, TwoPlayersButton.x, TwoPlayersButton.y);
    CHECK(ExpectNameDialog(game, window, "Spieler1:", &dialog));
    CHECK(PressButton(dialog, IDCANCEL));
    CHECK(ExpectMenu(game, window, pictures, "Abbrechen for player 1"));

    // Abbrechen in the second dialog.
    Click(window, TwoPlayersButton.x, TwoPlayersButton.y);
    HWND previous = nullptr;
    CHECK(AnswerName(game, window, "Spieler1:", "Anna", &previous));
    CHECK(ExpectNameDialog(game, window, "Spieler2:", &dialog, previous));
    CHECK(PressButton(dialog, IDCANCEL));
    CHECK(ExpectMenu(game, window, pictures, "Abbrechen for player 2"));

    // The Escape key in the edit field.
    Click(window, TwoPlayersButton.x, TwoPlayersButton.y);
    CHECK(ExpectNameDialog(game, window, "Spieler1:", &dialog));
    CHECK(SetEditText(dialog, NameEditId, "Anna"));
    CHECK(PressKey(dialog, VK_ESCAPE, "on the Escape key"));
    CHECK(ExpectMenu(game, window, pictures, "Escape"));

    // The close box.
    Click(window, TwoPlayersButton.x, TwoPlayersButton.y);
    CHECK(ExpectNameDialog(game, window, "Spieler1:", &dialog));
    PostMessageA(dialog.window, WM_CLOSE, 0, 0);
    CHECK(WaitUntilGone(dialog, "on WM_CLOSE"));
    CHECK(ExpectMenu(game, window, pictures, "closing the dialog"));

    // Empty names bring both dialogs again, player 1 first; Enter confirms.
    Click(window, TwoPlayersButton.x, TwoPlayersButton.y);
    previous = nullptr;
    CHECK(AnswerName(game, window, "Spieler1:", "", &previous));
    CHECK(AnswerName(game, window, "Spieler2:", "Bert", &previous));
    CHECK(ExpectNameDialog(game, window, "Spieler1:", &dialog, previous));
    CHECK(SetEditText(dialog, NameEditId, "Maximilian12"));
    std::string typed = TextOf(GetDlgItem(dialog.window, NameEditId));
    if (typed != "Maximilian12")
        return "the edit field holds " + Quote(typed) + " after typing \"Maximilian12\"";
    CHECK(PressKey(dialog, VK_RETURN, "on the Enter key"));
    previous = dialog.window;
    CHECK(AnswerName(game, window, "Spieler2:", "", &previous));
    CHECK(AnswerName(game, window, "Spieler1:", "Maximilian12", &previous));
    CHECK(AnswerName(game, window, "Spieler2:", "Bert", &previous));
    CHECK(ExpectBoard(game, window, pictures, "both names"));

    // Both names beside the board, in white.
    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    int name1 = NewWhitePixels(shot, pictures.board, 600, 240, 800, 280);
    int name2 = NewWhitePixels(shot, pictures.board, 600, 395, 800, 435);
    std::printf("white name pixels: player 1 %d, player 2 %d\n", name1, name2);
    if (name1 < 20 || name2 < 20)
        return Format("names beside the board: %d and %d white pixels", name1, name2);
    if (name1 <= name2)
        return "the 9-character name is not wider than \"Bert\"";
    CHECK(SaveShot(shot, "two_players_named.bmp"));

    // Player 1 wins in column 0; the box names the stored, cut name.
    const int columns[] = {0, 1, 0, 1, 0, 1, 0};
    for (int i = 0; i < 7; ++i) {
        Click(window, DiscX(columns[i]), 300);
        int row = 5 - i / 2;
        COLORREF core = i % 2 == 0 ? RGB(128, 128, 0) : RGB(128, 0, 0);
        if (i < 6 && WaitForPixel(window, DiscX(columns[i]), DiscY(row), core, BoxTimeout) < 0)
            return Format("click %d: no disc at row %d column %d", i + 1, row, columns[i]);
    }
    Box win;
    CHECK(WaitForBox(game, BoxTimeout, &win));
    CHECK(ExpectBox(win, "Maximilia", "***SIEG***SPIELER 1***"));
    CHECK(FinishWin(game, window, pictures, win));

    // Against the computer: one dialog, "Spieler:".
    Click(window, HardButton.x, HardButton.y);
    CHECK(ExpectNameDialog(game, window, "Spieler:", &dialog));
    CHECK(PressButton(dialog, IDCANCEL));
    CHECK(ExpectMenu(game, window, pictures, "Abbrechen against the hard computer"));
    Click(window, EasyButton.x, EasyButton.y);
    CHECK(ExpectNameDialog(game, window, "Spieler:", &dialog));
    PostMessageA(dialog.window, WM_CLOSE, 0, 0);
    CHECK(WaitUntilGone(dialog, "on WM_CLOSE"));
    CHECK(ExpectMenu(game, window, pictures, "closing the dialog against the easy computer"));
    Click(window, EasyButton.x, EasyButton.y);
    previous = nullptr;
    CHECK(AnswerName(game, window, "Spieler:", "", &previous));
    CHECK(AnswerName(game, window, "Spieler:", "Ede", &previous));
    CHECK(ExpectBoard(game, window, pictures, "the name for the easy computer"));
    CHECK(TakeSettledShot(game, window, &shot));
    if (ShareShown(shot, pictures.easyLevel, pictures.hardLevel, 565, 336, 4) < 0.9)
        return "the easy level picture is not shown";
    if (NewWhitePixels(shot, pictures.board, 600, 240, 800, 280) < 20)
        return "the name \"Ede\" is not shown beside the board";
    if (NewWhitePixels(shot, pictures.board, 600, 395, 800, 435) != 0)
        return "a second name is shown in a game against the computer";

    CHECK(CloseAndExpectExit(game, window));
    return "";
}

// Beats the easy computer and finds the win in the highscore file at its rank
// and on the highscore screen.
Failure BeatEasyComputerScenario(const Options& options) {
    std::string original;
    std::vector<ScoreLine> before;
    if (!ReadWholeFile(HighscorePath(options), &original))
        return "the working folder has no src\\Highscore.txt";
    CHECK(ParseScoreFile(original, &before));
    if (before.size() != 10)
        return Format("the original table has %d lines", static_cast<int>(before.size()));

    Pictures pictures;
    CHECK(LoadPictures(options, &pictures));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window, pictures));
    const std::string name = "Tom Test";
    CHECK(ChooseEasyGame(game, window, pictures, name));
    Played played;
    Box win;
    double started = NowMs();
    CHECK(BeatEasyComputer(game, window, pictures, name, 0, 6, &played, &win));
    std::printf("beat the easy computer in game %d of %d, %d clicks in all, %.1f s\n", played.games,
                6, played.clicks, (NowMs() - started) / 1000);

    // The file is written before the win box shows.
    std::string written;
    std::vector<ScoreLine> after;
    if (!ReadWholeFile(HighscorePath(options), &written))
        return "src\\Highscore.txt is gone after the win";
    CHECK(ParseScoreFile(written, &after));
    std::vector<ScoreLine> expected = WithEntry(before, {"Tom_Test", played.winningMoves});
    if (written != ScoreText(expected))
        return "the table after the win is\n" + written + "expected\n" + ScoreText(expected);
    size_t rank = 0;
    while (after[rank].name != "Tom_Test")
        ++rank;
    std::printf("entry \"Tom_Test %d\" at rank %d; \"%s %d\" dropped out\n", played.winningMoves,
                static_cast<int>(rank) + 1, before[9].name.c_str(), before[9].moves);

    CHECK(FinishWin(game, window, pictures, win));
    Shot shot;
    CHECK(OpenHighscores(game, window, pictures, &shot));
    int y = HighscoreRowY[rank];
    int text = NewWhitePixels(shot, pictures.highscores, 100, y, 400, y + 25);
    if (text < 20)
        return Format("no name drawn in the row of rank %d", static_cast<int>(rank) + 1);
    CHECK(SaveShot(shot, "highscores_after_win.bmp"));
    Click(window, 400, 300);
    CHECK(ExpectMenu(game, window, pictures, "a click on the highscore screen"));
    CHECK(CloseAndExpectExit(game, window));
    return "";
}

// Without a highscore file: the highscore screen shows without a box, and a
// win makes a file of one line.
Failure MissingHighscoreFileScenario(const Options& options) {
    if (FileExists(HighscorePath(options)))
        return "the working folder still holds src\\Highscore.txt";
    Pictures pictures;
    CHECK(LoadPictures(options, &pictures));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window, pictures));
    Shot shot;
    CHECK(OpenHighscores(game, window, pictures, &shot));
    if (NewWhitePixels(shot, pictures.highscores, 100, 150, 800, 600) != 0)
        return "the highscore screen shows text without a file";
    Click(window, 400, 300);
    CHECK(ExpectMenu(game, window, pictures, "a click on the empty highscore screen"));

    CHECK(ChooseEasyGame(game, window, pictures, "Mia"));
    Played played;
    Box win;
    // The first game is lost on purpose: the won one is begun by "Nochmal",
    // so its move count starts at 1.
    CHECK(BeatEasyComputer(game, window, pictures, "Mia", 1, 7, &played, &win));
    if (played.games < 2)
        return "the game meant to be lost was won";
    std::string written;
    if (!ReadWholeFile(HighscorePath(options), &written))
        return "no src\\Highscore.txt after the win";
    std::string expected = "Mia " + std::to_string(played.winningMoves) + "\r\n";
    if (written != expected)
        return "the new file holds " + Quote(written) + ", expected " + Quote(expected);
    if (FileExists(HighscorePath(options) + ".tmp"))
        return "a temporary file is left beside the table";
    CHECK(FinishWin(game, window, pictures, win));
    CHECK(OpenHighscores(game, window, pictures, &shot));
    if (NewWhitePixels(shot, pictures.highscores, 100, HighscoreRowY[0], 400,
                       HighscoreRowY[0] + 25) < 20)
        return "the new entry is not drawn in the first row";
    if (NewWhitePixels(shot, pictures.highscores, 100, HighscoreRowY[1], 800, 600) != 0)
        return "rows below the only entry show text";
    CHECK(CloseAndExpectExit(game, window));
    return "";
}

// A highscore file of garbage: a 5000-character token, an endless number, a
// line of blanks, random bytes. The screen paints, clicks still work, a win
// writes a well-formed table.
Failure GarbageHighscoreFileScenario(const Options& options) {
    std::string garbage =
        std::string(5000, 'A') + " 5\r\n   \t  \r\nBob " + std::string(300, '9') + "\r\n";
    unsigned state = 12345;
    for (int i = 0; i < 600; ++i) {
        state = state * 214013u + 2531011u;
        char byte = static_cast<char>((state >> 16) & 0xFF);
        garbage += byte == 0x1A ? '?' : byte;  // Ctrl-Z would end a text-mode read
    }
    CHECK(WriteWholeFile(HighscorePath(options), garbage));

    Pictures pictures;
    CHECK(LoadPictures(options, &pictures));
    Game game;
    HWND window = nullptr;
    CHECK(StartAtMenu(options, &game, &window, pictures));
    Shot shot;
    CHECK(OpenHighscores(game, window, pictures, &shot));
    if (NewWhitePixels(shot, pictures.highscores, 100, HighscoreRowY[0], 400,
                       HighscoreRowY[0] + 25) < 20)
        return "the cut long token is not drawn in the first row";
    CHECK(SaveShot(shot, "garbage_highscores.bmp"));
    Click(window, 400, 300);
    CHECK(ExpectMenu(game, window, pictures, "a click on the garbage highscore screen"));

    CHECK(ChooseEasyGame(game, window, pictures, "Gerd"));
    Played played;
    Box win;
    CHECK(BeatEasyComputer(game, window, pictures, "Gerd", 0, 6, &played, &win));
    std::string written;
    std::vector<ScoreLine> after;
    if (!ReadWholeFile(HighscorePath(options), &written))
        return "src\\Highscore.txt is gone after the win";
    CHECK(ParseScoreFile(written, &after));
    if (after.size() < 3 || after.size() > 10)
        return Format("the rewritten table has %d lines", static_cast<int>(after.size()));
    // The entries read back from the garbage keep their order around the new
    // one, which stands above the first entry with as many moves or more.
    size_t rank = 0;
    while (rank < after.size() &&
           !(after[rank].name == "Gerd" && after[rank].moves == played.winningMoves))
        ++rank;
    if (rank == after.size())
        return "the new entry is not in the rewritten table:\n" + written;
    for (size_t i = 0; i < rank; ++i)
        if (after[i].moves >= played.winningMoves)
            return Format("rank %d holds %d moves above the new entry of %d",
                          static_cast<int>(i) + 1, after[i].moves, played.winningMoves);
    std::vector<ScoreLine> others = after;
    others.erase(others.begin() + rank);
    if (others[0].name != "AAAAAAAAA" || others[0].moves != 5 || others[1].name != "Bob" ||
        others[1].moves != 2147483647)
        return "the first entries read from the garbage are\n" + ScoreText(others);
    std::printf("garbage table rewritten as %d lines, the new entry at rank %d\n",
                static_cast<int>(after.size()), static_cast<int>(rank) + 1);
    CHECK(FinishWin(game, window, pictures, win));
    CHECK(CloseAndExpectExit(game, window));
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
    {"intro_menu", IntroMenuScenario, ""},
    {"menu_areas", MenuAreasScenario, ""},
    {"two_player_win", TwoPlayerWinScenario, ""},
    {"credits_exit", CreditsExitScenario, ""},
    {"missing_board_picture", MissingBoardPictureScenario, "spielfeld.bmp"},
    {"highscore_screen", HighscoreScreenScenario, ""},
    {"name_dialogs", NameDialogsScenario, ""},
    {"beat_easy_computer", BeatEasyComputerScenario, ""},
    {"missing_highscore_file", MissingHighscoreFileScenario, "Highscore.txt"},
    {"garbage_highscore_file", GarbageHighscoreFileScenario, ""},
    {"gdi_handles", GdiHandlesScenario, ""},
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
