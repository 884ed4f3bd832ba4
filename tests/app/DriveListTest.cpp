#include "FormFixture.h"

using namespace quenlith;
using namespace quenlith::app;
using namespace quenlith::app::testing;

namespace {

TEST(DriveList, ListsOpticalDrivesWithLabelsAndShowsTheFirst) {
    TFormFixture f;
    f.form.FormCreate();
    EXPECT_EQ(f.view.prepareCount, 1);
    EXPECT_EQ(f.view.driveItems, (std::vector<std::string>{"D: [DATA]", "E: []"}));
    EXPECT_EQ(f.view.itemIndex, 0);
    EXPECT_EQ(f.view.driveText, "D: [DATA]");
    EXPECT_EQ(f.view.edits[0], "VIRTUAL ");
    EXPECT_EQ(f.view.listLines.back(), "Max Write Speed: 40x");
    EXPECT_EQ(f.os.CountCalls("GetLogicalDriveStringsA 255"), 1u);
    EXPECT_EQ(f.os.CountCalls("GetDriveTypeA C:"), 1u);
    EXPECT_EQ(f.os.CountCalls("GetVolumeInformationA D:\\"), 1u);
    EXPECT_EQ(f.os.CountCalls("GetVolumeInformationA C:\\"), 0u); // only optical drives
    f.ExpectClean();
}

TEST(DriveList, NothingListedLeavesAnEmptySelector) {
    TMachineDescription failing = presets::StandardMachine();
    failing.driveStringsFail = true;
    for (TMachineDescription machine : {presets::NoOpticalMachine(), failing}) {
        TFormFixture f(machine);
        f.view.edits = {"stale", "stale", "stale", "stale"};
        f.form.FormCreate();
        EXPECT_TRUE(f.view.driveItems.empty());
        EXPECT_EQ(f.view.driveText, "");
        EXPECT_EQ(f.view.edits, (std::array<std::string, 4>{}));
        EXPECT_EQ(f.os.CountCalls("CreateFileA"), 0u);
        f.ExpectClean();
    }
}

TEST(DriveList, LabelsAreTakenAsGivenAndOtherDriveTypesSkipped) {
    TMachineDescription machine;
    machine.drives = {presets::RemovableDisk('A'), presets::NetworkDrive('N'),
                      presets::OpticalDrive('G', presets::CdRomReader(), "  MY DISC  "),
                      presets::OpticalDrive('H', presets::CdRomReader(), std::string(90, 'L'))};
    TFormFixture f(machine);
    f.form.Refresh1Click();
    EXPECT_EQ(f.view.driveItems,
              (std::vector<std::string>{"G: [  MY DISC  ]", "H: [" + std::string(80, 'L') + "]"}));
    f.ExpectClean();
}

// A system that answers the length it needed rather than the length written.
TEST(DriveList, AnOversizedCountStillListsTheDrives) {
    for (DWORD answer : {DWORD{255}, DWORD{1000}, DWORD{0xFFFFFFFF}}) {
        TMachineDescription machine = presets::StandardMachine();
        machine.driveStringsAnswer = answer;
        TFormFixture f(machine);
        f.form.Refresh1Click();
        EXPECT_EQ(f.view.driveItems, (std::vector<std::string>{"D: [DATA]", "E: []"})) << answer;
    }
}

TEST(DriveList, LaterMediaChangesDoNotTouchTheEntries) {
    TFormFixture f;
    f.form.FormCreate();
    f.os.Drive('E')->volumeLabel = "NEWDISC";
    f.Select(f.view.driveItems[1]);
    EXPECT_EQ(f.view.driveItems[1], "E: []");
}

} // namespace
