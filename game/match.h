// The flow of one match: a click on the board becomes one turn, up to the
// win or draw announcement and the play-again question.
#pragma once

#include "game/state.h"
#include "game/texts.h"

void HandleBoardClick(WindowHandle window, int x);
void PlayColumn(int column);
int CheckWin(WindowHandle window);
int CheckDraw();
void ComputerMove();
void AskPlayAgain();
