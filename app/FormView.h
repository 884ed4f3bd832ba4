// What TForm1 needs of its window, and nothing more. Each shell (native Win32 controls, Qt
// Widgets, the headless view of tests and the probe) implements it over its real widgets.
#pragma once

#include <string>
#include <vector>

namespace quenlith::app {

// Application-wide cursors, with the values the window library gives them.
enum class TCursor { crDefault = 0, crHourGlass = -11, crHandPoint = -21 };

class TFormView {
public:
    virtual ~TFormView() = default;

    // Creation: double buffering on, border, caption bar, system menu and buttons removed (the
    // outer size kept), then the elliptic region (1, 1, 595, 600), right and bottom exclusive.
    virtual void PrepareDiscWindow() = 0;

    // cbdrive: its current text, adding an item at the end, and setting the item index, which
    // puts that item's text into the selector (index 0 of an empty list selects nothing and
    // leaves the text as it is) and does not run the selection handler.
    virtual std::string DriveText() const = 0;
    virtual void AddDriveItem(const std::string& entry) = 0;
    virtual void SetDriveItemIndex(int index) = 0;

    // Edit1 to Edit4 (index 1 to 4).
    virtual void SetEditText(int index, const std::string& text) = 0;

    // ListBox1: replaces all lines.
    virtual void SetListLines(const std::vector<std::string>& lines) = 0;

    virtual void SetApplicationCursor(TCursor cursor) = 0;

    // MessageDlg with mtInformation, mbOK, help context 0: modal, returns when closed.
    virtual void ShowInformation(const std::string& text) = 0;

    // Closes the main window, which ends the application. TForm1 asks this only when none of
    // its handlers is running; a shell may close at once or once control is back in its loop.
    virtual void CloseWindow() = 0;

    // Dragging: release the mouse capture, then send the window the caption press
    // (WM_NCLBUTTONDOWN with HTCAPTION), so the window system moves it with the pointer.
    virtual void ReleaseMouseCapture() = 0;
    virtual void SendCaptionPress() = 0;

    // ShellExecuteA(no owner, "open", address, no parameters, no directory, SW_SHOWNORMAL); the
    // outcome is not looked at.
    virtual void OpenWebAddress(const std::string& address) = 0;
};

} // namespace quenlith::app
