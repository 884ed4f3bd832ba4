#include "EmulatedMachine.h"

#include "../DriveRoutines.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace quenlith::emulated {
namespace {

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string Hex(unsigned long long value, int width = 0) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*llX", width, value);
    return text;
}

} // namespace

TEmulatedDrive* TMachineDescription::Drive(char letter) {
    for (TEmulatedDrive& drive : drives) {
        if (Upper(drive.letter) == Upper(letter)) {
            return &drive;
        }
    }
    return nullptr;
}

TEmulatedMachine::TEmulatedMachine(TMachineDescription description)
    : description_(std::move(description)) {}

TEmulatedMachine::~TEmulatedMachine() = default;

std::size_t TEmulatedMachine::CountCalls(std::string_view prefix) const {
    return static_cast<std::size_t>(
        std::count_if(calls_.begin(), calls_.end(), [&](const std::string& c) {
            return std::string_view(c).substr(0, prefix.size()) == prefix;
        }));
}

void TEmulatedMachine::ClearRecords() {
    calls_.clear();
    requests_.clear();
}

bool TEmulatedMachine::Clean() const {
    return handles_.empty() && mciDevices_.empty() && sids_.Count() == 0 && faults_.empty();
}

std::string TEmulatedMachine::Report() const {
    std::string text = std::to_string(handles_.size()) + " handle(s) open, " +
                       std::to_string(mciDevices_.size()) + " MCI device(s) open, " +
                       std::to_string(sids_.Count()) + " SID(s) not freed";
    for (const std::string& fault : faults_) {
        text += "; " + fault;
    }
    return text;
}

HANDLE TEmulatedMachine::NewHandle(THandleInfo info) {
    HANDLE handle = reinterpret_cast<HANDLE>(nextHandle_);
    nextHandle_ += 4;
    handles_.emplace(handle, info);
    return handle;
}

DWORD TEmulatedMachine::GetLogicalDriveStringsA(DWORD bufferLength, char* buffer) {
    Record("GetLogicalDriveStringsA " + std::to_string(bufferLength));
    if (description_.driveStringsFail) {
        lastError_ = ERROR_ACCESS_DENIED_;
        return 0;
    }
    std::string letters;
    for (const TEmulatedDrive& drive : description_.drives) {
        letters += drive.letter;
    }
    const DWORD length = CopyDriveRoots(letters, bufferLength, buffer);
    if (buffer == nullptr || length > bufferLength) {
        return length;
    }
    return description_.driveStringsAnswer.value_or(length);
}

UINT TEmulatedMachine::GetDriveTypeA(const char* root) {
    Record(std::string("GetDriveTypeA ") + (root ? root : "(null)"));
    std::optional<char> letter = root ? LetterOfRoot(root) : std::nullopt;
    TEmulatedDrive* drive = letter ? Drive(*letter) : nullptr;
    return drive ? drive->type : drive_type::NoRootDir;
}

BOOL TEmulatedMachine::GetVolumeInformationA(const char* root, char* volumeName,
                                             DWORD volumeNameSize, DWORD* serialNumber,
                                             DWORD* maxComponentLength, DWORD* fileSystemFlags,
                                             char* fileSystemName, DWORD fileSystemNameSize) {
    Record(std::string("GetVolumeInformationA ") + (root ? root : "(null)"));
    std::optional<char> letter =
        root ? LetterOfRoot(root, TRootForm::LetterColonBackslash) : std::nullopt;
    TEmulatedDrive* drive = letter ? Drive(*letter) : nullptr;
    if (drive == nullptr || !drive->volumeLabel) {
        return Fail(21); // ERROR_NOT_READY
    }
    const std::string& label = *drive->volumeLabel;
    if (volumeName != nullptr && volumeNameSize > 0) {
        std::size_t n = std::min<std::size_t>(label.size(), volumeNameSize - 1);
        std::memcpy(volumeName, label.data(), n);
        volumeName[n] = '\0';
    }
    if (fileSystemName != nullptr && fileSystemNameSize > 0) {
        std::snprintf(fileSystemName, fileSystemNameSize, "%s", drive->mmc ? "CDFS" : "NTFS");
    }
    if (serialNumber) {
        *serialNumber = 0x1234ABCDu;
    }
    if (maxComponentLength) {
        *maxComponentLength = 110;
    }
    if (fileSystemFlags) {
        *fileSystemFlags = 0x80000;
    }
    return TRUE_;
}

