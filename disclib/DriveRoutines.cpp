#include "DriveRoutines.h"

#include "ArvSCSIStructs.h"
#include "MediaProfiles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace quenlith {

std::string DevicePathOf(char letter) {
    char path[8];
    std::snprintf(path, sizeof path, "\\\\.\\%c:", letter);
    return path;
}

std::optional<char> LetterOfRoot(std::string_view root, TRootForm form) {
    if (root.size() < 2 || root.size() > 3 || root[1] != ':' ||
        std::isalpha(static_cast<unsigned char>(root[0])) == 0) {
        return std::nullopt;
    }
    const bool backslash = root.size() == 3;
    if (backslash && root[2] != '\\') {
        return std::nullopt;
    }
    if ((form == TRootForm::LetterColon && backslash) ||
        (form == TRootForm::LetterColonBackslash && !backslash)) {
        return std::nullopt;
    }
    return root[0];
}

std::optional<char> LetterOfDevicePath(std::string_view path) {
    if (path.size() != 6 || path.substr(0, 4) != "\\\\.\\") {
        return std::nullopt;
    }
    return LetterOfRoot(path.substr(4), TRootForm::LetterColon);
}

HANDLE OpenDriveHandle(TOsServices& os, char letter) {
    using namespace file_access;
    return os.CreateFileA(DevicePathOf(letter).c_str(), GenericRead | GenericWrite,
                          ShareRead | ShareWrite, OpenExisting, AttributeNormal);
}

bool CloseDriveHandle(TOsServices& os, HANDLE handle) {
    return os.CloseHandle(handle) != 0;
}

std::string InquiryTextOf(std::span<const BYTE> response) {
    if (response.size() <= kInquiryTextStart) {
        return {};
    }
    auto text = response.subspan(
        kInquiryTextStart, std::min(response.size(), kInquiryResponseSize) - kInquiryTextStart);
    auto end = std::find(text.begin(), text.end(), BYTE{0});
    return std::string(text.begin(), end);
}

std::string GetInquiryData(TOsServices& os, char letter) {
    TOwnedDriveHandle device(os, OpenDriveHandle(os, letter));
    if (!device.valid()) {
        return {};
    }
    std::array<BYTE, kInquiryResponseSize> response{};
    if (!SendScsiCommand(os, device.get(), ScsiCommand::Inquiry, response)) {
        return {};
    }
    return InquiryTextOf(response);
}

std::string TryGetInquiryData(TOsServices& os, char letter) noexcept {
    try {
        return GetInquiryData(os, letter);
    } catch (...) {
        return {};
    }
}

int GetMediaType(TOsServices& os, HANDLE device) {
    return QueryMediaType(os, device);
}

} // namespace quenlith
