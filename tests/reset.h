// Puts every process-wide value back to what it holds right after start-up
// (the board cleared, the window made, the intro screen showing) and forgets
// everything the fake platform recorded. Every test case starts with it.
#pragma once

void ResetProcessState();
