#include "Win32Program.h"

#include "Win32MainWindow.h"

#include <commctrl.h>
#include <objbase.h>

namespace quenlith::app::win32 {

int RunQuenlithWindow(HINSTANCE instance, TOsServices& os, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls); // version 6, as the manifest asks
    CoInitialize(nullptr);           // for the picture decoder
    int code = 0;
    {
        TWin32MainWindow window(os, instance);
        window.Create();
        window.Show(showCommand);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (!window.Alive() || !IsDialogMessageA(window.Handle(), &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        code = static_cast<int>(message.wParam);
    }
    CoUninitialize();
    return code;
}

} // namespace quenlith::app::win32
