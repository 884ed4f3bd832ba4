#include "DvdPhysicalFormat.h"

#include <array>
#include <string_view>

namespace quenlith {
namespace {

struct TCode {
    unsigned value;
    std::string_view text;
};

template <std::size_t N>
std::string Lookup(const std::array<TCode, N>& table, unsigned value, std::string_view otherwise) {
    for (const TCode& code : table) {
        if (code.value == value) {
            return std::string(code.text);
        }
    }
    return std::string(otherwise);
}

constexpr std::array<TCode, 6> kBookTypes = {
    {{0, "DVD-ROM"}, {1, "DVD-RAM"}, {2, "DVD-R"}, {3, "DVD-RW"}, {9, "DVD+RW"}, {10, "DVD+R"}}};
constexpr std::array<TCode, 2> kDiscSizes = {{{0, "120mm"}, {1, "80mm"}}};
constexpr std::array<TCode, 4> kMaximumRates = {
    {{0, "2.52 Mbps"}, {1, "5.04 Mbps"}, {2, "10.08 Mbps"}, {15, "Not Specified"}}};
constexpr std::array<TCode, 4> kLayerTypes = {{{1, "Layer contains embossed data"},
                                               {2, "Layer contains recordable area"},
                                               {4, "Layer contains rewritable area"},
                                               {8, "Reserved"}}};
constexpr std::array<TCode, 5> kLinearDensities = {{{0, "0.267 um/bit"},
                                                    {1, "0.293 um/bit"},
                                                    {2, "0.409 to 0.435 um/bit"},
                                                    {4, "0.280 to 0.291 um/bit"},
                                                    {8, "0.353 um/bit"}}};
constexpr std::array<TCode, 3> kTrackDensities = {
    {{0, "0.74 um/track"}, {1, "0.80 um/track"}, {2, "0.615 um/track"}}};

unsigned High(BYTE b) {
    return b >> 4;
}
unsigned Low(BYTE b) {
    return b & 0x0Fu;
}

} // namespace

TDvdPhysicalFormat DecodeDvdPhysicalFormat(std::span<const BYTE> response) {
    std::array<BYTE, 4> d{};
    for (std::size_t i = 0; i < d.size() && 4 + i < response.size(); ++i) {
        d[i] = response[4 + i];
    }
    TDvdPhysicalFormat f;
    f.bookType = Lookup(kBookTypes, High(d[0]), "Unknown");
    f.discSize = Lookup(kDiscSizes, High(d[1]), "Unknown");
    f.maximumRate = Lookup(kMaximumRates, Low(d[1]), "Unknown");
    f.numberOfLayers = std::to_string((d[2] >> 5) & 0x3u);
    f.layerType = Lookup(kLayerTypes, Low(d[2]), "Unknown");
    f.linearDensity = Lookup(kLinearDensities, High(d[3]), "Reserved");
    f.trackDensity = Lookup(kTrackDensities, Low(d[3]), "Reserved");
    return f;
}

} // namespace quenlith
