#include "ErrorBox.h"

#include <cctype>

namespace quenlith::app {

std::string ApplicationTitleOf(std::string_view executablePath) {
    std::string_view name = executablePath;
    if (std::size_t slash = name.find_last_of("\\/"); slash != std::string_view::npos) {
        name.remove_prefix(slash + 1);
    }
    name = name.substr(0, name.find('.'));
    std::string title(name);
    for (std::size_t i = 1; i < title.size(); ++i) {
        title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
    }
    return title;
}

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() &&
        static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

TErrorBox ErrorBoxFor(std::string_view applicationTitle, const std::exception& error) {
    return TErrorBox{std::string(applicationTitle), ErrorBoxText(error.what())};
}

bool RunHandler(const std::function<void()>& handler, std::string_view applicationTitle,
                const std::function<void(const TErrorBox&)>& show) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        show(ErrorBoxFor(applicationTitle, error));
    } catch (...) {
        show(TErrorBox{std::string(applicationTitle), "Unknown error."});
    }
    return false;
}

} // namespace quenlith::app
