#include "Win32Services.h"

// The SDK after our own definitions: its INVALID_HANDLE_VALUE has our constant's type and value.
#include "../ArvSCSIStructs.h"

namespace {
// Taken before the SDK's macros of the same names are defined.
constexpr quenlith::DWORD kOurPassThroughIoctl = quenlith::IOCTL_SCSI_PASS_THROUGH_DIRECT;
constexpr quenlith::BYTE kOurDataIn = quenlith::SCSI_IOCTL_DATA_IN;
} // namespace

#include <windows.h>
// The SDK headers below need <windows.h> first.
#include <mmsystem.h>
#include <ntddscsi.h>

#include <cstddef>
#include <cstring>

namespace quenlith::win32 {

// Our records must be the SDK's, byte for byte, on every target.
static_assert(sizeof(TScsiPassThroughDirect) == sizeof(SCSI_PASS_THROUGH_DIRECT));
static_assert(offsetof(TScsiPassThroughDirect, Length) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, Length));
static_assert(offsetof(TScsiPassThroughDirect, ScsiStatus) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, ScsiStatus));
static_assert(offsetof(TScsiPassThroughDirect, CdbLength) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, CdbLength));
static_assert(offsetof(TScsiPassThroughDirect, SenseInfoLength) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, SenseInfoLength));
static_assert(offsetof(TScsiPassThroughDirect, DataIn) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, DataIn));
static_assert(offsetof(TScsiPassThroughDirect, DataTransferLength) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, DataTransferLength));
static_assert(offsetof(TScsiPassThroughDirect, TimeOutValue) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, TimeOutValue));
static_assert(offsetof(TScsiPassThroughDirect, DataBuffer) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, DataBuffer));
static_assert(offsetof(TScsiPassThroughDirect, SenseInfoOffset) ==
              offsetof(SCSI_PASS_THROUGH_DIRECT, SenseInfoOffset));
static_assert(offsetof(TScsiPassThroughDirect, Cdb) == offsetof(SCSI_PASS_THROUGH_DIRECT, Cdb));
static_assert(kOurPassThroughIoctl == IOCTL_SCSI_PASS_THROUGH_DIRECT);
static_assert(kOurDataIn == SCSI_IOCTL_DATA_IN);
static_assert(sizeof(TOsVersionInfoA) == sizeof(OSVERSIONINFOA));
static_assert(offsetof(TOsVersionInfoA, dwPlatformId) == offsetof(OSVERSIONINFOA, dwPlatformId));
static_assert(sizeof(TSidAndAttributes) == sizeof(SID_AND_ATTRIBUTES));
static_assert(offsetof(TSidAndAttributes, Attributes) == offsetof(SID_AND_ATTRIBUTES, Attributes));
static_assert(offsetof(TTokenGroups, Groups) == offsetof(TOKEN_GROUPS, Groups));
static_assert(sizeof(TMciOpenParms) == sizeof(MCI_OPEN_PARMSA));
static_assert(offsetof(TMciOpenParms, wDeviceID) == offsetof(MCI_OPEN_PARMSA, wDeviceID));
static_assert(offsetof(TMciOpenParms, lpstrDeviceType) ==
              offsetof(MCI_OPEN_PARMSA, lpstrDeviceType));
static_assert(offsetof(TMciOpenParms, lpstrElementName) ==
              offsetof(MCI_OPEN_PARMSA, lpstrElementName));
static_assert(quenlith::mci::Open == MCI_OPEN && quenlith::mci::Set == MCI_SET &&
              quenlith::mci::Close == MCI_CLOSE);
static_assert(quenlith::mci::OpenType == MCI_OPEN_TYPE &&
              quenlith::mci::OpenElement == MCI_OPEN_ELEMENT);
static_assert(quenlith::mci::SetDoorOpen == MCI_SET_DOOR_OPEN &&
              quenlith::mci::SetDoorClosed == MCI_SET_DOOR_CLOSED);
static_assert(quenlith::ERROR_NO_TOKEN_ == ERROR_NO_TOKEN && quenlith::TOKEN_QUERY_ == TOKEN_QUERY);
static_assert(quenlith::TokenGroupsClass == TokenGroups);
static_assert(quenlith::drive_type::CdRom == DRIVE_CDROM &&
              quenlith::drive_type::Removable == DRIVE_REMOVABLE);

DWORD TWin32Services::GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) {
    return ::GetLogicalDriveStringsA(bufferLength, buffer);
}

