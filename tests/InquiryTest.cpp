#include "DriveRoutines.h"
#include "emulated/EmulatedMachine.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quenlith;
using namespace quenlith::emulated;

namespace {

std::vector<BYTE> ResponseWithText(const std::string& text, std::size_t size = 100) {
    std::vector<BYTE> response(size, 0);
    for (std::size_t i = 0; i < text.size() && 8 + i < size; ++i) {
        response[8 + i] = static_cast<BYTE>(text[i]);
    }
    return response;
}

TEST(Inquiry, TextRunsFromByteEightToTheFirstZero) {
    EXPECT_EQ(InquiryTextOf(ResponseWithText("")), "");
    EXPECT_EQ(InquiryTextOf(ResponseWithText("VENDOR  PRODUCT")), "VENDOR  PRODUCT");

    std::vector<BYTE> full(100, 'A');
    full[99] = 'Z';
    std::string text = InquiryTextOf(full);
    EXPECT_EQ(text.size(), 92u);
    EXPECT_EQ(text.back(), 'Z');
    // Nothing past byte 99, even in a larger buffer.
    full.resize(120, 'B');
    EXPECT_EQ(InquiryTextOf(full).size(), 92u);
}

TEST(Inquiry, ShortResponseEndsWhereTheDataEnds) {
    TMachineDescription machine = presets::StandardMachine();
    machine.Drive('D')->mmc->inquiry = MakeInquiry("ABCD", "SHORT", "1", "");
    machine.Drive('D')->mmc->inquiry.resize(20); // 12 text bytes transferred
    TEmulatedMachine os(machine);
    EXPECT_EQ(GetInquiryData(os, 'D'), "ABCD    SHOR");
    EXPECT_TRUE(os.Clean()) << os.Report();
}

TEST(Inquiry, GetInquiryDataOpensSendsAndCloses) {
    TEmulatedMachine os(presets::StandardMachine());
    EXPECT_EQ(GetInquiryData(os, 'D'), "VIRTUAL DVD-RW VX-2040  1.022024/05/17 SATA     ");
    ASSERT_EQ(os.Calls().size(), 3u);
    EXPECT_EQ(os.Calls()[0],
              "CreateFileA \\\\.\\D: access=C0000000 share=3 disposition=3 flags=80");
    EXPECT_EQ(os.Calls()[1], "DeviceIoControl 12");
    EXPECT_EQ(os.Calls()[2], "CloseHandle");
    // No drive-type test: a hard disk answers too.
    EXPECT_EQ(GetInquiryData(os, 'C').substr(0, 8), "ATA     ");
    EXPECT_EQ(os.CountCalls("GetDriveTypeA"), 0u);
    EXPECT_TRUE(os.Clean()) << os.Report();
}

TEST(Inquiry, FailuresGiveTheEmptyText) {
    TEmulatedMachine os(presets::StandardMachine());
    EXPECT_EQ(TryGetInquiryData(os, 'Q'), ""); // no device: nothing sent
    EXPECT_EQ(os.CountCalls("DeviceIoControl"), 0u);
    os.Drive('D')->mmc->failingOpcodes = {0x12};
    EXPECT_EQ(TryGetInquiryData(os, 'D'), "");
    EXPECT_EQ(os.CountCalls("CloseHandle"), 1u);
    EXPECT_TRUE(os.Clean()) << os.Report();
}

} // namespace
