#include "Unit1.h"

#include "ArvDiscLib.h"
#include "MediaProfiles.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>

namespace quenlith::app {

// Counts a running handler; when the last one returns, a close asked for meanwhile happens.
class TForm1::THandlerScope {
public:
    explicit THandlerScope(TForm1& form) : form_(form) { ++form_.runningHandlers_; }
    ~THandlerScope() {
        if (--form_.runningHandlers_ == 0 && form_.closePending_) {
            form_.closePending_ = false;
            form_.view_.CloseWindow();
        }
    }
    THandlerScope(const THandlerScope&) = delete;
    THandlerScope& operator=(const THandlerScope&) = delete;

private:
    TForm1& form_;
};

std::string GetVolumeLabel(TOsServices& os, std::string_view letter) {
    std::array<char, 81> volumeName{};
    std::array<char, 21> fileSystemName{};
    DWORD serialNumber = 0;
    DWORD maxComponentLength = 0;
    DWORD fileSystemFlags = 0;
    const std::string root = std::string(letter) + ":\\";
    if (!os.GetVolumeInformationA(root.c_str(), volumeName.data(), volumeName.size(), &serialNumber,
                                  &maxComponentLength, &fileSystemFlags, fileSystemName.data(),
                                  fileSystemName.size())) {
        return {};
    }
    // Up to the first zero, and never past the buffer should the system not end the name.
    return std::string(volumeName.data(), strnlen(volumeName.data(), volumeName.size()));
}

TForm1::TForm1(TOsServices& os, TFormView& view) : os_(os), view_(view) {}

void TForm1::FormCreate() {
    THandlerScope scope(*this);
    view_.PrepareDiscWindow();
    Refresh1Click();
}

void TForm1::Refresh1Click() {
    THandlerScope scope(*this);
    // Zeroed, so a list shorter than its reported length still ends within the buffer.
    std::array<char, 255> roots{};
    const DWORD length =
        os_.GetLogicalDriveStringsA(static_cast<DWORD>(roots.size()), roots.data());
    if (length != 0) {
        // At most length + 1 characters, and never past the buffer: a system that reports the
        // length it needed instead of the length written is not read beyond it.
        // Counted in 64 bits: n + 1 must not wrap where size_t has 32.
        const auto walk = static_cast<std::size_t>(
            std::min<std::uint64_t>(std::uint64_t{length} + 1, roots.size()));
        for (std::size_t i = 0; i < walk; ++i) {
            const char c = roots[i];
            if (c == '\0') {
                if (i + 1 < roots.size() && roots[i + 1] == '\0') {
                    break;
                }
                continue;
            }
            if (std::isalpha(static_cast<unsigned char>(c)) == 0) {
                continue;
            }
            const char drive[] = {c, ':', '\0'};
            if (os_.GetDriveTypeA(drive) == drive_type::CdRom) {
                const std::string letter(1, c);
                view_.AddDriveItem(letter + ": [" + GetVolumeLabel(os_, letter) + "]");
            }
        }
    }
    view_.SetDriveItemIndex(0);
    cbdriveChange();
}

void TForm1::ClearIdentification() {
    view_.SetEditText(1, "");
    view_.SetEditText(3, "");
    view_.SetEditText(4, "");
    view_.SetEditText(2, "");
}

void TForm1::Identify(const std::string& driveText) {
    if (driveText.empty()) {
        throw EAppError("no drive letter");
    }
    const std::string inquiry = TryGetInquiryData(os_, driveText[0]);
    const std::string revision = ReplaceControlChars(Trim(CutChars(inquiry, 25, 28)));
    view_.SetEditText(1, CutChars(inquiry, 1, 8));
    view_.SetEditText(2, CutChars(inquiry, 9, 24));
    view_.SetEditText(3, revision);
    view_.SetEditText(4, Trim(CutChars(inquiry, 29, 48)));
}

void TForm1::cbdriveChange() {
    THandlerScope scope(*this);
    const unsigned run = ++selectionRuns_;
    // Counted for as long as this run lasts, also when an error ends it early.
    struct TActiveSelection {
        int& count;
        explicit TActiveSelection(int& c) : count(c) { ++count; }
        ~TActiveSelection() { --count; }
    } active(activeSelections_);
    view_.SetApplicationCursor(TCursor::crHourGlass);
    const std::string text = view_.DriveText();

    try {
        Identify(text);
    } catch (...) {
        ClearIdentification();
        view_.SetApplicationCursor(TCursor::crDefault);
    }

    std::string report;
    if (!text.empty()) {
        std::optional<TArvDiscLib> lib;
        lib.emplace(os_);
        TOwnedDriveHandle device(os_, lib->OpenDrive(text[0]));
        // The wait dispatches messages: another selection may run to its end inside this call.
        lib->BuildDriveReport(device.get(), report);
        lib.reset();
    }
    // The latest selection wins: a run superseded while it waited keeps its older report to
    // itself. Without a drive letter the list is emptied rather than left naming another drive.
    if (run == selectionRuns_) {
        view_.SetListLines(SplitLines(report));
    }
    // A nested run leaves the hourglass to the run still waiting around it.
    if (activeSelections_ == 1) {
        view_.SetApplicationCursor(TCursor::crDefault);
    }
}

void TForm1::BitBtn3Click() {
    THandlerScope scope(*this);
    const std::string text = view_.DriveText();
    if (text.empty()) {
        throw EAppError(std::string(kErrorReadingDisc));
    }
    TOwnedDriveHandle device(os_, OpenDriveHandle(os_, text[0]));
    const int mediaType = GetMediaType(os_, device.get());
    if (mediaType < 0 || mediaType >= static_cast<int>(MediaTypeNames.size())) {
        throw EAppError(std::string(kErrorReadingDisc)); // the handle closes on the way out
    }
    // The handle stays open while the box is shown and closes when it has been closed.
    view_.ShowInformation(std::string(kInsertedMediaPrefix) +
                          std::string(MediaTypeNames[static_cast<std::size_t>(mediaType)]));
}

namespace {

struct TTrayButton {
    UINT acceptedType;
    UINT alsoAccepted;
    std::string_view refusal;
    void (*door)(TOsServices&, char);
};

constexpr TTrayButton kEjectButton{drive_type::CdRom, drive_type::Removable, kCannotEjectDrive,
                                   &EjectTray};
constexpr TTrayButton kCloseButton{drive_type::CdRom, drive_type::CdRom, kCannotAccessDrive,
                                   &CloseTray};

void RunTrayButton(TOsServices& os, const std::string& text, const TTrayButton& button) {
    // An empty selector names no drive and is refused like a drive of the wrong type.
    if (text.empty()) {
        throw EAppError(std::string(button.refusal));
    }
    const char root[] = {text[0], ':', '\\', '\0'};
    const UINT type = os.GetDriveTypeA(root);
    if (type != button.acceptedType && type != button.alsoAccepted) {
        throw EAppError(std::string(button.refusal));
    }
    button.door(os, text[0]);
}

} // namespace

void TForm1::BitBtn1Click() {
    THandlerScope scope(*this);
    RunTrayButton(os_, view_.DriveText(), kEjectButton);
}

void TForm1::BitBtn2Click() {
    THandlerScope scope(*this);
    RunTrayButton(os_, view_.DriveText(), kCloseButton);
}

void TForm1::Button1Click() {
    if (runningHandlers_ > 0) {
        closePending_ = true;
        return;
    }
    view_.CloseWindow();
}

bool TForm1::CloseQuery() {
    if (runningHandlers_ > 0) {
        closePending_ = true;
        return false;
    }
    return true;
}

void TForm1::Image1MouseDown() {
    view_.ReleaseMouseCapture();
    view_.SendCaptionPress();
}

void TForm1::Label5MouseEnter() {
    view_.SetApplicationCursor(TCursor::crHandPoint);
}

void TForm1::Label5MouseLeave() {
    view_.SetApplicationCursor(TCursor::crDefault);
}

void TForm1::Label5Click() {
    view_.OpenWebAddress(std::string(kMakerWebAddress));
}

} // namespace quenlith::app
