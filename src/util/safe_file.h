// Whole-file reading and the crash-safe replacement of a file under an exclusive lock, and the
// setting aside of a damaged file under a new name. Qt-free (POSIX).
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace lumera::util {

// "what path: system text" for the error number.
std::runtime_error SystemError(const std::string& what, const std::filesystem::path& path, int error);

// The path with suffix added to its file name: "registry.reg" + ".lock".
std::filesystem::path WithSuffix(const std::filesystem::path& path, const std::string& suffix);

// Reads a whole file. Returns false with the error number when it cannot be read.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes, int& error);

// Writes the bytes to a temporary file beside the target (name + ".tmp"), flushes it and
// renames it over the target, so that the target holds the old or the new bytes at every
// moment. Throws std::runtime_error (system text) and removes the temporary file on failure.
void ReplaceFile(const std::filesystem::path& file, const std::string& bytes);

// Moves a file aside under the name "<name>.bad-<local date and time>" (with a counter when
// that is taken); never replaces another file. Throws std::runtime_error when it cannot.
void SetAside(const std::filesystem::path& file);

// An exclusive lock (flock) on a lock file, held for the object's life; waits for other
// holders. Lock a file beside the one to replace: a rename would leave a lock on the replaced
// file behind with the old file.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::filesystem::path& lockFile);
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
    ~ExclusiveLock();

private:
    int fd_;  // closing it releases the lock
};

}  // namespace lumera::util
