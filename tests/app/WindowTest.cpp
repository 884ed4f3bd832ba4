// The window's own handlers, the error box, and handlers re-entered during a readiness wait.
#include "FormFixture.h"

using namespace quenlith;
using namespace quenlith::app;
using namespace quenlith::app::testing;

namespace {

TEST(ErrorBox, TitleFromTheExecutableName) {
    struct {
        const char* path;
        const char* title;
    } cases[] = {{"SAMPLE.TOOL.EXE", "Sample"},     {"C:\\Program Files\\QUENLITH.EXE", "Quenlith"},
                 {"/usr/bin/quenlith", "quenlith"}, {"QUENLITH-QT", "Quenlith-qt"},
                 {"MyTool.exe", "Mytool"},          {"", ""}};
    for (auto c : cases) {
        EXPECT_EQ(ApplicationTitleOf(c.path), c.title) << c.path;
    }
}

TEST(ErrorBox, FullStopRule) {
    struct {
        const char* message;
        const char* text;
    } cases[] = {{"Cannot eject drive.", "Cannot eject drive."},
                 {"Error reading disc!", "Error reading disc!"},
                 {"Drive busy", "Drive busy."},
                 {"Code 7", "Code 7."},
                 {"Really?", "Really?."},
                 {"Ends in a comma,", "Ends in a comma,"},
                 {"", ""},
                 {"caf\xE9", "caf\xE9."}};
    for (auto c : cases) {
        EXPECT_EQ(ErrorBoxText(c.message), c.text) << c.message;
    }
}

TEST(ErrorBox, AnEscapedErrorEndsTheHandlerAndTheApplicationGoesOn) {
    std::vector<TErrorBox> shown;
    bool after = false;
    EXPECT_FALSE(RunHandler(
        [&] {
            throw EAppError("Cannot access drive.");
            after = true;
        },
        "Sample", [&](const TErrorBox& box) { shown.push_back(box); }));
    EXPECT_FALSE(after);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Sample");
    EXPECT_EQ(shown[0].text, "Cannot access drive.");
    EXPECT_TRUE(RunHandler([] {}, "Sample", [&](const TErrorBox& box) { shown.push_back(box); }));
    EXPECT_EQ(shown.size(), 1u);
}

TEST(Window, DraggingAndTheLink) {
    TFormFixture f;
    f.form.Image1MouseDown();
    EXPECT_EQ(f.view.dragSteps,
              (std::vector<std::string>{"ReleaseCapture", "WM_NCLBUTTONDOWN HTCAPTION"}));
    f.form.Label5MouseEnter();
    EXPECT_EQ(f.view.cursor, TCursor::crHandPoint);
    f.form.Label5MouseLeave();
    EXPECT_EQ(f.view.cursor, TCursor::crDefault);
    f.form.Label5Click();
    EXPECT_EQ(f.view.openedAddresses, std::vector<std::string>{std::string(kMakerWebAddress)});
}

TEST(Window, ExitClosesAtOnceWhenIdle) {
    TFormFixture f;
    EXPECT_TRUE(f.form.CloseQuery());
    f.form.Button1Click();
    EXPECT_EQ(f.view.closeCount, 1);
}

// A second selection arriving while the first waits for its drive.
TEST(Reentrancy, LatestSelectionWins) {
    TFormFixture f;
    bool nested = false;
    f.os.onProcessMessages = [&] {
        if (!nested) {
            nested = true;
            f.Select("E: []");
        }
    };
    f.Select("D: [DATA]");
    // E's fields and report stand; D's older report was not written over them.
    EXPECT_EQ(f.view.edits[1], "CD-ROM VC-24    ");
    EXPECT_EQ(f.view.listLines.back(), "Max Write Speed: 0x");
    EXPECT_EQ(f.view.listWrites, 1);
    // The inner run leaves the hourglass to the outer one, which ends with the default.
    EXPECT_EQ(f.view.cursors, (std::vector<TCursor>{TCursor::crHourGlass, TCursor::crHourGlass,
                                                    TCursor::crDefault}));
    f.ExpectClean();
}

TEST(Reentrancy, CloseDuringTheWaitHappensAfterTheHandlersReturn) {
    for (bool byExit : {true, false}) {
        TFormFixture f;
        std::size_t handlesAtClose = 99;
        int closesDuringWait = -1;
        f.view.onClose = [&] { handlesAtClose = f.os.OpenHandleCount(); };
        f.os.onProcessMessages = [&] {
            if (byExit) {
                f.form.Button1Click();
            } else {
                EXPECT_FALSE(f.form.CloseQuery());
            }
            closesDuringWait = f.view.closeCount;
        };
        f.Select("D: [DATA]");
        EXPECT_EQ(closesDuringWait, 0);
        EXPECT_EQ(f.view.closeCount, 1);
        EXPECT_EQ(handlesAtClose, 0u);
        EXPECT_EQ(f.view.listLines.size(), 14u); // the running report still finished
        f.ExpectClean();
    }
}

TEST(Reentrancy, CloseRequestedInsideANestedRunWaitsForTheOutermost) {
    TFormFixture f;
    int depth = 0;
    f.os.onProcessMessages = [&] {
        if (depth++ == 0) {
            f.Select("E: []"); // its own wait asks for the close
        } else if (depth == 2) {
            f.form.Button1Click();
        }
        EXPECT_EQ(f.view.closeCount, 0);
    };
    f.form.FormCreate();
    EXPECT_EQ(f.view.closeCount, 1);
    f.ExpectClean();
}

} // namespace
