// The end-to-end driver's library: starting rillo.exe, finding its windows,
// reading and answering its boxes and dialogs, clicking, reading pixels and
// screenshots, the game's pictures and board as the window shows them, a
// player for the easy computer, and the highscore file. Every scenario file
// includes it; the functions are inline so each file may use any of them.
#pragma once
#include <windows.h>

#include <cstdarg>
#include <cstddef>
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

// NOLINTNEXTLINE(cert-dcl50-cpp): printf-style on purpose, the way vsnprintf takes it
inline std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments{};
    va_start(arguments, format);
    // A longer message is cut off; it is only read by a person.
    (void)std::vsnprintf(buffer, sizeof buffer, format, arguments);
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

inline std::string Quote(const std::string& text) { return "\"" + text + "\""; }

// Milliseconds on a monotonic clock.
inline double NowMs() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline bool FileExists(const std::string& path) {
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
    Game(Game&&) = delete;
    Game& operator=(Game&&) = delete;
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

    [[nodiscard]] DWORD Id() const { return process.dwProcessId; }
    [[nodiscard]] bool Running() const {
        return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
    }
};

// Starts the program in the working folder. Under a busy Wine a start now
// and then fails inside Wine before the program runs at all (error 1359,
// an internal error); such a start is tried again, at most three times in
// all, and each retry is printed.
inline Failure StartGame(const Options& options, Game* game) {
    constexpr int Attempts = 3;
    DWORD error = 0;
    for (int attempt = 1; attempt <= Attempts; ++attempt) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string commandLine = Quote(options.program);
        game->startedMs = NowMs();
        if (CreateProcessA(options.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                           nullptr, options.folder.c_str(), &startup, &game->process) != 0)
            return "";
        error = GetLastError();
        game->process = PROCESS_INFORMATION();
        if (error != ERROR_INTERNAL_ERROR)
            break;
        std::printf("start %d of %s failed inside Wine (error %lu)%s\n", attempt,
                    options.program.c_str(), error, attempt < Attempts ? "; trying again" : "");
        Sleep(500);
    }
    return Format("cannot start %s in %s (error %lu)", options.program.c_str(),
                  options.folder.c_str(), error);
}

// Waits for the process to end; answers its exit status.
inline Failure WaitForExit(Game& game, DWORD timeoutMs, DWORD* status) {
    if (WaitForSingleObject(game.process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return Format("the program did not end within %lu ms", timeoutMs);
    if (GetExitCodeProcess(game.process.hProcess, status) == 0)
        return "no exit status";
    return "";
}

inline Failure ExpectExitStatus(Game& game, DWORD expected) {
    DWORD status = 0;
    Failure failure = WaitForExit(game, ExitTimeout, &status);
    if (!failure.empty())
        return failure;
    if (status != expected)
        return Format("exit status %lu, expected %lu", status, expected);
    return "";
}

// ---------------------------------------------------------------- windows

inline std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The text of a window of any process, through WM_GETTEXT.
inline std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) == 0)
        return "";
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return {text.data()};
}

inline bool BelongsTo(HWND window, DWORD processId) {
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

inline BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (!BelongsTo(window, search->processId))
        return TRUE;
    if (search->visibleOnly && IsWindowVisible(window) == 0)
        return TRUE;
    if (ClassOf(window) == search->className)
        search->found.push_back(window);
    return TRUE;
}

