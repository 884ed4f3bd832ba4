// Windows-shaped scalar types and constants used across drive access.
//
// The portable core speaks in the vocabulary of the Windows calls it is modelled on, but it
// never includes <windows.h>: these are our own definitions, kept in the quenlith namespace so
// they do not collide with the SDK's when the Win32 layer includes both.
#pragma once

#include <cstdint>

namespace quenlith {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using HANDLE = void*;
using PSID = void*;
using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

inline constexpr BOOL FALSE_ = 0;
inline constexpr BOOL TRUE_ = 1;

// The SDK defines INVALID_HANDLE_VALUE as a macro of type HANDLE (void*) with value -1; where
// it is already defined that macro is used, and it has the same type and value as ours.
#ifndef INVALID_HANDLE_VALUE
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
#endif

// GetDriveTypeA answers.
namespace drive_type {
inline constexpr UINT Unknown = 0;
inline constexpr UINT NoRootDir = 1;
inline constexpr UINT Removable = 2;
inline constexpr UINT Fixed = 3;
inline constexpr UINT Remote = 4;
inline constexpr UINT CdRom = 5;
inline constexpr UINT RamDisk = 6;
} // namespace drive_type

// CreateFileA arguments.
namespace file_access {
inline constexpr DWORD GenericRead = 0x80000000u;
inline constexpr DWORD GenericWrite = 0x40000000u;
inline constexpr DWORD ShareRead = 0x1;
inline constexpr DWORD ShareWrite = 0x2;
inline constexpr DWORD OpenExisting = 3;
inline constexpr DWORD AttributeNormal = 0x80;
} // namespace file_access

inline constexpr DWORD IOCTL_SCSI_PASS_THROUGH_DIRECT = 0x4D014;
inline constexpr BYTE SCSI_IOCTL_DATA_IN = 1;

// GetLastError codes the token check distinguishes.
inline constexpr DWORD ERROR_NO_TOKEN_ = 1008;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER_ = 122;
inline constexpr DWORD ERROR_INVALID_HANDLE_ = 6;
inline constexpr DWORD ERROR_ACCESS_DENIED_ = 5;

// Version record platforms.
inline constexpr DWORD VER_PLATFORM_WIN32s_ = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS_ = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT_ = 2;

// Token access and information class.
inline constexpr DWORD TOKEN_QUERY_ = 8;
inline constexpr int TokenGroupsClass = 2;

// Group attributes.
inline constexpr DWORD SE_GROUP_MANDATORY_ = 0x1;
inline constexpr DWORD SE_GROUP_ENABLED_BY_DEFAULT_ = 0x2;
inline constexpr DWORD SE_GROUP_ENABLED_ = 0x4;
inline constexpr DWORD SE_GROUP_USE_FOR_DENY_ONLY_ = 0x10;

// The built-in Administrators group, S-1-5-32-544.
inline constexpr BYTE SECURITY_NT_AUTHORITY_[6] = {0, 0, 0, 0, 0, 5};
inline constexpr DWORD SECURITY_BUILTIN_DOMAIN_RID_ = 32;
inline constexpr DWORD DOMAIN_ALIAS_RID_ADMINS_ = 544;

// Multimedia command interface: commands and flags for the CD audio device.
namespace mci {
inline constexpr UINT Open = 0x803;
inline constexpr UINT Close = 0x804;
inline constexpr UINT Set = 0x80D;
inline constexpr DWORD OpenType = 0x2000;
inline constexpr DWORD OpenElement = 0x200;
inline constexpr DWORD SetDoorOpen = 0x100;
inline constexpr DWORD SetDoorClosed = 0x200;
inline constexpr MCIERROR ErrorDeviceOpen = 263; // any nonzero answer means failure
} // namespace mci

} // namespace quenlith
