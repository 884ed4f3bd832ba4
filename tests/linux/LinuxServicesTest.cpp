// The Linux services over a fake kernel whose drives are the emulated MMC models.
#include "linux/LinuxServices.h"
#include "ArvDiscLib.h"
#include "HeadlessView.h"
#include "Unit1.h"
#include "emulated/Presets.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <map>

using namespace quenlith;
using namespace quenlith::linuxos;
namespace presets = quenlith::emulated::presets;

namespace {

class TFakeKernel final : public TLinuxKernel {
public:
    struct TDrive {
        emulated::TMmcDriveModel mmc;
        std::optional<std::string> label;
        bool openFails = false;
    };
    std::map<unsigned, TDrive> drives;
    TProcessCredentials credentials{.root = true};
    std::map<int, std::string> open; // descriptor -> path
    std::vector<std::string> log;
    std::vector<sg_io_hdr_t> sent;
    unsigned short hostStatus = 0; // forced onto every SG_IO answer
    unsigned short driverByte = 0; // added to the driver status of every answer
    bool sgIoFails = false;
    int nextFd = 3;

    TDrive* DriveOf(const std::string& path) {
        for (auto& [n, d] : drives) {
            if (path == "/dev/sr" + std::to_string(n)) {
                return &d;
            }
        }
        return nullptr;
    }

    std::vector<unsigned> OpticalDriveNumbers() override {
        std::vector<unsigned> n;
        for (const auto& [number, drive] : drives) {
            n.push_back(number);
        }
        return n;
    }
    int Open(const std::string& path, int flags) override {
        log.push_back("open " + path + " " + std::to_string(flags));
        TDrive* drive = DriveOf(path);
        if (drive == nullptr || drive->openFails) {
            errno = drive ? EACCES : ENOENT;
            return -1;
        }
        open[nextFd] = path;
        return nextFd++;
    }
    int Close(int fd) override {
        log.push_back("close");
        return open.erase(fd) ? 0 : -1;
    }
    int SgIo(int fd, sg_io_hdr_t& h) override {
        sent.push_back(h);
        if (sgIoFails || !open.contains(fd)) {
            errno = EIO;
            return -1;
        }
        TDrive* drive = DriveOf(open[fd]);
        emulated::TScsiReply reply = drive->mmc.Execute(
            std::span<const BYTE>(h.cmdp, h.cmd_len),
            std::span<BYTE>(static_cast<BYTE*>(h.dxferp), h.dxferp ? h.dxfer_len : 0));
        if (!reply.carriedOut) {
            errno = EIO;
            return -1;
        }
        h.status = reply.status;
        h.host_status = hostStatus;
        h.driver_status =
            static_cast<unsigned short>((reply.sense.empty() ? 0 : 0x08) | driverByte);
        h.sb_len_wr =
            static_cast<unsigned char>(std::min<std::size_t>(reply.sense.size(), h.mx_sb_len));
        std::copy_n(reply.sense.begin(), h.sb_len_wr, h.sbp);
        h.resid = static_cast<int>(h.dxfer_len - reply.transferred);
        return 0;
    }
    int DoorIoctl(int fd, unsigned long request) override {
        log.push_back(request == CDROMEJECT       ? "CDROMEJECT"
                      : request == CDROMCLOSETRAY ? "CDROMCLOSETRAY"
                                                  : "?");
        if (!open.contains(fd)) {
            return -1;
        }
        DriveOf(open[fd])->mmc.trayOpen = request == CDROMEJECT;
        return 0;
    }
    std::optional<std::string> FileSystemLabel(const std::string& path) override {
        TDrive* drive = DriveOf(path);
        return drive ? drive->label : std::nullopt;
    }
    TProcessCredentials Credentials() override { return credentials; }
    void SleepMilliseconds(unsigned ms) override { log.push_back("sleep " + std::to_string(ms)); }
    std::string KernelRelease() override { return "6.1.0-test"; }
};

TFakeKernel TwoDrives() {
    TFakeKernel kernel;
    kernel.drives[0] = {presets::WithDvdRom(presets::DvdWriter()), "DVD_VIDEO", false};
    kernel.drives[2] = {presets::CdRomReader(), std::nullopt, false};
    return kernel;
}

TEST(LinuxDrives, LettersFollowTheDeviceNumbers) {
    EXPECT_EQ(DevicePathOfLetter('D'), "/dev/sr0");
    EXPECT_EQ(DevicePathOfLetter('f'), "/dev/sr2");
    EXPECT_EQ(DevicePathOfLetter('Z'), "/dev/sr22");
    EXPECT_EQ(DevicePathOfLetter('C'), "");
    EXPECT_EQ(LetterOfDriveNumber(23), std::nullopt);

    TFakeKernel kernel = TwoDrives();
    TLinuxServices os(kernel);
    char buffer[255];
    DWORD n = os.GetLogicalDriveStringsA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer, n + 1), std::string("D:\\\0F:\\\0\0", 9));
    EXPECT_EQ(os.GetDriveTypeA("D:"), drive_type::CdRom);
    EXPECT_EQ(os.GetDriveTypeA("f:\\"), drive_type::CdRom);
    EXPECT_EQ(os.GetDriveTypeA("E:"), drive_type::NoRootDir);
    EXPECT_EQ(os.GetDriveTypeA("C:"), drive_type::NoRootDir);
}

