// The real services of the system the program runs on.
#pragma once

#include "OsServices.h"

#include <functional>
#include <memory>
#include <string>

namespace quenlith {

struct TPlatformServices {
    std::unique_ptr<TOsServices> services;
    // The device a drive letter stands for here ("\\.\D:", "/dev/sr0").
    std::function<std::string(char letter)> devicePathOf;
};

// The real services; services is empty (with the reason in whyNot) on a build without them.
TPlatformServices MakePlatformServices(std::string& whyNot);

} // namespace quenlith
