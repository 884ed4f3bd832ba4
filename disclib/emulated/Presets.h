// Ready-made drives and machines for tests, demos and the probe's --emulated mode.
#pragma once

#include "EmulatedMachine.h"

#include <functional>
#include <string_view>
#include <vector>

namespace quenlith::emulated::presets {

// --- drive models (MMC state only) ---
// A DVD writer with every capability bit, 2 MB buffer, 48x read and 40x write, no medium.
TMmcDriveModel DvdWriter();
// A CD-ROM reader: CD-R, CD-RW and Method 2 reading only, 128 KB buffer, 24x, no writing.
TMmcDriveModel CdRomReader();

// --- media, applied to a model ---
// A single-layer DVD-ROM (profile 0010h) with its physical format.
TMmcDriveModel WithDvdRom(TMmcDriveModel drive);
// A pressed CD (profile 0008h).
TMmcDriveModel WithCdRom(TMmcDriveModel drive);

// --- drives (letter, type, label, model) ---
TEmulatedDrive OpticalDrive(char letter, TMmcDriveModel model,
                            std::optional<std::string> label = std::nullopt);
TEmulatedDrive HardDisk(char letter, std::string label = "SYSTEM");
TEmulatedDrive RemovableDisk(char letter);
TEmulatedDrive NetworkDrive(char letter);

// --- machines ---
// C hard disk; D DVD writer with a DVD labelled DATA; E CD-ROM reader without a disc.
TMachineDescription StandardMachine();
// Only a hard disk and a USB stick: no optical drive.
TMachineDescription NoOpticalMachine();
// The standard drives, but the user is not an administrator.
TMachineDescription StandardUserMachine();

struct TNamedMachine {
    std::string_view name;
    std::string_view summary;
    TMachineDescription (*make)();
};
// The machines by name, for --emulated=NAME; the first is the default.
const std::vector<TNamedMachine>& NamedMachines();

} // namespace quenlith::emulated::presets
