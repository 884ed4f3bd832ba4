// Just enough JSON for the probe's output: strings, arrays and objects, in order.
#pragma once

#include <string>
#include <string_view>

namespace quenlith::probe {

// A JSON string literal. Texts are 8-bit characters in the system's code page; bytes of 128
// and above are written as the code points of the same number (Latin-1), so nothing is lost.
std::string JsonString(std::string_view text);

} // namespace quenlith::probe
