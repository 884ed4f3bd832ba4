// An in-process machine behind TOsServices, for tests and demos.
//
// Describe a machine with TMachineDescription (drives, Windows release, tokens), or take one
// of the presets in Presets.h, then hand a TEmulatedMachine to TArvDiscLib or to the window.
// The machine answers every call from its description, records what was called, in order,
// and accounts its handles:
//
//   TEmulatedMachine os(presets::StandardMachine());
//   TArvDiscLib lib(os);
//   HANDLE h = lib.OpenDrive('D');
//   ...
//   os.CloseHandle(h);
//   EXPECT_TRUE(os.Clean());     // nothing left open, no double or unknown close
//
// Calls() holds one line per call, for example:
//   "GetLogicalDriveStringsA 255"     "GetDriveTypeA D:"          "GetVolumeInformationA D:\"
//   "CreateFileA \\.\D: access=C0000000 share=3 disposition=3 flags=80"
//   "DeviceIoControl 12" (the CDB's operation code, two hex digits; "DeviceIoControl" alone
//   when no block could be read)                                  "CloseHandle"
//   "GetVersionExA"  "OpenThreadToken"  "OpenProcessToken"  "GetTokenInformation 1024"
//   "AllocateAndInitializeSid"  "EqualSid"  "FreeSid"
//   "Sleep 100"  "ProcessMessages"
//   "mciSendCommandA MCI_OPEN E:"  "mciSendCommandA MCI_SET door open" (or "door closed")
//   "mciSendCommandA MCI_CLOSE"
// Requests() holds a copy of each pass-through block as it was sent.
#pragma once

#include "../ArvSCSIStructs.h"
#include "../OsServices.h"
#include "../TokenGroups.h"
#include "MmcDriveModel.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlith::emulated {

using TEmulatedGroup = TTokenGroup;

struct TEmulatedToken {
    std::vector<TEmulatedGroup> groups;
};

enum class ThreadTokenState {
    None,          // no impersonation: OpenThreadToken fails with ERROR_NO_TOKEN
    Impersonating, // the thread has its own token
    Fails,         // OpenThreadToken fails with another error (threadTokenError)
};

struct TEmulatedDrive {
    char letter = 'D';
    UINT type = drive_type::CdRom;
    std::optional<std::string> volumeLabel; // empty: no readable volume
    bool openFails = false;                 // CreateFileA refuses the device
    std::vector<BYTE> inquiry;              // a device without an MMC model answers INQUIRY only
    std::optional<TMmcDriveModel> mmc;      // optical drives
    bool mciOpenFails = false;              // the CD audio device cannot be opened
    bool mciSetFails = false;               // door commands fail
};

struct TMachineDescription {
    std::vector<TEmulatedDrive> drives;
    // The version record; defaults to an NT-family release that permits pass-through.
    DWORD platformId = VER_PLATFORM_WIN32_NT_;
    DWORD majorVersion = 10;
    DWORD minorVersion = 0;
    bool versionQueryFails = false;
    TEmulatedToken processToken{{TEmulatedGroup::Everyone(), TEmulatedGroup::Administrators()}};
    bool processTokenFails = false;
    ThreadTokenState threadToken = ThreadTokenState::None;
    TEmulatedToken threadTokenGroups;
    DWORD threadTokenError = ERROR_ACCESS_DENIED_;
    bool driveStringsFail = false;
    // GetLogicalDriveStringsA answers this count instead of the length it wrote, as a system
    // that reports the length it needed would.
    std::optional<DWORD> driveStringsAnswer;
    bool sidAllocationFails = false;

    TEmulatedDrive* Drive(char letter);
};

class TEmulatedMachine final : public TOsServices {
public:
    explicit TEmulatedMachine(TMachineDescription description = {});
    ~TEmulatedMachine() override;
    TEmulatedMachine(const TEmulatedMachine&) = delete;
    TEmulatedMachine& operator=(const TEmulatedMachine&) = delete;

