// Whole-file reading and the crash-safe replacement of a file: written beside it, flushed and
// renamed into place, under an exclusive lock on a file next to it; a damaged file is set
// aside under a new name, never overwritten. Qt-free (POSIX).
#include "util/safe_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace lumera::util {

namespace fs = std::filesystem;

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now and reports the result, so that a late write error is not lost.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

}  // namespace

std::runtime_error SystemError(const std::string& what, const fs::path& path, int error) {
    return std::runtime_error(what + " " + path.string() + ": " + std::strerror(error));
}

bool ReadFileBytes(const fs::path& path, std::string& bytes, int& error) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        error = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count == 0) return true;
        if (count < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

fs::path WithSuffix(const fs::path& path, const std::string& suffix) {
    fs::path result = path;
    result += suffix;
    return result;
}

// The rename refuses an existing target, so no other file is ever replaced.
void SetAside(const fs::path& file) {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, ".bad-%Y%m%d-%H%M%S", &local);
    for (int attempt = 1; attempt < 100000; ++attempt) {
        const fs::path target = WithSuffix(file, stamp + (attempt == 1 ? std::string() : "-" + std::to_string(attempt)));
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return;
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) throw SystemError("Cannot set aside", file, errno);
        // The file system cannot refuse a rename target: a hard link refuses it just as well.
        if (::link(file.c_str(), target.c_str()) == 0) {
            ::unlink(file.c_str());
            return;
        }
        if (errno != EEXIST) throw SystemError("Cannot set aside", file, errno);
    }
    throw SystemError("Cannot set aside", file, EEXIST);
}

void ReplaceFile(const fs::path& file, const std::string& bytes) {
    const fs::path temporary = WithSuffix(file, ".tmp");
    auto fail = [&](const char* what, int error) {
        ::unlink(temporary.c_str());
        return SystemError(what, temporary, error);
    };
    FileDescriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.Get() < 0) throw fail("Cannot create", errno);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = ::write(out.Get(), bytes.data() + done, bytes.size() - done);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw fail("Cannot write", errno);
        }
        done += static_cast<std::size_t>(count);
    }
    if (::fsync(out.Get()) != 0) throw fail("Cannot flush", errno);
    if (out.Close() != 0) throw fail("Cannot write", errno);
    if (::rename(temporary.c_str(), file.c_str()) != 0) throw fail("Cannot replace", errno);
    // Make the rename itself durable. The new file is in place already, so a folder that
    // cannot be flushed (some file systems refuse) is not an error.
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0) ::fsync(directory.Get());
}

ExclusiveLock::ExclusiveLock(const fs::path& lockFile)
    : fd_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    if (fd_ < 0) throw SystemError("Cannot open", lockFile, errno);
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd_);
        throw SystemError("Cannot lock", lockFile, error);
    }
}

ExclusiveLock::~ExclusiveLock() { ::close(fd_); }

}  // namespace lumera::util
