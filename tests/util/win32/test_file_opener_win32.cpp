// The file opener over the wide Win32 calls (run under Wine): names beyond ASCII, the files it
// refuses, and failures that carry the system's own text rather than the C library's.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "engine/fakes.h"
#include "util/file_opener.h"
#include "util/win32/system_error_win32.h"

using namespace lumera;
using namespace lumera::testing;
using lumera::util::SystemFileOpener;
using lumera::win32::SystemErrorText;

namespace {

std::string OpeningFailure(const std::string& path) {
    return FailureText([&] { SystemFileOpener().OpenForReading(path); });
}

}  // namespace

TEST(Win32FileOpener, AMissingFileAndAFileDeletedWhileOpenGiveTheSystemsText) {
    // The system's sentence alone, without the line break FormatMessage ends it with.
    const std::string notFound = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_NE(notFound.rfind("System error", 0), 0u) << "no system text for ERROR_FILE_NOT_FOUND";
    ASSERT_NE(notFound, std::strerror(ENOENT));
    EXPECT_EQ(notFound.find_first_of("\r\n"), std::string::npos) << notFound;
    TempDir dir;
    EXPECT_EQ(OpeningFailure((dir.path / "missing.dat").string()), notFound);
    EXPECT_EQ(OpeningFailure(""), notFound);

    // The game has the file open when it is deleted: it reads on to the end, and at the wrap
    // to puzzle 1 the file cannot be opened again.
    GameRig rig;
    const std::string path = dir.Write("doomed.dat", "ONE\r\nTWO\r\n");
    rig.game.PuzzleFileName = path;
    rig.game.OpenPuzzleFile();
    rig.game.ReadNextPuzzle();
    ASSERT_TRUE(DeleteFileW((dir.path / "doomed.dat").c_str())) << GetLastError();
    rig.game.menuNewClick();
    EXPECT_EQ(rig.game.LineBuf, "TWO");
    EXPECT_EQ(FailureText([&] { rig.game.menuNewClick(); }), notFound);
    EXPECT_EQ(rig.dialogs.informations.back(), "Last puzzle is 2! Starting back at puzzle 1. Press OK to continue.");
}

// A chosen file's name arrives as bytes of the ANSI code page; letters beyond ASCII must still
// name the file, and a folder or a device such as NUL is not a puzzle file.
TEST(Win32FileOpener, NamesBeyondAsciiOpenAndFoldersAndDevicesAreRefused) {
    TempDir dir;
    const std::wstring name = L"Caf\u00e9 \u00c5land \u00fcber.dat";
    std::ofstream(dir.path / name, std::ios::binary) << "ONE\nTWO\n";
    const std::wstring wide = (dir.path / name).wstring();
    char ansi[MAX_PATH * 2] = {};
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, ansi, sizeof ansi,
                                           nullptr, &lossy);
    ASSERT_GT(length, 0);
    ASSERT_FALSE(lossy) << "the name is not in the ANSI code page " << GetACP();
    const std::string path = ansi;
    ASSERT_NE(path.find('\xE9'), std::string::npos);  // a byte beyond ASCII really is in the name
    const auto reader = SystemFileOpener().OpenForReading(path);
    unsigned char buffer[64];
    const std::size_t count = reader->Read(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, buffer + count), "ONE\nTWO\n");
    EXPECT_EQ(reader->Read(buffer, sizeof buffer), 0u);

    EXPECT_EQ(OpeningFailure(dir.path.string()), SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(OpeningFailure("NUL"), SystemErrorText(ERROR_INVALID_PARAMETER));
}