    // The description may be changed while the machine runs (a disc inserted, a tray pushed).
    TMachineDescription& Description() { return description_; }
    TEmulatedDrive* Drive(char letter) { return description_.Drive(letter); }

    // Runs inside ProcessMessages: a test or a demo lets "window messages" arrive here.
    std::function<void()> onProcessMessages;

    // --- what was called ---
    const std::vector<std::string>& Calls() const { return calls_; }
    std::size_t CountCalls(std::string_view prefix) const;
    const std::vector<TPassThroughRequest>& Requests() const { return requests_; }
    void ClearRecords();

    // --- accounting ---
    std::size_t OpenHandleCount() const { return handles_.size(); }
    std::size_t OpenMciDeviceCount() const { return mciDevices_.size(); }
    std::size_t LiveSidCount() const { return sids_.Count(); }
    // Double closes, unknown handles, malformed requests, in order.
    const std::vector<std::string>& Faults() const { return faults_; }
    // Nothing open, nothing leaked, no fault.
    bool Clean() const;
    std::string Report() const; // what Clean() complains about, for test messages

    // --- TOsServices ---
    DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) override;
    UINT GetDriveTypeA(const char* root) override;
    BOOL GetVolumeInformationA(const char* root, char* volumeName, DWORD volumeNameSize,
                               DWORD* serialNumber, DWORD* maxComponentLength,
                               DWORD* fileSystemFlags, char* fileSystemName,
                               DWORD fileSystemNameSize) override;
    HANDLE CreateFileA(const char* path, DWORD desiredAccess, DWORD shareMode,
                       DWORD creationDisposition, DWORD flagsAndAttributes) override;
    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer, DWORD inBufferSize,
                         void* outBuffer, DWORD outBufferSize, DWORD* bytesReturned) override;
    BOOL CloseHandle(HANDLE handle) override;
    BOOL GetVersionExA(TOsVersionInfoA* info) override;
    BOOL OpenThreadToken(DWORD desiredAccess, BOOL openAsSelf, HANDLE* token) override;
    BOOL OpenProcessToken(DWORD desiredAccess, HANDLE* token) override;
    DWORD GetLastError() override { return lastError_; }
    BOOL GetTokenInformation(HANDLE token, int informationClass, void* buffer, DWORD bufferLength,
                             DWORD* returnLength) override;
    BOOL AllocateAndInitializeSid(const TSidIdentifierAuthority* authority, BYTE subAuthorityCount,
                                  DWORD s0, DWORD s1, DWORD s2, DWORD s3, DWORD s4, DWORD s5,
                                  DWORD s6, DWORD s7, PSID* sid) override;
    BOOL EqualSid(PSID a, PSID b) override;
    void FreeSid(PSID sid) override;
    void Sleep(DWORD milliseconds) override;
    void ProcessMessages() override;
    MCIERROR mciSendCommandA(MCIDEVICEID deviceId, UINT message, std::uintptr_t flags,
                             void* parameters) override;

private:
    struct THandleInfo {
        enum class Kind { Drive, Token } kind;
        char letter = 0;
        const TEmulatedToken* token = nullptr;
    };

    HANDLE NewHandle(THandleInfo info);
    void Record(std::string call) { calls_.push_back(std::move(call)); }
    void Fault(std::string what) { faults_.push_back(std::move(what)); }
    BOOL Fail(DWORD error) {
        lastError_ = error;
        return FALSE_;
    }

    TMachineDescription description_;
    std::vector<std::string> calls_;
    std::vector<TPassThroughRequest> requests_;
    std::vector<std::string> faults_;
    std::map<HANDLE, THandleInfo> handles_;
    std::map<MCIDEVICEID, char> mciDevices_;
    TSidStore sids_;
    std::uintptr_t nextHandle_ = 0x1000;
    MCIDEVICEID nextMciDevice_ = 1;
    DWORD lastError_ = 0;
};

} // namespace quenlith::emulated
