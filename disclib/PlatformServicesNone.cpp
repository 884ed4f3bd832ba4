#include "PlatformServices.h"

namespace quenlith {

TPlatformServices MakePlatformServices(std::string& whyNot) {
    whyNot = "this build has no real drive access for this system";
    return {};
}

} // namespace quenlith
