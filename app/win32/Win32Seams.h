// What the native window hands to the system for boxes, dragging and the web page, behind
// seams: the tests answer the boxes and record the rest instead of blocking or launching.
#pragma once

#include "ErrorBox.h"

#include <windows.h>

#include <functional>
#include <string>

namespace quenlith::app::win32 {

struct TWin32Seams {
    // MessageBoxA with the application title, MB_ICONSTOP and MB_OK.
    std::function<void(HWND owner, const TErrorBox& box)> showError;
    // MessageDlg(mtInformation, [mbOK]): caption "Information", MB_ICONINFORMATION, MB_OK.
    std::function<void(HWND owner, const std::string& text)> showInformation;
    // ReleaseCapture, then SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0).
    std::function<void()> releaseCapture;
    std::function<void(HWND window)> sendCaptionPress;
    // ShellExecuteA(no owner, "open", address, no parameters, no directory, SW_SHOWNORMAL).
    std::function<void(const std::string& address)> openAddress;

    // The real calls.
    static TWin32Seams System();
};

} // namespace quenlith::app::win32
