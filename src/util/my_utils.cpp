// ShellOpen's one entry: the test hook, else the platform's way of opening a document.
#include "util/my_utils.h"

#include <utility>

namespace lumera {

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
