// Opening and reading files with POSIX calls (Linux, and the browser's emulated file system);
// errors carry the C library's text (strerror).
#include "util/file_opener.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace lumera::util {

namespace {

[[noreturn]] void ThrowSystemError(int error) { throw std::runtime_error(std::strerror(error)); }

class PosixFileReader final : public IFileReader {
public:
    explicit PosixFileReader(int descriptor) : descriptor_(descriptor) {}
    ~PosixFileReader() override { ::close(descriptor_); }
    PosixFileReader(const PosixFileReader&) = delete;
    PosixFileReader& operator=(const PosixFileReader&) = delete;

    std::size_t Read(unsigned char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t count = ::read(descriptor_, buffer, size);
            if (count >= 0) return static_cast<std::size_t>(count);
            if (errno != EINTR) ThrowSystemError(errno);
        }
    }

private:
    int descriptor_;
};

class PosixFileOpener final : public IFileOpener {
public:
    std::unique_ptr<IFileReader> OpenForReading(const std::string& path) override {
        // A name holding a NUL byte names no file: the system would open only its first part.
        if (path.empty() || path.find('\0') != std::string::npos) ThrowSystemError(ENOENT);
        // Opened without blocking so that a FIFO with no writer cannot hang the game; only a
        // regular file is read, as a folder, a FIFO or a device such as /dev/zero never ends.
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0) ThrowSystemError(errno);
        auto reader = std::make_unique<PosixFileReader>(descriptor);  // closes it on a refusal
        struct stat info {};
        if (::fstat(descriptor, &info) != 0) ThrowSystemError(errno);
        if (S_ISDIR(info.st_mode)) ThrowSystemError(EISDIR);
        if (!S_ISREG(info.st_mode)) ThrowSystemError(EINVAL);
        return reader;
    }
};

}  // namespace

IFileOpener& SystemFileOpener() {
    static PosixFileOpener opener;
    return opener;
}

}  // namespace lumera::util