HANDLE TEmulatedMachine::CreateFileA(const char* path, DWORD desiredAccess, DWORD shareMode,
                                     DWORD creationDisposition, DWORD flagsAndAttributes) {
    Record(std::string("CreateFileA ") + (path ? path : "(null)") +
           " access=" + Hex(desiredAccess) + " share=" + Hex(shareMode) +
           " disposition=" + Hex(creationDisposition) + " flags=" + Hex(flagsAndAttributes));
    std::optional<char> letter = path ? LetterOfDevicePath(path) : std::nullopt;
    TEmulatedDrive* drive = letter ? Drive(*letter) : nullptr;
    if (drive == nullptr) {
        lastError_ = 2; // ERROR_FILE_NOT_FOUND
        return INVALID_HANDLE_VALUE;
    }
    if (drive->openFails) {
        lastError_ = ERROR_ACCESS_DENIED_;
        return INVALID_HANDLE_VALUE;
    }
    return NewHandle({THandleInfo::Kind::Drive, drive->letter, nullptr});
}

BOOL TEmulatedMachine::DeviceIoControl(HANDLE device, DWORD ioControlCode, void* inBuffer,
                                       DWORD inBufferSize, void* outBuffer, DWORD outBufferSize,
                                       DWORD* bytesReturned) {
    auto* request = static_cast<TPassThroughRequest*>(inBuffer);
    const bool wellFormed = request != nullptr && inBufferSize == sizeof(TPassThroughRequest);
    if (wellFormed) {
        Record("DeviceIoControl " + Hex(request->Spt.Cdb[0], 2));
        requests_.push_back(*request);
    } else {
        Record("DeviceIoControl");
    }
    if (device == INVALID_HANDLE_VALUE) {
        return Fail(ERROR_INVALID_HANDLE_);
    }
    auto found = handles_.find(device);
    if (found == handles_.end()) {
        Fault("DeviceIoControl on unknown handle " + Hex(reinterpret_cast<std::uintptr_t>(device)));
        return Fail(ERROR_INVALID_HANDLE_);
    }
    if (found->second.kind != THandleInfo::Kind::Drive) {
        return Fail(ERROR_INVALID_HANDLE_);
    }
    if (ioControlCode != IOCTL_SCSI_PASS_THROUGH_DIRECT || !wellFormed || outBuffer != inBuffer ||
        outBufferSize != sizeof(TPassThroughRequest) ||
        request->Spt.Length != kPassThroughHeaderSize ||
        request->Spt.SenseInfoOffset != kSenseInfoOffset || request->Spt.CdbLength > 16 ||
        request->Spt.SenseInfoLength > kSenseAreaSize ||
        (request->Spt.DataTransferLength > 0 && request->Spt.DataBuffer == nullptr)) {
        Fault("malformed pass-through request");
        return Fail(87); // ERROR_INVALID_PARAMETER
    }
    TEmulatedDrive* drive = Drive(found->second.letter);
    std::span<BYTE> data(static_cast<BYTE*>(request->Spt.DataBuffer),
                         request->Spt.DataTransferLength);
    std::span<const BYTE> cdb(request->Spt.Cdb, request->Spt.CdbLength);
    TScsiReply reply;
    if (drive != nullptr && drive->mmc) {
        reply = drive->mmc->Execute(cdb, data);
    } else if (drive != nullptr && !drive->inquiry.empty()) {
        // A device that is no MMC drive: it answers INQUIRY and refuses the rest.
        TMmcDriveModel plain;
        plain.inquiry = drive->inquiry;
        plain.mediumPresent = true;
        reply = !cdb.empty() && cdb[0] == 0x12
                    ? plain.Execute(cdb, data)
                    : TScsiReply{true, kStatusCheckCondition, {0x70, 0, 5}, 0};
    } else {
        reply.carriedOut = false;
    }
    if (!reply.carriedOut) {
        return Fail(1117); // ERROR_IO_DEVICE
    }
    request->Spt.ScsiStatus = reply.status;
    request->Spt.DataTransferLength = static_cast<DWORD>(reply.transferred);
    std::size_t senseBytes =
        std::min<std::size_t>(reply.sense.size(), request->Spt.SenseInfoLength);
    std::copy_n(reply.sense.begin(), senseBytes, request->SenseBuf);
    if (bytesReturned) {
        *bytesReturned = sizeof(TPassThroughRequest);
    }
    return TRUE_;
}

