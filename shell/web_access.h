// What the page's controls and live region learn from the game: the screen
// shown, with its hit areas and the table's rows, and each disc, full column
// and turn as it happens. The web_ files call these at the points where the
// game has drawn or is about to wait; they only read the game's state.
#pragma once

// Around each paint: the table's rows are gathered from the text the paint
// writes, and a screen new to the page is shown to it afterwards.
void AccessBeforePaint();
void AccessAfterPaint();

// The text a paint writes at (x, y), taken as a row of the table where the
// highscore screen draws one.
void AccessNoteText(int x, int y, const char* text, int length);

// Before a press is handled: a press on a full column is announced.
void AccessBeforePress(int x);

// After a press is handled: the discs it brought, and the human's turn
// again after a computer that passed its own.
void AccessAfterPress();

// Whenever the game has drawn a disc and goes on (a sound, a pause, a box,
// the end of an event): the discs new since the last look are announced,
// then whose turn it is.
void AccessNoteBoard();
