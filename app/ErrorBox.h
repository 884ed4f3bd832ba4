// The application's error box: how an error that escapes a handler is shown.
#pragma once

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quenlith::app {

// An error a handler raises with one of its fixed messages.
class EAppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The application title the platform forms from the executable's file name: no directory,
// cut before the first ".", every character after the first in lower case
// ("C:\Tools\SAMPLE.TOOL.EXE" gives "Sample").
std::string ApplicationTitleOf(std::string_view executablePath);

// The box's text: the message, with a "." appended when the message is not empty and its last
// character's code is above that of ".".
std::string ErrorBoxText(std::string_view message);

struct TErrorBox {
    std::string caption;
    std::string text;
};

TErrorBox ErrorBoxFor(std::string_view applicationTitle, const std::exception& error);

// Runs one handler the way the message loop does: an error it raises ends it and is shown with
// show(); the application goes on. Answers whether the handler ran to its end.
bool RunHandler(const std::function<void()>& handler, std::string_view applicationTitle,
                const std::function<void(const TErrorBox&)>& show);

} // namespace quenlith::app
