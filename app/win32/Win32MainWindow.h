// Form1 with native Win32 controls: the windowed controls are child windows, the picture,
// the shape and the labels are painted, double-buffered, on the window itself.
#pragma once

#include "FormDesign.h"
#include "FormView.h"
#include "OsServices.h"
#include "Unit1.h"
#include "Win32Seams.h"

#include <windows.h>

#include <array>
#include <string>

namespace quenlith::app::win32 {

class TWin32MainWindow final : public TFormView {
public:
    // The services must outlive the window. The window is created hidden, with its border and
    // caption as designed; Create() runs FormCreate, Show() shows it.
    TWin32MainWindow(TOsServices& os, HINSTANCE instance,
                     TWin32Seams seams = TWin32Seams::System());
    ~TWin32MainWindow() override;
    TWin32MainWindow(const TWin32MainWindow&) = delete;
    TWin32MainWindow& operator=(const TWin32MainWindow&) = delete;

    void Create();
    void Show(int showCommand = SW_SHOWNORMAL);
    HWND Handle() const { return window_; }
    HWND Control(design::TControl id) const;
    static int ControlId(design::TControl id) { return 1000 + static_cast<int>(id); }
    // Where a painted control lies (labels sized to their text).
    RECT PaintedRect(design::TControl id) const;
    TCursor ApplicationCursor() const { return cursor_; }
    const std::string& ApplicationTitle() const { return title_; }
    TForm1& Form() { return form_; }
    // Whether the window still exists (Exit destroys it).
    bool Alive() const { return window_ != nullptr; }

    // TFormView
    void PrepareDiscWindow() override;
    std::string DriveText() const override;
    void AddDriveItem(const std::string& entry) override;
    void SetDriveItemIndex(int index) override;
    void SetEditText(int index, const std::string& text) override;
    void SetListLines(const std::vector<std::string>& lines) override;
    void SetApplicationCursor(TCursor cursor) override;
    void ShowInformation(const std::string& text) override;
    void CloseWindow() override;
    void ReleaseMouseCapture() override;
    void SendCaptionPress() override;
    void OpenWebAddress(const std::string& address) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT OnMessage(UINT message, WPARAM w, LPARAM l);
    void Guarded(void (TForm1::*handler)());
    void Paint(HDC target);
    void OnCommand(int id, int code);
    void OnButtonDown(POINT at, bool left);
    void OnMouseMove(POINT at);
    void UpdateLinkHover(bool inside);
    design::TControl PaintedControlAt(POINT at) const;
    void ApplyCursor() const;

    TForm1 form_;
    TWin32Seams seams_;
    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::array<HWND, design::kControls.size()> controls_{};
    std::array<HFONT, design::kControls.size()> fonts_{};
    std::array<RECT, design::kControls.size()> rects_{};
    HBITMAP picture_ = nullptr;
    std::string title_;
    TCursor cursor_ = TCursor::crDefault;
    bool overLink_ = false;
    bool linkPressed_ = false;
};

} // namespace quenlith::app::win32
