// The main window's logic: TForm1, its handlers, and the window unit's free routines.
// Toolkit-neutral: it runs over the OS services and a TFormView, so every shell binds the same
// behaviour to its widgets and tests run it headless.
#pragma once

#include "DriveRoutines.h"
#include "ErrorBox.h"
#include "FormView.h"
#include "OsServices.h"
#include "TextTreatments.h"

#include <string>
#include <string_view>

namespace quenlith::app {

// Drive routines of the window unit (implemented with drive access).
using quenlith::CloseDriveHandle;
using quenlith::GetInquiryData;
using quenlith::GetMediaType;
using quenlith::OpenDriveHandle;
using quenlith::TryGetInquiryData;

inline constexpr std::string_view kFormCaption = "Quenlith";
inline constexpr std::string_view kVersionText = "Version 1.05";
inline constexpr std::string_view kMakerWebAddress = "https://quenlith.org";

inline constexpr std::string_view kErrorReadingDisc = "Error reading disc!";
inline constexpr std::string_view kCannotEjectDrive = "Cannot eject drive.";
inline constexpr std::string_view kCannotAccessDrive = "Cannot access drive.";
inline constexpr std::string_view kInsertedMediaPrefix = "The Inserted media is ";

// The volume label of a drive ("D"), or the empty text when it has no readable volume.
std::string GetVolumeLabel(TOsServices& os, std::string_view letter);

// The door commands: the drive opened as the CD audio device "X:", told to open or close its
// door, closed again. Outcomes are not reported.
void EjectTray(TOsServices& os, char letter);
void CloseTray(TOsServices& os, char letter);

class TForm1 {
public:
    // Both must outlive the form.
    TForm1(TOsServices& os, TFormView& view);
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Handlers. Those that refuse or fail raise EAppError with their fixed message; the shell
    // shows it in the error box (see RunHandler).
    void FormCreate();
    void Refresh1Click();
    void cbdriveChange();
    void BitBtn1Click(); // "Eject"
    void BitBtn2Click(); // "Close"
    void BitBtn3Click(); // "Analyse Disk"
    void Button1Click(); // "Exit"
    void Image1MouseDown();
    void Label5MouseEnter();
    void Label5MouseLeave();
    void Label5Click();

    // A close request from the window system (its close button, Alt+F4, the session ending).
    // While a handler runs (a report waiting for its drive dispatches messages) the close is
    // deferred: the answer is false, and the window is closed through TFormView::CloseWindow
    // once the running handlers have returned. Otherwise the answer is true: close now.
    bool CloseQuery();

    bool HandlerRunning() const { return runningHandlers_ > 0; }

private:
    class THandlerScope;

    void Identify(const std::string& driveText);
    void ClearIdentification();

    TOsServices& os_;
    TFormView& view_;
    int runningHandlers_ = 0;
    bool closePending_ = false;
    unsigned selectionRuns_ = 0; // selections started, so a superseded run can tell
    int activeSelections_ = 0;   // selection runs in progress, nested ones included
};

} // namespace quenlith::app
