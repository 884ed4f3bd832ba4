// Quenlith.exe: the window over the machine's drives.
#include "Win32Program.h"
#include "win32/Win32Services.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    quenlith::win32::TWin32Services services;
    return quenlith::app::win32::RunQuenlithWindow(instance, services, showCommand);
}
