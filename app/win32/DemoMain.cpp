// QuenlithDemo.exe: the window over the emulated standard machine (C hard disk, D DVD writer
// with a DVD labelled DATA, E empty CD-ROM reader), for trying the window without drives.
#include "Win32Program.h"
#include "emulated/Presets.h"
#include "win32/Win32Services.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    quenlith::emulated::TEmulatedMachine machine(quenlith::emulated::presets::StandardMachine());
    quenlith::win32::TWin32Services system; // dispatches pending messages during the wait
    machine.onProcessMessages = [&] { system.ProcessMessages(); };
    return quenlith::app::win32::RunQuenlithWindow(instance, machine, showCommand);
}
