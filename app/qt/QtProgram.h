// The program's start on Linux: the application object, Form1, the message loop.
#pragma once

#include "OsServices.h"

#include <functional>

namespace quenlith::app::qt {

// Runs the window over os; installPump receives the routine that dispatches pending events,
// for the services' ProcessMessages. Answers the process's exit code.
int RunQuenlithWindow(int& argc, char** argv, TOsServices& os,
                      const std::function<void(std::function<void()>)>& installPump);

} // namespace quenlith::app::qt
