// The page's entry and its event loop: the counterpart of the Windows
// program's WinMain and window procedure.
//
// The page's listeners only queue events (a press on the canvas, a repaint
// wanted, the page going away); this loop alone takes them, one at a time, and
// hands them to the portable shell and screens. While the game waits inside a
// handler (a box, the name prompt, the computer's pause, the win sound) the
// page goes on drawing and queueing.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "game/board.h"
#include "game/texts.h"
#include "shell/app.h"
#include "shell/screens.h"
#include "shell/web_access.h"
#include "shell/web_page.h"

// The page's one window: the canvas.
struct PlatformWindow {
    int canvas;
};

namespace {

PlatformWindow Canvas = {0};

// The folder kept in the browser's storage, which is the game's working
// folder, so the table's path from the game names a file in it; and the
// first table shipped with the data.
constexpr const char* SavedFolder = "/rillo/table";
constexpr const char* ShippedTable = "/rillo/src/Highscore.txt";

bool CopyFile(const char* from, const char* to) {
    std::FILE* source = std::fopen(from, "rb");
    if (source == nullptr)
        return false;
    std::FILE* target = std::fopen(to, "wb");
    bool copied = target != nullptr;
    char buffer[512];
    while (copied) {
        std::size_t count = std::fread(buffer, 1, sizeof buffer, source);
        if (count > 0 && std::fwrite(buffer, 1, count, target) != count)
            copied = false;
        if (count < sizeof buffer)
            break;
    }
    if (std::ferror(source) != 0)
        copied = false;
    (void)std::fclose(source);  // only read
    if (target != nullptr && std::fclose(target) != 0)
        copied = false;
    return copied;
}

// Loads the saved folder before the first screen is drawn; the shipped table
// is put in only when the browser holds none yet, through a complete copy
// beside it, as every later table is.
void OpenSavedTable() {
    (void)mkdir("/rillo", 0777);
    (void)mkdir(SavedFolder, 0777);
    if (rillo_load_saved(SavedFolder) == 0)
        std::fputs("Rillo: the browser's storage could not be read; the table lasts this visit\n",
                   stderr);
    if (chdir(SavedFolder) != 0)
        return;
    std::FILE* saved = std::fopen(HighscoreFile, "r");
    if (saved != nullptr) {
        (void)std::fclose(saved);  // only looked for
        return;
    }
    std::string first = std::string(HighscoreFile) + ".first";
    if (!CopyFile(ShippedTable, first.c_str()) || !PutFileInPlace(first.c_str(), HighscoreFile))
        (void)std::remove(first.c_str());
}

}  // namespace

int main() {
    rillo_page_start(PageEventPress, PageEventPaint, PageEventClosed);
    ClearBoard();
    // As on Windows, the intro picture's size is read while the window is
    // made, and without it there is no window.
    if (!ReadIntroSize(&Canvas)) {
        ReportWindowFailure();
        rillo_ended();
        return 0;
    }
    MainWindow = &Canvas;
    // The intro needs nothing from the browser's storage, which may take a
    // while to open: it is drawn first, and presses wait in the queue until
    // the table is loaded.
    RequestRepaint(MainWindow);
    AccessBeforePaint();
    PaintScreen(MainWindow);
    AccessAfterPaint();
    OpenSavedTable();

    for (;;) {
        int x = 0;
        int y = 0;
        int kind = rillo_next_event(&x, &y);
        if (kind == PageEventClosed)
            break;
        if (kind == PageEventPaint) {
            AccessBeforePaint();
            PaintScreen(MainWindow);
            AccessAfterPaint();
        } else if (kind == PageEventPress) {
            AccessBeforePress(x);
            HandleClick(x, y, MainWindow);
            AccessAfterPress();
        }
        // The Windows program ends at the next message it takes; a page has
        // no such message to wait for, so it ends as soon as the game asks.
        if (!KeepRunning())
            break;
    }

    ReleaseWindowResources(MainWindow);
    rillo_ended();
    return 0;
}
