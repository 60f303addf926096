// A box's buttons and icon as the player sees them: the icon is told apart
// from the other system icons by drawing each one as a box draws it.
#pragma once
#include <windows.h>

#include <vector>

#include "e2e/process.h"

namespace e2e {

// A box of the game: its text and caption, owned by the main window, with
// exactly these buttons, and the icon of a message (OK alone) or of a
// question.
Failure ExpectGameBox(const Box& box, HWND window, const char* text, const char* caption,
                      std::vector<int> buttons);

}  // namespace e2e
