// Buffered, byte-exact reading of puzzle files.
#include "engine/puzzle_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace lumera {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kEndOfFileMark = 26;

[[noreturn]] void ThrowSystemError(int error) { throw std::runtime_error(std::strerror(error)); }
}  // namespace

PuzzleTextFile::PuzzleTextFile() : buffer_(new unsigned char[kBufferSize]) {}

PuzzleTextFile::~PuzzleTextFile() { Close(); }

void PuzzleTextFile::Open(const std::string& path) {
    Close();
    // A name holding a NUL byte names no file: the system would open only its first part.
    if (path.empty() || path.find('\0') != std::string::npos) ThrowSystemError(ENOENT);
    // Opened without blocking so that a FIFO with no writer cannot hang the game; only a
    // regular file is read, as a folder, a FIFO or a device such as /dev/zero never ends.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) ThrowSystemError(errno);
    struct stat info {};
    int error = 0;
    if (fstat(fd, &info) != 0) error = errno;
    else if (S_ISDIR(info.st_mode)) error = EISDIR;
    else if (!S_ISREG(info.st_mode)) error = EINVAL;
    std::FILE* file = error ? nullptr : fdopen(fd, "rb");
    if (!file) {
        if (!error) error = errno;
        ::close(fd);
        ThrowSystemError(error);
    }
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
