// The end-to-end driver's plumbing: processes, windows, boxes, clicks, files.
#include "e2e/process.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "game/texts.h"

namespace e2e {

// NOLINTNEXTLINE(cert-dcl50-cpp): printf-style on purpose, the way vsnprintf takes it
std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments{};
    va_start(arguments, format);
    // A longer message is cut off; it is only read by a person.
    (void)std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

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

bool ReadWholeFile(const std::string& path, std::string* contents) {
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

Failure WriteWholeFile(const std::string& path, const std::string& contents) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return "cannot write " + path;
    bool written = std::fwrite(contents.data(), 1, contents.size(), out) == contents.size();
    written = std::fclose(out) == 0 && written;
    return written ? "" : "cannot write " + path;
}

// ---------------------------------------------------------------- the game process

Game::~Game() {
    if (process.hProcess == nullptr)
        return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

Failure StartGame(const Options& options, Game* game) {
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

Failure WaitForExit(Game& game, DWORD timeoutMs, DWORD* status) {
    if (WaitForSingleObject(game.process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return Format("the program did not end within %lu ms", timeoutMs);
    if (GetExitCodeProcess(game.process.hProcess, status) == 0)
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

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length) == 0)
        return "";
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    return {text.data()};
}

bool BelongsTo(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (!BelongsTo(window, search->processId))
        return TRUE;
    if (search->visibleOnly && IsWindowVisible(window) == 0)
        return TRUE;
    if (ClassOf(window) == search->className)
        search->found.push_back(window);
    return TRUE;
}

struct ChildSearch {
    const char* className;
    std::string text;  // the first child of the class with some text
};

BOOL CALLBACK FindTextChild(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (ClassOf(child) != search->className)
        return TRUE;
    std::string text = TextOf(child);
    if (text.empty())
        return TRUE;  // the icon of a box is a Static without text
    search->text = text;
    return FALSE;
}

}  // namespace

std::vector<HWND> TopWindows(DWORD processId, const char* className, bool visibleOnly) {
    WindowSearch search = {processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMainWindow(const Game& game, DWORD timeoutMs) {
    double until = NowMs() + timeoutMs;
    while (NowMs() < until) {
        // By the process, not by class and title alone: a second program in
        // the same folder has a window of the same class and title.
        for (HWND window : TopWindows(game.Id(), MainClass, true)) {
            char title[64] = "";
            GetWindowTextA(window, title, sizeof title);
            if (std::strcmp(title, WindowTitle) == 0)
                return window;
        }
        if (!game.Running())
            return nullptr;
        Sleep(20);
    }
    return nullptr;
}

void Click(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool SendClick(HWND window, int x, int y, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    LRESULT sent = SendMessageTimeoutA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y),
                                       SMTO_ABORTIFHUNG, timeoutMs, &ignored);
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    return sent != 0;
}

// ---------------------------------------------------------------- message boxes and dialogs

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

Failure WaitForBox(const Game& game, DWORD timeoutMs, Box* box, HWND notThis) {
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

Failure ExpectNoBox(const Game& game, const char* after) {
    std::vector<HWND> boxes = TopWindows(game.Id(), DialogClass, true);
    if (boxes.empty())
        return "";
    Failure failure = "unexpected " + Describe(ReadBox(boxes[0]));
    return after == nullptr ? failure : Format("after %s: %s", after, failure.c_str());
}

Failure WaitUntilGone(const Box& box, const char* what, DWORD pollMs) {
    double until = NowMs() + BoxTimeout;
    while (NowMs() < until) {
        if (IsWindow(box.window) == 0 || IsWindowVisible(box.window) == 0)
            return "";
        Sleep(pollMs);
    }
    return Format("%s did not close %s", Describe(box).c_str(), what);
}

Failure PressButton(const Box& box, int id) {
    HWND button = GetDlgItem(box.window, id);
    if (button == nullptr)
        return Format("%s has no button %d", Describe(box).c_str(), id);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return WaitUntilGone(box, Format("after button %d", id).c_str());
}

Failure PostButton(const Box& box, int id) {
    HWND button = GetDlgItem(box.window, id);
    if (button == nullptr)
        return Format("%s has no button %d", Describe(box).c_str(), id);
    PostMessageA(button, BM_CLICK, 0, 0);
    return WaitUntilGone(box, Format("after button %d", id).c_str(), 5);
}

Failure SetEditText(const Box& dialog, int id, const std::string& text) {
    HWND edit = GetDlgItem(dialog.window, id);
    if (edit == nullptr)
        return Format("%s has no control %d", Describe(dialog).c_str(), id);
    DWORD_PTR ignored = 0;
    if (SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_ABORTIFHUNG, 2000, &ignored) == 0)
        return Format("cannot set the text of control %d", id);
    return "";
}

Failure MoveBoxAside(const Box& box, Point where) {
    if (SetWindowPos(box.window, nullptr, where.x, where.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) == 0)
        return Format("cannot move %s aside", Describe(box).c_str());
    return "";
}

}  // namespace e2e
