// ShellOpen over ShellExecute: the default action (no verb) on a document or web address,
// no parameters, no working folder, show command 5; the result is not examined. The shell
// library is loaded on the first request, not at start.
#include "util/my_utils.h"

#include "util/win32/my_utils_win32.h"
#include "util/win32/system_library_win32.h"

#include <shellapi.h>

namespace lumera {

namespace {
HWND& Owner() {
    static HWND owner = nullptr;
    return owner;
}
// ShellExecuteA, looked up once; null without the shell library.
decltype(&::ShellExecuteA) ShellExecuteFunction() {
    static const auto function = win32::SystemFunction<decltype(&::ShellExecuteA)>(L"shell32.dll", "ShellExecuteA");
    return function;
}
}  // namespace

void win32::SetShellOpenOwner(HWND owner) { Owner() = owner; }

void PlatformShellOpen(const std::string& document) {
    // The name is in the ANSI code page, as the A function takes it. Without the shell
    // nothing opens, silently.
    if (const auto shellExecute = ShellExecuteFunction())
        shellExecute(Owner(), nullptr, document.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace lumera
