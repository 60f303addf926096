// Where everything lies on the window's 800 by 600 client area: the screen
// pictures, the menu's hit areas, the board's click bands and disc centres,
// the status pictures, the names and the rows of the highscore table.
//
// The one home of these numbers. The program draws and hit-tests with them,
// the end-to-end driver clicks and samples with them, and tools/make_data.sh
// and tools/check_data.py read them from this file (one "constexpr int" or
// one array per line, so a script can take them without a compiler).
#pragma once

#include "game/state.h"

// Every screen picture is scaled to the client area at (0, 0).
constexpr int ScreenPictureWidth = 800;
constexpr int ScreenPictureHeight = 600;

// The menu's hit areas, edges included, tested in this order; the first
// holding the point wins, so (KEPT:) the strip where the last two overlap
// belongs to the highscore table.
struct MenuArea {
    int left;
    int right;
    int top;
    int bottom;
    int screen;
};
// clang-format off
constexpr MenuArea MenuAreas[] = {
    {290, 460, 310, 350, ScreenTwoPlayers},
    {310, 440, 370, 400, ScreenEasyComputer},
    {485, 620, 370, 400, ScreenHardComputer},
    {270, 465, 420, 460, ScreenHighscores},
    {290, 445, 457, 515, ScreenCredits},
};
// clang-format on
constexpr int MenuAreaCount = sizeof MenuAreas / sizeof MenuAreas[0];

// Clicks on a game screen count only for BoardLeftOutside < x <= BoardRight;
// y plays no part.
constexpr int BoardLeftOutside = 35;
constexpr int BoardRight = 525;

// Column c takes the clicks of the band of BandWidth pixels starting at
// BandFirstX + BandWidth * c.
constexpr int BandFirstX = 36;
constexpr int BandWidth = 70;

// Disc centres: column c at DiscFirstX + DiscStepX * c, the bottom row at
// DiscBottomY and each row above it DiscStepY higher. KEPT: the centres are 71
// pixels apart, the click bands 70.
constexpr int DiscFirstX = 70;
constexpr int DiscStepX = 71;
constexpr int DiscBottomY = 545;
constexpr int DiscStepY = 78;

// The four dots of a disc, from the outside in: black rim, light ring, black
// ring, dark core.
constexpr int DiscRimDiameter = 55;
constexpr int DiscRingDiameter = 50;
constexpr int DiscInnerRimDiameter = 40;
constexpr int DiscCoreDiameter = 35;

// Whose turn it is: spieler1.bmp or spieler2.bmp.
constexpr int TurnPictureWidth = 202;
constexpr int TurnPictureHeight = 58;
constexpr int TurnPictureX = 568;
constexpr int TurnPictureY = 96;

// The computer's level: compuleicht.bmp or compuschwer.bmp.
constexpr int LevelPictureWidth = 212;
constexpr int LevelPictureHeight = 134;
constexpr int LevelPictureX = 565;
constexpr int LevelPictureY = 336;

// Top left corners of the players' names beside the board.
constexpr int Name1X = 610;
constexpr int Name1Y = 245;
constexpr int Name2X = 610;
constexpr int Name2Y = 400;

// The highscore table: a row's name at HighscoreNameX, its moves at
// HighscoreMovesX, the text's top at the row's y.
constexpr int HighscoreNameX = 105;
constexpr int HighscoreMovesX = 600;
constexpr int HighscoreRowY[] = {157, 230, 290, 343, 378, 413, 448, 483, 518, 553};
