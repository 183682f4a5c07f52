// The system's own text for a Windows error code, as failures carry it.
#pragma once

#include <windows.h>

#include <string>

namespace lumera::win32 {

// FormatMessage's text for an error code, in the ANSI code page, without the line break it
// ends with; "System error N" when the system has no text for the code.
std::string SystemErrorText(DWORD error);

}  // namespace lumera::win32
