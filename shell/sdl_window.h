// What the Linux files share: the window, the fonts of the Windows faces the
// game asks for, and the text conversion between the game's Windows-1252
// texts and SDL's UTF-8.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>

#include "shell/platform.h"

// The game's one window. Null until it is made; boxes before that have no
// owner.
struct PlatformWindow {
    SDL_Window* window;
};

// The window of the program.
extern PlatformWindow GameWindow;

// Set by a repaint request and by an exposure, cleared by the paint: the
// loops hand one paint to the game when no other event is waiting.
extern bool RepaintWanted;

// The game's Windows spelling of a data path (".\\src\\intro.bmp") as a path
// of this system: folder separators, relative to the program's own folder,
// each name matched without regard to case where the exact one is missing.
std::string LinuxPath(const char* path);

// The size of an uncompressed 24- or 32-bit picture file read from its
// header alone, when the file holds every row the header promises; false
// for any other file, which then has to be read whole to know.
bool ReadBitmapHeaderSize(const std::string& file, PictureSize* size);

// Copies the top-left copyWidth x copyHeight of an uncompressed 24-bit
// picture file to (x, y) of a 32-bit target, row by row from the file, as
// SDL would copy the picture it reads (clipped to the target). Only for a
// picture of wantWidth x wantHeight (0: any), which needs no scaling; any
// other file or target is NotThisWay and left to SDL's own reading.
// written is set to the part of the target the copy covers (empty when
// none).
enum class CopiedRows { Copied, Failed, NotThisWay };
CopiedRows CopyBitmapRows(const std::string& file, SDL_Surface* target, int x, int y, int copyWidth,
                          int copyHeight, int wantWidth, int wantHeight, SDL_Rect* written);

// Copies the window surface to the screen, so drawing shows at once.
void ShowWindowSurface();

// The file of a Liberation face standing in for a Windows face: serif for
// "Times New Roman", sans-serif for every other, bold from weight 600 on.
// Empty when fonts-liberation is not installed.
std::string LiberationFile(const char* face, int weight);

// Opens a font whose cell (ascent plus descent) is height pixels, as a
// Windows font of that positive height. Null when it cannot be opened.
TTF_Font* OpenFontWithCell(const std::string& file, int height);

// Opens a font of em size pixels, as a Windows font of negative height.
TTF_Font* OpenFontWithEm(const std::string& file, int size);

// The average width of the letters a-z and A-Z in font, the way Windows
// measures a font's average character width for dialog units.
double AverageLetterWidth(TTF_Font* font);

// One Windows-1252 character in UTF-16.
std::uint16_t WideOfAnsi(unsigned char c);

// One character of the Basic Multilingual Plane, appended in UTF-8.
void AppendUtf8(std::string* out, std::uint32_t code);

// Windows-1252 to UTF-8 and back; characters the code page lacks become '?'.
std::string Utf8FromAnsi(const char* text, int length);
std::string AnsiFromUtf8(const char* text);

// The next thing for a loop to do: the next event, or when none waits, the
// repaint asked for; waits for one of them.
enum class NextInLoop { Event, Paint };
NextInLoop TakeNext(SDL_Event* event);

// The program's own modal box with the data of an SDL message box, for when
// SDL cannot show one; false when it cannot either. Sets the button's id.
bool ShowOwnBox(const SDL_MessageBoxData& data, int* answer);

// A box's and a dialog's own loop: hands the main window's repaints to the
// game while they wait. Clicks on the window meanwhile are dropped, as a
// disabled owner drops them.
void ServeOwnerWhileModal(const SDL_Event& event);
void DropOwnerInputAfterModal();
