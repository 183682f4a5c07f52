// The puzzle file: a plain byte file read strictly forwards, one puzzle a line.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace lumera {

inline constexpr std::size_t kMaxLineLength = 255;

// Line rules: a line ends at LF or CR LF; a CR not followed by LF is dropped; byte 26 ends
// the file wherever it stands; the first 255 bytes of a line are kept and the rest skipped.
// Failures throw std::runtime_error carrying the system's text.
class PuzzleTextFile {
public:
    PuzzleTextFile();
    ~PuzzleTextFile();
    PuzzleTextFile(const PuzzleTextFile&) = delete;
    PuzzleTextFile& operator=(const PuzzleTextFile&) = delete;

    // Opens a regular file for reading from its start; a folder, a FIFO or a device is refused.
    void Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // True at the end of the file or at a byte 26.
    bool Eof();
    // Reads the next line (empty at the end of the file).
    std::string ReadLine();
    // The same, also giving the line's full length before the cut to 255 bytes (dropped CRs
    // and the line end not counted), so that a checker can tell which lines were cut.
    std::string ReadLine(std::size_t& fullLength);

private:
    int Peek();  // next byte, or -1 at the end
    void Fill();
    void RequireOpen() const;

    std::FILE* file_ = nullptr;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t position_ = 0;
    std::size_t length_ = 0;
};

}  // namespace lumera
