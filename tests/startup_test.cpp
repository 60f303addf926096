// Start-up and the end of the message loop: the intro picture's size read at
// window creation, the box when the window cannot be made, and whether the
// loop hands on its next message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/app.h"
#include "tests/fake_platform.h"
#include "tests/reset.h"

using Calls = std::vector<std::string>;

namespace {

const std::string PictureErrorBox = R"(box other "Bild konnte nicht geladen werden" "Error" 0x00)";

TEST(Startup, ReadIntroSizeStoresTheSizeOrShowsTheBox) {
    struct Case {
        const char* name;
        bool missing;
        int width, height;  // the picture's stored size
        bool loaded;
        int introWidth, introHeight;  // IntroSize afterwards
        Calls calls;
    };
    // ResetProcessState leaves IntroSize at 800 by 600, so any other size
    // shows that the one read was stored.
    const Case cases[] = {
        {"smaller picture", false, 640, 480, true, 640, 480, {"size .\\src\\intro.bmp"}},
        {"larger picture", false, 1024, 768, true, 1024, 768, {"size .\\src\\intro.bmp"}},
        {"missing picture",
         true,
         640,
         480,
         false,
         800,
         600,
         {"size missing .\\src\\intro.bmp", PictureErrorBox}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProcessState();
        fake::SetPictureSize(".\\src\\intro.bmp", c.width, c.height);
        fake::SetPictureMissing(".\\src\\intro.bmp", c.missing);
        // At window creation MainWindow is not yet set: the box belongs to
        // the window being made.
        MainWindow = nullptr;
        EXPECT_EQ(ReadIntroSize(fake::TheWindow()), c.loaded);
        EXPECT_EQ(IntroSize.width, c.introWidth);
        EXPECT_EQ(IntroSize.height, c.introHeight);
        EXPECT_EQ(fake::Calls(), c.calls);
    }
}

TEST(Startup, WindowFailureShowsAnOwnerlessBox) {
    ResetProcessState();
    MainWindow = nullptr;
    ReportWindowFailure();
    EXPECT_EQ(fake::Calls(), (Calls{R"(box none "Fehler" "Fehler" 0x00)"}));
}

TEST(Startup, LoopRunsUntilTheGameAsksToEnd) {
    ResetProcessState();
    EXPECT_TRUE(KeepRunning());
    Running = false;
    EXPECT_FALSE(KeepRunning());
}

}  // namespace
