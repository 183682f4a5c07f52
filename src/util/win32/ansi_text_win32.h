// Game texts (bytes in the ANSI code page) to and from the wide strings of the Win32 API.
#pragma once

#include <windows.h>

#include <string>

namespace lumera::win32 {

// The wide text of ANSI bytes.
inline std::wstring FromAnsi(const std::string& bytes) {
    if (bytes.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

// The ANSI bytes of a wide text; a character the code page cannot hold becomes its default
// character. lossless, when given, tells whether every character could be held.
inline std::string ToAnsi(const std::wstring& text, bool* lossless = nullptr) {
    if (lossless) *lossless = true;
    if (text.empty()) return {};
    BOOL usedDefault = FALSE;
    // Best-fit mapping would turn a character into a look-alike and name another file. A
    // system whose ANSI code page is UTF-8 holds every character and takes neither option.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* usedDefaultOut = lossless && !utf8 ? &usedDefault : nullptr;
    const int length = WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, usedDefaultOut);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        usedDefaultOut);
    if (lossless) *lossless = usedDefault == FALSE;
    return bytes;
}

}  // namespace lumera::win32
