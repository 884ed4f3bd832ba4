// Security identifiers and token group lists in their Windows binary forms, for the
// implementations of TOsServices that build them themselves (the emulated machine, Linux).
#pragma once

#include "OsServices.h"

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quenlith {

// A group of a token: its SID as identifier authority and sub-authorities, and attributes.
struct TTokenGroup {
    std::array<BYTE, 6> authority{};
    std::vector<DWORD> subAuthorities;
    DWORD attributes = SE_GROUP_ENABLED_ | SE_GROUP_ENABLED_BY_DEFAULT_ | SE_GROUP_MANDATORY_;

    static TTokenGroup Administrators(DWORD attributes = SE_GROUP_ENABLED_ |
                                                         SE_GROUP_ENABLED_BY_DEFAULT_ |
                                                         SE_GROUP_MANDATORY_);
    static TTokenGroup Users();    // S-1-5-32-545
    static TTokenGroup Everyone(); // S-1-1-0
    // S-1-5-21-a-b-c-rid: a domain group; use it to make large group lists.
    static TTokenGroup DomainGroup(DWORD rid);
    // S-1-22-2-gid: a Unix group.
    static TTokenGroup UnixGroup(DWORD gid);
};

// The binary form of a SID: revision 1, sub-authority count, authority, sub-authorities.
std::vector<BYTE> SidBytes(const std::array<BYTE, 6>& authority,
                           const std::vector<DWORD>& subAuthorities);
std::size_t SidLength(const void* sid);
bool SidsEqual(const void* a, const void* b);

// The length of the TOKEN_GROUPS record for groups: entries, then the SIDs they point to.
std::size_t TokenGroupsLength(const std::vector<TTokenGroup>& groups);
// Writes that record into buffer, which holds at least TokenGroupsLength(groups) bytes.
void WriteTokenGroups(const std::vector<TTokenGroup>& groups, void* buffer);

// GetTokenInformation's answer for groups: writes the record when bufferLength suffices;
// *returnLength (when given) is the length needed either way. False when it does not fit.
bool CopyTokenGroups(const std::vector<TTokenGroup>& groups, void* buffer, DWORD bufferLength,
                     DWORD* returnLength);

// GetLogicalDriveStringsA's answer for drive letters: "X:\" for each, every root ended by a
// zero and the list by a second one. Answers the characters written without the final zero,
// or, when the buffer is too small, the length needed (final zero included) and writes nothing.
DWORD CopyDriveRoots(const std::string& letters, DWORD bufferLength, char* buffer);

// SIDs made by AllocateAndInitializeSid, owned until FreeSid.
class TSidStore {
public:
    PSID Allocate(const TSidIdentifierAuthority& authority, const std::vector<DWORD>& subs);
    bool Free(PSID sid);
    std::size_t Count() const { return sids_.size(); }

private:
    std::map<PSID, std::unique_ptr<std::vector<BYTE>>> sids_;
};

} // namespace quenlith
