// Buffered, byte-exact reading of puzzle files.
#include "engine/puzzle_file.h"

#include <sys/stat.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace lumera {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kEndOfFileMark = 26;

[[noreturn]] void ThrowSystemError(int error) { throw std::runtime_error(std::strerror(error)); }

#ifdef _WIN32
// Windows file names reach the game as bytes of the ANSI code page; the wide API opens every
// name, also those the C library's narrow functions would mangle.
std::FILE* OpenRegularFile(const std::string& path, int& error) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    if (length <= 0) {
        error = ENOENT;
        return nullptr;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    std::FILE* file = _wfopen(wide.c_str(), L"rb");
    if (!file) {
        // A folder fails to open with "Permission denied"; say what it is instead.
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        error = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EISDIR : errno;
        return nullptr;
    }
    // A device such as NUL or CON opens, but only a regular file is read.
    struct _stat64 info {};
    if (_fstat64(_fileno(file), &info) != 0) error = errno;
    else if ((info.st_mode & _S_IFMT) == _S_IFDIR) error = EISDIR;
    else if ((info.st_mode & _S_IFMT) != _S_IFREG) error = EINVAL;
    if (error) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}
#else
// Opened without blocking so that a FIFO with no writer cannot hang the game; only a regular
// file is read, as a folder, a FIFO or a device such as /dev/zero never ends.
std::FILE* OpenRegularFile(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) error = errno;
    else if (S_ISDIR(info.st_mode)) error = EISDIR;
    else if (!S_ISREG(info.st_mode)) error = EINVAL;
    std::FILE* file = error ? nullptr : fdopen(fd, "rb");
    if (!file) {
        if (!error) error = errno;
        ::close(fd);
    }
    return file;
}
#endif
}  // namespace

PuzzleTextFile::PuzzleTextFile() : buffer_(new unsigned char[kBufferSize]) {}

PuzzleTextFile::~PuzzleTextFile() { Close(); }

void PuzzleTextFile::Open(const std::string& path) {
    Close();
    // A name holding a NUL byte names no file: the system would open only its first part.
    if (path.empty() || path.find('\0') != std::string::npos) ThrowSystemError(ENOENT);
    int error = 0;
    std::FILE* file = OpenRegularFile(path, error);
    if (!file) ThrowSystemError(error ? error : EIO);
    file_ = file;
    position_ = length_ = 0;
}

void PuzzleTextFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    position_ = length_ = 0;
}

void PuzzleTextFile::RequireOpen() const {
    if (!file_) throw std::runtime_error("The puzzle file is not open");
}

void PuzzleTextFile::Fill() {
    length_ = std::fread(buffer_.get(), 1, kBufferSize, file_);
    position_ = 0;
    if (length_ == 0 && std::ferror(file_)) {
        const int error = errno ? errno : EIO;
        std::clearerr(file_);
        ThrowSystemError(error);
    }
}

int PuzzleTextFile::Peek() {
    if (position_ == length_) Fill();
    return position_ < length_ ? buffer_[position_] : -1;
}

bool PuzzleTextFile::Eof() {
    RequireOpen();
    const int next = Peek();
    return next < 0 || next == kEndOfFileMark;
}

std::string PuzzleTextFile::ReadLine() {
    std::size_t fullLength = 0;
    return ReadLine(fullLength);
}

std::string PuzzleTextFile::ReadLine(std::size_t& fullLength) {
    RequireOpen();
    std::string line;
    fullLength = 0;
    for (;;) {
        const int c = Peek();
        if (c < 0 || c == kEndOfFileMark) break;
        ++position_;
        if (c == '\n') break;
        if (c == '\r') {
            if (Peek() == '\n') {
                ++position_;
                break;
            }
            continue;  // a lone CR is dropped
        }
        ++fullLength;
        if (line.size() < kMaxLineLength) line.push_back(static_cast<char>(c));
    }
    return line;
}

}  // namespace lumera
