// The recording fake of the platform seam, for the native tests.
//
// Every seam call is recorded in order as one line of text, so a test reads
// what the game did like a log:
//   box main "text" "caption" 0x40      a message box (owner main, none or other)
//   sound async .\src\fallen.wav        StartSound
//   sound sync .\src\gewonnen.wav       PlaySoundToEnd
//   pause 1000
//   repaint
//   paint begin / paint end
//   dc get / dc release
//   picture .\src\menue.bmp 800x600 at 0,0 copy 800x600   (or "picture missing <path>")
//   size .\src\intro.bmp                (or "size missing <path>")
//   dot 70,545 d55 0,0,0
//   text 610,245 "Anna"
//   look 255,255,255
//   font create 20 10 0 10 800 0 0 0 0 0 0 0 0 "Times New Roman" -> #1
//   font select #1 (was default)        font select default (was #1)
//   font delete #1
//   prompt main "Spieler1:" "***Name***" 10 -> 1
//   replace <from> <to>                 PutFileInPlace (renames unless told to fail)
//   flush <path>                        FlushFileToDisk (fsync unless told to fail)
//   lock <path> -> taken                TryLockFile: "busy" when another holder has it
//   unlock <path>                       ReleaseFileLock, recorded once the lock is given back
// The file locks are real ones (flock on the lock file), so two holders in one
// process exclude each other as two programs do, and the system gives a lock
// back when its process ends. The lock file itself stays.
// Message boxes and name prompts are answered from scripts the test sets up.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/platform.h"

namespace fake {

struct PromptAnswer {
    std::string typed;  // what the player types (cut to the buffer like the dialog does)
    int result;         // 1 OK, 2 cancelled, 0 no prompt shown
};

// Forgets all calls, scripts, missing pictures and fonts.
void Reset();

// The calls recorded since the last Reset.
const std::vector<std::string>& Calls();
// Only the calls whose line starts with prefix, in order.
std::vector<std::string> CallsStartingWith(const std::string& prefix);
void ClearCalls();
// Adds a line to the log; lets test doubles of the game's own operations
// record themselves between the seam calls.
void Record(const std::string& line);

// Answers for the next message boxes, in order. Without a scripted answer a
// box answers AnswerOk.
void AnswerMessages(const std::vector<int>& answers);
// Answers for the next name prompts, in order. Without one a prompt answers
// 2 (cancelled) and leaves the buffer alone.
void AnswerPrompts(const std::vector<PromptAnswer>& answers);
// Called at the start of every name prompt, before it is answered, so a test
// can look at the game's state while the prompt is open. Reset removes it.
void SetPromptHook(std::function<void()> hook);
// Scripted answers not used yet.
int PendingMessageAnswers();
int PendingPromptAnswers();

// Pictures load unless marked missing. Their stored size (ReadPictureSize)
// is 800 by 600 unless set.
void SetPictureMissing(const std::string& path, bool missing = true);
void SetPictureSize(const std::string& path, int width, int height);

// Makes PutFileInPlace fail (recorded, nothing renamed) until set back.
void SetReplaceFails(bool fails = true);
// Makes FlushFileToDisk fail (recorded, nothing written through) until set back.
void SetFlushFails(bool fails = true);
// Called after every recorded call with its line, so a test can act in the
// middle of an operation: run a second one, free a file. Reset removes it.
void SetCallHook(std::function<void(const std::string& line)> hook);

// The value ProcessNumber answers; 4321 after Reset.
void SetProcessNumber(std::uint32_t number);
// Locks taken by TryLockFile and not given back yet.
int HeldLocks();

// The value ClockSeconds answers.
void SetClock(std::uint32_t seconds);

// Fonts made by CreateTextFont and not yet deleted.
int LiveFonts();
// The font the drawing context currently holds (0 for its default).
int SelectedFont();
// GetDrawContext calls minus ReleaseDrawContext calls; BeginScreenPaint minus
// EndScreenPaint.
int OpenDrawContexts();
int OpenPaints();
// Calls of DeleteTextFont on a font that was never made, already deleted or
// still selected.
int BadFontDeletes();

// The window and context handles the fake hands out.
WindowHandle TheWindow();
DrawContext TheContext();

}  // namespace fake