TEST(LinuxDrives, VolumeLabelsFromTheFileSystem) {
    TFakeKernel kernel = TwoDrives();
    TLinuxServices os(kernel);
    EXPECT_EQ(app::GetVolumeLabel(os, "D"), "DVD_VIDEO");
    char name[81] = "untouched";
    EXPECT_FALSE(os.GetVolumeInformationA("F:\\", name, 81, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_STREQ(name, "untouched");
    EXPECT_FALSE(os.GetVolumeInformationA("E:\\", name, 81, nullptr, nullptr, nullptr, nullptr, 0));
}

TEST(LinuxPassThrough, RequestBlocksBecomeSgIoHeaders) {
    TFakeKernel kernel = TwoDrives();
    TLinuxServices os(kernel);
    HANDLE d = os.CreateFileA("\\\\.\\d:", 0xC0000000, 3, 3, 0x80);
    ASSERT_NE(d, INVALID_HANDLE_VALUE);
    EXPECT_EQ(kernel.log.back(),
              "open /dev/sr0 " + std::to_string(O_RDWR | O_NONBLOCK | O_CLOEXEC));

    struct {
        ScsiCommand command;
        int direction;
        unsigned timeoutMs;
    } cases[] = {{ScsiCommand::TestUnitReady, SG_DXFER_NONE, 120000},
                 {ScsiCommand::Inquiry, SG_DXFER_FROM_DEV, 2000},
                 {ScsiCommand::GetConfiguration, SG_DXFER_FROM_DEV, 120000},
                 {ScsiCommand::ReadDvdStructure, SG_DXFER_FROM_DEV, 120000},
                 {ScsiCommand::ModeSense10, SG_DXFER_FROM_DEV, 120000}};
    for (auto c : cases) {
        const TScsiCommandRow& row = CommandRow(c.command);
        std::vector<BYTE> data(row.dataTransferLength);
        TPassThroughRequest request =
            MakePassThroughRequest(row, data.empty() ? nullptr : data.data());
        DWORD returned = 0;
        EXPECT_TRUE(os.DeviceIoControl(d, IOCTL_SCSI_PASS_THROUGH_DIRECT, &request, sizeof request,
                                       &request, sizeof request, &returned));
        const sg_io_hdr_t& h = kernel.sent.back();
        EXPECT_EQ(h.interface_id, 'S');
        EXPECT_EQ(h.dxfer_direction, c.direction) << row.name;
        EXPECT_EQ(h.cmd_len, row.cdbLength);
        EXPECT_EQ(std::vector<BYTE>(h.cmdp, h.cmdp + h.cmd_len),
                  std::vector<BYTE>(row.cdb.begin(), row.cdb.begin() + row.cdbLength));
        EXPECT_EQ(h.mx_sb_len, row.senseInfoLength);
        EXPECT_EQ(h.dxfer_len, row.dataTransferLength);
        EXPECT_EQ(h.timeout, c.timeoutMs) << row.name;
        EXPECT_EQ(h.sbp, reinterpret_cast<BYTE*>(&request) + kSenseInfoOffset);
        EXPECT_EQ(h.dxferp, data.empty() ? nullptr : data.data());
    }
    // The drive's answer comes back into the block: transferred length, status.
    std::array<BYTE, 100> inquiry{};
    TPassThroughRequest request =
        MakePassThroughRequest(CommandRow(ScsiCommand::Inquiry), inquiry.data());
    DWORD returned = 0;
    os.DeviceIoControl(d, IOCTL_SCSI_PASS_THROUGH_DIRECT, &request, sizeof request, &request,
                       sizeof request, &returned);
    EXPECT_EQ(request.Spt.DataTransferLength, 96u);
    EXPECT_EQ(inquiry[8], 'V');
    EXPECT_TRUE(os.CloseHandle(d));
    EXPECT_FALSE(os.CloseHandle(d));
    EXPECT_TRUE(kernel.open.empty());
}

TEST(LinuxPassThrough, CarriedOutMeansNoTransportError) {
    TFakeKernel kernel = TwoDrives();
    TLinuxServices os(kernel);
    HANDLE f = os.CreateFileA("\\\\.\\F:", 0xC0000000, 3, 3, 0x80); // no medium
    TPassThroughRequest tur =
        MakePassThroughRequest(CommandRow(ScsiCommand::TestUnitReady), nullptr);
    DWORD returned = 0;
    auto send = [&] {
        return os.DeviceIoControl(f, IOCTL_SCSI_PASS_THROUGH_DIRECT, &tur, sizeof tur, &tur,
                                  sizeof tur, &returned);
    };
    EXPECT_TRUE(send()); // CHECK CONDITION with sense: carried out
    EXPECT_EQ(tur.Spt.ScsiStatus, 2);
    EXPECT_EQ(tur.SenseBuf[12], 0x3A);
    kernel.hostStatus = 3; // DID_TIME_OUT
    EXPECT_FALSE(send());
    kernel.hostStatus = 0;
    kernel.driverByte = 0x06; // DRIVER_TIMEOUT
    EXPECT_FALSE(send());
    kernel.driverByte = 0;
    kernel.sgIoFails = true;
    EXPECT_FALSE(send());
    EXPECT_FALSE(os.DeviceIoControl(INVALID_HANDLE_VALUE, IOCTL_SCSI_PASS_THROUGH_DIRECT, &tur,
                                    sizeof tur, &tur, sizeof tur, &returned));
    os.CloseHandle(f);
}

TEST(LinuxPassThrough, PrivilegeDecidesDirectAccess) {
    struct {
        const char* who;
        TProcessCredentials credentials;
        bool allowed;
    } cases[] = {
        {"root", {.root = true}, true},
        {"CAP_SYS_RAWIO", {.rawIo = true, .groups = {1000}}, true},
        {"member of the drive group", {.groups = {1000, 24}, .driveGroup = 24}, true},
        {"plain user", {.groups = {1000, 100}, .driveGroup = 24}, false},
        {"no drive group known", {.groups = {1000}}, false},
    };
    for (const auto& c : cases) {
        TFakeKernel kernel = TwoDrives();
        kernel.credentials = c.credentials;
        TLinuxServices os(kernel);
        TArvDiscLib lib(os);
        EXPECT_EQ(lib.PassThroughAllowed(), c.allowed) << c.who;
        HANDLE d = lib.OpenDrive('D');
        EXPECT_EQ(d != INVALID_HANDLE_VALUE, c.allowed) << c.who;
        if (d != INVALID_HANDLE_VALUE) {
            os.CloseHandle(d);
        }
        EXPECT_TRUE(kernel.open.empty()) << c.who;
    }
}

TEST(LinuxWindow, TheWindowLogicRunsUnchanged) {
    TFakeKernel kernel = TwoDrives();
    TLinuxServices os(kernel);
    app::THeadlessView view;
    app::TForm1 form(os, view);
    form.FormCreate();
    EXPECT_EQ(view.driveItems, (std::vector<std::string>{"D: [DVD_VIDEO]", "F: []"}));
    EXPECT_EQ(view.edits[1], "DVD-RW VX-2040  ");
    EXPECT_EQ(view.listLines.back(), "Max Write Speed: 40x");
    EXPECT_EQ(std::count(kernel.log.begin(), kernel.log.end(), "sleep 100"), 1);

    view.TypeDriveText("f: []");
    form.BitBtn1Click();
    EXPECT_TRUE(kernel.drives[2].mmc.trayOpen);
    form.BitBtn2Click();
    EXPECT_FALSE(kernel.drives[2].mmc.trayOpen);
    const std::string roOpen = "open /dev/sr2 " + std::to_string(O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_EQ(std::count(kernel.log.begin(), kernel.log.end(), roOpen), 2);
    EXPECT_EQ(std::count(kernel.log.begin(), kernel.log.end(), "CDROMEJECT"), 1);
    EXPECT_EQ(std::count(kernel.log.begin(), kernel.log.end(), "CDROMCLOSETRAY"), 1);

    view.TypeDriveText("D");
    form.BitBtn3Click();
    EXPECT_EQ(view.information.back(), "The Inserted media is DVD-ROM");
    EXPECT_TRUE(kernel.open.empty());
}

} // namespace
