// ShellOpen: hands a document or web address to the desktop's default application.
#pragma once

#include <functional>
#include <string>

namespace lumera {

// Opens a web address, or a file name relative to the current folder, with the desktop's
// default application. The result is not examined; a missing file is silently ignored.
void ShellOpen(const std::string& document);

// Replaces what ShellOpen does (tests record the requests); an empty hook restores it.
using ShellOpenHook = std::function<void(const std::string&)>;
void SetShellOpenHook(ShellOpenHook hook);

// What ShellOpen does without a hook; each platform's util library defines it.
void PlatformShellOpen(const std::string& document);

}  // namespace lumera
