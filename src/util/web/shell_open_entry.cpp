// ShellOpen's entry until the shared one lands: the test hook, else the browser's way.
#include <utility>

#include "util/my_utils.h"

namespace lumera {

void PlatformShellOpen(const std::string& document);

namespace {
ShellOpenHook& Hook() {
    static ShellOpenHook hook;
    return hook;
}
}  // namespace

void SetShellOpenHook(ShellOpenHook hook) { Hook() = std::move(hook); }

void ShellOpen(const std::string& document) {
    if (Hook()) {
        Hook()(document);
        return;
    }
    PlatformShellOpen(document);
}

}  // namespace lumera
