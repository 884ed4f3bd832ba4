// TOsServices on Linux: the optical drives are the kernel's sr devices, reached through SG_IO.
//
// Drive letters: srN is drive letter 'D' + N (sr0 is D, sr1 is E, ... sr22 is Z), so every
// handler that takes a letter works unchanged; letters are accepted in either case. Only the
// optical drives are listed; GetDriveTypeA answers DRIVE_CDROM for a letter whose srN exists
// and the "no root directory" code otherwise.
//
// Pass-through decision: the version record reads as an NT-family release (10.0), which
// permits pass-through, and the process token holds the Administrators group exactly when
// the process may send raw commands to the drives: it is root, or holds CAP_SYS_RAWIO, or is
// a member of the group that owns the drive nodes (cdrom on Debian). The token's other groups
// are Everyone and one Unix group SID (S-1-22-2-gid) per group of the process.
//
// Opens: "\\.\X:" opens /dev/srN read-write, non-blocking (so an empty drive opens) and
// close-on-exec. The pass-through call translates the request block into an sg_io_hdr and
// back; it answers nonzero when the command was carried out (CHECK CONDITION included) and
// zero when the ioctl fails or the host adapter or driver reports a transport error.
//
// The tray: the CD audio device "X:" opens /dev/srN; the door commands are CDROMEJECT and
// CDROMCLOSETRAY; the close closes it.
#pragma once

#include "../OsServices.h"
#include "../TokenGroups.h"
#include "LinuxKernel.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace quenlith::linuxos {

inline constexpr char kFirstDriveLetter = 'D';
inline constexpr unsigned kLastDriveNumber = 'Z' - kFirstDriveLetter;

std::optional<unsigned> DriveNumberOfLetter(char letter);
std::optional<char> LetterOfDriveNumber(unsigned number);
// "/dev/srN" for the letter's drive; "" for a letter that maps to none.
std::string DevicePathOfLetter(char letter);

// The sg_io_hdr for a request block; the sense area and data buffer stay the block's.
bool RequestToSgIo(void* block, sg_io_hdr_t& header);
// Whether the command was carried out, by the header's answer after the ioctl.
bool SgIoCarriedOut(const sg_io_hdr_t& header);

class TLinuxServices final : public TOsServices {
public:
    // Over a kernel the caller keeps alive.
    explicit TLinuxServices(TLinuxKernel& kernel);
    // Over a kernel the services own.
    explicit TLinuxServices(std::unique_ptr<TLinuxKernel> kernel);
    ~TLinuxServices() override;
    TLinuxServices(const TLinuxServices&) = delete;
    TLinuxServices& operator=(const TLinuxServices&) = delete;

    // Runs in ProcessMessages: the window shell dispatches its pending events here.
    std::function<void()> messagePump;

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

    // Whether the process may send raw commands to the drives (see above).
    bool DriveAccessPrivileged();

private:
    std::optional<unsigned> ExistingDrive(char letter);
    BOOL Fail(DWORD error) {
        lastError_ = error;
        return FALSE_;
    }

    std::unique_ptr<TLinuxKernel> ownedKernel_;
    TLinuxKernel& kernel_;
    std::set<int> openDescriptors_;
    std::set<HANDLE> openTokens_;
    std::map<MCIDEVICEID, int> mciDevices_;
    TSidStore sids_;
    std::uintptr_t nextToken_ = 0x7E000000;
    MCIDEVICEID nextMciDevice_ = 1;
    DWORD lastError_ = 0;
};

} // namespace quenlith::linuxos
