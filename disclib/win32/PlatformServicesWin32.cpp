#include "../DriveRoutines.h"
#include "../PlatformServices.h"
#include "Win32Services.h"

namespace quenlith {

TPlatformServices MakePlatformServices(std::string& /*whyNot*/) {
    TPlatformServices platform;
    platform.services = std::make_unique<win32::TWin32Services>();
    platform.devicePathOf = &DevicePathOf;
    return platform;
}

} // namespace quenlith
