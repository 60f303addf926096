// The process-wide values that several parts of the game read.
//
// Each is defined once, in the file of the part that owns it. Some are also
// written by other parts; every file that writes a value is listed here, so
// a search of these files finds every write:
//
//   value                       defined in              also written in
//   Board                       game/board.cpp          game/match.cpp (a disc into a cell)
//   TurnCounter, LastMover,     game/match.cpp          -
//   ComputerToMove, MoveCount
//   RandomState                 computer/random.cpp     -
//   Screen                      shell/screen_state.cpp  shell/screens.cpp (clicks, menu choice),
//                                                       players/names.cpp (the menu behind a
//                                                       name question, the game after it),
//                                                       game/match.cpp (No to "Nochmal")
//   GameMode                    shell/screen_state.cpp  shell/screens.cpp (menu choice)
//   Running                     shell/app.cpp           shell/screens.cpp (the credits click),
//                                                       game/match.cpp (Cancel to "Nochmal")
//   MainWindow                  shell/app.cpp           shell/win32_main.cpp (the window made),
//                                                       shell/web_main.cpp (the page's canvas)
//   IntroSize                   shell/app.cpp           -
//   PlayerName1, PlayerName2    players/names.cpp       the name prompt, through the seam
//                                                       (players/win32_name_dialog.cpp,
//                                                       players/web_name_dialog.cpp)
//
// Screen and GameMode are written nowhere in shell/screen_state.cpp but
// their start values. The tests set any value directly; tests/reset.cpp
// puts them all back.
//
// This header depends on nothing but the seam's handle types, so every part
// can include it without pulling in another part's operations.
#pragma once

#include <cstdint>

#include "shell/platform.h"

constexpr int BoardRows = 6;
constexpr int BoardColumns = 7;
constexpr int BoardCells = BoardRows * BoardColumns;

// Cell marks.
constexpr char Empty = ' ';
constexpr char MarkX = 'X';
constexpr char MarkO = 'O';

// Screens.
constexpr int ScreenIntro = 0;
constexpr int ScreenMenu = 1;
constexpr int ScreenTwoPlayers = 2;
constexpr int ScreenEasyComputer = 3;
constexpr int ScreenHardComputer = 4;
constexpr int ScreenHighscores = 5;
constexpr int ScreenCredits = 6;

// Kinds of game; GameMode is 0 until the first choice on the menu.
constexpr int ModeTwoPlayers = 1;
constexpr int ModeEasyComputer = 2;
constexpr int ModeHardComputer = 3;

// A name buffer holds at most 9 characters and the terminator.
constexpr int NameSize = 10;

// 6 rows of 7, row-major, row 0 at the top: cell (r, c) is Board[r * 7 + c].
extern char Board[BoardCells];

extern int TurnCounter;      // starts at 2; even: player 1 ('X') to move
extern char LastMover;       // the mark the win test looks for
extern bool ComputerToMove;  // while the computer is to answer
extern int MoveCount;        // board clicks handled since the last reset

extern std::uint32_t RandomState;

extern int Screen;
extern int GameMode;

extern bool Running;  // false once the game has asked to end
extern WindowHandle MainWindow;
extern PictureSize IntroSize;

extern char PlayerName1[NameSize];
extern char PlayerName2[NameSize];
