// The drive capability report: page 2Ah of a MODE SENSE(10) response decoded into text.
// Pure byte work: no drive is touched here.
#pragma once

#include "WinTypes.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quenlith {

inline constexpr std::size_t kCapabilitiesResponseSize = 440;
inline constexpr std::size_t kModeParameterHeaderSize = 8;

// A line of the report per declared capability, in report order.
struct TCapabilityEntry {
    std::size_t pageByte; // byte of page 2Ah: 2 read capabilities, 3 write capabilities
    int bit;              // 0 is the least significant
    std::string_view text;
};

inline constexpr std::array<TCapabilityEntry, 11> CapabilityEntries = {{
    {2, 0, "Read CD-R"},
    {2, 1, "Read CD-RW"},
    {2, 2, "Read Method 2"},
    {2, 3, "Read DVD-ROM"},
    {2, 4, "Read DVD-R / DVD-RW"},
    {2, 5, "Read DVD-RAM"},
    {3, 0, "Write CD-R"},
    {3, 1, "Write CD-RW"},
    {3, 2, "Write Test"},
    {3, 4, "Write DVD-R / DVD-RW"},
    {3, 5, "Write DVD-RAM"},
}};

// Offsets of the fields read within page 2Ah.
inline constexpr std::size_t kPageMaxReadSpeed = 8;   // kB/s, big-endian
inline constexpr std::size_t kPageBufferSize = 12;    // KB, big-endian
inline constexpr std::size_t kPageMaxWriteSpeed = 18; // kB/s, big-endian
inline constexpr std::size_t kPageBytesRead = 20;

// The kB/s that count as one "x".
inline constexpr long double kSpeedFactor = 176.46L;

constexpr bool IsBitSet(DWORD value, int bit) {
    return ((value >> bit) & 1u) != 0;
}

// What the report is made of, taken from page 2Ah.
struct TDriveCapabilities {
    BYTE readBits = 0;
    BYTE writeBits = 0;
    WORD bufferSizeKB = 0;
    WORD maxReadSpeedKBs = 0;
    WORD maxWriteSpeedKBs = 0;
};

// The offset of page 2Ah in a MODE SENSE(10) response: behind the 8-byte header and the block
// descriptors whose length the header gives in bytes 6-7 (0 for MMC drives, which puts the page
// at byte 8). Empty when the page's fields would lie beyond the response.
std::optional<std::size_t> CapabilitiesPageOffset(std::span<const BYTE> modeSenseResponse);

// The fields of page 2Ah; all zero when the page cannot be located in the response.
TDriveCapabilities DecodeCapabilities(std::span<const BYTE> modeSenseResponse);

// A speed in kB/s as a multiple of the CD speed, rounded to nearest (ties to even).
unsigned SpeedFactorOf(WORD kilobytesPerSecond);

// The report text: one line per declared capability, then "Device Buffer: ", "Max Read Speed: "
// and "Max Write Speed: ", lines separated by CR LF, no break at the end. A drive that does not
// declare CD-R reading gets a text that begins with CR LF.
std::string ComposeDriveReport(const TDriveCapabilities& capabilities);

} // namespace quenlith