BOOL TEmulatedMachine::CloseHandle(HANDLE handle) {
    Record("CloseHandle");
    if (handles_.erase(handle) == 0) {
        Fault("CloseHandle on a handle not open: " + Hex(reinterpret_cast<std::uintptr_t>(handle)));
        return Fail(ERROR_INVALID_HANDLE_);
    }
    return TRUE_;
}

BOOL TEmulatedMachine::GetVersionExA(TOsVersionInfoA* info) {
    Record("GetVersionExA");
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(TOsVersionInfoA)) {
        Fault("GetVersionExA with a wrong record size");
        return Fail(122);
    }
    if (description_.versionQueryFails) {
        return Fail(1);
    }
    info->dwMajorVersion = description_.majorVersion;
    info->dwMinorVersion = description_.minorVersion;
    info->dwBuildNumber = 19045;
    info->dwPlatformId = description_.platformId;
    info->szCSDVersion[0] = '\0';
    return TRUE_;
}

BOOL TEmulatedMachine::OpenThreadToken(DWORD desiredAccess, BOOL /*openAsSelf*/, HANDLE* token) {
    Record("OpenThreadToken");
    switch (description_.threadToken) {
    case ThreadTokenState::None:
        return Fail(ERROR_NO_TOKEN_);
    case ThreadTokenState::Fails:
        return Fail(description_.threadTokenError);
    case ThreadTokenState::Impersonating:
        break;
    }
    if ((desiredAccess & TOKEN_QUERY_) == 0) {
        Fault("token opened without TOKEN_QUERY");
    }
    *token = NewHandle({THandleInfo::Kind::Token, 0, &description_.threadTokenGroups});
    return TRUE_;
}

BOOL TEmulatedMachine::OpenProcessToken(DWORD desiredAccess, HANDLE* token) {
    Record("OpenProcessToken");
    if (description_.processTokenFails) {
        return Fail(ERROR_ACCESS_DENIED_);
    }
    if ((desiredAccess & TOKEN_QUERY_) == 0) {
        Fault("token opened without TOKEN_QUERY");
    }
    *token = NewHandle({THandleInfo::Kind::Token, 0, &description_.processToken});
    return TRUE_;
}

BOOL TEmulatedMachine::GetTokenInformation(HANDLE token, int informationClass, void* buffer,
                                           DWORD bufferLength, DWORD* returnLength) {
    Record("GetTokenInformation " + std::to_string(bufferLength));
    auto found = handles_.find(token);
    if (found == handles_.end() || found->second.kind != THandleInfo::Kind::Token) {
        Fault("GetTokenInformation on a handle that is no open token");
        return Fail(ERROR_INVALID_HANDLE_);
    }
    if (informationClass != TokenGroupsClass) {
        return Fail(87);
    }
    if (!CopyTokenGroups(found->second.token->groups, buffer, bufferLength, returnLength)) {
        return Fail(ERROR_INSUFFICIENT_BUFFER_);
    }
    return TRUE_;
}

