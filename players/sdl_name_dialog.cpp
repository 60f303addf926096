// The name question on Linux: a modal dialog window laid out from the same
// in-memory dialog template the Windows program hands its dialog manager, and
// the text conversion the template writer needs (Windows-1252, the code page
// of the game's texts).
//
// The template's positions are dialog units; they become pixels as Windows
// makes them for the template's font: a quarter of the font's average letter
// width across, an eighth of its height down. The template's face is drawn
// in the Liberation face of the same widths.
#include <cmath>
#include <string>
#include <vector>

#include "game/state.h"
#include "players/dialog_template.h"
#include "shell/screens.h"
#include "shell/sdl_window.h"

namespace {

constexpr int ConfirmedResult = 1;
constexpr int CancelledResult = 2;
constexpr std::uint32_t TabStop = 0x00010000;
constexpr std::uint32_t DefaultPushButton = 0x00000001;
constexpr std::uint32_t ButtonTypeMask = 0x0000000F;
constexpr int ScreenDpi = 96;
constexpr int PointsPerInch = 72;
// Inside the field the text starts this many pixels from its border.
constexpr int FieldMargin = 3;

// One control of the template, in pixels of the dialog's client area.
struct Control {
    std::uint16_t kind;
    int id;
    std::uint32_t style;
    SDL_Rect area;
    std::string text;  // UTF-8
};

struct DialogLayout {
    std::string caption;  // UTF-8
    std::uint32_t style = 0;
    int pointSize = 0;
    std::string face;
    int width = 0;
    int height = 0;
    std::vector<Control> controls;
};

// Reads the template's little-endian fields; once past its end every read
// fails and the whole template counts as unreadable.
class TemplateReader {
public:
    TemplateReader(const unsigned char* bytes, int size) : bytes_(bytes), size_(size) {}

    [[nodiscard]] bool Ok() const { return ok_; }

    std::uint16_t Word() {
        if (position_ + 2 > size_) {
            ok_ = false;
            return 0;
        }
        const auto value =
            static_cast<std::uint16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8));
        position_ += 2;
        return value;
    }

    std::uint32_t Dword() {
        std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }

    int Short() { return static_cast<std::int16_t>(Word()); }

    // A terminated UTF-16 text, as UTF-8.
    std::string Text() {
        std::string text;
        for (std::uint16_t unit = Word(); ok_ && unit != 0; unit = Word())
            AppendUtf8(&text, unit);
        return text;
    }

    // A text or, after 0xFFFF, a number; the number is returned, a text
    // gives -1 and is stored in text.
    int TextOrNumber(std::string* text) {
        std::uint16_t first = Word();
        if (first == 0xFFFF)
            return Word();
        if (first == 0)
            return -1;
        position_ -= 2;
        *text = Text();
        return -1;
    }

    void AlignDword() { position_ = (position_ + 3) & ~3; }

    void Skip(int bytes) {
        position_ += bytes;
        if (position_ > size_)
            ok_ = false;
    }

private:
    const unsigned char* bytes_;
    int size_;
    int position_ = 0;
    bool ok_ = true;
};

// The template in dialog units; false when it is not a whole one.
bool ReadTemplate(const unsigned char* bytes, int size, DialogLayout* layout) {
    TemplateReader reader(bytes, size);
    layout->style = reader.Dword();
    (void)reader.Dword();  // extended style
    const int count = reader.Word();
    (void)reader.Short();  // x and y: the dialog is centred on the screen
    (void)reader.Short();
    layout->width = reader.Short();
    layout->height = reader.Short();
    std::string ignored;
    (void)reader.TextOrNumber(&ignored);  // menu
    (void)reader.TextOrNumber(&ignored);  // window class
    layout->caption = reader.Text();
    if ((layout->style & DialogSetFont) != 0) {
        layout->pointSize = reader.Word();
        layout->face = reader.Text();
    }
    for (int i = 0; i < count && reader.Ok(); ++i) {
        reader.AlignDword();
        Control control{};
        control.style = reader.Dword();
        (void)reader.Dword();  // extended style
        control.area.x = reader.Short();
        control.area.y = reader.Short();
        control.area.w = reader.Short();
        control.area.h = reader.Short();
        control.id = reader.Word();
        std::string className;
        const int kind = reader.TextOrNumber(&className);
        control.kind = static_cast<std::uint16_t>(kind < 0 ? 0 : kind);
        (void)reader.TextOrNumber(&control.text);
        reader.Skip(reader.Word());  // creation data
        layout->controls.push_back(control);
    }
    return reader.Ok();
}

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

