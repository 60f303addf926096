// The process-wide values that several parts of the game read.
//
// Each is defined once, in the part that owns it and is its only writer:
//   Board                                        game/board.cpp
//   TurnCounter, LastMover, ComputerToMove,
//   MoveCount                                    game/match.cpp
//   RandomState                                  computer/random.cpp
//   Screen, GameMode                             shell/screen_state.cpp
//   Running, MainWindow, IntroSize               shell/app.cpp
//   PlayerName1, PlayerName2                     players/names.cpp
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

// Kinds of game.
constexpr int ModeTwoPlayers = 1;
constexpr int ModeEasyComputer = 2;
constexpr int ModeHardComputer = 3;

// A name buffer holds at most 9 characters and the terminator.
constexpr int NameSize = 10;

// 6 rows of 7, row-major, row 0 at the top: cell (r, c) is Board[r * 7 + c].
extern char Board[BoardCells];

extern int TurnCounter;     // starts at 2; even: player 1 ('X') to move
extern char LastMover;      // the mark the win test looks for
extern bool ComputerToMove;  // while the computer is to answer
extern int MoveCount;       // board clicks handled since the last reset

extern std::uint32_t RandomState;

extern int Screen;
extern int GameMode;

extern bool Running;
extern WindowHandle MainWindow;
extern PictureSize IntroSize;

extern char PlayerName1[NameSize];
extern char PlayerName2[NameSize];
