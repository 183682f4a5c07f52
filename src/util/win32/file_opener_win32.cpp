// Opening and reading files with the wide Win32 calls; errors carry the system's own text
// (FormatMessage of the Windows error code).
#include "util/file_opener.h"

#include <stdexcept>
#include <string>

#include "util/win32/system_error_win32.h"

namespace lumera::util {

namespace {

[[noreturn]] void ThrowSystemError(DWORD error) { throw std::runtime_error(win32::SystemErrorText(error)); }

class Win32FileReader final : public IFileReader {
public:
    explicit Win32FileReader(HANDLE file) : file_(file) {}
    ~Win32FileReader() override { CloseHandle(file_); }
    Win32FileReader(const Win32FileReader&) = delete;
    Win32FileReader& operator=(const Win32FileReader&) = delete;

    std::size_t Read(unsigned char* buffer, std::size_t size) override {
        DWORD count = 0;
        const DWORD wanted = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
        if (!ReadFile(file_, buffer, wanted, &count, nullptr)) ThrowSystemError(GetLastError());
        return count;
    }

private:
    HANDLE file_;
};

class Win32FileOpener final : public IFileOpener {
public:
    std::unique_ptr<IFileReader> OpenForReading(const std::string& path) override {
        // A name holding a NUL byte names no file: the system would open only its first part.
        if (path.empty() || path.find('\0') != std::string::npos) ThrowSystemError(ERROR_FILE_NOT_FOUND);
        // File names reach the game as bytes of the ANSI code page; the wide API opens every
        // name, also those the narrow calls would mangle.
        const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
        if (length <= 0) ThrowSystemError(ERROR_FILE_NOT_FOUND);
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
        // Shared for deleting too, so that the player can delete or replace the file while the
        // game has it open, as on Linux. A folder fails to open here, with access denied.
        constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) ThrowSystemError(GetLastError());
        auto reader = std::make_unique<Win32FileReader>(file);  // closes it on a refusal
        // A device such as NUL or CON, or a pipe, opens, but only a file on disk is read.
        if (GetFileType(file) != FILE_TYPE_DISK) ThrowSystemError(ERROR_INVALID_PARAMETER);
        return reader;
    }
};

}  // namespace

IFileOpener& SystemFileOpener() {
    static Win32FileOpener opener;
    return opener;
}

}  // namespace lumera::util
