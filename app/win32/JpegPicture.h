// The background picture: a JPEG resource decoded by the system's picture support.
#pragma once

#include <windows.h>

namespace quenlith::app::win32 {

// A bitmap of the RCDATA resource name, or null when it cannot be decoded. The caller deletes
// it with DeleteObject.
HBITMAP LoadJpegResource(HINSTANCE instance, const char* name);

} // namespace quenlith::app::win32
