// The game's screens as a player meets them: the scenario's session (the
// running game, its window and the pictures it shows), the way to the menu,
// recognising a screen, the name dialog, the board and its discs as the
// window shows them. Positions and sizes come from game/layout.h, texts and
// picture files from game/texts.h.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/computer_model.h"
#include "e2e/pixels.h"
#include "e2e/process.h"
#include "game/layout.h"
#include "game/texts.h"

namespace e2e {

// The pictures a player sees, read from the working folder.
struct Pictures {
    Shot intro, menu, board, highscores, turn1, turn2, easyLevel, hardLevel;
};

// One scenario's game: the options it was started with, the running
// program, its main window and the pictures of the working folder.
struct Session {
    explicit Session(const Options& options) : options(options) {}
    const Options& options;
    Game game;
    HWND window = nullptr;
    Pictures pictures;
};

// The middle of a menu area of game/layout.h: the place a player clicks.
constexpr Point MenuButton(int screen) {
    for (const MenuArea& area : MenuAreas)
        if (area.screen == screen)
            return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    return {-1, -1};
}
constexpr Point TwoPlayersButton = MenuButton(ScreenTwoPlayers);
constexpr Point EasyButton = MenuButton(ScreenEasyComputer);
constexpr Point HardButton = MenuButton(ScreenHardComputer);
constexpr Point HighscoresButton = MenuButton(ScreenHighscores);
constexpr Point CreditsButton = MenuButton(ScreenCredits);

constexpr int DiscX(int column) { return DiscFirstX + DiscStepX * column; }
constexpr int DiscY(int row) { return DiscBottomY - DiscStepY * (Rows - 1 - row); }
// The middle of a column's click band.
constexpr int ColumnClickX(int column) { return BandFirstX + BandWidth * column + BandWidth / 2; }

// The driver clicks a menu button at its middle and a column at its disc
// centre as well as at its band's middle; these hold for the layout the
// program uses, or the driver would click somewhere else than it means.
constexpr bool ButtonReachesItsScreen(int screen) {
    const Point button = MenuButton(screen);
    for (const MenuArea& area : MenuAreas)
        if (button.x >= area.left && button.x <= area.right && button.y >= area.top &&
            button.y <= area.bottom)
            return area.screen == screen;  // the first area holding the point wins
    return false;
}
static_assert(ButtonReachesItsScreen(ScreenTwoPlayers) &&
                  ButtonReachesItsScreen(ScreenEasyComputer) &&
                  ButtonReachesItsScreen(ScreenHardComputer) &&
                  ButtonReachesItsScreen(ScreenHighscores) && ButtonReachesItsScreen(ScreenCredits),
              "a menu button's middle does not lead to its own screen");
constexpr bool ClicksFallInTheirBand(int column) {
    const int first = BandFirstX + BandWidth * column;
    return first > BoardLeftOutside && first + BandWidth - 1 <= BoardRight &&
           DiscX(column) >= first && DiscX(column) < first + BandWidth &&
           ColumnClickX(column) >= first && ColumnClickX(column) < first + BandWidth;
}
static_assert(ClicksFallInTheirBand(0) && ClicksFallInTheirBand(1) && ClicksFallInTheirBand(2) &&
                  ClicksFallInTheirBand(3) && ClicksFallInTheirBand(4) &&
                  ClicksFallInTheirBand(5) && ClicksFallInTheirBand(Columns - 1),
              "a disc centre or a band's middle lies outside its column's click band");

// Loads the pictures of the game screens, the turn and the level pictures
// (StartAtMenu loads the intro and the menu itself).
Failure LoadPictures(Session* session);

// Starts the game, waits for the intro to show exactly, clicks it away and
// waits for the menu to show exactly, with no box; answers how long the menu
// took to show after the click.
Failure StartAtMenu(Session* session, double* introClickToMenuMs = nullptr);

// Back on the menu: the menu picture rather than the board in the window,
// no dialog left.
Failure ExpectMenu(const Session& session, const char* after);
// Waits for the game board rather than the menu, and no box (the window may
// still show the menu for a moment after the names are confirmed).
Failure ExpectBoard(const Session& session, const char* after);
// Clicks the menu's highscore button and waits for the highscore screen to
// settle, in *shot, with no box.
Failure OpenHighscores(const Session& session, Shot* shot);
// 1 or 2 for the turn picture the shot shows, 0 for neither.
int TurnShown(const Shot& shot, const Pictures& pictures);
// The white pixels of player 1's or player 2's name beside the board that the
// board picture itself does not have.
int NamePixels(const Shot& shot, const Pictures& pictures, int player);

// ---------------------------------------------------------------- the name dialog

constexpr int NameEditId = 200;  // the name dialog's edit field

// Waits for the name dialog with a prompt (other than notThis); checks its
// caption, its owner and its empty edit field.
Failure ExpectNameDialog(const Session& session, const char* prompt, Box* dialog,
                         HWND notThis = nullptr);
// Waits for the name dialog, checks it, and either types a name and confirms
// it or, with no name, presses "Abbrechen". *previous, when given, names the
// dialog answered before, which may still be closing, and is set to this one.
Failure AnswerName(const Session& session, const char* prompt, const char* name,
                   HWND* previous = nullptr);
// A key pressed in the dialog's edit field, as the dialog's message loop gets it.
Failure PressKey(const Box& dialog, WPARAM key, const char* what);
// Chooses the two-player game on the menu and gives both names.
Failure StartTwoPlayers(const Session& session, const char* first, const char* second);

// ---------------------------------------------------------------- the board

// The discs the shot shows; fails on a cell that shows neither a disc nor
// the board picture (a disc half drawn, a box over it).
Failure ReadBoard(const Shot& shot, const Pictures& pictures, Position* position);
// Waits until the window's board shows exactly the expected discs: a disc
// drawn by the game may reach the screen a moment later.
Failure WaitForPosition(const Session& session, const Position& expected, const char* what);
// Checks the rings of the disc in a cell: core, light ring 22 pixels out on
// four sides, black rim 26 pixels out.
Failure ExpectDisc(HWND window, int column, int row, COLORREF ring, COLORREF core,
                   const char* what);
// Clicks a column and waits until the disc's core shows in the cell; answers
// the milliseconds from the click to the core.
Failure DropDisc(HWND window, int column, int row, COLORREF core, double* tookMs);

// ---------------------------------------------------------------- leaving

// Asks the window to close; the program must end with status 0.
Failure CloseAndExpectExit(Session& session);

// Prints the mean and the longest of a series of times.
void PrintTimes(const char* what, const std::vector<double>& times);

}  // namespace e2e
