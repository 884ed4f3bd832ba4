#include "LinuxServices.h"

#include "../ArvSCSIStructs.h"
#include "../DriveRoutines.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/cdrom.h>

namespace quenlith::linuxos {
namespace {

// Descriptors are offset so that no handle is null and none equals INVALID_HANDLE_VALUE.
constexpr std::intptr_t kHandleBase = 0x10000;

HANDLE HandleOfDescriptor(int fd) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd) + kHandleBase);
}

int DescriptorOfHandle(HANDLE handle) {
    const auto value = reinterpret_cast<std::intptr_t>(handle) - kHandleBase;
    return value >= 0 && value < (1 << 30) ? static_cast<int>(value) : -1;
}

DWORD WinErrorOf(int error) {
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return 2; // ERROR_FILE_NOT_FOUND
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED_;
    case ENOMEDIUM:
        return 21; // ERROR_NOT_READY
    default:
        return 1117; // ERROR_IO_DEVICE
    }
}

constexpr unsigned char kHostOk = 0;
constexpr unsigned short kDriverByteMask = 0x07; // DRIVER_SENSE (08h) alone is no error

} // namespace

std::optional<unsigned> DriveNumberOfLetter(char letter) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (upper < kFirstDriveLetter || upper > 'Z') {
        return std::nullopt;
    }
    return static_cast<unsigned>(upper - kFirstDriveLetter);
}

std::optional<char> LetterOfDriveNumber(unsigned number) {
    if (number > kLastDriveNumber) {
        return std::nullopt;
    }
    return static_cast<char>(kFirstDriveLetter + static_cast<char>(number));
}

std::string DevicePathOfLetter(char letter) {
    std::optional<unsigned> number = DriveNumberOfLetter(letter);
    return number ? "/dev/sr" + std::to_string(*number) : std::string();
}

bool RequestToSgIo(void* block, sg_io_hdr_t& header) {
    auto* request = static_cast<TPassThroughRequest*>(block);
    const TScsiPassThroughDirect& spt = request->Spt;
    if (spt.Length != kPassThroughHeaderSize || spt.CdbLength == 0 || spt.CdbLength > 16 ||
        spt.SenseInfoOffset > sizeof(TPassThroughRequest) ||
        spt.SenseInfoLength > sizeof(TPassThroughRequest) - spt.SenseInfoOffset ||
        (spt.DataTransferLength > 0 && spt.DataBuffer == nullptr)) {
        return false;
    }
    std::memset(&header, 0, sizeof header);
    header.interface_id = 'S';
    if (spt.DataTransferLength == 0) {
        header.dxfer_direction = SG_DXFER_NONE;
    } else {
        // SCSI_IOCTL_DATA_OUT 0, DATA_IN 1, UNSPECIFIED 2.
        header.dxfer_direction = spt.DataIn == 0   ? SG_DXFER_TO_DEV
                                 : spt.DataIn == 1 ? SG_DXFER_FROM_DEV
                                                   : SG_DXFER_TO_FROM_DEV;
    }
    header.cmd_len = spt.CdbLength;
    header.cmdp = request->Spt.Cdb;
    header.mx_sb_len = spt.SenseInfoLength;
    header.sbp = reinterpret_cast<unsigned char*>(block) + spt.SenseInfoOffset;
    header.dxfer_len = spt.DataTransferLength;
    header.dxferp = spt.DataBuffer;
    header.timeout = spt.TimeOutValue * 1000u;
    return true;
}

bool SgIoCarriedOut(const sg_io_hdr_t& header) {
    return header.host_status == kHostOk && (header.driver_status & kDriverByteMask) == 0;
}

TLinuxServices::TLinuxServices(TLinuxKernel& kernel) : kernel_(kernel) {}

TLinuxServices::TLinuxServices(std::unique_ptr<TLinuxKernel> kernel)
    : ownedKernel_(std::move(kernel)), kernel_(*ownedKernel_) {}

TLinuxServices::~TLinuxServices() {
    // Whatever a caller left open is released with the services.
    for (const auto& [id, fd] : mciDevices_) {
        kernel_.Close(fd);
    }
    for (int fd : openDescriptors_) {
        kernel_.Close(fd);
    }
}

std::optional<unsigned> TLinuxServices::ExistingDrive(char letter) {
    std::optional<unsigned> number = DriveNumberOfLetter(letter);
    if (!number) {
        return std::nullopt;
    }
    const std::vector<unsigned> drives = kernel_.OpticalDriveNumbers();
    if (std::find(drives.begin(), drives.end(), *number) == drives.end()) {
        return std::nullopt;
    }
    return number;
}

DWORD TLinuxServices::GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) {
    std::string letters;
    for (unsigned number : kernel_.OpticalDriveNumbers()) {
        if (std::optional<char> letter = LetterOfDriveNumber(number)) {
            letters += *letter;
        }
    }
    return CopyDriveRoots(letters, bufferLength, buffer);
}

