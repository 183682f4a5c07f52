// ShellOpen on Windows: the window that owns the shell's requests.
#pragma once

#include <windows.h>

namespace lumera::win32 {

// The window passed as owner to ShellExecute (the main window); none until it is set.
void SetShellOpenOwner(HWND owner);

}  // namespace lumera::win32
