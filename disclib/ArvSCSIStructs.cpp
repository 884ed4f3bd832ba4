#include "ArvSCSIStructs.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace quenlith {

TPassThroughRequest MakePassThroughRequest(const TScsiCommandRow& row, void* dataBuffer) {
    TPassThroughRequest request;
    std::memset(&request, 0, sizeof request);
    request.Spt.Length = static_cast<WORD>(kPassThroughHeaderSize);
    request.Spt.CdbLength = row.cdbLength;
    request.Spt.SenseInfoLength = row.senseInfoLength;
    request.Spt.DataIn = SCSI_IOCTL_DATA_IN;
    request.Spt.DataTransferLength = row.dataTransferLength;
    request.Spt.TimeOutValue = row.timeOutValue;
    request.Spt.DataBuffer = dataBuffer;
    request.Spt.SenseInfoOffset = static_cast<DWORD>(kSenseInfoOffset);
    std::copy_n(row.cdb.begin(), row.cdbLength, request.Spt.Cdb);
    return request;
}

bool SendScsiCommand(TOsServices& os, HANDLE device, ScsiCommand command, std::span<BYTE> buffer) {
    const TScsiCommandRow& row = CommandRow(command);
    assert(buffer.size() == row.dataTransferLength);
    if (row.zeroBuffer) {
        std::fill(buffer.begin(), buffer.end(), BYTE{0});
    }
    TPassThroughRequest request =
        MakePassThroughRequest(row, buffer.empty() ? nullptr : buffer.data());
    DWORD returned = 0;
    return os.DeviceIoControl(device, IOCTL_SCSI_PASS_THROUGH_DIRECT, &request, sizeof request,
                              &request, sizeof request, &returned) != 0;
}

WORD ReadBigEndianWord(std::span<const BYTE> response, std::size_t offset) {
    WORD littleEndianLoad = static_cast<WORD>(response[offset] | (response[offset + 1] << 8));
    return SwapWord(littleEndianLoad);
}

} // namespace quenlith
