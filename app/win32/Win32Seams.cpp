#include "Win32Seams.h"

#include <shellapi.h>

namespace quenlith::app::win32 {

TWin32Seams TWin32Seams::System() {
    TWin32Seams seams;
    seams.showError = [](HWND owner, const TErrorBox& box) {
        MessageBoxA(owner, box.text.c_str(), box.caption.c_str(), MB_ICONSTOP | MB_OK);
    };
    seams.showInformation = [](HWND owner, const std::string& text) {
        MessageBoxA(owner, text.c_str(), "Information", MB_ICONINFORMATION | MB_OK);
    };
    seams.releaseCapture = [] { ReleaseCapture(); };
    seams.sendCaptionPress = [](HWND window) {
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    };
    seams.openAddress = [](const std::string& address) {
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    return seams;
}

} // namespace quenlith::app::win32
