// The calls from the game into its page (web/rillo_library.js). Only the
// web_ files use them. Texts go over as the game's own ANSI bytes; the page
// reads them as Windows-1252, the code page the game's texts are written in.
#pragma once

extern "C" {

// The kinds of event the page queues for the game's loop; the page learns
// their values from rillo_page_start.
enum PageEventKind { PageEventPress = 1, PageEventPaint = 2, PageEventClosed = 3 };

// Once at start: takes the canvas and starts queueing the page's events.
void rillo_page_start(int press, int paint, int closed);

// Waits for the page's next event and returns its kind; a press's place in
// the game's pixels goes to *x and *y.
int rillo_next_event(int* x, int* y);

// Paints: a repaint wanted (erasing first or not); the start of one paint,
// which erases when it was asked for and takes the wish back; its end.
void rillo_request_paint(int erase);
void rillo_begin_paint();
void rillo_end_paint();

// Pictures from the page's file system, scaled at loading; false when the file
// is missing or not a picture the page can read.
int rillo_copy_picture(const char* path, int width, int height, int x, int y, int copyWidth,
                       int copyHeight);
int rillo_picture_size(const char* path, int* width, int* height);

void rillo_draw_dot(int x, int y, int diameter, int red, int green, int blue);

// Text at (x, y), its top; face null for the window's default font.
void rillo_write_text(int x, int y, const char* text, int length, const char* face, int height,
                      int width, int weight, int italic, int underline, int strikeOut, int red,
                      int green, int blue, int transparent);

// The modal boxes: the answer pressed, with the values of the seam.
int rillo_show_box(const char* text, const char* caption, unsigned style);
int rillo_ask_name(const char* prompt, const char* caption, char* target, int size);

// Sounds: start one, cutting off the one playing; play one to its end.
void rillo_start_sound(const char* path);
void rillo_play_to_end(const char* path);

// The saved folder in the browser's storage: mount and load it, write it back.
int rillo_load_saved(const char* folder);
int rillo_save_saved();

// The table's lock shared by every page of this site in the browser; 0 when
// another page holds it.
int rillo_take_lock(const char* name);
void rillo_release_lock(int lock);

// The game has ended: the page stops taking clicks and offers a new start.
void rillo_ended();

// The page's controls, headings and announcements (web/rillo_access.js).
// Texts are named by their names in game/texts.h; the page has them all.
// A new screen: its heading, then its controls, each over its hit area
// (edges included) and a press at its middle, then the table's rows where
// the screen shows them; rillo_access_shown puts the focus on its first
// control.
void rillo_access_screen(const char* heading);
void rillo_access_control(const char* name, int number, int left, int top, int right, int bottom);
void rillo_access_row(int rank, const char* name, const char* moves);
void rillo_access_shown();
// One announcement for the live region: the text of that name with {name}
// and {column} filled in (name in the game's own bytes, may be empty).
void rillo_announce(const char* text, const char* name, int column);
}
