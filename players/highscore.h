// The table of the ten best wins against the computer, kept in a text file.
#pragma once

#include "game/state.h"

constexpr const char* HighscoreFile = ".\\src\\Highscore.txt";

void EnterHighscore(WindowHandle window, const char* name, int moves);
void DrawHighscores(WindowHandle window);
