// The real Windows calls through TOsServices (run under Wine): the drive roots, the version
// record, the token walk with the system's own SID records, and the opens' refusals.
#include "win32/Win32Services.h"
#include "ArvDiscLib.h"
#include "DriveRoutines.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

using quenlith::TArvDiscLib;
using quenlith::win32::TWin32Services;

TEST(Win32Services, DriveRootsAndTypes) {
    TWin32Services os;
    char roots[255] = {};
    const auto n = os.GetLogicalDriveStringsA(sizeof roots, roots);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, sizeof roots);
    EXPECT_EQ(roots[n], '\0');
    EXPECT_EQ(roots[n - 1], '\0');
    // Every root is "X:\"; C: is a fixed disk.
    for (const char* root = roots; *root; root += 4) {
        EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(root[0])) && root[1] == ':' &&
                    root[2] == '\\')
            << root;
    }
    EXPECT_EQ(os.GetDriveTypeA("C:\\"), quenlith::drive_type::Fixed);
    EXPECT_EQ(os.GetDriveTypeA("C:"), quenlith::drive_type::Fixed);
}

TEST(Win32Services, TheDecisionRunsOverTheRealRecords) {
    TWin32Services os;
    TArvDiscLib lib(os);
    // An NT-family release that permits pass-through.
    EXPECT_EQ(lib.GetOSPlatform(), 5);
    // The answer depends on the account; asking twice must agree and leave nothing behind.
    EXPECT_EQ(lib.IsAdministrator(), TArvDiscLib(os).IsAdministrator());
    // A fixed disk is no CD-ROM drive: refused before any open.
    EXPECT_EQ(lib.OpenDrive('C'), quenlith::INVALID_HANDLE_VALUE);
}

TEST(Win32Services, AnAbsentDriveGivesEmptyIdentification) {
    TWin32Services os;
    EXPECT_EQ(quenlith::GetInquiryData(os, 'Q'), "");
    EXPECT_EQ(quenlith::OpenDriveHandle(os, 'Q'), quenlith::INVALID_HANDLE_VALUE);
    EXPECT_EQ(quenlith::GetMediaType(os, quenlith::INVALID_HANDLE_VALUE), -1);
}

} // namespace
