// The recording fake of the platform seam: this program's null driver.
#include "tests/fake_platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <utility>

#include "game/state.h"

namespace {

struct FakeState {
    std::vector<std::string> calls;
    std::deque<int> messageAnswers;
    std::deque<fake::PromptAnswer> promptAnswers;
    std::function<void()> promptHook;
    bool replaceFails = false;
    bool flushFails = false;
    std::function<void(const std::string&)> callHook;
    std::uint32_t processNumber = 4321;
    std::map<int, std::string> heldLocks;  // open descriptor -> lock file
    std::set<std::string> missingPictures;
    std::map<std::string, PictureSize> pictureSizes;
    std::set<int> liveFonts;
    int nextFont = 1;
    int selectedFont = 0;
    int openContexts = 0;
    int openPaints = 0;
    int badFontDeletes = 0;
    std::uint32_t clock = 0;
};

FakeState& State() {
    static FakeState state;
    return state;
}

// Handles are small numbers dressed as pointers; nothing dereferences them.
template <typename Handle>
Handle MakeHandle(std::uintptr_t value) {
    return reinterpret_cast<Handle>(value);
}

int FontNumber(FontHandle font) { return static_cast<int>(reinterpret_cast<std::uintptr_t>(font)); }

std::string FontName(int number) {
    return number == 0 ? std::string("default") : "#" + std::to_string(number);
}

std::string OwnerName(WindowHandle owner) {
    if (owner == nullptr)
        return "none";
    if (owner == MainWindow)
        return "main";
    return "other";
}

std::string ColourText(Colour colour) {
    return std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue);
}

void Record(const std::string& line) {
    State().calls.push_back(line);
    // A copy: the hook may set another hook or reset the fake.
    std::function<void(const std::string&)> hook = State().callHook;
    if (hook)
        hook(line);
}

}  // namespace

namespace fake {

void Reset() {
    // A lock a failed test left held would block the next test's table.
    for (const auto& held : State().heldLocks)
        (void)close(held.first);
    State() = FakeState();
}

const std::vector<std::string>& Calls() { return State().calls; }

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& call : State().calls) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            found.push_back(call);
    }
    return found;
}

void ClearCalls() { State().calls.clear(); }

void Record(const std::string& line) { ::Record(line); }

void AnswerMessages(const std::vector<int>& answers) {
    State().messageAnswers.insert(State().messageAnswers.end(), answers.begin(), answers.end());
}

void AnswerPrompts(const std::vector<PromptAnswer>& answers) {
    State().promptAnswers.insert(State().promptAnswers.end(), answers.begin(), answers.end());
}

void SetPromptHook(std::function<void()> hook) { State().promptHook = std::move(hook); }

int PendingMessageAnswers() { return static_cast<int>(State().messageAnswers.size()); }
int PendingPromptAnswers() { return static_cast<int>(State().promptAnswers.size()); }

void SetPictureMissing(const std::string& path, bool missing) {
    if (missing) {
        State().missingPictures.insert(path);
    } else {
        State().missingPictures.erase(path);
    }
}

void SetPictureSize(const std::string& path, int width, int height) {
    State().pictureSizes[path] = PictureSize{width, height};
}

void SetReplaceFails(bool fails) { State().replaceFails = fails; }

void SetFlushFails(bool fails) { State().flushFails = fails; }

void SetCallHook(std::function<void(const std::string& line)> hook) {
    State().callHook = std::move(hook);
}

void SetProcessNumber(std::uint32_t number) { State().processNumber = number; }

int HeldLocks() { return static_cast<int>(State().heldLocks.size()); }

void SetClock(std::uint32_t seconds) { State().clock = seconds; }

int LiveFonts() { return static_cast<int>(State().liveFonts.size()); }
int SelectedFont() { return State().selectedFont; }
int OpenDrawContexts() { return State().openContexts; }
int OpenPaints() { return State().openPaints; }
int BadFontDeletes() { return State().badFontDeletes; }

WindowHandle TheWindow() { return MakeHandle<WindowHandle>(0x1000); }
DrawContext TheContext() { return MakeHandle<DrawContext>(0x2000); }

}  // namespace fake

int ShowMessage(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    char styleText[16];
    // At most "0x" and eight digits: it always fits.
    (void)std::snprintf(styleText, sizeof styleText, "0x%02X", style);
    Record("box " + OwnerName(owner) + " \"" + text + "\" \"" + caption + "\" " + styleText);
    FakeState& state = State();
    if (state.messageAnswers.empty())
        return AnswerOk;
    int answer = state.messageAnswers.front();
    state.messageAnswers.pop_front();
    return answer;
}

void StartSound(const char* path) { Record(std::string("sound async ") + path); }

void PlaySoundToEnd(const char* path) { Record(std::string("sound sync ") + path); }

void Pause(int milliseconds) { Record("pause " + std::to_string(milliseconds)); }

void RequestRepaint(WindowHandle /*window*/) { Record("repaint"); }

DrawContext BeginScreenPaint(WindowHandle /*window*/) {
    Record("paint begin");
    ++State().openPaints;
    return fake::TheContext();
}

void EndScreenPaint(WindowHandle /*window*/) {
    Record("paint end");
    --State().openPaints;
}

DrawContext GetDrawContext(WindowHandle /*window*/) {
    Record("dc get");
    ++State().openContexts;
    return fake::TheContext();
}

void ReleaseDrawContext(WindowHandle /*window*/, DrawContext /*context*/) {
    Record("dc release");
    --State().openContexts;
}

