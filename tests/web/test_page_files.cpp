// The page's puzzle files in memory, as the engine's file opener port reads them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "util/page_files.h"

namespace {

using namespace lumera;
using namespace lumera::web;

std::string ReadAll(IFileReader& reader, std::size_t chunk) {
    std::string text;
    unsigned char buffer[64];
    while (const std::size_t count = reader.Read(buffer, chunk)) text.append(reinterpret_cast<char*>(buffer), count);
    return text;
}

TEST(PageFiles, FilesAreReadByNameAndAMissingOneGivesTheSystemText) {
    PageFiles files;
    files.Put("Lumera8.dat", std::string("LINE ONE\r\nLINE\0TWO\n", 20));
    files.Put("empty.dat", "");
    EXPECT_EQ(ReadAll(*files.OpenForReading("Lumera8.dat"), 3), std::string("LINE ONE\r\nLINE\0TWO\n", 20));
    EXPECT_EQ(ReadAll(*files.OpenForReading("empty.dat"), 64), "");
    try {
        files.OpenForReading("lumera8.dat");  // names are exact, as in the file system
        FAIL() << "a missing file opened";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "No such file or directory");
    }
    EXPECT_THROW(files.OpenForReading(""), std::runtime_error);
}

TEST(PageFiles, AnOpenFileKeepsWhatItHeldWhenAnotherOfItsNameIsPut) {
    PageFiles files;
    files.Put("mine.dat", "FIRST\n");
    const auto reader = files.OpenForReading("mine.dat");
    files.Put("mine.dat", "SECOND\n");
    EXPECT_EQ(ReadAll(*reader, 4), "FIRST\n");
    EXPECT_EQ(ReadAll(*files.OpenForReading("mine.dat"), 4), "SECOND\n");
}

}  // namespace
