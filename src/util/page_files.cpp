// The page's files in memory, read through the engine's file reader port.
#include "util/page_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace lumera::web {

namespace {

class MemoryFileReader final : public IFileReader {
public:
    explicit MemoryFileReader(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
    std::size_t Read(unsigned char* buffer, std::size_t size) override {
        const std::size_t count = std::min(size, bytes_->size() - position_);
        std::memcpy(buffer, bytes_->data() + position_, count);
        position_ += count;
        return count;
    }

private:
    std::shared_ptr<const std::string> bytes_;
    std::size_t position_ = 0;
};

}  // namespace

void PageFiles::Put(const std::string& name, std::string bytes) {
    files_[name] = std::make_shared<const std::string>(std::move(bytes));
}

const std::string* PageFiles::Find(const std::string& name) const {
    const auto file = files_.find(name);
    return file == files_.end() ? nullptr : file->second.get();
}

std::unique_ptr<IFileReader> PageFiles::OpenForReading(const std::string& name) {
    const auto file = files_.find(name);
    if (file == files_.end()) throw std::runtime_error(std::strerror(ENOENT));
    return std::make_unique<MemoryFileReader>(file->second);
}

PageFiles& ThePageFiles() {
    static PageFiles files;
    return files;
}

}  // namespace lumera::web
