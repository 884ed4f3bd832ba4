#include "MmcDriveModel.h"

#include <algorithm>

namespace quenlith::emulated {
namespace {

void PutText(std::vector<BYTE>& out, std::size_t at, std::string_view text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        out[at + i] = i < text.size() ? static_cast<BYTE>(text[i]) : BYTE{' '};
    }
}

void PutWord(std::span<BYTE> out, std::size_t at, unsigned value) {
    out[at] = static_cast<BYTE>(value >> 8);
    out[at + 1] = static_cast<BYTE>(value);
}

// Fixed-format sense data with the given key, code and qualifier.
std::vector<BYTE> Sense(BYTE key, BYTE asc, BYTE ascq) {
    std::vector<BYTE> sense(18, 0);
    sense[0] = 0x70;
    sense[2] = key;
    sense[7] = 10;
    sense[12] = asc;
    sense[13] = ascq;
    return sense;
}

TScsiReply CheckCondition(BYTE key, BYTE asc, BYTE ascq) {
    TScsiReply reply;
    reply.status = kStatusCheckCondition;
    reply.sense = Sense(key, asc, ascq);
    return reply;
}

TScsiReply NotReady(const TMmcDriveModel& drive) {
    // 3Ah/01h: medium not present, tray closed; 3Ah/02h: tray open.
    return CheckCondition(0x02, 0x3A, drive.trayOpen ? 0x02 : 0x01);
}

TScsiReply Transfer(std::span<const BYTE> response, std::span<BYTE> data, std::size_t allocation) {
    TScsiReply reply;
    reply.transferred = std::min({response.size(), data.size(), allocation});
    std::copy_n(response.begin(), reply.transferred, data.begin());
    return reply;
}

TScsiReply CallFails() {
    TScsiReply reply;
    reply.carriedOut = false;
    return reply;
}

bool IsDvdProfile(WORD profile) {
    return (profile >= 0x10 && profile <= 0x14) || profile == 0x1A || profile == 0x1B;
}

} // namespace

std::vector<BYTE> MakeInquiry(std::string_view vendor, std::string_view product,
                              std::string_view revision, std::string_view vendorSpecific,
                              BYTE peripheralType) {
    std::vector<BYTE> out(96, 0);
    out[0] = peripheralType;
    out[1] = 0x80; // removable medium
    out[2] = 0x05;
    out[3] = 0x32;
    out[4] = static_cast<BYTE>(out.size() - 5);
    PutText(out, 8, vendor, 8);
    PutText(out, 16, product, 16);
    PutText(out, 32, revision, 4);
    PutText(out, 36, vendorSpecific, 20);
    return out;
}

std::vector<BYTE> MakeCapabilitiesPage(BYTE readBits, BYTE writeBits, WORD maxReadSpeedKBs,
                                       WORD bufferSizeKB, WORD maxWriteSpeedKBs) {
    std::vector<BYTE> page(28, 0);
    page[0] = 0x2A;
    page[1] = static_cast<BYTE>(page.size() - 2);
    page[2] = readBits;
    page[3] = writeBits;
    page[4] = 0x71; // audio play, composite, digital ports, multi-session
    page[6] = 0x29; // tray loading mechanism, eject, lock
    PutWord(page, 8, maxReadSpeedKBs);
    PutWord(page, 10, 256);
    PutWord(page, 12, bufferSizeKB);
    PutWord(page, 14, maxReadSpeedKBs);
    PutWord(page, 18, maxWriteSpeedKBs);
    PutWord(page, 20, maxWriteSpeedKBs);
    return page;
}

std::array<BYTE, 17> MakeDvdPhysicalFormat(BYTE bookTypeByte, BYTE sizeRateByte, BYTE layerByte,
                                           BYTE densityByte) {
    std::array<BYTE, 17> d{};
    d[0] = bookTypeByte;
    d[1] = sizeRateByte;
    d[2] = layerByte;
    d[3] = densityByte;
    d[5] = 0x03; // starting sector 030000h
    return d;
}

WORD TMmcDriveModel::ReportedProfile() const {
    return mediumPresent && !trayOpen ? currentProfile : WORD{0};
}

TScsiReply TMmcDriveModel::Execute(std::span<const BYTE> cdb, std::span<BYTE> data) {
    if (cdb.empty()) {
        return CallFails();
    }
    if (failingCalls > 0) {
        --failingCalls;
        return CallFails();
    }
    const BYTE opcode = cdb[0];
    if (failingOpcodes.contains(opcode)) {
        return CallFails();
    }
    auto word = [&](std::size_t at) -> std::size_t {
        return at + 1 < cdb.size() ? (std::size_t{cdb[at]} << 8) | cdb[at + 1] : 0;
    };
    switch (opcode) {
    case 0x00: // TEST UNIT READY
        if (!mediumPresent || trayOpen) {
            return NotReady(*this);
        }
        return TScsiReply{};
    case 0x12: // INQUIRY
        return Transfer(inquiry, data, cdb.size() > 4 ? cdb[4] : 0);
    case 0x46: { // GET CONFIGURATION
        std::vector<WORD> profiles = supportedProfiles;
        if (profiles.empty() && currentProfile != 0) {
            profiles.push_back(currentProfile);
        }
        std::vector<BYTE> response(8 + 4 + 4 * profiles.size(), 0);
        const std::size_t dataLength = response.size() - 4;
        response[0] = static_cast<BYTE>(dataLength >> 24);
        response[1] = static_cast<BYTE>(dataLength >> 16);
        response[2] = static_cast<BYTE>(dataLength >> 8);
        response[3] = static_cast<BYTE>(dataLength);
        const WORD reported = ReportedProfile();
        PutWord(response, 6, reported);
        response[10] = 0x03; // persistent, current
        response[11] = static_cast<BYTE>(4 * profiles.size());
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            PutWord(response, 12 + 4 * i, profiles[i]);
            response[14 + 4 * i] = profiles[i] == reported ? 0x01 : 0x00;
        }
        return Transfer(response, data, word(7));
    }
    case 0xAD: { // READ DVD STRUCTURE, format 0
        if (!mediumPresent || trayOpen) {
            return NotReady(*this);
        }
        if (!IsDvdProfile(currentProfile) || (cdb.size() > 7 && cdb[7] != 0)) {
            return CheckCondition(0x05, 0x30, 0x02); // cannot read medium: incompatible format
        }
        std::vector<BYTE> response(4 + dvdPhysicalFormat.size(), 0);
        PutWord(response, 0, 2048 + 2);
        std::copy(dvdPhysicalFormat.begin(), dvdPhysicalFormat.end(), response.begin() + 4);
        return Transfer(response, data, word(8));
    }
    case 0x5A: { // MODE SENSE(10)
        if (cdb.size() < 3 || (cdb[2] & 0x3F) != 0x2A || capabilitiesPage.empty()) {
            return CheckCondition(0x05, 0x24, 0x00); // invalid field in CDB
        }
        std::vector<BYTE> response(8 + blockDescriptorLength + capabilitiesPage.size(), 0);
        PutWord(response, 0, static_cast<unsigned>(response.size() - 2));
        PutWord(response, 6, blockDescriptorLength);
        for (std::size_t d = 0; d + 8 <= blockDescriptorLength; d += 8) {
            PutWord(response, 8 + d + 6, 2048); // block length 2048
        }
        std::copy(capabilitiesPage.begin(), capabilitiesPage.end(),
                  response.begin() + 8 + blockDescriptorLength);
        return Transfer(response, data, word(7));
    }
    default:
        return CheckCondition(0x05, 0x20, 0x00); // invalid command operation code
    }
}

} // namespace quenlith::emulated
