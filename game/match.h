// The flow of one match: a click on the board becomes one turn, up to the
// win or draw announcement and the play-again question.
#pragma once

#include "game/state.h"
#include "game/texts.h"

// A click at x on the board, already known to lie within it.
void HandleBoardClick(int x);
void PlayColumn(int column);
// Both tests return true when they found nothing and the game goes on, and
// false when they found and announced the end of the game (the play-again
// question has been answered by then).
// CheckWin: four in a row of LastMover; a human's win over the computer is
// entered in the highscore table before it is announced.
bool CheckWin(WindowHandle window);
// CheckDraw: a full board.
bool CheckDraw();
void ComputerMove();
void AskPlayAgain();
