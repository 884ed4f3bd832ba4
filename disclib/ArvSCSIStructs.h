// The pass-through request block and the five drive commands the system sends.
#pragma once

#include "OsServices.h"
#include "WinTypes.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace quenlith {

// Our own definition of the SCSI_PASS_THROUGH_DIRECT header, with the SDK's natural
// alignment, so the layout follows the pointer width of the target exactly as the SDK's does.
struct TScsiPassThroughDirect {
    WORD Length;
    BYTE ScsiStatus;
    BYTE PathId;
    BYTE TargetId;
    BYTE Lun;
    BYTE CdbLength;
    BYTE SenseInfoLength;
    BYTE DataIn;
    DWORD DataTransferLength;
    DWORD TimeOutValue;
    void* DataBuffer;
    DWORD SenseInfoOffset;
    BYTE Cdb[16];
};

// The header, an alignment word and the 32-byte sense area; passed as both the input and the
// output buffer of the I/O control call.
struct TPassThroughRequest {
    TScsiPassThroughDirect Spt;
    DWORD Filler;
    BYTE SenseBuf[32];
};

inline constexpr std::size_t kSenseAreaSize = 32;
inline constexpr std::size_t kPassThroughHeaderSize = sizeof(TScsiPassThroughDirect);
inline constexpr std::size_t kSenseInfoOffset = offsetof(TPassThroughRequest, SenseBuf);

// The SDK's offsets for both pointer widths: 44-byte header and sense at 48 with 32-bit
// pointers; 56-byte header, DataBuffer at 24 and sense at 60 with 64-bit pointers.
struct TPassThroughLayout {
    std::size_t dataBuffer, senseInfoOffset, cdb, header, filler, sense, total;
};
inline constexpr TPassThroughLayout kLayout32{20, 24, 28, 44, 44, 48, 80};
inline constexpr TPassThroughLayout kLayout64{24, 32, 36, 56, 56, 60, 96};
inline constexpr TPassThroughLayout kLayout = sizeof(void*) == 4 ? kLayout32 : kLayout64;
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8);
static_assert(offsetof(TScsiPassThroughDirect, DataTransferLength) == 12);
static_assert(offsetof(TScsiPassThroughDirect, TimeOutValue) == 16);
static_assert(offsetof(TScsiPassThroughDirect, DataBuffer) == kLayout.dataBuffer);
static_assert(offsetof(TScsiPassThroughDirect, SenseInfoOffset) == kLayout.senseInfoOffset);
static_assert(offsetof(TScsiPassThroughDirect, Cdb) == kLayout.cdb);
static_assert(sizeof(TScsiPassThroughDirect) == kLayout.header);
static_assert(offsetof(TPassThroughRequest, Filler) == kLayout.filler);
static_assert(offsetof(TPassThroughRequest, SenseBuf) == kLayout.sense);
static_assert(sizeof(TPassThroughRequest) == kLayout.total);

enum class ScsiCommand { TestUnitReady, Inquiry, GetConfiguration, ReadDvdStructure, ModeSense10 };

// One row per command: every byte of its request and how its data buffer is treated.
struct TScsiCommandRow {
    ScsiCommand command;
    std::string_view name;
    std::array<BYTE, 12> cdb;
    BYTE cdbLength;
    BYTE senseInfoLength;
    DWORD dataTransferLength; // also the size of the caller's data buffer
    DWORD timeOutValue;       // seconds
    bool zeroBuffer;          // zero the data buffer before the call
};

inline constexpr std::array<TScsiCommandRow, 5> ScsiCommands = {{
    {ScsiCommand::TestUnitReady, "TEST UNIT READY", {0x00, 0, 0, 0, 0, 0}, 6, 32, 0, 120, false},
    {ScsiCommand::Inquiry, "INQUIRY", {0x12, 0, 0, 0, 0x64, 0}, 6, 24, 100, 2, true},
    // The buffer is zeroed so a failed transfer never leaves a profile from earlier memory.
    {ScsiCommand::GetConfiguration,
     "GET CONFIGURATION",
     {0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x72, 0},
     10,
     32,
     114,
     120,
     true},
    {ScsiCommand::ReadDvdStructure,
     "READ DVD STRUCTURE",
     {0xAD, 0, 0, 0, 0, 0, 0, 0, 0, 0x15, 0, 0},
     12,
     32,
     21,
     120,
     true},
    // Byte 2 AAh: page control 10b (default values), page 2Ah.
    {ScsiCommand::ModeSense10,
     "MODE SENSE(10)",
     {0x5A, 0, 0xAA, 0, 0, 0, 0, 0x01, 0xB8, 0},
     10,
     14,
     440,
     120,
     true},
}};

constexpr const TScsiCommandRow& CommandRow(ScsiCommand command) {
    return ScsiCommands[static_cast<std::size_t>(command)];
}

// The block for one command, built afresh: zeroed, then filled from the command's row.
TPassThroughRequest MakePassThroughRequest(const TScsiCommandRow& row, void* dataBuffer);

// Sends one command on device. buffer must hold exactly the row's DataTransferLength bytes
// (empty for TEST UNIT READY). Success is the I/O control call's answer alone: SCSI status and
// sense data are not examined.
bool SendScsiCommand(TOsServices& os, HANDLE device, ScsiCommand command, std::span<BYTE> buffer);

// Exchanges the two bytes of a 16-bit word: a big-endian response word loaded little-endian
// yields its value.
constexpr WORD SwapWord(WORD value) {
    return static_cast<WORD>(((value << 8) & 0xFF00) | (value >> 8));
}

// The big-endian word at offset of a response buffer, read through SwapWord.
WORD ReadBigEndianWord(std::span<const BYTE> response, std::size_t offset);

} // namespace quenlith
