#include "DvdPhysicalFormat.h"

#include <gtest/gtest.h>

#include <array>

using namespace quenlith;

namespace {

TDvdPhysicalFormat Decode(BYTE b4, BYTE b5, BYTE b6, BYTE b7) {
    std::array<BYTE, 21> response{};
    response[4] = b4;
    response[5] = b5;
    response[6] = b6;
    response[7] = b7;
    return DecodeDvdPhysicalFormat(response);
}

TEST(DvdPhysicalFormat, Fields) {
    struct {
        BYTE b4, b5, b6, b7;
        const char *book, *size, *rate, *layers, *layerType, *linear, *track;
    } cases[] = {
        {0x01, 0x02, 0x01, 0x00, "DVD-ROM", "120mm", "10.08 Mbps", "0",
         "Layer contains embossed data", "0.267 um/bit", "0.74 um/track"},
        {0x92, 0x1F, 0x22, 0x12, "DVD+RW", "80mm", "Not Specified", "1",
         "Layer contains recordable area", "0.293 um/bit", "0.615 um/track"},
        {0xA0, 0x01, 0x64, 0x41, "DVD+R", "120mm", "5.04 Mbps", "3",
         "Layer contains rewritable area", "0.280 to 0.291 um/bit", "0.80 um/track"},
        {0x20, 0x00, 0x08, 0x80, "DVD-R", "120mm", "2.52 Mbps", "0", "Reserved", "0.353 um/bit",
         "0.74 um/track"},
        {0x40, 0x23, 0x03, 0x33, "Unknown", "Unknown", "Unknown", "0", "Unknown", "Reserved",
         "Reserved"},
        {0x30, 0x10, 0x00, 0x20, "DVD-RW", "80mm", "2.52 Mbps", "0", "Unknown",
         "0.409 to 0.435 um/bit", "0.74 um/track"},
    };
    for (const auto& c : cases) {
        TDvdPhysicalFormat f = Decode(c.b4, c.b5, c.b6, c.b7);
        EXPECT_EQ(f.bookType, c.book);
        EXPECT_EQ(f.discSize, c.size);
        EXPECT_EQ(f.maximumRate, c.rate);
        EXPECT_EQ(f.numberOfLayers, c.layers);
        EXPECT_EQ(f.layerType, c.layerType);
        EXPECT_EQ(f.linearDensity, c.linear);
        EXPECT_EQ(f.trackDensity, c.track);
    }
}

} // namespace
