// "Eject" and "Close".
#include "FormFixture.h"

using namespace quenlith;
using namespace quenlith::app;
using namespace quenlith::app::testing;

namespace {

using Calls = std::vector<std::string>;

std::vector<std::string> MciCalls(const TEmulatedMachine& os) {
    std::vector<std::string> calls;
    for (const std::string& c : os.Calls()) {
        if (c.rfind("mciSendCommandA", 0) == 0) {
            calls.push_back(c.substr(16));
        }
    }
    return calls;
}

TEST(Tray, ButtonsByDriveType) {
    TMachineDescription machine = presets::StandardMachine();
    machine.drives.push_back(presets::RemovableDisk('F'));
    struct {
        const char* text;
        void (TForm1::*button)();
        std::string error;
        Calls mci;
    } cases[] = {
        {"E: []", &TForm1::BitBtn1Click, "", {"MCI_OPEN E:", "MCI_SET door open", "MCI_CLOSE"}},
        {"E: []", &TForm1::BitBtn2Click, "", {"MCI_OPEN E:", "MCI_SET door closed", "MCI_CLOSE"}},
        {"d: [DATA]", &TForm1::BitBtn1Click, "", {"MCI_OPEN d:", "MCI_SET door open", "MCI_CLOSE"}},
        {"C", &TForm1::BitBtn1Click, "Cannot eject drive.", {}},
        {"C", &TForm1::BitBtn2Click, "Cannot access drive.", {}},
        {"Q: [nothing]", &TForm1::BitBtn1Click, "Cannot eject drive.", {}},
        {"", &TForm1::BitBtn1Click, "Cannot eject drive.", {}},
        {"", &TForm1::BitBtn2Click, "Cannot access drive.", {}},
        // A removable disk passes Eject's type test; its CD audio open fails quietly.
        {"F", &TForm1::BitBtn1Click, "", {"MCI_OPEN F:"}},
        {"F", &TForm1::BitBtn2Click, "Cannot access drive.", {}},
    };
    for (const auto& c : cases) {
        TFormFixture f(machine);
        f.view.TypeDriveText(c.text);
        EXPECT_EQ(f.Run(c.button), c.error) << c.text;
        EXPECT_EQ(MciCalls(f.os), c.mci) << c.text;
        if (c.text[0] != '\0') {
            EXPECT_EQ(f.os.CountCalls(std::string("GetDriveTypeA ") + c.text[0] + ":\\"), 1u);
        }
        f.ExpectClean();
    }
}

TEST(Tray, DoorMovesAndFailuresStayQuiet) {
    TFormFixture f;
    f.view.TypeDriveText("E: []");
    f.Run(&TForm1::BitBtn1Click);
    EXPECT_TRUE(f.os.Drive('E')->mmc->trayOpen);
    f.Run(&TForm1::BitBtn1Click); // already open: sent all the same
    EXPECT_EQ(f.os.CountCalls("mciSendCommandA MCI_SET door open"), 2u);
    f.Run(&TForm1::BitBtn2Click);
    EXPECT_FALSE(f.os.Drive('E')->mmc->trayOpen);

    f.os.Drive('E')->mciSetFails = true;
    f.os.ClearRecords();
    EXPECT_EQ(f.Run(&TForm1::BitBtn1Click), "");
    EXPECT_EQ(MciCalls(f.os), (Calls{"MCI_OPEN E:", "MCI_SET door open", "MCI_CLOSE"}));

    f.os.Drive('E')->mciOpenFails = true;
    f.os.ClearRecords();
    EXPECT_EQ(f.Run(&TForm1::BitBtn2Click), "");
    EXPECT_EQ(MciCalls(f.os), Calls{"MCI_OPEN E:"});
    f.ExpectClean();
}

} // namespace
