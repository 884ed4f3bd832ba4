// "Analyse Disk".
#include "FormFixture.h"

using namespace quenlith;
using namespace quenlith::app;
using namespace quenlith::app::testing;

namespace {

TEST(Analysis, MessageOrErrorByProfile) {
    struct {
        const char* name;
        void (*setUp)(TMachineDescription&);
        std::string information; // empty: the error box instead
    } cases[] = {
        {"DVD-ROM", [](TMachineDescription&) {}, "The Inserted media is DVD-ROM"},
        {"no medium is no error",
         [](TMachineDescription& m) { m.Drive('D')->mmc->mediumPresent = false; },
         "The Inserted media is No Current Profile"},
        {"FFFFh", [](TMachineDescription& m) { m.Drive('D')->mmc->currentProfile = 0xFFFF; },
         "The Inserted media is UNKNOWN"},
        {"DVD-R sequential",
         [](TMachineDescription& m) { m.Drive('D')->mmc->currentProfile = 0x11; },
         "The Inserted media is DVD-R SequentialRecording,"},
        {"unknown profile",
         [](TMachineDescription& m) { m.Drive('D')->mmc->currentProfile = 0x40; }, ""},
        {"request fails",
         [](TMachineDescription& m) { m.Drive('D')->mmc->failingOpcodes = {0x46}; }, ""},
        {"drive cannot be opened", [](TMachineDescription& m) { m.Drive('D')->openFails = true; },
         ""},
        // Analysis checks no rights: a user outside Administrators still gets the answer.
        {"no administrator", [](TMachineDescription& m) { m.processToken.groups = {}; },
         "The Inserted media is DVD-ROM"},
    };
    for (const auto& c : cases) {
        TMachineDescription machine = presets::StandardMachine();
        c.setUp(machine);
        TFormFixture f(machine);
        f.view.TypeDriveText("D: [DATA]");
        std::size_t openWhileShown = 0;
        f.view.onInformation = [&](const std::string&) { openWhileShown = f.os.OpenHandleCount(); };
        std::string error = f.Run(&TForm1::BitBtn3Click);
        if (c.information.empty()) {
            EXPECT_EQ(error, "Error reading disc!") << c.name;
            EXPECT_TRUE(f.view.information.empty()) << c.name;
        } else {
            EXPECT_EQ(error, "") << c.name;
            EXPECT_EQ(f.view.information, std::vector<std::string>{c.information}) << c.name;
            EXPECT_EQ(openWhileShown, 1u) << c.name; // closed only once the box is closed
        }
        EXPECT_EQ(f.os.CountCalls("Sleep"), 0u) << c.name; // sent at once, no readiness wait
        EXPECT_TRUE(f.view.cursors.empty()) << c.name;
        f.ExpectClean();
    }
}

TEST(Analysis, EmptySelectorOpensNothing) {
    TFormFixture f;
    EXPECT_EQ(f.Run(&TForm1::BitBtn3Click), "Error reading disc!");
    EXPECT_EQ(f.os.CountCalls("CreateFileA"), 0u);
}

} // namespace
