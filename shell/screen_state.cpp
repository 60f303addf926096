// The screen shown and the kind of game chosen; written by the screens and
// the menu (and by the name loop and the play-again question, which send the
// players back to the menu).
#include "game/state.h"

int Screen = ScreenIntro;
int GameMode = 0;