UINT TLinuxServices::GetDriveTypeA(const char* root) {
    std::optional<char> letter = root ? LetterOfRoot(root) : std::nullopt;
    return letter && ExistingDrive(*letter) ? drive_type::CdRom : drive_type::NoRootDir;
}

BOOL TLinuxServices::GetVolumeInformationA(const char* root, char* volumeName, DWORD volumeNameSize,
                                           DWORD* serialNumber, DWORD* maxComponentLength,
                                           DWORD* fileSystemFlags, char* fileSystemName,
                                           DWORD fileSystemNameSize) {
    std::optional<char> letter =
        root ? LetterOfRoot(root, TRootForm::LetterColonBackslash) : std::nullopt;
    if (!letter || !ExistingDrive(*letter)) {
        return Fail(3); // ERROR_PATH_NOT_FOUND
    }
    std::optional<std::string> label = kernel_.FileSystemLabel(DevicePathOfLetter(*letter));
    if (!label) {
        return Fail(21); // ERROR_NOT_READY: no medium or no readable file system
    }
    if (volumeName != nullptr && volumeNameSize > 0) {
        const std::size_t n = std::min<std::size_t>(label->size(), volumeNameSize - 1);
        std::memcpy(volumeName, label->data(), n);
        volumeName[n] = '\0';
    }
    if (fileSystemName != nullptr && fileSystemNameSize > 0) {
        fileSystemName[0] = '\0';
    }
    if (serialNumber) {
        *serialNumber = 0;
    }
    if (maxComponentLength) {
        *maxComponentLength = 255;
    }
    if (fileSystemFlags) {
        *fileSystemFlags = 0;
    }
    return TRUE_;
}

HANDLE TLinuxServices::CreateFileA(const char* path, DWORD /*desiredAccess*/, DWORD /*shareMode*/,
                                   DWORD /*creationDisposition*/, DWORD /*flagsAndAttributes*/) {
    std::optional<char> letter = path ? LetterOfDevicePath(path) : std::nullopt;
    if (!letter || !ExistingDrive(*letter)) {
        lastError_ = 2;
        return INVALID_HANDLE_VALUE;
    }
    const int fd = kernel_.Open(DevicePathOfLetter(*letter), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastError_ = WinErrorOf(errno);
        return INVALID_HANDLE_VALUE;
    }
    openDescriptors_.insert(fd);
    return HandleOfDescriptor(fd);
}

BOOL TLinuxServices::DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer,
                                     DWORD inBufferSize, void* outBuffer, DWORD outBufferSize,
                                     DWORD* bytesReturned) {
    const int fd = DescriptorOfHandle(device);
    if (device == INVALID_HANDLE_VALUE || !openDescriptors_.contains(fd)) {
        return Fail(ERROR_INVALID_HANDLE_);
    }
    if (ioControlCode != IOCTL_SCSI_PASS_THROUGH_DIRECT || inBuffer == nullptr ||
        inBuffer != outBuffer || inBufferSize != sizeof(TPassThroughRequest) ||
        outBufferSize != sizeof(TPassThroughRequest)) {
        return Fail(87); // ERROR_INVALID_PARAMETER
    }
    sg_io_hdr_t header;
    if (!RequestToSgIo(inBuffer, header)) {
        return Fail(87);
    }
    if (kernel_.SgIo(fd, header) != 0) {
        return Fail(WinErrorOf(errno));
    }
    if (!SgIoCarriedOut(header)) {
        return Fail(1117); // ERROR_IO_DEVICE
    }
    auto* request = static_cast<TPassThroughRequest*>(inBuffer);
    request->Spt.ScsiStatus = header.status;
    const int resid = std::clamp(header.resid, 0, static_cast<int>(header.dxfer_len));
    request->Spt.DataTransferLength = header.dxfer_len - static_cast<unsigned>(resid);
    request->Spt.SenseInfoLength = header.sb_len_wr;
    if (bytesReturned) {
        *bytesReturned = sizeof(TPassThroughRequest);
    }
    return TRUE_;
}

BOOL TLinuxServices::CloseHandle(HANDLE handle) {
    if (openTokens_.erase(handle) != 0) {
        return TRUE_;
    }
    const int fd = DescriptorOfHandle(handle);
    if (handle == INVALID_HANDLE_VALUE || openDescriptors_.erase(fd) == 0) {
        return Fail(ERROR_INVALID_HANDLE_);
    }
    kernel_.Close(fd);
    return TRUE_;
}

BOOL TLinuxServices::GetVersionExA(TOsVersionInfoA* info) {
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(TOsVersionInfoA)) {
        return Fail(122);
    }
    info->dwPlatformId = VER_PLATFORM_WIN32_NT_;
    info->dwMajorVersion = 10;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 0;
    std::snprintf(info->szCSDVersion, sizeof info->szCSDVersion, "Linux %s",
                  kernel_.KernelRelease().c_str());
    return TRUE_;
}

