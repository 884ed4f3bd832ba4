// The kind of medium in a drive: its current MMC profile mapped to a media-type index.
#pragma once

#include "OsServices.h"

#include <array>
#include <span>
#include <string_view>

namespace quenlith {

// Media-type index: 0 to 19 index MediaTypeNames; -1 means no media type is known.
inline constexpr int kNoMediaType = -1;
inline constexpr int kFirstDvdMediaType = 9; // DVD-ROM
inline constexpr int kLastDvdMediaType = 15; // DVD+R

inline constexpr std::array<std::string_view, 20> MediaTypeNames = {
    "No Current Profile",
    "Non Removable Disk",
    "Removable Disk",
    "Magneto Optical Erasable",
    "Optical Write Once",
    "AS-MO",
    "CD-ROM",
    "CD-R",
    "CD-RW",
    "DVD-ROM",
    "DVD-R SequentialRecording,",
    "DVD-RAM",
    "DVD-RW Restricted Overwrite",
    "DVD-RW Sequential Recording",
    "DVD+RW",
    "DVD+R",
    "DDCD-ROM",
    "DDCD-R",
    "DDCD-RW",
    "UNKNOWN",
};

// The profile that each index of MediaTypeNames stands for, in index order.
inline constexpr std::array<WORD, 20> MediaTypeProfiles = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0008, 0x0009, 0x000A, 0x0010,
    0x0011, 0x0012, 0x0013, 0x0014, 0x001A, 0x001B, 0x0020, 0x0021, 0x0022, 0xFFFF,
};

// The index for an MMC profile number, or kNoMediaType for a profile the table does not list.
int MediaTypeOfProfile(WORD profile);

// True for the indices of DVD media (DVD-ROM to DVD+R).
constexpr bool IsDvdMediaType(int index) {
    return index >= kFirstDvdMediaType && index <= kLastDvdMediaType;
}

// The current profile read from a GET CONFIGURATION response (bytes 6-7, big-endian).
WORD CurrentProfileOf(std::span<const BYTE> configurationResponse);

// Sends GET CONFIGURATION on device (which it neither opens nor closes) and answers the media
// type index of the current profile; kNoMediaType when the call fails or the profile is not
// listed. This one routine serves TArvDiscLib::GetCurrentProfile and the window's GetMediaType.
int QueryMediaType(TOsServices& os, HANDLE device);

} // namespace quenlith