// Dialog units to pixels with the font's base units, as Windows converts them.
void ToPixels(DialogLayout* layout, int baseX, int baseY) {
    layout->width = MulDiv(layout->width, baseX, 4);
    layout->height = MulDiv(layout->height, baseY, 8);
    for (Control& control : layout->controls) {
        SDL_Rect& area = control.area;
        area = {MulDiv(area.x, baseX, 4), MulDiv(area.y, baseY, 8), MulDiv(area.w, baseX, 4),
                MulDiv(area.h, baseY, 8)};
    }
}

// The state of the one open name dialog.
struct NameDialog {
    DialogLayout layout;
    TTF_Font* font = nullptr;
    SDL_Window* window = nullptr;
    std::string typed;  // Windows-1252, as the game stores names
    int caret = 0;
    int maxLength = 0;
    int focus = -1;    // index of the control with the keyboard focus
    int pressed = -1;  // the button the left button went down on
    int result = 0;
};

bool IsButton(const Control& control) { return control.kind == ButtonClass; }

int IndexOfKind(const NameDialog& dialog, std::uint16_t kind) {
    for (int i = 0; i < static_cast<int>(dialog.layout.controls.size()); ++i) {
        if (dialog.layout.controls[static_cast<std::size_t>(i)].kind == kind)
            return i;
    }
    return -1;
}

const Control& ControlAt(const NameDialog& dialog, int index) {
    return dialog.layout.controls[static_cast<std::size_t>(index)];
}

// The button Enter pushes: the focused one, else the template's default.
int DefaultButtonId(const NameDialog& dialog) {
    if (dialog.focus >= 0 && IsButton(ControlAt(dialog, dialog.focus)))
        return ControlAt(dialog, dialog.focus).id;
    for (const Control& control : dialog.layout.controls) {
        if (IsButton(control) && (control.style & ButtonTypeMask) == DefaultPushButton)
            return control.id;
    }
    return OkId;
}

void MoveFocus(NameDialog* dialog, int step) {
    const int count = static_cast<int>(dialog->layout.controls.size());
    for (int i = 1; i <= count; ++i) {
        int next = ((dialog->focus + step * i) % count + count) % count;
        if ((ControlAt(*dialog, next).style & TabStop) != 0) {
            dialog->focus = next;
            if (ControlAt(*dialog, next).kind == EditClass)
                dialog->caret = static_cast<int>(dialog->typed.size());
            return;
        }
    }
}

void Push(NameDialog* dialog, int id) {
    if (id == OkId) {
        dialog->result = ConfirmedResult;
    } else if (id == CancelId) {
        dialog->result = CancelledResult;
    }
}

void Type(NameDialog* dialog, const char* utf8) {
    const std::string ansi = AnsiFromUtf8(utf8);
    for (char c : ansi) {
        if (static_cast<int>(dialog->typed.size()) >= dialog->maxLength)
            return;
        dialog->typed.insert(static_cast<std::size_t>(dialog->caret), 1, c);
        ++dialog->caret;
    }
}

