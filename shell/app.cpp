// The values that decide when the program ends and where it draws, and the
// parts of start-up and shutdown that need no windowing system.
#include "shell/app.h"

bool Running = true;
WindowHandle MainWindow = nullptr;
PictureSize IntroSize = {0, 0};

bool ReadIntroSize(WindowHandle window) {
    PictureSize size = {0, 0};
    if (!ReadPictureSize(IntroPicture, &size)) {
        ShowMessage(window, PictureErrorText, PictureErrorCaption, BoxOk);
        return false;
    }
    IntroSize = size;
    return true;
}

void ReportWindowFailure() { ShowMessage(nullptr, WindowErrorText, WindowErrorCaption, BoxOk); }

// KEPT: asked for a message already retrieved, so the program ends only when
// one more message arrives after the game asked to end, and that one is dropped.
bool KeepRunning() { return Running; }

void ReleaseWindowResources(WindowHandle window) {
    DrawContext context = GetDrawContext(window);
    FontHandle ours = SelectTextFont(context, nullptr);
    if (ours != nullptr)
        DeleteTextFont(ours);
    ReleaseDrawContext(window, context);
}
