#include "../PlatformServices.h"
#include "LinuxKernel.h"
#include "LinuxServices.h"

namespace quenlith {

TPlatformServices MakePlatformServices(std::string& /*whyNot*/) {
    TPlatformServices platform;
    platform.services =
        std::make_unique<linuxos::TLinuxServices>(std::make_unique<linuxos::TRealLinuxKernel>());
    platform.devicePathOf = [](char letter) { return linuxos::DevicePathOfLetter(letter); };
    return platform;
}

} // namespace quenlith