void EditKey(NameDialog* dialog, SDL_Keycode key) {
    const int length = static_cast<int>(dialog->typed.size());
    if (key == SDLK_BACKSPACE && dialog->caret > 0) {
        dialog->typed.erase(static_cast<std::size_t>(--dialog->caret), 1);
    } else if (key == SDLK_DELETE && dialog->caret < length) {
        dialog->typed.erase(static_cast<std::size_t>(dialog->caret), 1);
    } else if (key == SDLK_LEFT && dialog->caret > 0) {
        --dialog->caret;
    } else if (key == SDLK_RIGHT && dialog->caret < length) {
        ++dialog->caret;
    } else if (key == SDLK_HOME) {
        dialog->caret = 0;
    } else if (key == SDLK_END) {
        dialog->caret = length;
    }
}

void HandleKey(NameDialog* dialog, const SDL_KeyboardEvent& key) {
    const SDL_Keycode code = key.keysym.sym;
    if (code == SDLK_ESCAPE) {
        Push(dialog, CancelId);
    } else if (code == SDLK_RETURN || code == SDLK_KP_ENTER) {
        Push(dialog, DefaultButtonId(*dialog));
    } else if (code == SDLK_TAB) {
        MoveFocus(dialog, (key.keysym.mod & KMOD_SHIFT) != 0 ? -1 : 1);
    } else if (dialog->focus >= 0 && IsButton(ControlAt(*dialog, dialog->focus))) {
        if (code == SDLK_SPACE)
            Push(dialog, ControlAt(*dialog, dialog->focus).id);
    } else if (dialog->focus >= 0 && ControlAt(*dialog, dialog->focus).kind == EditClass) {
        EditKey(dialog, code);
    }
}

int ControlUnder(const NameDialog& dialog, int x, int y) {
    const SDL_Point point = {x, y};
    for (int i = 0; i < static_cast<int>(dialog.layout.controls.size()); ++i) {
        if (SDL_PointInRect(&point, &ControlAt(dialog, i).area) == SDL_TRUE)
            return i;
    }
    return -1;
}

void HandleMouse(NameDialog* dialog, const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT)
        return;
    const int under = ControlUnder(*dialog, button.x, button.y);
    if (button.type == SDL_MOUSEBUTTONDOWN) {
        dialog->pressed = -1;
        if (under < 0 || (ControlAt(*dialog, under).style & TabStop) == 0)
            return;
        dialog->focus = under;
        if (IsButton(ControlAt(*dialog, under)))
            dialog->pressed = under;
        return;
    }
    // A button acts when the left button is let go over it.
    if (dialog->pressed >= 0 && under == dialog->pressed)
        Push(dialog, ControlAt(*dialog, under).id);
    dialog->pressed = -1;
}

void Fill(SDL_Surface* surface, const SDL_Rect& area, Uint8 red, Uint8 green, Uint8 blue) {
    SDL_FillRect(surface, &area, SDL_MapRGB(surface->format, red, green, blue));
}

void Frame(SDL_Surface* surface, const SDL_Rect& area, int thickness, Uint8 grey) {
    Fill(surface, {area.x, area.y, area.w, thickness}, grey, grey, grey);
    Fill(surface, {area.x, area.y + area.h - thickness, area.w, thickness}, grey, grey, grey);
    Fill(surface, {area.x, area.y, thickness, area.h}, grey, grey, grey);
    Fill(surface, {area.x + area.w - thickness, area.y, thickness, area.h}, grey, grey, grey);
}

// Writes text with its top left corner at (x, y); returns its width.
int Write(SDL_Surface* surface, TTF_Font* font, const std::string& utf8, int x, int y) {
    if (utf8.empty())
        return 0;
    SDL_Surface* written = TTF_RenderUTF8_Blended(font, utf8.c_str(), {0, 0, 0, 255});
    if (written == nullptr)
        return 0;
    SDL_Rect to = {x, y, written->w, written->h};
    SDL_BlitSurface(written, nullptr, surface, &to);
    const int width = written->w;
    SDL_FreeSurface(written);
    return width;
}

