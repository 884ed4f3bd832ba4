// The program's start on Windows: Form1 over the given services, then the message loop.
#pragma once

#include "OsServices.h"

#include <windows.h>

namespace quenlith::app::win32 {

int RunQuenlithWindow(HINSTANCE instance, TOsServices& os, int showCommand);

} // namespace quenlith::app::win32
