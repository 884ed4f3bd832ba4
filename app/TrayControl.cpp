#include "Unit1.h"

namespace quenlith::app {
namespace {

void DoorCommand(TOsServices& os, char letter, DWORD doorFlag) {
    const char element[] = {letter, ':', '\0'};
    TMciOpenParms open{};
    open.dwCallback = 0;
    open.lpstrDeviceType = "CDAudio";
    open.lpstrElementName = element;
    if (os.mciSendCommandA(0, mci::Open, mci::OpenType | mci::OpenElement, &open) != 0) {
        return;
    }
    const auto device = static_cast<WORD>(open.wDeviceID);
    os.mciSendCommandA(device, mci::Set, doorFlag, nullptr);
    // Closed once after every successful open, whatever the door command answered.
    os.mciSendCommandA(device, mci::Close, 0, &open);
}

} // namespace

void EjectTray(TOsServices& os, char letter) {
    DoorCommand(os, letter, mci::SetDoorOpen);
}

void CloseTray(TOsServices& os, char letter) {
    DoorCommand(os, letter, mci::SetDoorClosed);
}

} // namespace quenlith::app
