// The dialogs port on Win32: message boxes, an input box built in memory, and the common
// file-open dialog.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "engine/ports.h"

namespace lumera::win32 {

class Win32Dialogs final : public IDialogs {
public:
    // owner: the window the dialogs belong to (disabled while one is open); may be set later.
    explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void ShowInformation(const std::string& text) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool InputBox(const std::string& caption, const std::string& prompt, std::string& text) override;
    std::optional<std::string> ChooseFile(const std::string& filter, const std::string& defaultExtension) override;

private:
    HWND owner_;
};

// The control identifiers of the input box, for those who answer it.
inline constexpr int kInputBoxPromptId = 101;
inline constexpr int kInputBoxEditId = 102;

// "Name|pattern|Name|pattern" as the file dialog's list of pairs ending in two zeros.
std::wstring FileDialogFilter(const std::string& filter);
// A path the runtime's narrow (ANSI) file functions open: the path itself when the code page
// holds all its characters, otherwise its short 8.3 form. Throws when neither can be had.
std::string OpenableAnsiPath(const std::wstring& path);

}  // namespace lumera::win32
