#include "MediaProfiles.h"

#include "ArvSCSIStructs.h"

#include <algorithm>

namespace quenlith {

int MediaTypeOfProfile(WORD profile) {
    const auto* found = std::find(MediaTypeProfiles.begin(), MediaTypeProfiles.end(), profile);
    if (found == MediaTypeProfiles.end()) {
        return kNoMediaType;
    }
    return static_cast<int>(found - MediaTypeProfiles.begin());
}

WORD CurrentProfileOf(std::span<const BYTE> configurationResponse) {
    return ReadBigEndianWord(configurationResponse, 6);
}

int QueryMediaType(TOsServices& os, HANDLE device) {
    std::array<BYTE, CommandRow(ScsiCommand::GetConfiguration).dataTransferLength> response{};
    if (!SendScsiCommand(os, device, ScsiCommand::GetConfiguration, response)) {
        return kNoMediaType;
    }
    return MediaTypeOfProfile(CurrentProfileOf(response));
}

} // namespace quenlith
