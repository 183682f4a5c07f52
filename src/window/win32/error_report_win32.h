// The top-level error report: an error that escapes an event handler is shown with the stop
// icon, and the program goes on.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace lumera::win32 {

// A message box with the stop icon, the error's text with the full-stop rule applied, and
// the application title as caption.
void ShowErrorReport(HWND owner, const std::string& what);

// Runs an event handler; an exception that leaves it is reported and goes no further, since
// an exception must never unwind through the system's code that called a window procedure.
template <typename Handler>
void RunHandler(HWND owner, Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorReport(owner, error.what());
    }
}

}  // namespace lumera::win32
