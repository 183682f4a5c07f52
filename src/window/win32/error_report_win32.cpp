// The stop-icon message of the top-level error report.
#include "window/win32/error_report_win32.h"

#include "util/win32/ansi_text_win32.h"
#include "window/window_texts.h"

namespace lumera::win32 {

void ShowErrorReport(HWND owner, const std::string& what) {
    MessageBoxW(owner, FromAnsi(ErrorReportText(what)).c_str(), FromAnsi(kApplicationTitle).c_str(),
                MB_ICONSTOP | MB_OK);
}

}  // namespace lumera::win32
