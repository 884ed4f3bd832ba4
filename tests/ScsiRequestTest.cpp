// The request blocks of the five commands, byte for byte, as the drive receives them.
#include "ArvSCSIStructs.h"
#include "emulated/EmulatedMachine.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace quenlith;
using namespace quenlith::emulated;

namespace {

void PutLE(std::vector<BYTE>& out, std::size_t at, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        out[at + i] = static_cast<BYTE>(value >> (8 * i));
    }
}

struct TExpectedBlock {
    ScsiCommand command;
    std::vector<BYTE> cdb;
    BYTE senseInfoLength;
    DWORD transferLength;
    DWORD timeOut;
};

// Every byte of the block, written from the layout's offsets rather than from our struct.
std::vector<BYTE> ExpectedBytes(const TExpectedBlock& e, const void* dataBuffer) {
    std::vector<BYTE> b(sizeof(TPassThroughRequest), 0);
    PutLE(b, 0, kLayout.header, 2);
    b[6] = static_cast<BYTE>(e.cdb.size());
    b[7] = e.senseInfoLength;
    b[8] = 1; // data in, even for the command that moves no data
    PutLE(b, 12, e.transferLength, 4);
    PutLE(b, 16, e.timeOut, 4);
    PutLE(b, kLayout.dataBuffer, reinterpret_cast<std::uintptr_t>(dataBuffer), sizeof(void*));
    PutLE(b, kLayout.senseInfoOffset, kLayout.sense, 4);
    std::copy(e.cdb.begin(), e.cdb.end(), b.begin() + static_cast<long>(kLayout.cdb));
    return b;
}

const std::vector<TExpectedBlock> kBlocks = {
    {ScsiCommand::TestUnitReady, {0, 0, 0, 0, 0, 0}, 32, 0, 120},
    {ScsiCommand::Inquiry, {0x12, 0, 0, 0, 0x64, 0}, 24, 100, 2},
    {ScsiCommand::GetConfiguration, {0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x72, 0}, 32, 114, 120},
    {ScsiCommand::ReadDvdStructure, {0xAD, 0, 0, 0, 0, 0, 0, 0, 0, 0x15, 0, 0}, 32, 21, 120},
    {ScsiCommand::ModeSense10, {0x5A, 0, 0xAA, 0, 0, 0, 0, 0x01, 0xB8, 0}, 14, 440, 120},
};

TEST(ScsiRequest, EveryBlockByteForByte) {
    for (const TExpectedBlock& e : kBlocks) {
        SCOPED_TRACE(std::string(CommandRow(e.command).name));
        TEmulatedMachine os(presets::StandardMachine());
        HANDLE device = os.CreateFileA("\\\\.\\D:", 0xC0000000, 3, 3, 0x80);
        std::vector<BYTE> buffer(e.transferLength);
        SendScsiCommand(os, device, e.command, buffer);
        os.CloseHandle(device);

        ASSERT_EQ(os.Requests().size(), 1u);
        std::vector<BYTE> sent(sizeof(TPassThroughRequest));
        std::memcpy(sent.data(), &os.Requests()[0], sent.size());
        EXPECT_EQ(sent, ExpectedBytes(e, buffer.empty() ? nullptr : buffer.data()));
        EXPECT_TRUE(os.Clean()) << os.Report();
    }
}

TEST(ScsiRequest, SuccessIsTheCallsAnswerNotTheScsiStatus) {
    TEmulatedMachine os(presets::StandardMachine());
    HANDLE empty = os.CreateFileA("\\\\.\\E:", 0xC0000000, 3, 3, 0x80);
    // No medium: the drive ends TEST UNIT READY with CHECK CONDITION, the call succeeds.
    EXPECT_TRUE(SendScsiCommand(os, empty, ScsiCommand::TestUnitReady, {}));
    EXPECT_EQ(os.Requests().size(), 1u);
    os.Drive('E')->mmc->failingCalls = 1;
    EXPECT_FALSE(SendScsiCommand(os, empty, ScsiCommand::TestUnitReady, {}));
    EXPECT_FALSE(SendScsiCommand(os, INVALID_HANDLE_VALUE, ScsiCommand::TestUnitReady, {}));
    os.CloseHandle(empty);
    EXPECT_TRUE(os.Clean()) << os.Report();
}

// Bytes the drive did not send read as zero, also in GET CONFIGURATION's buffer.
TEST(ScsiRequest, DataBuffersAreZeroedBeforeTheCall) {
    for (ScsiCommand command : {ScsiCommand::Inquiry, ScsiCommand::GetConfiguration,
                                ScsiCommand::ReadDvdStructure, ScsiCommand::ModeSense10}) {
        SCOPED_TRACE(std::string(CommandRow(command).name));
        TEmulatedMachine os(presets::StandardMachine());
        os.Drive('D')->mmc->failingOpcodes = {CommandRow(command).cdb[0]};
        HANDLE device = os.CreateFileA("\\\\.\\D:", 0xC0000000, 3, 3, 0x80);
        std::vector<BYTE> buffer(CommandRow(command).dataTransferLength, 0xEE);
        EXPECT_FALSE(SendScsiCommand(os, device, command, buffer));
        EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), static_cast<long>(buffer.size()));
        os.CloseHandle(device);
    }
}

TEST(ScsiRequest, SwapWordExchangesTheBytes) {
    struct {
        WORD in, out;
    } cases[] = {
        {0x1234, 0x3412}, {0x0011, 0x1100}, {0xFFFF, 0xFFFF}, {0x0000, 0x0000}, {0x00FF, 0xFF00}};
    for (auto c : cases) {
        EXPECT_EQ(SwapWord(c.in), c.out) << std::hex << c.in;
    }
    const BYTE response[] = {0x01, 0xB8};
    EXPECT_EQ(ReadBigEndianWord(response, 0), 440);
}

} // namespace