// The process's top-level windows of a class.
inline std::vector<HWND> TopWindows(DWORD processId, const char* className, bool visibleOnly) {
    WindowSearch search = {processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits until the main window of the game is shown: FindWindowA's class and
// title, and owned by the game's process. Null on timeout or early exit.
inline HWND WaitForMainWindow(const Game& game, DWORD timeoutMs) {
    double until = NowMs() + timeoutMs;
    while (NowMs() < until) {
        HWND window = FindWindowA(MainClass, MainTitle);
        if (window != nullptr && BelongsTo(window, game.Id()) && IsWindowVisible(window) != 0)
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

inline BOOL CALLBACK FindTextChild(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
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

inline Box ReadBox(HWND window) {
    Box box;
    box.window = window;
    box.caption = TextOf(window);
    ChildSearch search = {"Static", ""};
    EnumChildWindows(window, FindTextChild, reinterpret_cast<LPARAM>(&search));
    box.text = search.text;
    box.owner = GetWindow(window, GW_OWNER);
    return box;
}

inline std::string Describe(const Box& box) {
    return Format("box %s caption %s", Quote(box.text).c_str(), Quote(box.caption).c_str());
}

// Waits for a shown box or dialog of the game other than notThis; its text
// is read once it has some, since a box fills in its controls after it shows.
inline Failure WaitForBox(const Game& game, DWORD timeoutMs, Box* box, HWND notThis = nullptr) {
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

inline Failure ExpectBox(const Box& box, const char* text, const char* caption) {
    if (box.text != text || box.caption != caption)
        return Format("%s, expected box %s caption %s", Describe(box).c_str(), Quote(text).c_str(),
                      Quote(caption).c_str());
    return "";
}

// Waits until a box or dialog has gone (destroyed or hidden), looking every
// pollMs; "what" says after what, for the failure.
inline Failure WaitUntilGone(const Box& box, const char* what, DWORD pollMs = 20) {
    double until = NowMs() + BoxTimeout;
    while (NowMs() < until) {
        if (IsWindow(box.window) == 0 || IsWindowVisible(box.window) == 0)
            return "";
        Sleep(pollMs);
    }
    return Format("%s did not close %s", Describe(box).c_str(), what);
}

// Presses a button of a box or dialog by its id (IDOK, IDCANCEL, IDYES,
// IDNO, or a dialog's own) and waits until the box has gone.
inline Failure PressButton(const Box& box, int id) {
    HWND button = GetDlgItem(box.window, id);
    if (button == nullptr)
        return Format("%s has no button %d", Describe(box).c_str(), id);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return WaitUntilGone(box, Format("after button %d", id).c_str());
}

// Types a text into an edit control of a dialog at once.
inline Failure SetEditText(const Box& dialog, int id, const std::string& text) {
    HWND edit = GetDlgItem(dialog.window, id);
    if (edit == nullptr)
        return Format("%s has no control %d", Describe(dialog).c_str(), id);
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_ABORTIFHUNG, 2000, &ignored) == 0)
        return Format("cannot set the text of control %d", id);
    return "";
}

// ---------------------------------------------------------------- clicks and pixels

// A left click at client coordinates, as the window receives it.
inline void Click(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The colour shown at client coordinates of a window.
inline COLORREF SamplePixel(HWND window, int x, int y) {
    HDC context = GetDC(window);
    COLORREF colour = GetPixel(context, x, y);
    ReleaseDC(window, context);
    return colour;
}

inline std::string ColourText(COLORREF colour) {
    return Format("%u,%u,%u", static_cast<unsigned>(GetRValue(colour)),
                  static_cast<unsigned>(GetGValue(colour)),
                  static_cast<unsigned>(GetBValue(colour)));
}

// Waits until a client pixel shows a colour; answers the milliseconds it
// took, or a negative value on timeout.
inline double WaitForPixel(HWND window, int x, int y, COLORREF colour, DWORD timeoutMs) {
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

    [[nodiscard]] COLORREF At(int x, int y) const {
        const unsigned char* p = &pixels[(height - 1 - y) * stride + x * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

// Copies a width by height area at (left, top) of a drawing context.
inline Failure CopyArea(HDC source, int left, int top, int width, int height, Shot* shot) {
    shot->width = width;
    shot->height = height;
    if (shot->width <= 0 || shot->height <= 0)
        return "empty area";
    shot->stride = (shot->width * 3 + 3) & ~3;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot->width;
    info.bmiHeader.biHeight = shot->height;  // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Failure failure;
    if (picture == nullptr) {
        failure = "cannot make a picture for the screenshot";
    } else {
        HGDIOBJ previous = SelectObject(memory, picture);
        BitBlt(memory, 0, 0, shot->width, shot->height, source, left, top, SRCCOPY);
        SelectObject(memory, previous);
        shot->pixels.assign(static_cast<size_t>(shot->stride) * shot->height, 0);
        if (GetDIBits(memory, picture, 0, shot->height, shot->pixels.data(), &info,
                      DIB_RGB_COLORS) != shot->height)
            failure = "cannot read the screenshot's pixels";
        DeleteObject(picture);
    }
    DeleteDC(memory);
    return failure;
}

// The client area of a window, from the window's own drawing context.
inline Failure TakeShot(HWND window, Shot* shot) {
    RECT client;
    if (GetClientRect(window, &client) == 0)
        return "no client area";
    HDC source = GetDC(window);
    Failure failure =
        CopyArea(source, 0, 0, client.right - client.left, client.bottom - client.top, shot);
    ReleaseDC(window, source);
    return failure;
}

// The screen where a window lies, frame included, with whatever boxes and
// dialogs lie over it: what a player sees.
inline Failure TakeScreenShot(HWND window, Shot* shot) {
    RECT area;
    if (GetWindowRect(window, &area) == 0)
        return "no window area";
    HDC screen = GetDC(nullptr);
    Failure failure =
        CopyArea(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, shot);
    ReleaseDC(nullptr, screen);
    return failure;
}

// Writes a shot as a 24-bit BMP file.
inline Failure SaveShot(const Shot& shot, const std::string& path) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    const auto imageSize = static_cast<DWORD>(shot.pixels.size());
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
inline Failure TakeSettledShot(const Game& game, HWND window, Shot* shot) {
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

inline Failure SaveScreenshot(const Game& game, HWND window, const std::string& path) {
    Shot shot;
    Failure failure = TakeSettledShot(game, window, &shot);
    return failure.empty() ? SaveShot(shot, path) : failure;
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

inline int DiscX(int column) { return 71 * column + 70; }
inline int DiscY(int row) { return 545 - 78 * (5 - row); }
inline int ColumnClickX(int column) { return 36 + 70 * column + 35; }

// A picture file of the working folder's src\, scaled at loading as the game
// does (0 by 0: at the file's own size), read into the same layout as a
// screenshot.
inline Failure LoadPicture(const Options& options, const char* file, int width, int height,
                           Shot* shot) {
    std::string path = options.folder + "\\src\\" + file;
    auto* picture = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, width,
                                                    height, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
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

inline Failure LoadScreen(const Options& options, const char* file, Shot* shot) {
    return LoadPicture(options, file, ScreenWidth, ScreenHeight, shot);
}

// The share of a grid of points (every 7 pixels) of a region where the shot
// shows the picture's pixel, the picture's top left corner put at (left, top).
inline double Agreement(const Shot& shot, const Shot& picture, int left, int top) {
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
inline Failure WaitForPicture(HWND window, const Shot& picture, int left, int top, double share,
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
inline int CountColour(const Shot& shot, int left, int top, int width, int height,
                       COLORREF colour) {
    int count = 0;
    for (int y = top; y < top + height && y < shot.height; ++y)
        for (int x = left; x < left + width && x < shot.width; ++x)
            if (shot.At(x, y) == colour)
                ++count;
    return count;
}

// The rightmost column of a region holding a pixel of the colour, or -1.
inline int RightmostColour(const Shot& shot, int left, int top, int width, int height,
                           COLORREF colour) {
    int rightmost = -1;
    for (int y = top; y < top + height && y < shot.height; ++y)
        for (int x = left; x < left + width && x < shot.width; ++x)
            if (shot.At(x, y) == colour && x > rightmost)
                rightmost = x;
    return rightmost;
}

inline Failure ExpectNoBox(const Game& game) {
    std::vector<HWND> boxes = TopWindows(game.Id(), DialogClass, true);
    if (!boxes.empty())
        return "unexpected " + Describe(ReadBox(boxes[0]));
    return "";
}

inline Failure ExpectNoBox(const Game& game, const char* after) {
    Failure failure = ExpectNoBox(game);
    return failure.empty() ? "" : Format("after %s: %s", after, failure.c_str());
}

// A click handled to its end: the press is sent and returns only once the
// game's handler has returned, so a click that opens a modal dialog does not
// return within the timeout. The release is posted after it.
inline bool SendClick(HWND window, int x, int y, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    LRESULT sent = SendMessageTimeoutA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y),
                                       SMTO_ABORTIFHUNG, timeoutMs, &ignored);
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    return sent != 0;
}

// Starts the game, waits for the intro and clicks it away; the window shows
// the menu picture when this returns.
inline Failure StartAtMenu(const Options& options, Game* game, HWND* window,
                           double* repaintMs = nullptr) {
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
inline Failure PostButton(const Box& box, int id) {
    HWND button = GetDlgItem(box.window, id);
    if (button == nullptr)
        return Format("%s has no button %d", Describe(box).c_str(), id);
    PostMessageA(button, BM_CLICK, 0, 0);
    return WaitUntilGone(box, Format("after button %d", id).c_str(), 5);
}

// Waits for the name dialog, checks its caption and prompt, and either types
// a name and confirms it or, with no name, presses "Abbrechen".
inline Failure AnswerNameDialog(const Game& game, const char* prompt, const char* name) {
    Box dialog;
    CHECK(WaitForBox(game, BoxTimeout, &dialog));
    CHECK(ExpectBox(dialog, prompt, NameCaption));
    if (name == nullptr)
        return PostButton(dialog, IDCANCEL);
    CHECK(SetEditText(dialog, NameEditId, name));
    return PressButton(dialog, IDOK);
}

// Chooses the two-player game on the menu and gives both names.
inline Failure StartTwoPlayers(const Game& game, HWND window, const char* first,
                               const char* second) {
    Click(window, TwoPlayersButton.x, TwoPlayersButton.y);
    CHECK(AnswerNameDialog(game, "Spieler1:", first));
    return AnswerNameDialog(game, "Spieler2:", second);
}

// Checks the rings of the disc in a cell: core, light ring 22 pixels out on
// four sides, black rim 26 pixels out.
inline Failure ExpectDisc(HWND window, int column, int row, COLORREF ring, COLORREF core,
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
inline Failure DropDisc(HWND window, int column, int row, COLORREF core, double* tookMs) {
    double clicked = NowMs();
    Click(window, ColumnClickX(column), 300);
    double took = WaitForPixel(window, DiscX(column), DiscY(row), core, BoxTimeout);
    if (took < 0)
        return Format("no disc core %s at column %d row %d after a click", ColourText(core).c_str(),
                      column, row);
    *tookMs = NowMs() - clicked;
    return "";
}

inline void PrintTimes(const char* what, const std::vector<double>& times) {
    if (times.empty())
        return;
    double total = 0;
    double longest = 0;
    for (double time : times) {
        total += time;
        if (time > longest)
            longest = time;
    }
    std::printf("%s: mean %.1f ms, longest %.1f ms over %u\n", what,
                total / static_cast<double>(times.size()), longest,
                static_cast<unsigned>(times.size()));
}

// The intro shows first; a click anywhere brings the menu, and a point where
// the two pictures differ changes from the one to the other.
inline DWORD CountGdiObjects(HANDLE process) {
    DWORD counted = GetGuiResources(process, GR_GDIOBJECTS);
    if (counted != 0)
        return counted;
    struct BasicInformation {
        void* exitStatus;
        void* processBlock;
        ULONG_PTR reserved[4];
    };
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    BasicInformation information = {};
    if (sizeof(void*) != 8 || query == nullptr ||
        query(process, 0, &information, sizeof information, nullptr) != 0)
        return 0;
    unsigned long long table = 0;
    SIZE_T read = 0;
    if (ReadProcessMemory(process, static_cast<char*>(information.processBlock) + 0xF8, &table,
                          sizeof table, &read) == 0 ||
        table == 0)
        return 0;
    const size_t entries = 65536;
    const size_t entrySize = 24;
    std::vector<unsigned char> handles(entries * entrySize);
    if (ReadProcessMemory(process, reinterpret_cast<void*>(table), handles.data(), handles.size(),
                          &read) == 0 ||
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

// ---------------------------------------------------------------- names, games and highscores

constexpr int Rows = 6;
constexpr int Columns = 7;

// ---------------- files

inline bool ReadWholeFile(const std::string& path, std::string* contents) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr)
        return false;
    contents->clear();
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        contents->append(buffer, got);
    (void)std::fclose(in);  // only read
    return true;
}

inline Failure WriteWholeFile(const std::string& path, const std::string& contents) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return "cannot write " + path;
    bool written = std::fwrite(contents.data(), 1, contents.size(), out) == contents.size();
    written = std::fclose(out) == 0 && written;
    return written ? "" : "cannot write " + path;
}

inline std::string HighscorePath(const Options& options) {
    return options.folder + "\\src\\Highscore.txt";
}

struct ScoreLine {
    std::string name;
    int moves = 0;
};

// The lines of a highscore file: "name moves" with a line end, the name one
// token of 1 to 9 characters, the moves a signed decimal number. Fails on
// anything else. The game writes CR LF; the data file may have LF alone.
inline Failure ParseScoreFile(const std::string& contents, std::vector<ScoreLine>* lines) {
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
        // Out of range, strtol gives the nearest value a long holds, as the
        // game itself reads such a number; atoi would be undefined.
        lines->push_back({name, static_cast<int>(std::strtol(value.c_str(), nullptr, 10))});
    }
    return "";
}

inline std::string ScoreText(const std::vector<ScoreLine>& lines) {
    std::string text;
    for (const ScoreLine& line : lines)
        text += line.name + " " + std::to_string(line.moves) + "\r\n";
    return text;
}

// The table after a win: the new entry before the first entry with as many
// moves or more; the eleventh entry drops out.
inline std::vector<ScoreLine> WithEntry(std::vector<ScoreLine> lines, const ScoreLine& entry) {
    size_t rank = 0;
    while (rank < lines.size() && lines[rank].moves < entry.moves)
        ++rank;
    if (rank < 10)
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(rank), entry);
    if (lines.size() > 10)
        lines.resize(10);
    return lines;
}

// ---------------- pictures and screens

// The pictures a player sees, read from the working folder.
struct Pictures {
    Shot menu, board, highscores, turn1, turn2, easyLevel, hardLevel;
};

inline Failure LoadPictures(const Options& options, Pictures* pictures) {
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
inline double ShareShown(const Shot& shot, const Shot& picture, const Shot& other, int left,
                         int top, int step) {
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
inline bool ShowsScreen(const Shot& shot, const Shot& screen, const Shot& other) {
    return ShareShown(shot, screen, other, 0, 0, 20) >= 0.8;
}

inline Failure WaitForScreen(const Game& game, HWND window, const Shot& screen, const Shot& other,
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
inline Failure ExpectMenu(const Game& game, HWND window, const Pictures& pictures,
                          const char* after) {
    Shot shot;
    Failure failure = WaitForScreen(game, window, pictures.menu, pictures.board, "menu", &shot);
    if (failure.empty())
        failure = ExpectNoBox(game);
    return failure.empty() ? "" : Format("after %s: %s", after, failure.c_str());
}

// Waits for the game board, and makes sure it stays (the window may still
// show the menu for a moment after the names are confirmed).
inline Failure ExpectBoard(const Game& game, HWND window, const Pictures& pictures,
                           const char* after) {
    Shot shot;
    Failure failure = WaitForScreen(game, window, pictures.board, pictures.menu, "board", &shot);
    if (failure.empty())
        failure = ExpectNoBox(game);
    return failure.empty() ? "" : Format("after %s: %s", after, failure.c_str());
}

// 1 or 2 for the turn picture the shot shows, 0 for neither.
inline int TurnShown(const Shot& shot, const Pictures& pictures) {
    if (ShareShown(shot, pictures.turn1, pictures.turn2, 568, 96, 3) >= 0.9)
        return 1;
    if (ShareShown(shot, pictures.turn2, pictures.turn1, 568, 96, 3) >= 0.9)
        return 2;
    return 0;
}

// White text pixels in a band that the screen's own picture does not have.
inline int NewWhitePixels(const Shot& shot, const Shot& screen, int left, int top, int right,
                          int bottom) {
    int count = 0;
    for (int y = top; y < bottom && y < shot.height; ++y)
        for (int x = left; x < right && x < shot.width; ++x)
            if (shot.At(x, y) == White && screen.At(x, y) != White)
                ++count;
    return count;
}

inline Failure StartAtMenu(const Options& options, Game* game, HWND* window,
                           const Pictures& pictures) {
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
inline Failure ExpectNameDialog(const Game& game, HWND window, const char* prompt, Box* dialog,
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

// A key pressed in the dialog's edit field, as the dialog's message loop gets it.
inline Failure PressKey(const Box& dialog, WPARAM key, const char* what) {
    HWND edit = GetDlgItem(dialog.window, NameEditId);
    PostMessageA(edit, WM_KEYDOWN, key, 1);
    PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
    return WaitUntilGone(dialog, what);
}

inline Failure AnswerName(const Game& game, HWND window, const char* prompt,
                          const std::string& name, HWND* previous) {
    Box dialog;
    CHECK(ExpectNameDialog(game, window, prompt, &dialog, *previous));
    CHECK(SetEditText(dialog, NameEditId, name));
    CHECK(PressButton(dialog, IDOK));
    *previous = dialog.window;
    return "";
}

// ---------------- the board as the window shows it

using Cells = char[Rows][Columns];  // 'H' yellow (the human, player 1), 'C' red, ' ' empty

inline Failure ReadBoard(const Shot& shot, const Pictures& pictures, Cells cells) {
    const COLORREF yellowCore = RGB(128, 128, 0);
    const COLORREF yellowRing = RGB(255, 255, 0);
    const COLORREF redCore = RGB(128, 0, 0);
    const COLORREF redRing = RGB(255, 0, 0);
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            int x = DiscX(c);
            int y = DiscY(r);
            COLORREF core = shot.At(x, y);
            COLORREF ring = shot.At(x + 22, y);
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

inline int CountDiscs(const Cells cells, char who) {
    int count = 0;
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Columns; ++c)
            count += static_cast<int>(cells[r][c] == who);
    return count;
}

// ---------------- a player for the easy computer

struct Position {
    Cells cell;
};

// The computer's level, as chosen on the menu. The player below plans against
// a model of the level: for the hard one, its rule chain as modelled at the
// end of this file.
enum class Level { Easy, Hard };

inline double HardComputerValue(const Position& p, int depth, int ply);

inline int LandingRow(const Position& p, int c) {
    for (int r = Rows - 1; r >= 0; --r)
        if (p.cell[r][c] == ' ')
            return r;
    return -1;
}

// A board as text, one row a line, top row first: "|  HC   |".
inline std::string BoardText(const Cells cells) {
    std::string text;
    for (int r = 0; r < Rows; ++r) {
        text += "\n    |";
        for (int c = 0; c < Columns; ++c)
            text += cells[r][c];
        text += "|";
    }
    return text;
}

// Waits until the window's board shows exactly the expected discs: a disc
// drawn by the game may reach the screen a moment later.
inline Failure WaitForPosition(const Game& game, HWND window, const Pictures& pictures,
                               const Position& expected, const char* what) {
    double until = NowMs() + BoxTimeout;
    Failure last;
    Position seen{};
    while (NowMs() < until) {
        Shot shot;
        CHECK(TakeShot(window, &shot));
        last = ReadBoard(shot, pictures, seen.cell);
        if (last.empty()) {
            if (std::memcmp(seen.cell, expected.cell, sizeof seen.cell) == 0)
                return "";
            last = "the window shows" + BoardText(seen.cell) + "\n  expected" +
                   BoardText(expected.cell);
        }
        if (!game.Running())
            return Format("%s: the program ended", what);
        Sleep(20);
    }
    return Format("%s: %s", what, last.c_str());
}

// The computer's answer when chance decides it, as the planners see it: the
// mean of value(q) over the positions q after its disc in each column with
// room; 0 on a full board.
template <typename Value>
inline double MeanOverComputerDrops(const Position& p, Value value) {
    double sum = 0;
    int moves = 0;
    for (int c = 0; c < Columns; ++c) {
        int r = LandingRow(p, c);
        if (r < 0)
            continue;
        Position q = p;
        q.cell[r][c] = 'C';
        sum += value(q);
        ++moves;
    }
    return moves == 0 ? 0 : sum / moves;
}

// Calls visit(r, c, dr, dc) for each of the 69 windows of four cells.
template <typename Visit>
inline void ForEachWindow(Visit visit) {
    const int directions[4][2] = {{0, 1}, {-1, 0}, {-1, 1}, {-1, -1}};
    for (const auto& d : directions)
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                int endR = r + 3 * d[0];
                int endC = c + 3 * d[1];
                if (endR >= 0 && endR < Rows && endC >= 0 && endC < Columns)
                    visit(r, c, d[0], d[1]);
            }
}

inline bool HasFour(const Position& p, char who) {
    bool found = false;
    ForEachWindow([&](int r, int c, int dr, int dc) {
        int k = 0;
        while (k < 4 && p.cell[r + k * dr][c + k * dc] == who)
            ++k;
        found = found || k == 4;
    });
    return found;
}

inline bool WinsIn(const Position& p, int c, char who) {
    int r = LandingRow(p, c);
    if (r < 0)
        return false;
    Position q = p;
    q.cell[r][c] = who;
    return HasFour(q, who);
}

inline int WinningColumns(const Position& p, char who, int* first) {
    int count = 0;
    for (int c = 0; c < Columns; ++c)
        if (WinsIn(p, c, who)) {
            if (count++ == 0)
                *first = c;
        }
    return count;
}

// Open lines: windows holding discs of one side only, more discs weigh more.
inline double Openness(const Position& p) {
    const double weight[4] = {0, 1, 4, 16};
    double score = 0;
    ForEachWindow([&](int r, int c, int dr, int dc) {
        int human = 0;
        int computer = 0;
        for (int k = 0; k < 4; ++k) {
            char cell = p.cell[r + k * dr][c + k * dc];
            human += static_cast<int>(cell == 'H');
            computer += static_cast<int>(cell == 'C');
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

inline double HumanValue(const Position& p, int depth, int ply, Level level = Level::Easy);

// The easy computer as modelled: it takes its own win, blocks the human's one
// playable win (two of them it cannot stop), otherwise any column with room.
inline double ComputerValue(const Position& p, int depth, int ply, Level level = Level::Easy) {
    if (level == Level::Hard)
        return HardComputerValue(p, depth, ply);
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
    return MeanOverComputerDrops(
        p, [&](const Position& q) { return HumanValue(q, depth - 1, ply + 1); });
}

inline double HumanValue(const Position& p, int depth, int ply, Level level) {
    double best = -2 * WinValue;
    for (int c : ColumnOrder) {
        int r = LandingRow(p, c);
        if (r < 0)
            continue;
        Position q = p;
        q.cell[r][c] = 'H';
        if (HasFour(q, 'H'))
            return WinValue - ply;
        double value = ComputerValue(q, depth, ply + 1, level);
        if (value > best)
            best = value;
    }
    return best < -WinValue ? 0 : best;  // a full board is a draw
}

// The human's column: an immediate win, else the best expected value a
// short look ahead against the modelled computer gives.
inline int ChooseColumn(const Position& p, Level level = Level::Easy) {
    int bestColumn = -1;
    double best = -3 * WinValue;
    for (int c : ColumnOrder) {
        int r = LandingRow(p, c);
        if (r < 0)
            continue;
        Position q = p;
        q.cell[r][c] = 'H';
        double value = HasFour(q, 'H') ? 2 * WinValue : ComputerValue(q, 2, 1, level);
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
inline int ChooseLosingColumn(const Position& p, Level level = Level::Easy) {
    int bestColumn = -1;
    double best = 3 * WinValue;
    for (int c : ColumnOrder) {
        int r = LandingRow(p, c);
        if (r < 0)
            continue;
        Position q = p;
        q.cell[r][c] = 'H';
        double value =
            HasFour(q, 'H') || WinsIn(p, c, 'C') ? 2 * WinValue : ComputerValue(q, 1, 1, level);
        if (value < best) {
            best = value;
            bestColumn = c;
        }
    }
    return bestColumn;
}

// Waits for an empty board with the human to move: after the name dialog or
// "Nochmal" the repaint comes a little later, and a box may still be fading.
inline Failure WaitForNewGame(const Game& game, HWND window, const Pictures& pictures,
                              int gameNumber, Position* position) {
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

inline bool BoardFull(const Position& p) {
    for (int c = 0; c < Columns; ++c)
        if (p.cell[0][c] == ' ')
            return false;
    return true;
}

// After a board click: waits for a box, or for the human's disc and the
// computer's answer on a board where no box can follow (no red four, room
// left). The disc drawn during the computer's pause may reach the screen
// only together with the answer, so the pause itself is not looked for.
inline Failure AwaitAnswer(const Game& game, HWND window, const Pictures& pictures, int humanBefore,
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
        Position seen{};
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

// Plays against the computer (the easy level unless told) from an empty
// board until the human wins, answering "Nochmal" with Yes after a lost or
// drawn game. Leaves the win box open in *win. The first game counts its
// moves from 0, later ones from 1.
inline Failure BeatEasyComputer(const Game& game, HWND window, const Pictures& pictures,
                                const std::string& name, int losingGames, int maxGames,
                                Played* played, Box* win, Level level = Level::Easy) {
    for (int gameNumber = 1; gameNumber <= maxGames; ++gameNumber) {
        played->games = gameNumber;
        int clicks = 0;
        Position position{};
        CHECK(WaitForNewGame(game, window, pictures, gameNumber, &position));
        for (;;) {
            bool toLose = gameNumber <= losingGames;
            int column =
                toLose ? ChooseLosingColumn(position, level) : ChooseColumn(position, level);
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

// The win box answered OK, "Nochmal" answered No, back at the menu.
inline Failure FinishWin(const Game& game, HWND window, const Pictures& pictures, const Box& win) {
    CHECK(PressButton(win, IDOK));
    Box again;
    CHECK(WaitForBox(game, BoxTimeout, &again, win.window));
    CHECK(ExpectBox(again, "Nochmal", "***????***"));
    CHECK(PressButton(again, IDNO));
    return ExpectMenu(game, window, pictures, "No to \"Nochmal\"");
}

inline Failure OpenHighscores(const Game& game, HWND window, const Pictures& pictures, Shot* shot) {
    Click(window, HighscoresButton.x, HighscoresButton.y);
    CHECK(
        WaitForScreen(game, window, pictures.highscores, pictures.menu, "highscore screen", shot));
    CHECK(TakeSettledShot(game, window, shot));
    return ExpectNoBox(game);
}

inline Failure CloseAndExpectExit(Game& game, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return ExpectExitStatus(game, 0);
}

const int HighscoreRowY[10] = {157, 230, 290, 343, 378, 413, 448, 483, 518, 553};

// ---------------- the computer's rules, as a player can foresee them

// Which rule of its level decides the computer's answer to a position, and
// the column it names; no column when no rule finds a cell and chance
// decides. The rules look at every line of four cells; a cell they name is
// empty and supported (in the bottom row, or on a disc), so a drop into its
// column fills it. 'C' is the computer's disc, 'H' the human's.
struct RuleAnswer {
    int column = -1;
    std::string rule;  // such as "human's three, horizontal"
};

struct LineFamily {
    const char* name;
    int dr, dc;                   // from one cell of a line to the next, upward and sideways
    int firstRow, lastRow;        // the first cell's rows, scanned from the bottom up
    int firstColumn, lastColumn;  // and its columns, from left to right
};

const LineFamily HorizontalLines = {"horizontal", 0, 1, 5, 0, 0, 3};
const LineFamily VerticalLines = {"vertical", -1, 0, 5, 3, 0, 6};
const LineFamily RisingLines = {"rising", -1, 1, 5, 3, 0, 3};
const LineFamily FallingLines = {"falling", -1, -1, 5, 3, 3, 6};

inline bool OnBoard(int r, int c) { return r >= 0 && r < Rows && c >= 0 && c < Columns; }

inline bool Supported(const Position& p, int r, int c) {
    return r == Rows - 1 || p.cell[r + 1][c] != ' ';
}

// Three discs of who and one empty cell in the line of four from (r, c); a
// vertical line only with the empty cell on top. Answers the empty cell's
// column when it is supported, else -1.
inline int ThreeInLine(const Position& p, const LineFamily& f, int r, int c, char who) {
    int discs = 0;
    int empty = -1;
    for (int k = 0; k < 4; ++k) {
        char cell = p.cell[r + k * f.dr][c + k * f.dc];
        if (cell == who)
            ++discs;
        else if (cell == ' ' && empty < 0)
            empty = k;
        else
            return -1;
    }
    if (discs != 3 || (f.dc == 0 && empty != 3))
        return -1;
    int er = r + empty * f.dr;
    int ec = c + empty * f.dc;
    return f.dc == 0 || Supported(p, er, ec) ? ec : -1;
}

// Two discs of who that could grow into three: in a row, three cells from
// (r, c) holding two discs and a supported gap, with room on one side of
// them; in a column, two stacked discs with two empty cells above; on a
// diagonal, two discs and two empty cells in the line of four, the cell
// taken being the one the level blocks.
inline int TwoInLine(const Position& p, const LineFamily& f, int r, int c, char who) {
    if (f.dr == 0) {
        if (c > Columns - 3)
            return -1;
        bool leftRoom = OnBoard(r, c - 1) && p.cell[r][c - 1] == ' ';
        bool rightRoom = OnBoard(r, c + 3) && p.cell[r][c + 3] == ' ';
        if (!leftRoom && !rightRoom)
            return -1;
        int discs = 0;
        int gap = -1;
        for (int k = 0; k < 3; ++k) {
            char cell = p.cell[r][c + k];
            if (cell == who)
                ++discs;
            else if (cell == ' ')
                gap = c + k;
            else
                return -1;
        }
        return discs == 2 && Supported(p, r, gap) ? gap : -1;
    }
    if (f.dc == 0) {
        bool stack = p.cell[r][c] == who && p.cell[r - 1][c] == who && p.cell[r - 2][c] == ' ' &&
                     p.cell[r - 3][c] == ' ';
        return stack ? c : -1;
    }
    bool disc[4];
    int discs = 0;
    for (int k = 0; k < 4; ++k) {
        char cell = p.cell[r + k * f.dr][c + k * f.dc];
        if (cell != who && cell != ' ')
            return -1;
        disc[k] = cell == who;
        discs += static_cast<int>(disc[k]);
    }
    if (discs != 2)
        return -1;
    int chosen = 0;
    if ((!disc[0] && disc[1] && disc[2]) || (!disc[0] && !disc[1]))
        chosen = 0;  // _ D D _ or _ _ D D
    else if (disc[0] && !disc[1] && disc[2])
        chosen = f.dc > 0 ? 1 : 3;  // D _ D _: between them when rising, the end when falling
    else if (!disc[0] && disc[1] && !disc[2])
        chosen = 2;  // _ D _ D
    else if (disc[0] && !disc[1] && !disc[2])
        chosen = 1;  // D _ _ D
    else
        chosen = 3;  // D D _ _
    int cr = r + chosen * f.dr;
    int cc = c + chosen * f.dc;
    return Supported(p, cr, cc) ? cc : -1;
}

// One rule over a family of lines: the easy level keeps, of the bottom-most
// first cells' rows scanned upward, the last row with a find and in it the
// leftmost line; the hard level the last find of the whole scan.
inline int ScanLines(const Position& p, const LineFamily& f, char who, bool two, Level level) {
    int found = -1;
    int lastColumn = f.lastColumn + (two && f.dr == 0 ? 1 : 0);
    for (int r = f.firstRow; r >= f.lastRow; --r)
        for (int c = f.firstColumn; c <= lastColumn; ++c) {
            int column = two ? TwoInLine(p, f, r, c, who) : ThreeInLine(p, f, r, c, who);
            if (column < 0)
                continue;
            found = column;
            if (level == Level::Easy)
                break;
        }
    return found;
}

// The chain of the level: the easy one completes its own four before it
// blocks the human's, in the order horizontal, vertical, rising, falling;
// the hard one blocks the human's four, then completes its own, then blocks
// the human's twos, each in the order rising, falling, vertical, horizontal.
inline RuleAnswer ComputerRule(const Position& p, Level level) {
    struct Step {
        char who;
        bool two;
    };
    const Step easySteps[] = {{'C', false}, {'H', false}};
    const Step hardSteps[] = {{'H', false}, {'C', false}, {'H', true}};
    const LineFamily* easyOrder[] = {&HorizontalLines, &VerticalLines, &RisingLines, &FallingLines};
    const LineFamily* hardOrder[] = {&RisingLines, &FallingLines, &VerticalLines, &HorizontalLines};
    const Step* steps = level == Level::Easy ? easySteps : hardSteps;
    int stepCount = level == Level::Easy ? 2 : 3;
    const LineFamily* const* order = level == Level::Easy ? easyOrder : hardOrder;
    RuleAnswer answer;
    for (int s = 0; s < stepCount; ++s)
        for (int d = 0; d < 4; ++d) {
            int column = ScanLines(p, *order[d], steps[s].who, steps[s].two, level);
            if (column < 0)
                continue;
            answer.column = column;
            answer.rule = std::string(steps[s].who == 'C' ? "own three"
                                      : steps[s].two      ? "human's two"
                                                          : "human's three") +
                          ", " + order[d]->name;
            return answer;
        }
    return answer;
}

// The hard computer as modelled: its rule chain where a rule finds a cell,
// otherwise any column with room.
inline double HardComputerValue(const Position& p, int depth, int ply) {
    int column = -1;
    if (WinningColumns(p, 'H', &column) >= 2)
        return WinValue - ply - 1;  // it blocks one, the human wins with the other
    RuleAnswer answer = ComputerRule(p, Level::Hard);
    if (answer.column >= 0) {
        Position q = p;
        q.cell[LandingRow(p, answer.column)][answer.column] = 'C';
        if (HasFour(q, 'C'))
            return -WinValue + ply;
        return depth == 0 ? Openness(q) : HumanValue(q, depth - 1, ply + 1, Level::Hard);
    }
    if (depth == 0)
        return Openness(p);
    return MeanOverComputerDrops(
        p, [&](const Position& q) { return HumanValue(q, depth - 1, ply + 1, Level::Hard); });
}

// Chooses a game against the computer at a level from the menu, answers the
// name dialog and checks the level's picture beside the board.
inline Failure ChooseComputerGame(const Game& game, HWND window, const Pictures& pictures,
                                  const std::string& name, Level level) {
    bool easy = level == Level::Easy;
    Point button = easy ? EasyButton : HardButton;
    Click(window, button.x, button.y);
    HWND previous = nullptr;
    CHECK(AnswerName(game, window, "Spieler:", name, &previous));
    CHECK(ExpectBoard(game, window, pictures,
                      easy ? "the name for the easy computer" : "the name for the hard computer"));
    Shot shot;
    CHECK(TakeSettledShot(game, window, &shot));
    const Shot& shown = easy ? pictures.easyLevel : pictures.hardLevel;
    const Shot& other = easy ? pictures.hardLevel : pictures.easyLevel;
    if (ShareShown(shot, shown, other, 565, 336, 4) < 0.9)
        return easy ? "the easy level picture is not shown" : "the hard level picture is not shown";
    return "";
}

// Chooses a game against the easy computer, as ChooseComputerGame does.
inline Failure ChooseEasyGame(const Game& game, HWND window, const Pictures& pictures,
                              const std::string& name) {
    return ChooseComputerGame(game, window, pictures, name, Level::Easy);
}

}  // namespace e2e

// ---------------------------------------------------------------- the process's resources
// After windows.h, which it needs.
#include <psapi.h>

namespace e2e {

struct Memory {
    double privateBytes = 0;  // committed memory of the process alone
    double workingSet = 0;    // resident memory
};

// The committed private pages of a process, region by region.
inline double CommittedPrivateBytes(HANDLE process) {
    double total = 0;
    char* address = nullptr;
    MEMORY_BASIC_INFORMATION region;
    while (VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<double>(region.RegionSize);
        char* next = static_cast<char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

// Wine answers PrivateUsage with 0; then the private committed regions are
// added up instead, which is what the figure means.
inline Memory ReadMemory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    Memory memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        memory.privateBytes = static_cast<double>(counters.PrivateUsage);
        memory.workingSet = static_cast<double>(counters.WorkingSetSize);
    }
    if (memory.privateBytes <= 0)
        memory.privateBytes = CommittedPrivateBytes(process);
    return memory;
}

inline double Mib(double bytes) { return bytes / (1024.0 * 1024.0); }

}  // namespace e2e
