// Tests of the file opener over POSIX calls: the C library's texts for names that name no file.
// Folders, FIFOs and devices are refused in the puzzle file fault tests, through the game.
#include "util/file_opener.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string OpeningFailure(const std::string& path) {
    try {
        lumera::util::SystemFileOpener().OpenForReading(path);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(opened)";
}

}  // namespace

TEST(PosixFileOpener, NamesOfNoFileGiveTheCLibrarysText) {
    char pattern[] = "/tmp/lumera-opener-XXXXXX";
    const std::filesystem::path folder = mkdtemp(pattern);
    const std::string file = (folder / "real.dat").string();
    std::ofstream(file) << "ONE\n";
    EXPECT_EQ(OpeningFailure((folder / "missing.dat").string()), std::strerror(ENOENT));
    EXPECT_EQ(OpeningFailure(""), std::strerror(ENOENT));
    // The part before the NUL names a real file, but the whole name names none.
    EXPECT_EQ(OpeningFailure(file + std::string("\0.old", 5)), std::strerror(ENOENT));
    EXPECT_EQ(OpeningFailure(file), "(opened)");
    std::filesystem::remove_all(folder);
}
