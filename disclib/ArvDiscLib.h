// TArvDiscLib: guards direct drive access, opens CD-ROM drives, sends the report's commands
// and builds the drive capability report.
#pragma once

#include "DriveReport.h"
#include "DvdPhysicalFormat.h"
#include "OsServices.h"

#include <span>
#include <string>
#include <string_view>

namespace quenlith {

// Platform code of a version record: -1 unknown (Win32s, other, failed query), 0 Windows 95,
// 1 Windows 98/Me, 2 NT 3.51, 3 NT 4.0, 4 Windows 2000, 5 XP and later (also NT 3.1/3.5).
int PlatformCodeOf(const TOsVersionInfoA& version);

// Codes 3 to 5 permit pass-through.
constexpr bool PlatformPermitsPassThrough(int platformCode) {
    return platformCode >= 3 && platformCode <= 5;
}

inline constexpr int kReadinessAttempts = 10;
inline constexpr DWORD kReadinessSleepMs = 100;

// One object serves one drive selection: create it, OpenDrive, BuildDriveReport, destroy it.
// It keeps no handle: a handle it opens belongs to the caller, and destroying the object
// closes nothing. The services must outlive the object.
class TArvDiscLib {
public:
    // Decides once, from the version record and the caller's token, whether pass-through is
    // allowed.
    explicit TArvDiscLib(TOsServices& os);

    int GetOSPlatform() const;
    // Whether the thread's token (or, without impersonation, the process token) holds the
    // built-in Administrators group, whatever the group's attributes (deny-only counts too).
    bool IsAdministrator() const;
    bool CanUsePassThrough() const;
    bool PassThroughAllowed() const { return FPassThroughAllowed; }

    // "\\.\" + name + ":" opened for reading and writing when pass-through is allowed;
    // INVALID_HANDLE_VALUE otherwise or when the open fails.
    HANDLE OpenDevice(std::string_view name) const;
    // OpenDevice for a letter whose drive type is DRIVE_CDROM; INVALID_HANDLE_VALUE otherwise.
    HANDLE OpenDrive(char letter) const;

    // The commands of the report; none opens or closes the device.
    bool TestUnitReady(HANDLE device) const;
    int GetCurrentProfile(HANDLE device) const;
    bool ReadDVDPhysicalFormat(HANDLE device,
                               std::span<BYTE, kDvdStructureResponseSize> buffer) const;
    bool ReadCapabilitiesPage(HANDLE device,
                              std::span<BYTE, kCapabilitiesResponseSize> buffer) const;

    // Waits for the drive (up to ten attempts, each a 100 ms sleep, a dispatch of pending
    // messages and TEST UNIT READY), reads the profile, the DVD physical format for DVD media and
    // page 2Ah, then writes the report into output. On an early exit (invalid handle, never
    // ready, profile unknown) output is left exactly as passed in.
    void BuildDriveReport(HANDLE device, std::string& output) const;

private:
    TOsServices& os_;
    bool FPassThroughAllowed;
};

} // namespace quenlith