UINT TWin32Services::GetDriveTypeA(const char* root) {
    return ::GetDriveTypeA(root);
}

BOOL TWin32Services::GetVolumeInformationA(const char* root, char* volumeName, DWORD volumeNameSize,
                                           DWORD* serialNumber, DWORD* maxComponentLength,
                                           DWORD* fileSystemFlags, char* fileSystemName,
                                           DWORD fileSystemNameSize) {
    ::DWORD serial = 0, maxComponent = 0, flags = 0;
    const BOOL ok =
        ::GetVolumeInformationA(root, volumeName, volumeNameSize, &serial, &maxComponent, &flags,
                                fileSystemName, fileSystemNameSize);
    if (serialNumber) {
        *serialNumber = serial;
    }
    if (maxComponentLength) {
        *maxComponentLength = maxComponent;
    }
    if (fileSystemFlags) {
        *fileSystemFlags = flags;
    }
    return ok;
}

HANDLE TWin32Services::CreateFileA(const char* path, DWORD desiredAccess, DWORD shareMode,
                                   DWORD creationDisposition, DWORD flagsAndAttributes) {
    return ::CreateFileA(path, desiredAccess, shareMode, nullptr, creationDisposition,
                         flagsAndAttributes, nullptr);
}

BOOL TWin32Services::DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer,
                                     DWORD inBufferSize, void* outBuffer, DWORD outBufferSize,
                                     DWORD* bytesReturned) {
    ::DWORD returned = 0;
    const BOOL ok = ::DeviceIoControl(device, ioControlCode, inBuffer, inBufferSize, outBuffer,
                                      outBufferSize, &returned, nullptr);
    if (bytesReturned) {
        *bytesReturned = returned;
    }
    return ok;
}

BOOL TWin32Services::CloseHandle(HANDLE handle) {
    return ::CloseHandle(handle);
}

BOOL TWin32Services::GetVersionExA(TOsVersionInfoA* info) {
    // Deprecated, but it is the version record the pass-through decision is specified on.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#elif defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
    return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(info));
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#elif defined(_MSC_VER)
#pragma warning(pop)
#endif
}

BOOL TWin32Services::OpenThreadToken(DWORD desiredAccess, BOOL openAsSelf, HANDLE* token) {
    return ::OpenThreadToken(::GetCurrentThread(), desiredAccess, openAsSelf, token);
}

BOOL TWin32Services::OpenProcessToken(DWORD desiredAccess, HANDLE* token) {
    return ::OpenProcessToken(::GetCurrentProcess(), desiredAccess, token);
}

DWORD TWin32Services::GetLastError() {
    return ::GetLastError();
}

BOOL TWin32Services::GetTokenInformation(HANDLE token, int informationClass, void* buffer,
                                         DWORD bufferLength, DWORD* returnLength) {
    ::DWORD needed = 0;
    const BOOL ok =
        ::GetTokenInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(informationClass), buffer,
                              bufferLength, &needed);
    if (returnLength) {
        *returnLength = needed;
    }
    return ok;
}

BOOL TWin32Services::AllocateAndInitializeSid(const TSidIdentifierAuthority* authority,
                                              BYTE subAuthorityCount, DWORD s0, DWORD s1, DWORD s2,
                                              DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7,
                                              PSID* sid) {
    SID_IDENTIFIER_AUTHORITY value;
    static_assert(sizeof value == sizeof *authority);
    std::memcpy(&value, authority, sizeof value);
    return ::AllocateAndInitializeSid(&value, subAuthorityCount, s0, s1, s2, s3, s4, s5, s6, s7,
                                      reinterpret_cast<::PSID*>(sid));
}

BOOL TWin32Services::EqualSid(PSID a, PSID b) {
    return ::EqualSid(a, b);
}

void TWin32Services::FreeSid(PSID sid) {
    ::FreeSid(sid);
}

void TWin32Services::Sleep(DWORD milliseconds) {
    ::Sleep(milliseconds);
}

void TWin32Services::ProcessMessages() {
    if (messagePump) {
        std::function<void()> pump = messagePump;
        pump();
        return;
    }
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

MCIERROR TWin32Services::mciSendCommandA(MCIDEVICEID deviceId, UINT message, std::uintptr_t flags,
                                         void* parameters) {
    return ::mciSendCommandA(deviceId, message, flags, reinterpret_cast<DWORD_PTR>(parameters));
}

} // namespace quenlith::win32
