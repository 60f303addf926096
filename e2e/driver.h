// The end-to-end driver's library, in parts by subject; a scenario file
// includes this one header and may use any of them.
//
//   e2e/process.h         the scenario's result, the program's process, its
//                         windows, message boxes and dialogs, clicks, files
//   e2e/box_icons.h       a box's buttons and icon
//   e2e/pixels.h          pixels, shots of the window, picture and BMP files
//   e2e/computer_model.h  the board model, the computer's rules, the
//                         look-ahead player
//   e2e/screens.h         the scenario's session, the way to the menu, the
//                         screens, the name dialog, the board as shown
//   e2e/games.h           games against the computer played to a win
//   e2e/highscores.h      the highscore file as the driver models it
//   e2e/resources.h       another process's GDI objects and memory
//
// e2e/two_players.h, the games of two the two-player scenarios play, is
// included by those scenario files alone.
#pragma once

#include "e2e/box_icons.h"
#include "e2e/computer_model.h"
#include "e2e/games.h"
#include "e2e/highscores.h"
#include "e2e/pixels.h"
#include "e2e/process.h"
#include "e2e/resources.h"
#include "e2e/screens.h"