int TextWidth(TTF_Font* font, const std::string& utf8) {
    int width = 0;
    int height = 0;
    if (utf8.empty() || TTF_SizeUTF8(font, utf8.c_str(), &width, &height) != 0)
        return 0;
    return width;
}

void DrawField(SDL_Surface* surface, const NameDialog& dialog, const SDL_Rect& area, bool focused) {
    const int lineHeight = TTF_FontHeight(dialog.font);
    Fill(surface, area, 255, 255, 255);
    Frame(surface, area, 1, focused ? 0 : 122);
    const std::string shown =
        Utf8FromAnsi(dialog.typed.c_str(), static_cast<int>(dialog.typed.size()));
    const int textY = area.y + (area.h - lineHeight) / 2;
    Write(surface, dialog.font, shown, area.x + FieldMargin, textY);
    if (focused) {
        const std::string before = Utf8FromAnsi(dialog.typed.c_str(), dialog.caret);
        const int caretX = area.x + FieldMargin + TextWidth(dialog.font, before);
        Fill(surface, {caretX, textY, 1, lineHeight}, 0, 0, 0);
    }
}

// The dotted rectangle inside a focused button.
void DrawFocus(SDL_Surface* surface, const SDL_Rect& area) {
    const SDL_Rect inner = {area.x + 3, area.y + 3, area.w - 6, area.h - 6};
    for (int x = inner.x; x < inner.x + inner.w; x += 2) {
        Fill(surface, {x, inner.y, 1, 1}, 0, 0, 0);
        Fill(surface, {x, inner.y + inner.h - 1, 1, 1}, 0, 0, 0);
    }
    for (int y = inner.y; y < inner.y + inner.h; y += 2) {
        Fill(surface, {inner.x, y, 1, 1}, 0, 0, 0);
        Fill(surface, {inner.x + inner.w - 1, y, 1, 1}, 0, 0, 0);
    }
}

void DrawButton(SDL_Surface* surface, const NameDialog& dialog, const Control& control,
                bool focused) {
    const SDL_Rect& area = control.area;
    const bool isDefault = control.id == DefaultButtonId(dialog);
    Fill(surface, area, 225, 225, 225);
    Frame(surface, area, isDefault ? 2 : 1, isDefault ? 0 : 173);
    const int width = TextWidth(dialog.font, control.text);
    Write(surface, dialog.font, control.text, area.x + (area.w - width) / 2,
          area.y + (area.h - TTF_FontHeight(dialog.font)) / 2);
    if (focused)
        DrawFocus(surface, area);
}

void Draw(const NameDialog& dialog) {
    SDL_Surface* surface = SDL_GetWindowSurface(dialog.window);
    if (surface == nullptr)
        return;
    Fill(surface, {0, 0, surface->w, surface->h}, 240, 240, 240);
    for (int i = 0; i < static_cast<int>(dialog.layout.controls.size()); ++i) {
        const Control& control = ControlAt(dialog, i);
        const bool focused = i == dialog.focus;
        if (control.kind == StaticClass) {
            Write(surface, dialog.font, control.text, control.area.x, control.area.y);
        } else if (control.kind == EditClass) {
            DrawField(surface, dialog, control.area, focused);
        } else if (IsButton(control)) {
            DrawButton(surface, dialog, control, focused);
        }
    }
    SDL_UpdateWindowSurface(dialog.window);
}

bool ForDialog(const NameDialog& dialog, Uint32 windowId) {
    return windowId == SDL_GetWindowID(dialog.window);
}

// Keys count wherever they arrive: while the dialog is open the window
// behind it takes none.
void HandleEvent(NameDialog* dialog, const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
            HandleKey(dialog, event.key);
            break;
        case SDL_TEXTINPUT:
            if (dialog->focus >= 0 && ControlAt(*dialog, dialog->focus).kind == EditClass)
                Type(dialog, event.text.text);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (ForDialog(*dialog, event.button.windowID))
                HandleMouse(dialog, event.button);
            break;
        case SDL_WINDOWEVENT:
            if (!ForDialog(*dialog, event.window.windowID)) {
                ServeOwnerWhileModal(event);
            } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                dialog->result = CancelledResult;
            }
            break;
        default:
            break;
    }
}

