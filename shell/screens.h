// The screen state machine: what each screen shows and what a click does.
#pragma once

#include "game/state.h"

extern const FontRequest MenuFont;
extern const FontRequest HighscoreFont;

void PaintScreen(WindowHandle window);
void HandleClick(int x, int y, WindowHandle window);
int MenuHitTest(int x, int y);
// Loads the picture of a screen and copies it into the context; shows the
// picture error box when it cannot be loaded. Returns whether it loaded.
bool LoadScreenPicture(WindowHandle window, DrawContext context, int screen);
