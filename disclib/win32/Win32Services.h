// TOsServices over the real Windows calls.
#pragma once

#include "../OsServices.h"

#include <functional>

namespace quenlith::win32 {

class TWin32Services final : public TOsServices {
public:
    // Runs in ProcessMessages; without it, pending messages of the thread are dispatched
    // with PeekMessage (a WM_QUIT met there is posted again for the main loop).
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
    DWORD GetLastError() override;
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
};

} // namespace quenlith::win32
