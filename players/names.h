// Asking for the players' names before a game.
#pragma once

#include "game/state.h"
#include "game/texts.h"

// In games against the computer PlayerName2 starts with this mark, so only
// the human's name decides whether the question comes again.
constexpr char ComputerNameMark = 'a';

// After a choice on the menu: asks for the names the chosen game needs (two
// on screen 2, one on screens 3 and 4) until they are confirmed non-empty or
// the players cancel. Leaves Screen at the game on confirmation, at the menu
// otherwise, and does nothing on any other screen.
void AskPlayerNames();
