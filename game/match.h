// The flow of one match: a click on the board becomes one turn, up to the
// win or draw announcement and the play-again question.
#pragma once

#include "game/state.h"

// Sounds and texts of the match.
constexpr const char* FallSound = ".\\src\\fallen.wav";
constexpr const char* FullColumnSound = ".\\src\\voll.wav";
constexpr const char* FullColumnSoundComputerGame = ".\\src\\Voll.wav";
constexpr const char* WinSound = ".\\src\\gewonnen.wav";

void HandleBoardClick(WindowHandle window, int x);
void PlayColumn(int column);
int CheckWin(WindowHandle window);
int CheckDraw();
void ComputerMove();
void AskPlayAgain();
