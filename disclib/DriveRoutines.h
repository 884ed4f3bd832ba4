// The free drive routines the main window uses: open and close a drive without checks,
// read its identification text and the kind of medium inserted.
#pragma once

#include "OsServices.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quenlith {

inline constexpr std::size_t kInquiryResponseSize = 100;
inline constexpr std::size_t kInquiryTextStart = 8;

// "\\.\" + letter + ":".
std::string DevicePathOf(char letter);

// How a drive root may be written: "X:", "X:\", or either.
enum class TRootForm { LetterColon, LetterColonBackslash, Either };
// The letter (as written) of a drive root in the given form; empty for anything else.
std::optional<char> LetterOfRoot(std::string_view root, TRootForm form = TRootForm::Either);
// The letter (as written) of a device path "\\.\X:"; empty for anything else.
std::optional<char> LetterOfDevicePath(std::string_view path);

// Opens the drive for reading and writing with no check of type or rights; the caller closes
// the handle with CloseDriveHandle. INVALID_HANDLE_VALUE when the open fails.
HANDLE OpenDriveHandle(TOsServices& os, char letter);
bool CloseDriveHandle(TOsServices& os, HANDLE handle);

// Owns a drive handle for one scope and closes it with CloseDriveHandle when it is valid.
class TOwnedDriveHandle {
public:
    TOwnedDriveHandle(TOsServices& os, HANDLE handle) : os_(os), handle_(handle) {}
    ~TOwnedDriveHandle() {
        if (valid()) {
            CloseDriveHandle(os_, handle_);
        }
    }
    TOwnedDriveHandle(const TOwnedDriveHandle&) = delete;
    TOwnedDriveHandle& operator=(const TOwnedDriveHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    TOsServices& os_;
    HANDLE handle_;
};

// The identification text of an INQUIRY response: bytes 8, 9, ... up to the first zero byte,
// never past byte 99 (at most 92 characters).
std::string InquiryTextOf(std::span<const BYTE> response);

// Opens the drive itself (any letter, no type test), sends INQUIRY, closes the handle and
// answers the identification text; the empty text when the open or the command fails.
std::string GetInquiryData(TOsServices& os, char letter);
// GetInquiryData with any exception raised inside it turned into the empty text.
std::string TryGetInquiryData(TOsServices& os, char letter) noexcept;

// The media-type index of the medium in an open drive (see MediaProfiles.h); -1 on failure.
int GetMediaType(TOsServices& os, HANDLE device);

} // namespace quenlith
