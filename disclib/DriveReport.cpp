#include "DriveReport.h"

#include "ArvSCSIStructs.h"

#include <cmath>

namespace quenlith {

std::optional<std::size_t> CapabilitiesPageOffset(std::span<const BYTE> modeSenseResponse) {
    if (modeSenseResponse.size() < kModeParameterHeaderSize) {
        return std::nullopt;
    }
    std::size_t offset = kModeParameterHeaderSize + ReadBigEndianWord(modeSenseResponse, 6);
    if (offset + kPageBytesRead > modeSenseResponse.size()) {
        return std::nullopt;
    }
    return offset;
}

TDriveCapabilities DecodeCapabilities(std::span<const BYTE> modeSenseResponse) {
    TDriveCapabilities result;
    std::optional<std::size_t> page = CapabilitiesPageOffset(modeSenseResponse);
    if (!page) {
        return result;
    }
    result.readBits = modeSenseResponse[*page + 2];
    result.writeBits = modeSenseResponse[*page + 3];
    result.maxReadSpeedKBs = ReadBigEndianWord(modeSenseResponse, *page + kPageMaxReadSpeed);
    result.bufferSizeKB = ReadBigEndianWord(modeSenseResponse, *page + kPageBufferSize);
    result.maxWriteSpeedKBs = ReadBigEndianWord(modeSenseResponse, *page + kPageMaxWriteSpeed);
    return result;
}

unsigned SpeedFactorOf(WORD kilobytesPerSecond) {
    // nearbyint follows the current rounding mode, round-to-nearest-even by default.
    return static_cast<unsigned>(
        std::nearbyint(static_cast<long double>(kilobytesPerSecond) / kSpeedFactor));
}

std::string ComposeDriveReport(const TDriveCapabilities& capabilities) {
    std::string report;
    bool first = true;
    for (const TCapabilityEntry& entry : CapabilityEntries) {
        BYTE bits = entry.pageByte == 2 ? capabilities.readBits : capabilities.writeBits;
        // The first entry is assigned, every later one appended behind CR LF: without CD-R
        // reading the text starts with an empty line.
        if (IsBitSet(bits, entry.bit)) {
            if (!first) {
                report += "\r\n";
            }
            report += entry.text;
        }
        first = false;
    }
    report += "\r\nDevice Buffer: " + std::to_string(capabilities.bufferSizeKB) + "k";
    report +=
        "\r\nMax Read Speed: " + std::to_string(SpeedFactorOf(capabilities.maxReadSpeedKBs)) + "x";
    report +=
        "\r\nMax Write Speed: " + std::to_string(SpeedFactorOf(capabilities.maxWriteSpeedKBs)) +
        "x";
    return report;
}

} // namespace quenlith
