#include "TokenGroups.h"

#include <algorithm>
#include <cstring>

namespace quenlith {
namespace {
constexpr std::array<BYTE, 6> kNtAuthority = {0, 0, 0, 0, 0, 5};
constexpr std::array<BYTE, 6> kWorldAuthority = {0, 0, 0, 0, 0, 1};
constexpr std::array<BYTE, 6> kUnixAuthority = {0, 0, 0, 0, 0, 22};
} // namespace

TTokenGroup TTokenGroup::Administrators(DWORD attributes) {
    return TTokenGroup{
        kNtAuthority, {SECURITY_BUILTIN_DOMAIN_RID_, DOMAIN_ALIAS_RID_ADMINS_}, attributes};
}
TTokenGroup TTokenGroup::Users() {
    return TTokenGroup{kNtAuthority, {32, 545}};
}
TTokenGroup TTokenGroup::Everyone() {
    return TTokenGroup{kWorldAuthority, {0}};
}
TTokenGroup TTokenGroup::DomainGroup(DWORD rid) {
    return TTokenGroup{kNtAuthority, {21, 1004336348, 1177238915, 682003330, rid}};
}
TTokenGroup TTokenGroup::UnixGroup(DWORD gid) {
    return TTokenGroup{kUnixAuthority, {2, gid}};
}

std::vector<BYTE> SidBytes(const std::array<BYTE, 6>& authority,
                           const std::vector<DWORD>& subAuthorities) {
    std::vector<BYTE> sid(8 + 4 * subAuthorities.size(), 0);
    sid[0] = 1;
    sid[1] = static_cast<BYTE>(subAuthorities.size());
    std::copy(authority.begin(), authority.end(), sid.begin() + 2);
    for (std::size_t i = 0; i < subAuthorities.size(); ++i) {
        std::memcpy(sid.data() + 8 + 4 * i, &subAuthorities[i], 4);
    }
    return sid;
}

std::size_t SidLength(const void* sid) {
    return 8 + 4 * std::size_t{static_cast<const BYTE*>(sid)[1]};
}

bool SidsEqual(const void* a, const void* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    const std::size_t length = SidLength(a);
    return length == SidLength(b) && std::memcmp(a, b, length) == 0;
}

std::size_t TokenGroupsLength(const std::vector<TTokenGroup>& groups) {
    std::size_t length = offsetof(TTokenGroups, Groups) + groups.size() * sizeof(TSidAndAttributes);
    for (const TTokenGroup& g : groups) {
        length += 8 + 4 * g.subAuthorities.size();
    }
    return length;
}

void WriteTokenGroups(const std::vector<TTokenGroup>& groups, void* buffer) {
    auto* out = static_cast<BYTE*>(buffer);
    const std::size_t entries = offsetof(TTokenGroups, Groups);
    const auto count = static_cast<DWORD>(groups.size());
    std::memcpy(out, &count, sizeof count);
    std::size_t sidAt = entries + groups.size() * sizeof(TSidAndAttributes);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        std::vector<BYTE> sid = SidBytes(groups[i].authority, groups[i].subAuthorities);
        std::memcpy(out + sidAt, sid.data(), sid.size());
        TSidAndAttributes entry{out + sidAt, groups[i].attributes};
        std::memcpy(out + entries + i * sizeof entry, &entry, sizeof entry);
        sidAt += sid.size();
    }
}

bool CopyTokenGroups(const std::vector<TTokenGroup>& groups, void* buffer, DWORD bufferLength,
                     DWORD* returnLength) {
    const std::size_t needed = TokenGroupsLength(groups);
    if (returnLength) {
        *returnLength = static_cast<DWORD>(needed);
    }
    if (buffer == nullptr || bufferLength < needed) {
        return false;
    }
    WriteTokenGroups(groups, buffer);
    return true;
}

DWORD CopyDriveRoots(const std::string& letters, DWORD bufferLength, char* buffer) {
    std::string list;
    for (char letter : letters) {
        list += letter;
        list += ":\\";
        list += '\0';
    }
    const auto length = static_cast<DWORD>(list.size());
    if (buffer == nullptr || length + 1 > bufferLength) {
        return length + 1;
    }
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return length;
}

PSID TSidStore::Allocate(const TSidIdentifierAuthority& authority, const std::vector<DWORD>& subs) {
    std::array<BYTE, 6> value{};
    std::copy(std::begin(authority.Value), std::end(authority.Value), value.begin());
    auto bytes = std::make_unique<std::vector<BYTE>>(SidBytes(value, subs));
    PSID sid = bytes->data();
    sids_.emplace(sid, std::move(bytes));
    return sid;
}

bool TSidStore::Free(PSID sid) {
    return sids_.erase(sid) != 0;
}

} // namespace quenlith
