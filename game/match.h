// The flow of one match: a click on the board becomes one turn, up to the
// win or draw announcement and the play-again question.
#pragma once

#include "game/state.h"
#include "game/texts.h"

// A click at x on the board, already known to lie within it.
void HandleBoardClick(int x);
void PlayColumn(int column);
// Whether the last mover has four in a row; if so, announces the win (and
// enters a win over the computer in the highscore table) and asks to play
// again.
bool CheckWin(WindowHandle window);
// Whether the board is full; if so, announces the draw and asks to play again.
bool CheckDraw();
void ComputerMove();
void AskPlayAgain();
