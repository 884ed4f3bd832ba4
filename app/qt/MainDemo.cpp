// quenlith-demo: the window over the emulated standard machine (C hard disk, D DVD writer
// with a DVD labelled DATA, E empty CD-ROM reader), for trying the window without drives.
#include "QtProgram.h"
#include "emulated/Presets.h"

int main(int argc, char** argv) {
    quenlith::emulated::TEmulatedMachine machine(quenlith::emulated::presets::StandardMachine());
    return quenlith::app::qt::RunQuenlithWindow(
        argc, argv, machine,
        [&](std::function<void()> pump) { machine.onProcessMessages = std::move(pump); });
}
