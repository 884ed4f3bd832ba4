// The capability report: its composition from page 2Ah and the builder's outcomes on a drive.
#include "ArvDiscLib.h"
#include "emulated/EmulatedMachine.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

using namespace quenlith;
using namespace quenlith::emulated;

namespace {

const std::string kUntouched = "caller's text";

TEST(DriveReportText, CapabilityBitPatterns) {
    struct {
        const char* name;
        BYTE read, write;
        std::string expected;
    } cases[] = {
        {"all eleven bits", 0xFF, 0xFF,
         "Read CD-R\r\nRead CD-RW\r\nRead Method 2\r\nRead DVD-ROM\r\nRead DVD-R / DVD-RW\r\n"
         "Read DVD-RAM\r\nWrite CD-R\r\nWrite CD-RW\r\nWrite Test\r\nWrite DVD-R / DVD-RW\r\n"
         "Write DVD-RAM\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x"},
        {"CD-RW reading without CD-R", 0x02, 0x00,
         "\r\nRead CD-RW\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x"},
        {"only bits without entries", 0xC0, 0xC8,
         "\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x"},
        {"CD-R reading and DVD-RAM writing", 0x01, 0x20,
         "Read CD-R\r\nWrite DVD-RAM\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write "
         "Speed: 0x"},
    };
    for (const auto& c : cases) {
        TDriveCapabilities caps;
        caps.readBits = c.read;
        caps.writeBits = c.write;
        std::string report = ComposeDriveReport(caps);
        EXPECT_EQ(report, c.expected) << c.name;
        EXPECT_NE(report.substr(report.size() - 2), "\r\n") << c.name;
    }
    TDriveCapabilities all{0xFF, 0xFF, 0, 0, 0};
    std::string report = ComposeDriveReport(all);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n') + 1, 14);
}

TEST(DriveReportText, SpeedsAndBufferSize) {
    struct {
        WORD kbs;
        unsigned x;
    } speeds[] = {{88, 0},    {89, 1},    {176, 1},   {264, 1},     {265, 2},
                  {1764, 10}, {7056, 40}, {8467, 48}, {65535, 371}, {0, 0}};
    for (auto s : speeds) {
        EXPECT_EQ(SpeedFactorOf(s.kbs), s.x) << s.kbs;
        TDriveCapabilities caps;
        caps.maxReadSpeedKBs = s.kbs;
        caps.maxWriteSpeedKBs = s.kbs;
        std::string x = std::to_string(s.x) + "x";
        EXPECT_EQ(ComposeDriveReport(caps),
                  "\r\nDevice Buffer: 0k\r\nMax Read Speed: " + x + "\r\nMax Write Speed: " + x);
    }
    TDriveCapabilities buffer;
    buffer.bufferSizeKB = 0x0800;
    EXPECT_NE(ComposeDriveReport(buffer).find("\r\nDevice Buffer: 2048k\r\n"), std::string::npos);
    buffer.bufferSizeKB = 0xFFFF;
    EXPECT_NE(ComposeDriveReport(buffer).find("\r\nDevice Buffer: 65535k\r\n"), std::string::npos);
}

// A MODE SENSE(10) response: header announcing blockDescriptors bytes, then page 2Ah.
std::vector<BYTE> ModeSenseResponse(WORD blockDescriptors, const std::vector<BYTE>& page) {
    std::vector<BYTE> response(440, 0);
    response[6] = static_cast<BYTE>(blockDescriptors >> 8);
    response[7] = static_cast<BYTE>(blockDescriptors);
    for (std::size_t i = 0; i < page.size() && 8 + blockDescriptors + i < response.size(); ++i) {
        response[8 + blockDescriptors + i] = page[i];
    }
    return response;
}

TEST(DriveReportText, PageIsFoundBehindTheBlockDescriptors) {
    const std::vector<BYTE> page = MakeCapabilitiesPage(0x3F, 0x37, 8467, 2048, 7056);
    for (WORD bdl : std::initializer_list<WORD>{0, 8, 16, 412}) {
        TDriveCapabilities caps = DecodeCapabilities(ModeSenseResponse(bdl, page));
        EXPECT_EQ(caps.readBits, 0x3F) << bdl;
        EXPECT_EQ(caps.writeBits, 0x37) << bdl;
        EXPECT_EQ(caps.bufferSizeKB, 2048) << bdl;
        EXPECT_EQ(caps.maxReadSpeedKBs, 8467) << bdl;
        EXPECT_EQ(caps.maxWriteSpeedKBs, 7056) << bdl;
    }
    // With length 0 the page's fields sit at the fixed offsets 10, 11, 16, 20 and 26.
    std::vector<BYTE> fixed(440, 0);
    fixed[10] = 0x01;
    fixed[11] = 0x01;
    fixed[16] = 0x06;
    fixed[17] = 0xE4;
    fixed[20] = 0x08;
    fixed[26] = 0x1B;
    fixed[27] = 0x90;
    EXPECT_EQ(ComposeDriveReport(DecodeCapabilities(fixed)),
              "Read CD-R\r\nWrite CD-R\r\nDevice Buffer: 2048k\r\nMax Read Speed: 10x\r\n"
              "Max Write Speed: 40x");
    // A length that would put the fields beyond the 440 bytes: the page counts as failed.
    for (WORD bdl : std::initializer_list<WORD>{413, 432, 0xFFFF}) {
        std::vector<BYTE> response = ModeSenseResponse(bdl, page);
        std::fill(response.begin() + 8, response.end(), 0xFF);
        TDriveCapabilities caps = DecodeCapabilities(response);
        EXPECT_EQ(ComposeDriveReport(caps),
                  "\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x")
            << bdl;
    }
}

struct TBuild {
    std::string output = kUntouched;
    std::unique_ptr<TEmulatedMachine> os;
};

TBuild BuildOn(TMachineDescription machine, char letter) {
    TBuild b;
    b.os = std::make_unique<TEmulatedMachine>(std::move(machine));
    TArvDiscLib lib(*b.os);
    HANDLE device = lib.OpenDrive(letter);
    b.os->ClearRecords();
    lib.BuildDriveReport(device, b.output);
    if (device != INVALID_HANDLE_VALUE) {
        b.os->CloseHandle(device);
    }
    EXPECT_TRUE(b.os->Clean()) << b.os->Report();
    return b;
}

TEST(DriveReportBuild, InvalidHandleReturnsAtOnce) {
    TBuild b = BuildOn(presets::StandardUserMachine(), 'D');
    EXPECT_EQ(b.output, kUntouched);
    EXPECT_EQ(b.os->CountCalls("Sleep"), 0u);
    EXPECT_EQ(b.os->CountCalls("DeviceIoControl"), 0u);
}

TEST(DriveReportBuild, ReadinessWait) {
    for (int failing : {0, 9}) {
        TMachineDescription machine = presets::StandardMachine();
        machine.Drive('D')->mmc->failingCalls = failing;
        TBuild b = BuildOn(machine, 'D');
        EXPECT_EQ(b.os->CountCalls("Sleep 100"), static_cast<std::size_t>(failing + 1));
        EXPECT_EQ(b.os->CountCalls("DeviceIoControl 00"), static_cast<std::size_t>(failing + 1));
        EXPECT_NE(b.output, kUntouched);
        // Each attempt: sleep, dispatch, then the test.
        EXPECT_EQ(b.os->Calls()[0], "Sleep 100");
        EXPECT_EQ(b.os->Calls()[1], "ProcessMessages");
        EXPECT_EQ(b.os->Calls()[2], "DeviceIoControl 00");
    }
    TMachineDescription never = presets::StandardMachine();
    never.Drive('D')->mmc->failingCalls = 10;
    TBuild b = BuildOn(never, 'D');
    EXPECT_EQ(b.output, kUntouched);
    EXPECT_EQ(b.os->CountCalls("Sleep 100"), 10u);
    EXPECT_EQ(b.os->CountCalls("ProcessMessages"), 10u);
    EXPECT_EQ(b.os->CountCalls("DeviceIoControl"), 10u);
}

TEST(DriveReportBuild, RequestSequenceByMedium) {
    struct {
        const char* name;
        void (*medium)(TMmcDriveModel&);
        std::vector<std::string> commands;
    } cases[] = {
        {"DVD: one READ DVD STRUCTURE",
         [](TMmcDriveModel& d) { d = presets::WithDvdRom(d); },
         {"00", "46", "AD", "5A"}},
        {"CD", [](TMmcDriveModel& d) { d = presets::WithCdRom(d); }, {"00", "46", "5A"}},
        {"no medium: full report, no DVD request",
         [](TMmcDriveModel& d) { d.mediumPresent = false; },
         {"00", "46", "5A"}},
        {"tray open counts as ready",
         [](TMmcDriveModel& d) { d.trayOpen = true; },
         {"00", "46", "5A"}},
    };
    std::string reference;
    for (const auto& c : cases) {
        TMachineDescription machine = presets::StandardMachine();
        c.medium(*machine.Drive('D')->mmc);
        TBuild b = BuildOn(machine, 'D');
        std::vector<std::string> sent;
        for (const std::string& call : b.os->Calls()) {
            if (call.rfind("DeviceIoControl ", 0) == 0) {
                sent.push_back(call.substr(16));
            }
        }
        EXPECT_EQ(sent, c.commands) << c.name;
        // The medium never changes the report.
        if (reference.empty()) {
            reference = b.output;
        }
        EXPECT_EQ(b.output, reference) << c.name;
    }
    EXPECT_EQ(
        reference,
        "Read CD-R\r\nRead CD-RW\r\nRead Method 2\r\nRead DVD-ROM\r\nRead DVD-R / DVD-RW\r\n"
        "Read DVD-RAM\r\nWrite CD-R\r\nWrite CD-RW\r\nWrite Test\r\nWrite DVD-R / DVD-RW\r\n"
        "Write DVD-RAM\r\nDevice Buffer: 2048k\r\nMax Read Speed: 48x\r\nMax Write Speed: 40x");
}

TEST(DriveReportBuild, ProfileFailuresLeaveTheOutputUntouched) {
    for (WORD profile : std::initializer_list<WORD>{0x0040, 0x0006, 0x1B00}) {
        TMachineDescription machine = presets::StandardMachine();
        machine.Drive('D')->mmc->currentProfile = profile;
        TBuild b = BuildOn(machine, 'D');
        EXPECT_EQ(b.output, kUntouched) << profile;
        EXPECT_EQ(b.os->CountCalls("DeviceIoControl 5A"), 0u);
    }
    TMachineDescription failing = presets::StandardMachine();
    failing.Drive('D')->mmc->failingOpcodes = {0x46};
    EXPECT_EQ(BuildOn(failing, 'D').output, kUntouched);
}

TEST(DriveReportBuild, FailedPagesGiveTheThreeZeroLines) {
    const std::string zeros = "\r\nDevice Buffer: 0k\r\nMax Read Speed: 0x\r\nMax Write Speed: 0x";
    TMachineDescription failing = presets::StandardMachine();
    failing.Drive('D')->mmc->failingOpcodes = {0x5A, 0xAD};
    EXPECT_EQ(BuildOn(failing, 'D').output, zeros);

    TMachineDescription refused = presets::StandardMachine(); // CHECK CONDITION, no data
    refused.Drive('D')->mmc->capabilitiesPage.clear();
    EXPECT_EQ(BuildOn(refused, 'D').output, zeros);

    TMachineDescription descriptors = presets::StandardMachine();
    descriptors.Drive('E')->mmc->blockDescriptorLength = 8;
    EXPECT_EQ(BuildOn(descriptors, 'E').output,
              "Read CD-R\r\nRead CD-RW\r\nRead Method 2\r\nDevice Buffer: 128k\r\n"
              "Max Read Speed: 24x\r\nMax Write Speed: 0x");
}

} // namespace
