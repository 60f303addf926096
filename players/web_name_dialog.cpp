// The name question on the page: a modal <dialog> with the caption, the
// prompt as the label of a one-line field of at most 9 characters, "OK" and
// "Abbrechen" (web/rillo_boxes.js). The text conversion of the dialog
// template is the Windows program's alone: the page writes no template.
#include "game/state.h"
#include "shell/web_page.h"

int RunNamePrompt(WindowHandle /*owner*/, const char* prompt, const char* caption, char* target,
                  int size) {
    if (target == nullptr || size <= 0)
        return 0;
    return rillo_ask_name(prompt, caption, target, size);
}
