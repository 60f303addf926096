// The calls from the game into its page (web/rillo_library.js). Only the
// web_ files use them. Texts go over as the game's own ANSI bytes; the page
// reads them as Windows-1252, the code page the game's texts are written in.
#pragma once

extern "C" {

// Once at start: takes the canvas and starts queueing the page's events.
void rillo_page_start();

// Waits for the page's next event, packed by PackEvent's rule in web_main.cpp:
// kind in bits 20 and up, x in bits 10 to 19, y in bits 0 to 9.
int rillo_next_event();

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
}
