#include "TextTreatments.h"

namespace quenlith::app {

std::string CutChars(std::string_view text, std::size_t first, std::size_t last) {
    if (first == 0 || first > text.size() || last < first) {
        return {};
    }
    return std::string(text.substr(first - 1, last - first + 1));
}

std::string Trim(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string ReplaceControlChars(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        const auto code = static_cast<unsigned char>(c);
        if ((code >= 1 && code <= 31) || code >= 128) {
            c = ' ';
        }
    }
    return result;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

} // namespace quenlith::app