BOOL TLinuxServices::OpenThreadToken(DWORD, BOOL, HANDLE*) {
    return Fail(ERROR_NO_TOKEN_); // no impersonation on Linux: the process token decides
}

BOOL TLinuxServices::OpenProcessToken(DWORD, HANDLE* token) {
    *token = reinterpret_cast<HANDLE>(nextToken_);
    nextToken_ += 4;
    openTokens_.insert(*token);
    return TRUE_;
}

bool TLinuxServices::DriveAccessPrivileged() {
    const TProcessCredentials who = kernel_.Credentials();
    return who.root || who.rawIo ||
           (who.driveGroup &&
            std::find(who.groups.begin(), who.groups.end(), *who.driveGroup) != who.groups.end());
}

BOOL TLinuxServices::GetTokenInformation(HANDLE token, int informationClass, void* buffer,
                                         DWORD bufferLength, DWORD* returnLength) {
    if (!openTokens_.contains(token)) {
        return Fail(ERROR_INVALID_HANDLE_);
    }
    if (informationClass != TokenGroupsClass) {
        return Fail(87);
    }
    std::vector<TTokenGroup> groups = {TTokenGroup::Everyone()};
    std::vector<gid_t> gids = kernel_.Credentials().groups;
    std::sort(gids.begin(), gids.end());
    gids.erase(std::unique(gids.begin(), gids.end()), gids.end());
    for (gid_t gid : gids) {
        groups.push_back(TTokenGroup::UnixGroup(static_cast<DWORD>(gid)));
    }
    if (DriveAccessPrivileged()) {
        groups.push_back(TTokenGroup::Administrators());
    }
    if (!CopyTokenGroups(groups, buffer, bufferLength, returnLength)) {
        return Fail(ERROR_INSUFFICIENT_BUFFER_);
    }
    return TRUE_;
}

BOOL TLinuxServices::AllocateAndInitializeSid(const TSidIdentifierAuthority* authority,
                                              BYTE subAuthorityCount, DWORD s0, DWORD s1, DWORD s2,
                                              DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7,
                                              PSID* sid) {
    if (authority == nullptr || subAuthorityCount > 8 || sid == nullptr) {
        return Fail(87);
    }
    std::vector<DWORD> subs = {s0, s1, s2, s3, s4, s5, s6, s7};
    subs.resize(subAuthorityCount);
    *sid = sids_.Allocate(*authority, subs);
    return TRUE_;
}

BOOL TLinuxServices::EqualSid(PSID a, PSID b) {
    return SidsEqual(a, b) ? TRUE_ : FALSE_;
}

void TLinuxServices::FreeSid(PSID sid) {
    sids_.Free(sid);
}

void TLinuxServices::Sleep(DWORD milliseconds) {
    kernel_.SleepMilliseconds(milliseconds);
}

void TLinuxServices::ProcessMessages() {
    if (messagePump) {
        std::function<void()> pump = messagePump;
        pump();
    }
}

MCIERROR TLinuxServices::mciSendCommandA(MCIDEVICEID deviceId, UINT message, std::uintptr_t flags,
                                         void* parameters) {
    constexpr MCIERROR kInvalidDeviceId = 257;
    constexpr MCIERROR kHardware = 277;
    switch (message) {
    case mci::Open: {
        auto* open = static_cast<TMciOpenParms*>(parameters);
        if (open == nullptr || (flags & mci::OpenElement) == 0 ||
            open->lpstrElementName == nullptr || open->lpstrDeviceType == nullptr ||
            strcasecmp(open->lpstrDeviceType, "CDAudio") != 0) {
            return mci::ErrorDeviceOpen;
        }
        std::optional<char> letter = LetterOfRoot(open->lpstrElementName, TRootForm::LetterColon);
        if (!letter || !ExistingDrive(*letter)) {
            return mci::ErrorDeviceOpen;
        }
        const int fd = kernel_.Open(DevicePathOfLetter(*letter), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return mci::ErrorDeviceOpen;
        }
        open->wDeviceID = nextMciDevice_++;
        mciDevices_.emplace(open->wDeviceID, fd);
        return 0;
    }
    case mci::Set: {
        auto found = mciDevices_.find(deviceId);
        if (found == mciDevices_.end()) {
            return kInvalidDeviceId;
        }
        const bool doorOpen = (flags & mci::SetDoorOpen) != 0;
        const bool doorClosed = (flags & mci::SetDoorClosed) != 0;
        if (doorOpen == doorClosed) {
            return kHardware;
        }
        return kernel_.DoorIoctl(found->second, doorOpen ? CDROMEJECT : CDROMCLOSETRAY) == 0
                   ? 0
                   : kHardware;
    }
    case mci::Close: {
        auto found = mciDevices_.find(deviceId);
        if (found == mciDevices_.end()) {
            return kInvalidDeviceId;
        }
        kernel_.Close(found->second);
        mciDevices_.erase(found);
        return 0;
    }
    default:
        return 274; // MCIERR_UNRECOGNIZED_COMMAND
    }
}

} // namespace quenlith::linuxos
