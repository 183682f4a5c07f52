// Buffered, byte-exact reading of puzzle files.
#include "engine/puzzle_file.h"

#include <stdexcept>

namespace lumera {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kEndOfFileMark = 26;
}  // namespace

PuzzleTextFile::PuzzleTextFile(IFileOpener& files) : files_(files), buffer_(new unsigned char[kBufferSize]) {}

PuzzleTextFile::~PuzzleTextFile() { Close(); }

void PuzzleTextFile::Open(const std::string& path) {
    Close();
    reader_ = files_.OpenForReading(path);
}

void PuzzleTextFile::Close() {
    reader_.reset();
    position_ = length_ = 0;
}

void PuzzleTextFile::RequireOpen() const {
    if (!reader_) throw std::runtime_error("The puzzle file is not open");
}

void PuzzleTextFile::Fill() {
    // Emptied first, so that after a failed read the next call tries again.
    position_ = length_ = 0;
    length_ = reader_->Read(buffer_.get(), kBufferSize);
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
