#include "ArvDiscLib.h"

#include "ArvSCSIStructs.h"
#include "MediaProfiles.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <vector>

namespace quenlith {

int PlatformCodeOf(const TOsVersionInfoA& version) {
    const DWORD major = version.dwMajorVersion;
    const DWORD minor = version.dwMinorVersion;
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32_NT_:
        if (major == 3 && minor >= 51) {
            return 2;
        }
        if (major == 4) {
            return 3;
        }
        if (major == 5 && minor == 0) {
            return 4;
        }
        return 5;
    case VER_PLATFORM_WIN32_WINDOWS_:
        return minor == 0 ? 0 : 1;
    default:
        return -1;
    }
}

TArvDiscLib::TArvDiscLib(TOsServices& os) : os_(os), FPassThroughAllowed(CanUsePassThrough()) {}

int TArvDiscLib::GetOSPlatform() const {
    TOsVersionInfoA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    // The answer is not examined: after a failure the record still holds zeros.
    os_.GetVersionExA(&version);
    return PlatformCodeOf(version);
}

namespace {

// Reads the token's groups; a list longer than the first guess is read again with the length
// the system reports, so an administrator with many groups is still recognised.
bool ReadTokenGroups(TOsServices& os, HANDLE token, std::vector<std::byte>& groups) {
    constexpr DWORD kFirstGuess = 1024;
    groups.assign(kFirstGuess, std::byte{0});
    DWORD needed = 0;
    if (os.GetTokenInformation(token, TokenGroupsClass, groups.data(), kFirstGuess, &needed)) {
        return true;
    }
    if (needed <= kFirstGuess) {
        return false;
    }
    groups.assign(needed, std::byte{0});
    DWORD secondNeeded = 0;
    return os.GetTokenInformation(token, TokenGroupsClass, groups.data(), needed, &secondNeeded) !=
           0;
}

// Whether any entry of a TOKEN_GROUPS record equals sid. Entries that would lie beyond the
// buffer are not read.
bool GroupsHoldSid(TOsServices& os, const std::vector<std::byte>& groups, PSID sid) {
    DWORD count = 0;
    if (groups.size() < sizeof count) {
        return false;
    }
    std::memcpy(&count, groups.data(), sizeof count);
    constexpr std::size_t first = offsetof(TTokenGroups, Groups);
    for (DWORD i = 0; i < count; ++i) {
        std::size_t at = first + std::size_t{i} * sizeof(TSidAndAttributes);
        if (at + sizeof(TSidAndAttributes) > groups.size()) {
            return false;
        }
        TSidAndAttributes entry;
        std::memcpy(&entry, groups.data() + at, sizeof entry);
        // Attributes are not looked at: a disabled or deny-only entry counts as well.
        if (os.EqualSid(sid, entry.Sid)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool TArvDiscLib::IsAdministrator() const {
    HANDLE token = nullptr;
    if (!os_.OpenThreadToken(TOKEN_QUERY_, TRUE_, &token)) {
        if (os_.GetLastError() != ERROR_NO_TOKEN_) {
            return false;
        }
        if (!os_.OpenProcessToken(TOKEN_QUERY_, &token)) {
            return false;
        }
    }
    std::vector<std::byte> groups;
    const bool read = ReadTokenGroups(os_, token, groups);
    os_.CloseHandle(token);
    if (!read) {
        return false;
    }

    TSidIdentifierAuthority ntAuthority{};
    std::memcpy(ntAuthority.Value, SECURITY_NT_AUTHORITY_, sizeof ntAuthority.Value);
    PSID administrators = nullptr;
    if (!os_.AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID_,
                                      DOMAIN_ALIAS_RID_ADMINS_, 0, 0, 0, 0, 0, 0,
                                      &administrators)) {
        return false;
    }
    const bool found = GroupsHoldSid(os_, groups, administrators);
    os_.FreeSid(administrators);
    return found;
}

bool TArvDiscLib::CanUsePassThrough() const {
    return PlatformPermitsPassThrough(GetOSPlatform()) && IsAdministrator();
}

HANDLE TArvDiscLib::OpenDevice(std::string_view name) const {
    if (!FPassThroughAllowed) {
        return INVALID_HANDLE_VALUE;
    }
    std::string path = "\\\\.\\";
    path += name;
    path += ':';
    using namespace file_access;
    return os_.CreateFileA(path.c_str(), GenericRead | GenericWrite, ShareRead | ShareWrite,
                           OpenExisting, AttributeNormal);
}

HANDLE TArvDiscLib::OpenDrive(char letter) const {
    if (!FPassThroughAllowed) {
        return INVALID_HANDLE_VALUE;
    }
    const char root[] = {letter, ':', '\0'};
    if (os_.GetDriveTypeA(root) != drive_type::CdRom) {
        return INVALID_HANDLE_VALUE;
    }
    return OpenDevice(std::string_view(&letter, 1));
}

bool TArvDiscLib::TestUnitReady(HANDLE device) const {
    return SendScsiCommand(os_, device, ScsiCommand::TestUnitReady, {});
}

int TArvDiscLib::GetCurrentProfile(HANDLE device) const {
    return QueryMediaType(os_, device);
}

bool TArvDiscLib::ReadDVDPhysicalFormat(HANDLE device,
                                        std::span<BYTE, kDvdStructureResponseSize> buffer) const {
    return SendScsiCommand(os_, device, ScsiCommand::ReadDvdStructure, buffer);
}

bool TArvDiscLib::ReadCapabilitiesPage(HANDLE device,
                                       std::span<BYTE, kCapabilitiesResponseSize> buffer) const {
    return SendScsiCommand(os_, device, ScsiCommand::ModeSense10, buffer);
}

void TArvDiscLib::BuildDriveReport(HANDLE device, std::string& output) const {
    if (device == INVALID_HANDLE_VALUE) {
        return;
    }
    bool ready = false;
    for (int attempt = 0; attempt < kReadinessAttempts && !ready; ++attempt) {
        // The sleep comes first, so even a drive that answers at once costs 100 ms.
        os_.Sleep(kReadinessSleepMs);
        os_.ProcessMessages();
        ready = TestUnitReady(device);
    }
    if (!ready) {
        return;
    }
    const int mediaType = GetCurrentProfile(device);
    if (mediaType < 0) {
        return;
    }
    if (IsDvdMediaType(mediaType)) {
        // Read for DVD media as the drive expects it; nothing of it enters the report.
        std::array<BYTE, kDvdStructureResponseSize> dvd{};
        ReadDVDPhysicalFormat(device, dvd);
    }
    std::array<BYTE, kCapabilitiesResponseSize> page{};
    ReadCapabilitiesPage(device, page);
    output = ComposeDriveReport(DecodeCapabilities(page));
}

} // namespace quenlith
