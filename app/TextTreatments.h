// The character work behind the identification fields and the list box.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quenlith::app {

// Characters first to last (counted from 1) of text: first to min(last, size), the empty text
// when first is past the end. Nothing is padded.
std::string CutChars(std::string_view text, std::size_t first, std::size_t last);

// Removes every leading and trailing character of code 0 to 32.
std::string Trim(std::string_view text);

// A copy of text in which every character of code 1 to 31 or 128 to 255 is a blank.
std::string ReplaceControlChars(std::string_view text);

// The lines of a text as a list box takes them: split at CR LF (or a lone CR or LF), an empty
// line kept as an item, no item for a break at the very end, no item at all for the empty text.
std::vector<std::string> SplitLines(std::string_view text);

} // namespace quenlith::app
