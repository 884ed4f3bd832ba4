// The one narrow interface through which drive access and the window logic reach the system.
//
// Every operation is shaped after the Windows call of the same name, with the same return
// conventions: BOOL results are zero on failure and nonzero on success, a failed open answers
// INVALID_HANDLE_VALUE, and outputs of a failed call are left as the caller passed them unless
// the Windows call documents otherwise. Implementations:
//   - Win32Services (disclib/win32): the real Windows calls;
//   - LinuxServices (disclib/linux): SG_IO on /dev/sr*, real ioctls;
//   - TEmulatedMachine (disclib/emulated): an in-process machine for tests and demos.
// Callers receive the services by reference; nothing here is global.
#pragma once

#include "WinTypes.h"

#include <cstddef>

namespace quenlith {

// OSVERSIONINFOA: 148 bytes, laid out as the SDK's record.
struct TOsVersionInfoA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};
static_assert(sizeof(TOsVersionInfoA) == 148);

// SID_IDENTIFIER_AUTHORITY.
struct TSidIdentifierAuthority {
    BYTE Value[6];
};

// SID_AND_ATTRIBUTES and the head of TOKEN_GROUPS, with the SDK's natural alignment: the group
// entries start at offsetof(TTokenGroups, Groups), 4 with 32-bit pointers and 8 with 64-bit.
struct TSidAndAttributes {
    PSID Sid;
    DWORD Attributes;
};
struct TTokenGroups {
    DWORD GroupCount;
    TSidAndAttributes Groups[1];
};

// MCI_OPEN_PARMSA, laid out as the SDK's record: the multimedia records are byte-packed.
#pragma pack(push, 1)
struct TMciOpenParms {
    std::uintptr_t dwCallback;
    MCIDEVICEID wDeviceID;
    const char* lpstrDeviceType;
    const char* lpstrElementName;
    const char* lpstrAlias;
};
#pragma pack(pop)
static_assert(sizeof(TMciOpenParms) == sizeof(std::uintptr_t) + 4 + 3 * sizeof(void*));

class TOsServices {
public:
    virtual ~TOsServices() = default;

    // --- volumes and devices ---

    // Writes the drive roots ("C:\", each ended by a zero byte, the list by a second zero) into
    // buffer and answers the count of characters written without the final zero; 0 on failure.
    // When the buffer is too small, answers the length needed and writes nothing.
    virtual DWORD GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) = 0;

    // Type of the drive named by root ("D:" or "D:\", either case): a drive_type code;
    // drive_type::NoRootDir for a letter that names no drive.
    virtual UINT GetDriveTypeA(const char* root) = 0;

    // Volume information of root ("D:\"). Nonzero with the zero-terminated volume name in
    // volumeName (at most volumeNameSize bytes, zero included); zero when there is no readable
    // volume. Any of the output pointers may be null.
    virtual BOOL GetVolumeInformationA(const char* root, char* volumeName, DWORD volumeNameSize,
                                       DWORD* serialNumber, DWORD* maxComponentLength,
                                       DWORD* fileSystemFlags, char* fileSystemName,
                                       DWORD fileSystemNameSize) = 0;

    // Opens a device path such as "\\.\E:" (no security attributes, no template file).
    virtual HANDLE CreateFileA(const char* path, DWORD desiredAccess, DWORD shareMode,
                               DWORD creationDisposition, DWORD flagsAndAttributes) = 0;

    // One I/O control call, synchronous, no overlapped structure. For
    // IOCTL_SCSI_PASS_THROUGH_DIRECT the buffers are one TPassThroughRequest; nonzero when the
    // command was carried out (whatever SCSI status the drive returned), its data then in the
    // caller's data buffer and status and sense written back into the block.
    virtual BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer,
                                 DWORD inBufferSize, void* outBuffer, DWORD outBufferSize,
                                 DWORD* bytesReturned) = 0;

    // Releases a handle from CreateFileA, OpenThreadToken or OpenProcessToken.
    virtual BOOL CloseHandle(HANDLE handle) = 0;

    // --- version and security ---

    // Fills the record; its dwOSVersionInfoSize must be 148 on entry.
    virtual BOOL GetVersionExA(TOsVersionInfoA* info) = 0;

    // Token of the current thread. Zero with GetLastError() == ERROR_NO_TOKEN_ when the thread
    // does not impersonate.
    virtual BOOL OpenThreadToken(DWORD desiredAccess, BOOL openAsSelf, HANDLE* token) = 0;
    // Token of the current process.
    virtual BOOL OpenProcessToken(DWORD desiredAccess, HANDLE* token) = 0;
    // The error of the last failed call on this thread.
    virtual DWORD GetLastError() = 0;
    // For TokenGroupsClass writes a TTokenGroups record (entries, then the SIDs they point to)
    // into buffer. When bufferLength is too small: zero, *returnLength = the length needed and
    // GetLastError() == ERROR_INSUFFICIENT_BUFFER_.
    virtual BOOL GetTokenInformation(HANDLE token, int informationClass, void* buffer,
                                     DWORD bufferLength, DWORD* returnLength) = 0;
    // Builds a SID with the authority and the first subAuthorityCount of the eight values.
    virtual BOOL AllocateAndInitializeSid(const TSidIdentifierAuthority* authority,
                                          BYTE subAuthorityCount, DWORD s0, DWORD s1, DWORD s2,
                                          DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7,
                                          PSID* sid) = 0;
    virtual BOOL EqualSid(PSID a, PSID b) = 0;
    virtual void FreeSid(PSID sid) = 0;

    // --- time and messages ---

    virtual void Sleep(DWORD milliseconds) = 0;
    // Dispatches every pending message of the user-interface thread (the application object's
    // ProcessMessages). Handlers of the window may run inside this call.
    virtual void ProcessMessages() = 0;

    // --- the tray ---

    // mciSendCommandA: 0 on success. MCI_OPEN takes a TMciOpenParms and writes wDeviceID.
    virtual MCIERROR mciSendCommandA(MCIDEVICEID deviceId, UINT message, std::uintptr_t flags,
                                     void* parameters) = 0;
};

} // namespace quenlith