bool CopyPicture(DrawContext /*context*/, const char* path, int width, int height, int x, int y,
                 int copyWidth, int copyHeight) {
    if (State().missingPictures.count(path) != 0) {
        Record(std::string("picture missing ") + path);
        return false;
    }
    Record(std::string("picture ") + path + " " + std::to_string(width) + "x" +
           std::to_string(height) + " at " + std::to_string(x) + "," + std::to_string(y) +
           " copy " + std::to_string(copyWidth) + "x" + std::to_string(copyHeight));
    return true;
}

bool ReadPictureSize(const char* path, PictureSize* size) {
    if (State().missingPictures.count(path) != 0) {
        Record(std::string("size missing ") + path);
        return false;
    }
    Record(std::string("size ") + path);
    auto found = State().pictureSizes.find(path);
    *size = found != State().pictureSizes.end() ? found->second : PictureSize{800, 600};
    return true;
}

void DrawDot(DrawContext /*context*/, int x, int y, int diameter, Colour colour) {
    Record("dot " + std::to_string(x) + "," + std::to_string(y) + " d" + std::to_string(diameter) +
           " " + ColourText(colour));
}

void WriteText(DrawContext /*context*/, int x, int y, const char* text, int length) {
    Record("text " + std::to_string(x) + "," + std::to_string(y) + " \"" +
           std::string(text, static_cast<std::size_t>(length)) + "\"");
}

void SetTextLook(DrawContext /*context*/, Colour colour) { Record("look " + ColourText(colour)); }

FontHandle CreateTextFont(const FontRequest& r) {
    FakeState& state = State();
    int number = state.nextFont++;
    state.liveFonts.insert(number);
    // Thirteen numbers of at most eleven characters each always fit; the
    // face, of any length, is added after them.
    char numbers[256];
    (void)std::snprintf(numbers, sizeof numbers, "%d %d %d %d %d %d %d %d %d %d %d %d %d", r.height,
                        r.width, r.escapement, r.orientation, r.weight, r.italic ? 1 : 0,
                        r.underline ? 1 : 0, r.strikeOut ? 1 : 0, r.charSet, r.outputPrecision,
                        r.clipPrecision, r.quality, r.pitchAndFamily);
    Record(std::string("font create ") + numbers + " \"" + r.face + "\" -> #" +
           std::to_string(number));
    return MakeHandle<FontHandle>(static_cast<std::uintptr_t>(number));
}

FontHandle SelectTextFont(DrawContext /*context*/, FontHandle font) {
    FakeState& state = State();
    int previous = state.selectedFont;
    state.selectedFont = FontNumber(font);
    Record("font select " + FontName(state.selectedFont) + " (was " + FontName(previous) + ")");
    return MakeHandle<FontHandle>(static_cast<std::uintptr_t>(previous));
}

void DeleteTextFont(FontHandle font) {
    FakeState& state = State();
    int number = FontNumber(font);
    Record("font delete " + FontName(number));
    if (state.liveFonts.erase(number) == 0 || number == state.selectedFont)
        ++state.badFontDeletes;
}

int RunNamePrompt(WindowHandle owner, const char* prompt, const char* caption, char* target,
                  int size) {
    FakeState& state = State();
    if (state.promptHook)
        state.promptHook();
    int result = AnswerCancel;
    if (!state.promptAnswers.empty()) {
        fake::PromptAnswer answer = state.promptAnswers.front();
        state.promptAnswers.pop_front();
        result = answer.result;
        if (result == AnswerOk && size > 0) {
            std::size_t keep = std::min(answer.typed.size(), static_cast<std::size_t>(size - 1));
            std::memcpy(target, answer.typed.data(), keep);
            target[keep] = '\0';
        }
    }
    Record("prompt " + OwnerName(owner) + " \"" + prompt + "\" \"" + caption + "\" " +
           std::to_string(size) + " -> " + std::to_string(result));
    return result;
}

int WideFromAnsi(const char* text, std::uint16_t* out, int capacity) {
    // The fake's code page is Latin-1: every byte is the code unit of its own value.
    int needed = static_cast<int>(std::strlen(text)) + 1;
    if (capacity == 0)
        return needed;
    if (capacity < needed)
        return 0;
    for (int i = 0; i < needed; ++i)
        out[i] = static_cast<unsigned char>(text[i]);
    return needed;
}

bool PutFileInPlace(const char* from, const char* to) {
    Record(std::string("replace ") + from + " " + to);
    if (State().replaceFails)
        return false;
    return std::rename(from, to) == 0;
}

bool FlushFileToDisk(const char* path) {
    Record(std::string("flush ") + path);
    if (State().flushFails)
        return false;
    int file = open(path, O_WRONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    bool flushed = fsync(file) == 0;
    if (close(file) != 0)
        flushed = false;
    return flushed;
}

FileLock TryLockFile(const char* path) {
    int file = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (file >= 0 && flock(file, LOCK_EX | LOCK_NB) != 0) {
        (void)close(file);  // never locked, nothing to lose
        file = -1;
    }
    if (file >= 0)
        State().heldLocks[file] = path;
    Record(std::string("lock ") + path + (file >= 0 ? " -> taken" : " -> busy"));
    // Descriptor 0 is a valid one; the handle is one more than it.
    return file >= 0 ? MakeHandle<FileLock>(static_cast<std::uintptr_t>(file) + 1) : nullptr;
}

void ReleaseFileLock(FileLock lock) {
    int file = static_cast<int>(reinterpret_cast<std::uintptr_t>(lock)) - 1;
    auto held = State().heldLocks.find(file);
    if (held == State().heldLocks.end()) {
        Record("unlock of a lock not held");
        return;
    }
    std::string path = held->second;
    State().heldLocks.erase(held);
    // Closing the last descriptor of the file gives the lock back.
    (void)close(file);
    Record("unlock " + path);
}

std::uint32_t ProcessNumber() { return State().processNumber; }

std::uint32_t ClockSeconds() { return State().clock; }
