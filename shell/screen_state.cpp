// The screen shown and the kind of game chosen. Both are written by the
// screens and the menu; Screen also by the name loop and the play-again
// question, which send the players back to the menu (see game/state.h).
#include "game/state.h"

int Screen = ScreenIntro;
int GameMode = 0;
