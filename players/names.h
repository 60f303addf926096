// Asking for the players' names before a game.
#pragma once

#include "game/state.h"

constexpr const char* NameCaption = "***Name***";

void AskPlayerNames();
