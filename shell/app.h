// Start-up and shutdown logic of the main window that does not depend on the
// windowing system: reading the intro picture's size and the failure boxes.
#pragma once

#include "game/state.h"
#include "game/texts.h"

// At window creation: reads IntroSize from the intro picture. On failure shows
// the picture error box owned by the window being created and returns false.
bool ReadIntroSize(WindowHandle window);

// When the main window could not be made: the ownerless "Fehler" box.
void ReportWindowFailure();

// Whether the message loop may hand on the message it has just retrieved.
bool KeepRunning();

// At exit: puts the window's default font back and releases the program's.
void ReleaseWindowResources(WindowHandle window);
