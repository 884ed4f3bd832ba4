// The DVD physical format information of READ DVD STRUCTURE (format 0), decoded into texts.
// Pure byte work; the capability report does not use it, the command-line probe prints it.
#pragma once

#include "WinTypes.h"

#include <cstddef>
#include <span>
#include <string>

namespace quenlith {

inline constexpr std::size_t kDvdStructureResponseSize = 21;

struct TDvdPhysicalFormat {
    std::string bookType;
    std::string discSize;
    std::string maximumRate;
    std::string numberOfLayers;
    std::string layerType;
    std::string linearDensity;
    std::string trackDensity;
};

// Decodes bytes 4 to 7 of the response (the first four bytes of the descriptor behind the
// 4-byte header). A response shorter than 8 bytes decodes as all zero bytes.
TDvdPhysicalFormat DecodeDvdPhysicalFormat(std::span<const BYTE> response);

} // namespace quenlith