// Takes events until a button is pushed; the window behind is repainted
// when nothing else waits.
void RunDialog(NameDialog* dialog) {
    SDL_StartTextInput();
    Draw(*dialog);
    while (dialog->result == 0) {
        SDL_Event event;
        if (TakeNext(&event) == NextInLoop::Paint) {
            PaintScreen(MainWindow);
            Draw(*dialog);
            continue;
        }
        HandleEvent(dialog, event);
        Draw(*dialog);
    }
    SDL_StopTextInput();
}

// Lays the dialog out and opens its window; false when it cannot be shown.
bool OpenDialog(NameDialog* dialog, const unsigned char* bytes, int size) {
    if (!ReadTemplate(bytes, size, &dialog->layout) || (TTF_WasInit() == 0 && TTF_Init() != 0))
        return false;
    DialogLayout& layout = dialog->layout;
    const std::string file = LiberationFile(layout.face.c_str(), 0);
    if (file.empty())
        return false;
    // The template's points at the screen's 96 dots per inch, as an em size.
    dialog->font = OpenFontWithEm(file, MulDiv(layout.pointSize, ScreenDpi, PointsPerInch));
    if (dialog->font == nullptr)
        return false;
    const int baseX = static_cast<int>(std::lround(AverageLetterWidth(dialog->font)));
    const int baseY = TTF_FontHeight(dialog->font);
    ToPixels(&layout, baseX, baseY);
    dialog->window =
        SDL_CreateWindow(layout.caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         layout.width, layout.height, SDL_WINDOW_SHOWN | SDL_WINDOW_SKIP_TASKBAR);
    if (dialog->window == nullptr)
        return false;
    if (GameWindow.window != nullptr)
        (void)SDL_SetWindowModalFor(dialog->window, GameWindow.window);
    SDL_RaiseWindow(dialog->window);
    (void)SDL_SetWindowInputFocus(dialog->window);
    dialog->focus = IndexOfKind(*dialog, EditClass);
    return true;
}

}  // namespace

int RunNamePrompt(WindowHandle /*owner*/, const char* prompt, const char* caption, char* target,
                  int size) {
    if (target == nullptr || size <= 0)
        return 0;
    alignas(4) unsigned char bytes[TemplateBufferSize] = {};
    const int written = WriteNameDialogTemplate(bytes, prompt, caption);
    if (written <= 0)
        return 0;
    NameDialog dialog;
    dialog.maxLength = size - 1;
    // What the window shows must be on screen before the dialog takes over.
    ShowWindowSurface();
    if (OpenDialog(&dialog, bytes, written))
        RunDialog(&dialog);
    if (dialog.window != nullptr)
        SDL_DestroyWindow(dialog.window);
    if (dialog.font != nullptr)
        TTF_CloseFont(dialog.font);
    DropOwnerInputAfterModal();
    if (dialog.result == ConfirmedResult) {
        // At most size - 1 characters and the terminator, as the field's text
        // is fetched on Windows.
        const std::size_t length = dialog.typed.size() < static_cast<std::size_t>(size - 1)
                                       ? dialog.typed.size()
                                       : static_cast<std::size_t>(size - 1);
        dialog.typed.copy(target, length);
        target[length] = '\0';
    }
    return dialog.result;
}

int WideFromAnsi(const char* text, std::uint16_t* out, int capacity) {
    int count = 0;
    while (text[count] != '\0')
        ++count;
    ++count;  // the terminator
    if (capacity == 0)
        return count;
    if (out == nullptr || capacity < count)
        return 0;
    for (int i = 0; i < count; ++i)
        out[i] = WideOfAnsi(static_cast<unsigned char>(text[i]));
    return count;
}
