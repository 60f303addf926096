// The platform seam: everything the game needs from the windowing system.
//
// Free functions, declared once here and defined once per platform. Which
// one is used is decided by what a target links, never by #ifdef:
//   Windows program   shell/win32_platform.cpp (all but two) and
//                     players/win32_name_dialog.cpp (RunNamePrompt, WideFromAnsi)
//   native tests      tests/fake_platform.cpp (all of them, recording each call)
//   web build         shell/web_platform.cpp (all but two) and
//                     players/web_name_dialog.cpp (RunNamePrompt); the page
//                     writes no dialog template, so it has no WideFromAnsi
// players/dialog_template.cpp is portable code although it writes the Windows
// dialog template format: kept out of the win32_ files on purpose, so every
// byte of the template is checked by the native tests.
#pragma once

#include <cstdint>

// Opaque handles. The platform knows what they point to; the game only passes
// them on.
struct PlatformWindow;
struct PlatformDrawContext;
struct PlatformFont;
using WindowHandle = PlatformWindow*;
using DrawContext = PlatformDrawContext*;
using FontHandle = PlatformFont*;
struct PlatformLock;
using FileLock = PlatformLock*;

struct Colour {
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};

struct PictureSize {
    int width;
    int height;
};

// Message box styles and answers, with the values the platform uses.
constexpr unsigned BoxOk = 0x00;
constexpr unsigned BoxInformation = 0x40;  // OK button, information icon
constexpr unsigned BoxYesNoCancel = 0x23;  // Yes, No, Cancel, question icon
constexpr int AnswerOk = 1;
constexpr int AnswerCancel = 2;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;

// Every argument of the platform's font request, so the game owns the values.
struct FontRequest {
    int height;
    int width;
    int escapement;
    int orientation;
    int weight;
    bool italic;
    bool underline;
    bool strikeOut;
    int charSet;
    int outputPrecision;
    int clipPrecision;
    int quality;
    int pitchAndFamily;
    const char* face;
};

// Called by the match flow, the screens and start-up to tell the player
// something. Modal; owner may be null (no owner). Returns the answer pressed.
int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style);

// Called by the match flow when a disc falls or a column is full: starts the
// wave file and returns at once, cutting off any sound still playing.
void StartSound(const char* path);

// Called by the match flow on a win: plays the wave file to its end.
void PlaySoundToEnd(const char* path);

// Called by the computer's turn: blocks the thread for a number of milliseconds.
void Pause(int milliseconds);

// Called after screen changes and a new game: asks for a repaint of the whole
// window with the background erased first. The paint follows later.
void RequestRepaint(WindowHandle window);

// Called by the screen painter at the start and end of one paint request.
DrawContext BeginScreenPaint(WindowHandle window);
void EndScreenPaint(WindowHandle window);

// Called by every drawing operation outside a paint: the window's own,
// persistent drawing context, given back at the end of the operation.
DrawContext GetDrawContext(WindowHandle window);
void ReleaseDrawContext(WindowHandle window, DrawContext context);

// Called by the screen painter and the status drawing: loads a picture file
// scaled to width by height, copies copyWidth by copyHeight of it to (x, y)
// and releases it again. Returns false when the file could not be loaded.
bool CopyPicture(DrawContext context, const char* path, int width, int height, int x, int y,
                 int copyWidth, int copyHeight);

// Called once at window creation: the size stored in a picture file. Returns
// false when the file could not be loaded; the picture is released either way.
bool ReadPictureSize(const char* path, PictureSize* size);

// Called by the disc drawing: one filled round dot of a diameter and colour
// centred on (x, y). Leaves the context's pen as it was.
void DrawDot(DrawContext context, int x, int y, int diameter, Colour colour);

// Called for player names and the highscore table: text with its top left
// corner at (x, y) in the context's current font, colour and background mode.
void WriteText(DrawContext context, int x, int y, const char* text, int length);

// Called by a menu click: text is drawn over the picture without a filled
// background, in the given colour, from now on.
void SetTextLook(DrawContext context, Colour colour);

// Fonts for the text of the window. CreateTextFont makes one; SelectTextFont
// makes it current in the context and returns the font it replaced (null when
// that was the context's own default); a null font puts the default back.
// DeleteTextFont releases a font that is no longer selected.
FontHandle CreateTextFont(const FontRequest& request);
FontHandle SelectTextFont(DrawContext context, FontHandle font);
void DeleteTextFont(FontHandle font);

// Called by the name loop: the modal name prompt owned by owner. Copies at
// most size - 1 typed characters and a terminator into target. Returns 1 when
// confirmed, 2 when cancelled or closed, 0 when no prompt could be shown.
int RunNamePrompt(WindowHandle owner, const char* prompt, const char* caption, char* target,
                  int size);

// Called by the dialog template writer: converts a terminated text from the
// system's ANSI code page to UTF-16, terminator included. With capacity 0 it
// only counts. Returns the number of UTF-16 units (0 on failure).
int WideFromAnsi(const char* text, std::uint16_t* out, int capacity);

// Called by the highscore table: puts a completely written file in place of
// another in one step; false when it could not. (Not named ReplaceFile:
// <windows.h> defines that name as a macro, which would rename this function
// in the Win32 files only and break the link.)
bool PutFileInPlace(const char* from, const char* to);

// Called by the highscore table after its temporary file is written and
// closed, before PutFileInPlace: writes the file's data through to the disk,
// so the replace can never reach the disk before the data. False when it
// could not (the write then counts as failed).
bool FlushFileToDisk(const char* path);

// Called by the highscore table before it reads the table: tries once, without
// waiting, to take the exclusive lock at path (a file beside the table) that
// no other running program can hold at the same time. The system gives it back
// when the program ends, however it ends. Null when another program holds it
// or it cannot be made; the caller decides how long to try again.
FileLock TryLockFile(const char* path);

// Called by the highscore table once the new table is in place or given up:
// gives back a lock taken by TryLockFile.
void ReleaseFileLock(FileLock lock);

// Called by the highscore table to name its temporary file: a number that no
// other running program has (the process id).
std::uint32_t ProcessNumber();

// Called by the computer players before every choice: the calendar clock in
// whole seconds since 1 January 1970, 00:00 UTC, to seed the random choice.
std::uint32_t ClockSeconds();
