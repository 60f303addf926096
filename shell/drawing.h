// Drawing the state of a game over the board picture: discs, whose turn it
// is and the computer's level.
#pragma once

#include "game/state.h"

void DrawDisc(WindowHandle window, int column, int row, int colour);
void DrawTurnPicture();
void DrawLevelPicture();
