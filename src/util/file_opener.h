// The engine's file opener port over the system's own calls: POSIX in file_opener_posix.cpp,
// Win32 in win32/file_opener_win32.cpp. Failures carry the system's own text.
#pragma once

#include "engine/ports.h"

namespace lumera::util {

// The program's file opener. Only regular files are opened (a folder, a FIFO or a device is
// refused at once, before anything is read); the file stays readable when it is deleted or
// renamed while open.
IFileOpener& SystemFileOpener();

}  // namespace lumera::util
