// TArvDiscLib's decision on direct access and its opens.
#include "ArvDiscLib.h"
#include "emulated/EmulatedMachine.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

using namespace quenlith;
using namespace quenlith::emulated;

namespace {

TOsVersionInfoA Version(DWORD platform, DWORD major, DWORD minor) {
    TOsVersionInfoA v{};
    v.dwOSVersionInfoSize = sizeof v;
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    return v;
}

TEST(DiscLibPlatform, VersionRecordToPlatformCode) {
    struct {
        const char* release;
        DWORD platform, major, minor;
        int code;
    } cases[] = {
        {"Win32s", 0, 3, 10, -1},    {"Windows 95", 1, 4, 0, 0},
        {"Windows 98", 1, 4, 10, 1}, {"Windows Me", 1, 4, 90, 1},
        {"NT 3.1", 2, 3, 10, 5},     {"NT 3.5", 2, 3, 50, 5},
        {"NT 3.51", 2, 3, 51, 2},    {"NT 4.0", 2, 4, 0, 3},
        {"2000", 2, 5, 0, 4},        {"XP", 2, 5, 1, 5},
        {"2003", 2, 5, 2, 5},        {"Vista", 2, 6, 0, 5},
        {"10", 2, 10, 0, 5},         {"unknown platform", 3, 10, 0, -1},
    };
    for (auto c : cases) {
        EXPECT_EQ(PlatformCodeOf(Version(c.platform, c.major, c.minor)), c.code) << c.release;
    }
}

TEST(DiscLibPlatform, FailedVersionQueryReadsAsPlatformZero) {
    TMachineDescription machine = presets::StandardMachine();
    machine.versionQueryFails = true;
    TEmulatedMachine os(machine);
    TArvDiscLib lib(os);
    EXPECT_EQ(lib.GetOSPlatform(), -1);
    EXPECT_FALSE(lib.PassThroughAllowed());
}

// Releases that forbid pass-through never look at the token and open nothing.
TEST(DiscLibPlatform, ForbiddingReleasesRefuseEveryLetterWithoutTheTokenCheck) {
    struct {
        DWORD platform, major, minor;
    } releases[] = {{2, 3, 51}, {1, 4, 0}, {1, 4, 10}, {0, 3, 10}};
    for (auto r : releases) {
        TMachineDescription machine = presets::StandardMachine();
        machine.platformId = r.platform;
        machine.majorVersion = r.major;
        machine.minorVersion = r.minor;
        TEmulatedMachine os(machine);
        TArvDiscLib lib(os);
        for (char letter : {'C', 'D', 'E', 'Q'}) {
            EXPECT_EQ(lib.OpenDrive(letter), INVALID_HANDLE_VALUE);
        }
        EXPECT_EQ(os.CountCalls("OpenThreadToken"), 0u);
        EXPECT_EQ(os.CountCalls("OpenProcessToken"), 0u);
        EXPECT_EQ(os.CountCalls("GetDriveTypeA"), 0u);
        EXPECT_EQ(os.CountCalls("CreateFileA"), 0u);
    }
}

TEST(DiscLibPlatform, NtThreeFiveAllowsAnAdministrator) {
    TMachineDescription machine = presets::StandardMachine();
    machine.majorVersion = 3;
    machine.minorVersion = 50;
    TEmulatedMachine os(machine);
    EXPECT_TRUE(TArvDiscLib(os).PassThroughAllowed());
}

struct TTokenCase {
    const char* name;
    void (*setUp)(TMachineDescription&);
    bool administrator;
};

std::vector<TEmulatedGroup> ManyGroups(bool withAdministrators) {
    std::vector<TEmulatedGroup> groups;
    for (DWORD rid = 1000; rid < 1040; ++rid) {
        groups.push_back(TEmulatedGroup::DomainGroup(rid));
    }
    if (withAdministrators) {
        groups.push_back(TEmulatedGroup::Administrators());
    }
    return groups;
}

const TTokenCase kTokenCases[] = {
    {"process token holds Administrators", [](TMachineDescription&) {}, true},
    {"user without Administrators",
     [](TMachineDescription& m) { m.processToken.groups = {TEmulatedGroup::Users()}; }, false},
    {"no groups", [](TMachineDescription& m) { m.processToken.groups = {}; }, false},
    {"deny-only Administrators counts",
     [](TMachineDescription& m) {
         m.processToken.groups = {TEmulatedGroup::Users(),
                                  TEmulatedGroup::Administrators(SE_GROUP_USE_FOR_DENY_ONLY_)};
     },
     true},
    {"disabled Administrators counts",
     [](TMachineDescription& m) { m.processToken.groups = {TEmulatedGroup::Administrators(0)}; },
     true},
    {"group list over 1024 bytes is read again",
     [](TMachineDescription& m) { m.processToken.groups = ManyGroups(true); }, true},
    {"large group list without Administrators",
     [](TMachineDescription& m) { m.processToken.groups = ManyGroups(false); }, false},
    {"impersonating thread: its token decides, not the process's",
     [](TMachineDescription& m) {
         m.threadToken = ThreadTokenState::Impersonating;
         m.threadTokenGroups.groups = {TEmulatedGroup::Users()};
     },
     false},
    {"impersonating administrator in a user's process",
     [](TMachineDescription& m) {
         m.processToken.groups = {TEmulatedGroup::Users()};
         m.threadToken = ThreadTokenState::Impersonating;
         m.threadTokenGroups.groups = {TEmulatedGroup::Administrators()};
     },
     true},
    {"thread token error other than no token answers false",
     [](TMachineDescription& m) { m.threadToken = ThreadTokenState::Fails; }, false},
    {"process token cannot be opened", [](TMachineDescription& m) { m.processTokenFails = true; },
     false},
    {"Administrators SID cannot be built",
     [](TMachineDescription& m) { m.sidAllocationFails = true; }, false},
};

TEST(DiscLibAdministrator, TokenCases) {
    for (const TTokenCase& c : kTokenCases) {
        TMachineDescription machine = presets::StandardMachine();
        c.setUp(machine);
        TEmulatedMachine os(machine);
        TArvDiscLib lib(os);
        EXPECT_EQ(lib.PassThroughAllowed(), c.administrator) << c.name;
        EXPECT_EQ(lib.IsAdministrator(), c.administrator) << c.name;
        EXPECT_TRUE(os.Clean()) << c.name << ": " << os.Report();
    }
}

TEST(DiscLibAdministrator, TheTokenIsClosedRightAfterReadingItsGroups) {
    TEmulatedMachine os(presets::StandardMachine());
    TArvDiscLib lib(os);
    const std::vector<std::string> expected = {
        "GetVersionExA", "OpenThreadToken",          "OpenProcessToken", "GetTokenInformation 1024",
        "CloseHandle",   "AllocateAndInitializeSid", "EqualSid",         "EqualSid",
        "FreeSid"};
    EXPECT_EQ(os.Calls(), expected);
}

TEST(DiscLibOpen, RefusalsNeverCallCreateFile) {
    TMachineDescription machine = presets::StandardMachine();
    machine.drives.push_back(presets::NetworkDrive('N'));
    machine.drives.push_back(presets::RemovableDisk('F'));
    TEmulatedMachine os(machine);
    TArvDiscLib lib(os);
    for (char letter : {'C', 'N', 'F', 'Q'}) {
        EXPECT_EQ(lib.OpenDrive(letter), INVALID_HANDLE_VALUE) << letter;
    }
    EXPECT_EQ(os.CountCalls("CreateFileA"), 0u);
    EXPECT_EQ(os.CountCalls("GetDriveTypeA C:"), 1u); // letter and colon, no backslash

    HANDLE d = lib.OpenDrive('D');
    EXPECT_NE(d, INVALID_HANDLE_VALUE);
    EXPECT_EQ(os.Calls().back(),
              "CreateFileA \\\\.\\D: access=C0000000 share=3 disposition=3 flags=80");
    os.Drive('E')->openFails = true;
    EXPECT_EQ(lib.OpenDrive('E'), INVALID_HANDLE_VALUE);
    os.CloseHandle(d);
    EXPECT_TRUE(os.Clean()) << os.Report();
}

TEST(DiscLibOpen, UserOutsideAdministratorsGetsNoHandle) {
    TEmulatedMachine os(presets::StandardUserMachine());
    TArvDiscLib lib(os);
    for (char letter : {'C', 'D', 'E'}) {
        EXPECT_EQ(lib.OpenDrive(letter), INVALID_HANDLE_VALUE);
        EXPECT_EQ(lib.OpenDevice(std::string(1, letter)), INVALID_HANDLE_VALUE);
    }
    EXPECT_EQ(os.CountCalls("CreateFileA"), 0u);
}

TEST(DiscLibOpen, DestroyingTheObjectLeavesItsHandleOpen) {
    TEmulatedMachine os(presets::StandardMachine());
    HANDLE d = TArvDiscLib(os).OpenDrive('D');
    EXPECT_EQ(os.OpenHandleCount(), 1u);
    os.CloseHandle(d);
    EXPECT_TRUE(os.Clean());
}

} // namespace