BOOL TEmulatedMachine::AllocateAndInitializeSid(const TSidIdentifierAuthority* authority,
                                                BYTE subAuthorityCount, DWORD s0, DWORD s1,
                                                DWORD s2, DWORD s3, DWORD s4, DWORD s5, DWORD s6,
                                                DWORD s7, PSID* sid) {
    Record("AllocateAndInitializeSid");
    if (description_.sidAllocationFails || subAuthorityCount > 8 || authority == nullptr) {
        return Fail(87);
    }
    std::vector<DWORD> subs = {s0, s1, s2, s3, s4, s5, s6, s7};
    subs.resize(subAuthorityCount);
    *sid = sids_.Allocate(*authority, subs);
    return TRUE_;
}

BOOL TEmulatedMachine::EqualSid(PSID a, PSID b) {
    Record("EqualSid");
    return SidsEqual(a, b) ? TRUE_ : FALSE_;
}

void TEmulatedMachine::FreeSid(PSID sid) {
    Record("FreeSid");
    if (!sids_.Free(sid)) {
        Fault("FreeSid on a SID not allocated");
    }
}

void TEmulatedMachine::Sleep(DWORD milliseconds) {
    Record("Sleep " + std::to_string(milliseconds));
}

void TEmulatedMachine::ProcessMessages() {
    Record("ProcessMessages");
    if (onProcessMessages) {
        // A copy, so a handler may replace the hook while it runs.
        std::function<void()> hook = onProcessMessages;
        hook();
    }
}

MCIERROR TEmulatedMachine::mciSendCommandA(MCIDEVICEID deviceId, UINT message, std::uintptr_t flags,
                                           void* parameters) {
    switch (message) {
    case mci::Open: {
        auto* open = static_cast<TMciOpenParms*>(parameters);
        const char* element = open && open->lpstrElementName ? open->lpstrElementName : "";
        Record(std::string("mciSendCommandA MCI_OPEN ") + element);
        if (deviceId != 0 || open == nullptr || flags != (mci::OpenType | mci::OpenElement) ||
            open->lpstrDeviceType == nullptr) {
            Fault("malformed MCI_OPEN");
            return mci::ErrorDeviceOpen;
        }
        std::string type = open->lpstrDeviceType;
        std::transform(type.begin(), type.end(), type.begin(), [](char c) { return Upper(c); });
        std::optional<char> letter = LetterOfRoot(element, TRootForm::LetterColon);
        TEmulatedDrive* drive = letter ? Drive(*letter) : nullptr;
        if (type != "CDAUDIO" || drive == nullptr || !drive->mmc || drive->mciOpenFails) {
            return mci::ErrorDeviceOpen;
        }
        open->wDeviceID = nextMciDevice_++;
        mciDevices_.emplace(open->wDeviceID, drive->letter);
        return 0;
    }
    case mci::Set: {
        const bool doorOpen = (flags & mci::SetDoorOpen) != 0;
        const bool doorClosed = (flags & mci::SetDoorClosed) != 0;
        Record(std::string("mciSendCommandA MCI_SET") + (doorOpen     ? " door open"
                                                         : doorClosed ? " door closed"
                                                                      : ""));
        auto found = mciDevices_.find(deviceId);
        if (found == mciDevices_.end()) {
            Fault("MCI_SET on a device not open");
            return 257; // MCIERR_INVALID_DEVICE_ID
        }
        TEmulatedDrive* drive = Drive(found->second);
        if (doorOpen == doorClosed || drive == nullptr || drive->mciSetFails) {
            return 277; // MCIERR_HARDWARE
        }
        drive->mmc->trayOpen = doorOpen;
        return 0;
    }
    case mci::Close: {
        Record("mciSendCommandA MCI_CLOSE");
        if (mciDevices_.erase(deviceId) == 0) {
            Fault("MCI_CLOSE on a device not open");
            return 257;
        }
        return 0;
    }
    default:
        Record("mciSendCommandA " + Hex(message));
        return 274; // MCIERR_UNRECOGNIZED_COMMAND
    }
}

} // namespace quenlith::emulated
