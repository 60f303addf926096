// The end-to-end driver's plumbing: the scenario's result, starting and
// ending rillo.exe, finding its windows, reading and answering its message
// boxes and dialogs, clicks, and whole files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The class shell/win32_main.cpp registers for the main window.
constexpr const char* MainClass = "WindowClass";
// The class Windows gives every message box and dialog box.
constexpr const char* DialogClass = "#32770";

constexpr DWORD StartTimeout = 30000;  // a cold Wine start can be slow
constexpr DWORD BoxTimeout = 15000;
constexpr DWORD ExitTimeout = 15000;
constexpr DWORD SettleMs = 400;  // how long "nothing appears" is watched

struct Options {
    std::string program;  // path of rillo.exe
    std::string folder;   // the game's working folder
    std::vector<std::string> arguments;
};

// A scenario's result: empty when it passed, otherwise why it failed.
using Failure = std::string;

// Ends the calling function with the failure of a step, if it failed; the
// failure travels up to the scenario, which reports it as its verdict.
#define RETURN_IF_FAILED(expression)     \
    do {                                 \
        Failure failure_ = (expression); \
        if (!failure_.empty())           \
            return failure_;             \
    } while (false)

// printf-style text; a message longer than 1023 characters is cut off.
std::string Format(const char* format, ...);
std::string Quote(const std::string& text);
double NowMs();  // milliseconds on a monotonic clock
bool FileExists(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string* contents);
Failure WriteWholeFile(const std::string& path, const std::string& contents);

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
    ~Game();

    [[nodiscard]] DWORD Id() const { return process.dwProcessId; }
    [[nodiscard]] bool Running() const {
        return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
    }
};

// Starts the program in the working folder. Under a busy Wine a start now
// and then fails inside Wine before the program runs at all (error 1359,
// an internal error); such a start is tried again, at most three times in
// all, and each retry is printed.
Failure StartGame(const Options& options, Game* game);
// Waits for the process to end; answers its exit status.
Failure WaitForExit(Game& game, DWORD timeoutMs, DWORD* status);
Failure ExpectExitStatus(Game& game, DWORD expected);

// ---------------------------------------------------------------- windows

std::string ClassOf(HWND window);
// The text of a window of any process, through WM_GETTEXT.
std::string TextOf(HWND window);
bool BelongsTo(HWND window, DWORD processId);
// The process's top-level windows of a class.
std::vector<HWND> TopWindows(DWORD processId, const char* className, bool visibleOnly);
// Waits until the main window of the game is shown: FindWindowA's class and
// title, and owned by the game's process. Null on timeout or early exit.
HWND WaitForMainWindow(const Game& game, DWORD timeoutMs);

// A left click at client coordinates, posted as the window receives it.
void Click(HWND window, int x, int y);
// A click handled to its end: the press is sent and returns only once the
// game's handler has returned, so a click that opens a modal dialog does not
// return within the timeout. The release is posted after it.
bool SendClick(HWND window, int x, int y, DWORD timeoutMs);

// ---------------------------------------------------------------- message boxes and dialogs

// A message box or dialog as a player sees it.
struct Box {
    HWND window = nullptr;
    std::string caption;
    std::string text;  // the box's message: its Static child with text
    HWND owner = nullptr;
};

Box ReadBox(HWND window);
std::string Describe(const Box& box);
// Waits for a shown box or dialog of the game other than notThis; its text
// is read once it has some, since a box fills in its controls after it shows.
Failure WaitForBox(const Game& game, DWORD timeoutMs, Box* box, HWND notThis = nullptr);
Failure ExpectBox(const Box& box, const char* text, const char* caption);
// No box or dialog of the game is shown; "after" names the step before, for
// the failure.
Failure ExpectNoBox(const Game& game, const char* after = nullptr);
// Waits until a box or dialog has gone (destroyed or hidden), looking every
// pollMs; "what" says after what, for the failure.
Failure WaitUntilGone(const Box& box, const char* what, DWORD pollMs = 20);
// Presses a button of a box or dialog by its id (IDOK, IDCANCEL, IDYES,
// IDNO, or a dialog's own) and waits until the box has gone.
Failure PressButton(const Box& box, int id);
// Presses a button like PressButton, but posts the click to the button
// instead of sending it: a sent BM_CLICK into a dialog of the game takes
// about two seconds to return under Wine, a posted one is handled at once.
Failure PostButton(const Box& box, int id);
// Types a text into an edit control of a dialog at once.
Failure SetEditText(const Box& dialog, int id, const std::string& text);

// Where a box is moved so the board can be read while it waits for its
// answer: below the names at the window's lower right, still on the screen
// (for a picture of the box), or below the window altogether.
struct Point {
    int x;
    int y;
};
constexpr Point BelowTheNames = {560, 470};
constexpr Point BelowTheWindow = {0, 640};
// Moves a box's top left corner to a point of the screen; the game repaints
// what the box uncovers.
Failure MoveBoxAside(const Box& box, Point where);

}  // namespace e2e
