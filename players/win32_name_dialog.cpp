// The name question as a modal dialog built in memory at every call, and the
// two seam operations it serves: the name prompt and the text conversion for
// the template.
#include <windows.h>

#include "game/state.h"
#include "players/dialog_template.h"
#include "players/names.h"

namespace {

// What the dialog procedure gets at the start of one dialog.
struct NameRequest {
    char* target;
    int maxLength;
};

// The one open name dialog's state. The font belongs to the dialog manager,
// which made it from the template and deletes it when the dialog goes; it is
// only remembered here.
char* DialogTarget = nullptr;
int DialogMaxLength = 0;
HFONT DialogFont = nullptr;

constexpr int ConfirmedResult = 1;
constexpr int CancelledResult = 2;

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            DialogFont = reinterpret_cast<HFONT>(wParam);
            break;
        case WM_INITDIALOG: {
            const auto* request = reinterpret_cast<const NameRequest*>(lParam);
            DialogTarget = request->target;
            DialogMaxLength = request->maxLength;
            SetFocus(GetDlgItem(dialog, NameEditId));
            break;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                GetWindowTextA(GetDlgItem(dialog, NameEditId), DialogTarget, DialogMaxLength);
                EndDialog(dialog, ConfirmedResult);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, CancelledResult);
            }
            break;
        case WM_CLOSE:
            EndDialog(dialog, CancelledResult);
            break;
        default:
            break;
    }
    return FALSE;
}

// Returns 1 when confirmed, 2 when cancelled or closed, 0 when no dialog was
// shown (no memory for the template, or the dialog could not be made).
int NameDialog(HWND owner, const char* prompt, const char* caption, char* target, int maxLength) {
    HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, TemplateBufferSize);
    if (block == nullptr)
        return 0;
    auto* buffer = static_cast<unsigned char*>(GlobalLock(block));
    if (buffer == nullptr) {
        GlobalFree(block);
        return 0;
    }
    int written = WriteNameDialogTemplate(buffer, prompt, caption);
    GlobalUnlock(block);
    INT_PTR result = 0;
    if (written > 0) {
        NameRequest request{};
        request.target = target;
        request.maxLength = maxLength;
        // The block is fixed memory, so its handle is its address.
        result = DialogBoxIndirectParamA(nullptr, static_cast<LPCDLGTEMPLATEA>(block), owner,
                                         NameDialogProc, reinterpret_cast<LPARAM>(&request));
    }
    GlobalFree(block);
    return result > 0 ? static_cast<int>(result) : 0;
}

}  // namespace

int RunNamePrompt(WindowHandle owner, const char* prompt, const char* caption, char* target,
                  int size) {
    return NameDialog(reinterpret_cast<HWND>(owner), prompt, caption, target, size);
}

int WideFromAnsi(const char* text, std::uint16_t* out, int capacity) {
    return MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<LPWSTR>(out), capacity);
}
