// An MMC optical drive answering the system's five commands from its state.
#pragma once

#include "../WinTypes.h"

#include <array>
#include <cstddef>
#include <set>
#include <span>
#include <string_view>
#include <vector>

namespace quenlith::emulated {

// What one command did: whether the I/O control call itself succeeded, and if so the SCSI
// status, the sense data and how many data bytes were transferred.
struct TScsiReply {
    bool carriedOut = true;
    BYTE status = 0; // 0 GOOD, 2 CHECK CONDITION
    std::vector<BYTE> sense;
    std::size_t transferred = 0;
};

inline constexpr BYTE kStatusGood = 0x00;
inline constexpr BYTE kStatusCheckCondition = 0x02;

// Standard INQUIRY data: peripheral type 5 (CD/DVD), the four text fields padded with blanks to
// 8, 16, 4 and 20 characters (longer texts are cut), 96 bytes in all.
std::vector<BYTE> MakeInquiry(std::string_view vendor, std::string_view product,
                              std::string_view revision, std::string_view vendorSpecific,
                              BYTE peripheralType = 5);

// Page 2Ah (from its page code byte, 28 bytes) with the fields the capability report reads.
std::vector<BYTE> MakeCapabilitiesPage(BYTE readBits, BYTE writeBits, WORD maxReadSpeedKBs,
                                       WORD bufferSizeKB, WORD maxWriteSpeedKBs);

// The 17 descriptor bytes of DVD physical format information (behind the 4-byte header):
// book type and part version, disc size and maximum rate, layers and layer type, densities.
std::array<BYTE, 17> MakeDvdPhysicalFormat(BYTE bookTypeByte, BYTE sizeRateByte, BYTE layerByte,
                                           BYTE densityByte);

struct TMmcDriveModel {
    std::vector<BYTE> inquiry;
    bool mediumPresent = false;
    WORD currentProfile = 0;             // of the medium, when present and the tray is closed
    std::vector<WORD> supportedProfiles; // the profile list of GET CONFIGURATION
    std::vector<BYTE> capabilitiesPage;  // page 2Ah; empty: MODE SENSE is refused
    WORD blockDescriptorLength = 0;      // block descriptor bytes sent before the page
    std::array<BYTE, 17> dvdPhysicalFormat{};
    bool trayOpen = false;
    int failingCalls = 0;          // pass-through calls that fail before it answers
    std::set<BYTE> failingOpcodes; // commands whose pass-through call always fails

    // Answers one CDB into data (the caller's buffer, already sized to the transfer length).
    TScsiReply Execute(std::span<const BYTE> cdb, std::span<BYTE> data);

    // The profile the drive reports now: 0 without a medium or with the tray open.
    WORD ReportedProfile() const;
};

} // namespace quenlith::emulated
