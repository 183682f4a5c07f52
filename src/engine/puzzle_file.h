// The puzzle file: a plain byte file read strictly forwards, one puzzle a line.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "engine/ports.h"

namespace lumera {

inline constexpr std::size_t kMaxLineLength = 255;

// Line rules: a line ends at LF or CR LF; a CR not followed by LF is dropped; byte 26 ends
// the file wherever it stands; the first 255 bytes of a line are kept and the rest skipped.
// The file is opened and read through the file opener port; its failures, std::runtime_error
// carrying the system's text, pass through.
class PuzzleTextFile {
public:
    explicit PuzzleTextFile(IFileOpener& files);
    ~PuzzleTextFile();
    PuzzleTextFile(const PuzzleTextFile&) = delete;
    PuzzleTextFile& operator=(const PuzzleTextFile&) = delete;

    // Opens a regular file for reading from its start; a folder, a FIFO or a device is refused.
    // Whatever was open before is closed, also when the opening fails.
    void Open(const std::string& path);
    void Close();
    bool IsOpen() const { return reader_ != nullptr; }

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

    IFileOpener& files_;
    std::unique_ptr<IFileReader> reader_;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t position_ = 0;
    std::size_t length_ = 0;
};

}  // namespace lumera
