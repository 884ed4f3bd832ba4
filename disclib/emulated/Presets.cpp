#include "Presets.h"

namespace quenlith::emulated::presets {

TMmcDriveModel DvdWriter() {
    TMmcDriveModel drive;
    drive.inquiry = MakeInquiry("VIRTUAL", "DVD-RW VX-2040", "1.02", "2024/05/17 SATA");
    drive.capabilitiesPage = MakeCapabilitiesPage(0x3F, 0x37, 8467, 2048, 7056);
    drive.supportedProfiles = {0x0008, 0x0009, 0x000A, 0x0010, 0x0011,
                               0x0012, 0x0013, 0x0014, 0x001A, 0x001B};
    return drive;
}

TMmcDriveModel CdRomReader() {
    TMmcDriveModel drive;
    drive.inquiry = MakeInquiry("VIRTUAL", "CD-ROM VC-24", "3.10", "");
    drive.capabilitiesPage = MakeCapabilitiesPage(0x07, 0x00, 4234, 128, 0);
    drive.supportedProfiles = {0x0008};
    return drive;
}

TMmcDriveModel WithDvdRom(TMmcDriveModel drive) {
    drive.mediumPresent = true;
    drive.currentProfile = 0x0010;
    // DVD-ROM book, 120 mm, 10.08 Mbps, one layer of embossed data, 0.267 um/bit, 0.74 um/track.
    drive.dvdPhysicalFormat = MakeDvdPhysicalFormat(0x01, 0x02, 0x01, 0x00);
    return drive;
}

TMmcDriveModel WithCdRom(TMmcDriveModel drive) {
    drive.mediumPresent = true;
    drive.currentProfile = 0x0008;
    return drive;
}

TEmulatedDrive OpticalDrive(char letter, TMmcDriveModel model, std::optional<std::string> label) {
    TEmulatedDrive drive;
    drive.letter = letter;
    drive.type = drive_type::CdRom;
    drive.volumeLabel = std::move(label);
    drive.mmc = std::move(model);
    return drive;
}

TEmulatedDrive HardDisk(char letter, std::string label) {
    TEmulatedDrive drive;
    drive.letter = letter;
    drive.type = drive_type::Fixed;
    drive.volumeLabel = std::move(label);
    drive.inquiry = MakeInquiry("ATA", "VIRTUAL DISK 1TB", "0001", "", 0);
    return drive;
}

TEmulatedDrive RemovableDisk(char letter) {
    TEmulatedDrive drive;
    drive.letter = letter;
    drive.type = drive_type::Removable;
    drive.volumeLabel = "STICK";
    drive.inquiry = MakeInquiry("VIRTUAL", "USB FLASH", "1.00", "", 0);
    return drive;
}

TEmulatedDrive NetworkDrive(char letter) {
    TEmulatedDrive drive;
    drive.letter = letter;
    drive.type = drive_type::Remote;
    drive.volumeLabel = "SHARE";
    drive.openFails = true;
    return drive;
}

TMachineDescription StandardMachine() {
    TMachineDescription machine;
    machine.drives = {HardDisk('C'), OpticalDrive('D', WithDvdRom(DvdWriter()), "DATA"),
                      OpticalDrive('E', CdRomReader())};
    return machine;
}

TMachineDescription NoOpticalMachine() {
    TMachineDescription machine;
    machine.drives = {HardDisk('C'), RemovableDisk('F')};
    return machine;
}

TMachineDescription StandardUserMachine() {
    TMachineDescription machine = StandardMachine();
    machine.processToken.groups = {TEmulatedGroup::Everyone(), TEmulatedGroup::Users()};
    return machine;
}

const std::vector<TNamedMachine>& NamedMachines() {
    static const std::vector<TNamedMachine> machines = {
        {"standard", "C hard disk, D DVD writer with a DVD labelled DATA, E empty CD-ROM reader",
         &StandardMachine},
        {"user", "the standard drives, for a user outside the Administrators group",
         &StandardUserMachine},
        {"no-optical", "C hard disk and F USB stick, no optical drive", &NoOpticalMachine},
    };
    return machines;
}

} // namespace quenlith::emulated::presets
