#include "MediaProfiles.h"
#include "DriveRoutines.h"
#include "emulated/EmulatedMachine.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

using namespace quenlith;
using namespace quenlith::emulated;

namespace {

TEST(MediaProfiles, ProfileToIndexIncludingTheGaps) {
    struct {
        WORD profile;
        int index;
    } cases[] = {
        {0x0000, 0},  {0x0001, 1},  {0x0005, 5},  {0x0006, -1}, {0x0007, -1},
        {0x0008, 6},  {0x000A, 8},  {0x000B, -1}, {0x000F, -1}, {0x0010, 9},
        {0x0011, 10}, {0x0014, 13}, {0x0015, -1}, {0x0019, -1}, {0x001A, 14},
        {0x001B, 15}, {0x001C, -1}, {0x001F, -1}, {0x0020, 16}, {0x0022, 18},
        {0x0023, -1}, {0x0040, -1}, {0x1B00, -1}, {0xFFFE, -1}, {0xFFFF, 19},
    };
    for (auto c : cases) {
        EXPECT_EQ(MediaTypeOfProfile(c.profile), c.index) << std::hex << c.profile;
    }
    EXPECT_EQ(MediaTypeNames[10], "DVD-R SequentialRecording,");
    EXPECT_EQ(MediaTypeNames[19], "UNKNOWN");
}

TEST(MediaProfiles, OnlyDvdRomToDvdPlusRAreDvdMedia) {
    for (int index = -1; index < 20; ++index) {
        EXPECT_EQ(IsDvdMediaType(index), index >= 9 && index <= 15) << index;
    }
}

TEST(MediaProfiles, CurrentProfileIsBigEndianInBytesSixAndSeven) {
    std::array<BYTE, 114> response{};
    response[6] = 0x00;
    response[7] = 0x1B;
    EXPECT_EQ(MediaTypeOfProfile(CurrentProfileOf(response)), 15);
    response[6] = 0x1B;
    response[7] = 0x00;
    EXPECT_EQ(MediaTypeOfProfile(CurrentProfileOf(response)), -1);
}

TEST(MediaProfiles, GetMediaTypeAsksTheDrive) {
    TEmulatedMachine os(presets::StandardMachine());
    HANDLE dvd = OpenDriveHandle(os, 'D');
    HANDLE empty = OpenDriveHandle(os, 'E');
    EXPECT_EQ(GetMediaType(os, dvd), 9);   // DVD-ROM
    EXPECT_EQ(GetMediaType(os, empty), 0); // no medium: no current profile
    os.Drive('D')->mmc->currentProfile = 0x0040;
    EXPECT_EQ(GetMediaType(os, dvd), -1);
    os.Drive('D')->mmc->failingOpcodes = {0x46};
    EXPECT_EQ(GetMediaType(os, dvd), -1);
    EXPECT_EQ(GetMediaType(os, INVALID_HANDLE_VALUE), -1);
    CloseDriveHandle(os, dvd);
    CloseDriveHandle(os, empty);
    EXPECT_TRUE(os.Clean()) << os.Report();
}

} // namespace
