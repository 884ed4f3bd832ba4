// The emulated machine must catch what it is there to catch: leaks, double closes, bad blocks.
#include "emulated/EmulatedMachine.h"
#include "ArvSCSIStructs.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

#include <string>

using namespace quenlith;
using namespace quenlith::emulated;

namespace {

TEST(EmulatedMachine, HandleAccounting) {
    TEmulatedMachine os(presets::StandardMachine());
    HANDLE d = os.CreateFileA("\\\\.\\d:", 0xC0000000, 3, 3, 0x80); // either case
    ASSERT_NE(d, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(os.Clean());
    EXPECT_TRUE(os.CloseHandle(d));
    EXPECT_TRUE(os.Clean());
    EXPECT_FALSE(os.CloseHandle(d));
    EXPECT_FALSE(os.Clean());
    ASSERT_EQ(os.Faults().size(), 1u);
    EXPECT_NE(os.Faults()[0].find("not open"), std::string::npos);

    TEmulatedMachine other(presets::StandardMachine());
    std::array<BYTE, 100> data{};
    EXPECT_FALSE(
        SendScsiCommand(other, reinterpret_cast<HANDLE>(0x77), ScsiCommand::Inquiry, data));
    EXPECT_EQ(other.Faults().size(), 1u);
}

TEST(EmulatedMachine, MalformedBlocksAreRefusedAndReported) {
    TEmulatedMachine os(presets::StandardMachine());
    HANDLE d = os.CreateFileA("\\\\.\\D:", 0xC0000000, 3, 3, 0x80);
    std::array<BYTE, 100> data{};
    TPassThroughRequest request =
        MakePassThroughRequest(CommandRow(ScsiCommand::Inquiry), data.data());
    request.Spt.SenseInfoOffset = 44;
    DWORD returned = 0;
    EXPECT_FALSE(os.DeviceIoControl(d, IOCTL_SCSI_PASS_THROUGH_DIRECT, &request, sizeof request,
                                    &request, sizeof request, &returned));
    EXPECT_EQ(os.Faults().size(), 1u);
    os.CloseHandle(d);
}

TEST(EmulatedMachine, DriveRootsAndVolumes) {
    TEmulatedMachine os(presets::StandardMachine());
    char buffer[255];
    DWORD n = os.GetLogicalDriveStringsA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer, n + 1), std::string("C:\\\0D:\\\0E:\\\0\0", 13));
    EXPECT_EQ(os.GetDriveTypeA("d:\\"), drive_type::CdRom);
    EXPECT_EQ(os.GetDriveTypeA("C:"), drive_type::Fixed);
    EXPECT_EQ(os.GetDriveTypeA("Q:"), drive_type::NoRootDir);
    char label[81] = "unchanged";
    EXPECT_TRUE(os.GetVolumeInformationA("D:\\", label, 81, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_STREQ(label, "DATA");
    EXPECT_FALSE(
        os.GetVolumeInformationA("E:\\", label, 81, nullptr, nullptr, nullptr, nullptr, 0));
}

TEST(EmulatedMachine, TrayFollowsTheDoorCommandsAndTestUnitReady) {
    TEmulatedMachine os(presets::StandardMachine());
    TMciOpenParms open{0, 0, "CDAudio", "D:", nullptr};
    ASSERT_EQ(os.mciSendCommandA(0, mci::Open, mci::OpenType | mci::OpenElement, &open), 0u);
    EXPECT_EQ(os.mciSendCommandA(open.wDeviceID, mci::Set, mci::SetDoorOpen, nullptr), 0u);
    EXPECT_TRUE(os.Drive('D')->mmc->trayOpen);
    EXPECT_EQ(os.Drive('D')->mmc->ReportedProfile(), 0);

    HANDLE d = os.CreateFileA("\\\\.\\D:", 0xC0000000, 3, 3, 0x80);
    TPassThroughRequest tur =
        MakePassThroughRequest(CommandRow(ScsiCommand::TestUnitReady), nullptr);
    DWORD returned = 0;
    EXPECT_TRUE(os.DeviceIoControl(d, IOCTL_SCSI_PASS_THROUGH_DIRECT, &tur, sizeof tur, &tur,
                                   sizeof tur, &returned));
    EXPECT_EQ(tur.Spt.ScsiStatus, 2); // CHECK CONDITION: not ready, tray open
    EXPECT_EQ(tur.SenseBuf[2], 0x02);
    EXPECT_EQ(tur.SenseBuf[12], 0x3A);
    os.CloseHandle(d);

    EXPECT_EQ(os.mciSendCommandA(open.wDeviceID, mci::Set, mci::SetDoorClosed, nullptr), 0u);
    EXPECT_FALSE(os.Drive('D')->mmc->trayOpen);
    EXPECT_EQ(os.mciSendCommandA(open.wDeviceID, mci::Close, 0, &open), 0u);
    EXPECT_TRUE(os.Clean()) << os.Report();
    // A fixed disk is no CD audio device.
    TMciOpenParms disk{0, 0, "CDAudio", "C:", nullptr};
    EXPECT_NE(os.mciSendCommandA(0, mci::Open, 0x2200, &disk), 0u);
}

} // namespace
