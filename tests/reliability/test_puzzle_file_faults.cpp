// Faults of the puzzle file, run through the game with recording fakes: a folder, an empty
// file, binary bytes, a 100 MB line, a million lines, and a file deleted or truncated while
// the game has it open. Each checks the game's messages and that play goes on.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>

#include "reliability.h"

using namespace lumera;
using namespace lumera::reliability;
using lumera::testing::GameRig;
using lumera::testing::TempDir;

namespace {

std::string NumberedLines(int count, const char* lineEnd = "\n") {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "PUZZLE NUMBER " + std::to_string(i) + lineEnd;
    return text;
}

struct PuzzleFileFault : ::testing::Test {
    TempDir dir;
    GameRig rig;
    std::string fallback;
    void SetUp() override {
        rig.game.AppCaption = "Lumera 8.0";
        fallback = dir.Write("Lumera8.dat", "THE FALLBACK FILE\nSECOND LINE\n");
        rig.game.DefaultPuzzleFile = fallback;
    }
    // Opens the file as the start-up does and deals its first puzzle.
    void Start(const std::string& path) {
        rig.game.PuzzleFileName = path;
        rig.game.OpenPuzzleFile();
        rig.game.SkipToPosition();
        rig.game.ReadNextPuzzle();
    }
    const std::vector<std::string>& Messages() const { return rig.dialogs.informations; }
};

}  // namespace

TEST_F(PuzzleFileFault, AFolderFallsBackToTheDefaultAndAFolderAsDefaultIsReported) {
    Start(dir.path.string());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Unable to open puzzle file - " + dir.path.string() + "! Defaulting to " + fallback);
    EXPECT_EQ(rig.game.LineBuf, "THE FALLBACK FILE");
    ExpectDealt(rig.game);

    // With the default a folder as well, the error carries the system's text.
    rig.game.DefaultPuzzleFile = dir.path.string();
    rig.game.PuzzleFileName = (dir.path / "missing.dat").string();
    try {
        rig.game.OpenPuzzleFile();
        ADD_FAILURE() << "opening a folder as the default file should fail";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), std::strerror(EISDIR));
    }
    // The board still holds the old puzzle, and choosing another file brings play back.
    EXPECT_EQ(rig.game.LineBuf, "THE FALLBACK FILE");
    rig.dialogs.fileAnswers.push_back(dir.Write("other.dat", "OTHER FILE\n"));
    rig.dialogs.inputAnswers.push_back("1");
    rig.game.menuNewPuzzleSetClick();
    EXPECT_EQ(rig.game.LineBuf, "OTHER FILE");
    EXPECT_EQ(rig.game.PuzzleIndex, 0);
}

TEST_F(PuzzleFileFault, AFifoOrADeviceIsRefusedAtOnceInsteadOfHangingTheGame) {
    // Reading either would block or never end: a hang ends the test run within seconds.
    ::alarm(60);
    const std::string fifo = (dir.path / "pipe.dat").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        GameRig game;
        game.game.DefaultPuzzleFile = fallback;
        game.game.PuzzleFileName = path;
        game.game.OpenPuzzleFile();
        game.game.ReadNextPuzzle();
        ASSERT_EQ(game.dialogs.informations.size(), 1u) << path;
        EXPECT_EQ(game.dialogs.informations[0], "Unable to open puzzle file - " + path + "! Defaulting to " + fallback);
        EXPECT_EQ(game.game.LineBuf, "THE FALLBACK FILE");
    }
    PuzzleTextFile file(util::SystemFileOpener());
    try {
        file.Open("/dev/zero");
        ADD_FAILURE() << "a device should be refused";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), std::strerror(EINVAL));
    }
    ::alarm(0);
}

TEST_F(PuzzleFileFault, ANameWithANulByteNamesNoFile) {
    // As a damaged settings record can give: the name of a real file, then a NUL and more.
    const std::string damaged = fallback + std::string("\0.old", 5);
    Start(damaged);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Unable to open puzzle file - " + damaged + "! Defaulting to " + fallback);
    EXPECT_EQ(rig.game.PuzzleFileName, fallback);
    EXPECT_EQ(rig.game.LineBuf, "THE FALLBACK FILE");
}

TEST_F(PuzzleFileFault, AnEmptyFileDealsEmptyPuzzlesThatNothingCanSolve) {
    Start(dir.Write("empty.dat", ""));
    ASSERT_EQ(Messages(), (std::vector<std::string>{WrapMessage(0)}));
    EXPECT_EQ(rig.game.PuzzleLen, 0);
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 1");
    ExpectDealt(rig.game);
    rig.game.AlphabetClick(1);
    rig.game.PuzzleCellClick(1);
    rig.game.menuCheatClick();
    EXPECT_FALSE(rig.game.Solved);
    EXPECT_TRUE(rig.dialogs.messages.empty());
    // Every next puzzle is the end of the file again; the count is the puzzle being left.
    rig.game.menuNewClick();
    EXPECT_EQ(Messages().back(), WrapMessage(1));
    EXPECT_EQ(rig.game.PuzzleIndex, 0);
    EXPECT_EQ(rig.game.PuzzleLen, 0);
}

TEST_F(PuzzleFileFault, BinaryBytesWithNulsAreDealtAsTheyStand) {
    std::mt19937 random(2024);
    std::string bytes;
    while (bytes.size() < 200'000) {
        const char c = static_cast<char>(random() % 256);
        if (c != 26) bytes += c;
        if (random() % 40 == 0) bytes += '\n';
    }
    bytes += std::string("\x1a" "AFTER THE END MARK\n");
    const auto lines = ReferenceLines(bytes);
    ASSERT_GT(lines.size(), 1000u);
    Start(dir.Write("binary.dat", bytes));
    std::size_t nuls = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(rig.game.LineBuf, lines[i]) << "line " << i + 1;
        ExpectDealt(rig.game);
        nuls += std::count(rig.game.Working.begin(), rig.game.Working.end(), '\0');
        rig.game.menuNewClick();
    }
    EXPECT_GT(nuls, 100u);  // NUL bytes reached the board unchanged
    EXPECT_EQ(Messages().back(), WrapMessage(static_cast<int>(lines.size())));
    EXPECT_EQ(rig.game.LineBuf, lines[0]);
    for (const auto& message : Messages()) {
        EXPECT_TRUE(message.rfind("Sorry! Puzzle ", 0) == 0 || message == WrapMessage(static_cast<int>(lines.size())))
            << message;
    }
}

TEST_F(PuzzleFileFault, ALineOf100MegabytesIsPlayedAsItsFirst255Bytes) {
    std::string line;
    line.reserve(100'000'000);
    while (line.size() < 100'000'000) line += "ABCDEFGH ";
    const std::string path = dir.Write("huge.dat", line + "\nNEXT LINE\n");
    line.resize(255);
    const auto start = std::chrono::steady_clock::now();
    Start(path);
    rig.game.menuNewClick();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    // The first 255 bytes need words moved at 250 characters: they are played unfitted.
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Sorry! Puzzle 1 is too large to align correctly. Some words may cross over rows. Press OK to continue.");
    EXPECT_EQ(rig.game.LineBuf, "NEXT LINE");
    rig.game.menuNewClick();
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages()[1], WrapMessage(2));
    EXPECT_EQ(Messages()[2], Messages()[0]);  // line 1 again, unfitted again
    EXPECT_EQ(rig.game.LineBuf, line);
    EXPECT_EQ(rig.game.Solution, line);
    ExpectDealt(rig.game);
}

TEST_F(PuzzleFileFault, AMillionLinesReadExactlyAndPuzzle9999IsReached) {
    // Line ends alternate between LF and CR LF so that CR LF pairs straddle buffer refills.
    std::string text;
    for (int i = 1; i <= 1'000'000; ++i) text += "PUZZLE NUMBER " + std::to_string(i) + (i % 3 ? "\n" : "\r\n");
    const std::string path = dir.Write("million.dat", text);
    {
        PuzzleTextFile file(util::SystemFileOpener());
        file.Open(path);
        const auto lines = ReferenceLines(text);
        ASSERT_EQ(lines.size(), 1'000'000u);
        std::size_t read = 0;
        while (!file.Eof()) {
            const std::string line = file.ReadLine();
            ASSERT_LT(read, lines.size());
            ASSERT_EQ(line, lines[read]) << "line " << read + 1;
            ++read;
        }
        EXPECT_EQ(read, lines.size());
    }
    Start(path);
    rig.dialogs.inputAnswers = {std::string("9999")};
    rig.game.SpecifyStart();
    EXPECT_EQ(rig.game.LineBuf, "PUZZLE NUMBER 9999");
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 9999");
    EXPECT_EQ(rig.store.StoredIndex(), 9998u);
    EXPECT_TRUE(Messages().empty());

    // Started again from the stored position, the game deals the same puzzle.
    GameRig next;
    next.store.values = rig.store.values;
    next.game.DefaultPuzzleFile = fallback;
    next.game.InitGame();
    EXPECT_EQ(next.game.PuzzleFileName, path);
    EXPECT_EQ(next.game.LineBuf, "PUZZLE NUMBER 9999");
    EXPECT_TRUE(next.dialogs.informations.empty());
}

TEST_F(PuzzleFileFault, PastPuzzle65536TheShownNumberWrapsWithTheSixteenBitIndex) {
    const std::string path = dir.Write("many.dat", NumberedLines(70'000));
    rig.game.PuzzleFileName = path;
    rig.game.OpenPuzzleFile();
    rig.game.PuzzleIndex = 65535;
    rig.game.SkipToPosition();
    rig.game.ReadNextPuzzle();
    EXPECT_EQ(rig.game.LineBuf, "PUZZLE NUMBER 65536");
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 65536");
    rig.game.menuNewClick();
    // The file goes on; only the 16-bit puzzle index starts again at 0.
    EXPECT_EQ(rig.game.LineBuf, "PUZZLE NUMBER 65537");
    EXPECT_EQ(rig.game.PuzzleIndex, 0);
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 1");
    EXPECT_EQ(rig.store.StoredIndex(), 65535u);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(PuzzleFileFault, AFileDeletedWhileOpenIsReadToItsEndThenReportedUntilAnotherIsChosen) {
    const std::string path = dir.Write("doomed.dat", NumberedLines(3));
    Start(path);
    ASSERT_EQ(::unlink(path.c_str()), 0);
    rig.game.menuNewClick();
    rig.game.menuNewClick();
    EXPECT_EQ(rig.game.LineBuf, "PUZZLE NUMBER 3");  // the open file still reads
    const std::string onBoard = rig.game.Working;

    // At the end the game announces the wrap, cannot reopen the file and says why.
    try {
        rig.game.menuNewClick();
        ADD_FAILURE() << "reopening a deleted file should fail";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), std::strerror(ENOENT));
    }
    EXPECT_EQ(Messages().back(), WrapMessage(3));
    EXPECT_EQ(rig.game.Working, onBoard);
    // The puzzle on the board can still be played; the next one reports the closed file.
    rig.game.menuCheatClick();
    EXPECT_NE(rig.game.Working, onBoard);
    EXPECT_EQ(rig.store.StoredIndex(), 2u);
    try {
        rig.game.menuNewClick();
        ADD_FAILURE() << "the next puzzle should report the closed file";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "The puzzle file is not open");
    }
    EXPECT_EQ(rig.store.StoredIndex(), 3u);  // the position is stored before the read fails

    rig.dialogs.fileAnswers.push_back(fallback);
    rig.dialogs.inputAnswers.push_back("2");
    rig.game.menuNewPuzzleSetClick();
    EXPECT_EQ(rig.game.LineBuf, "SECOND LINE");
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 2");
    ExpectDealt(rig.game);
}

TEST_F(PuzzleFileFault, ASmallFileTruncatedWhileOpenIsPlayedFromWhatWasRead) {
    const std::string path = dir.Write("small.dat", NumberedLines(3));
    Start(path);
    ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    rig.game.menuNewClick();
    rig.game.menuNewClick();
    EXPECT_EQ(rig.game.LineBuf, "PUZZLE NUMBER 3");
    rig.game.menuNewClick();
    EXPECT_EQ(Messages().back(), WrapMessage(3));
    EXPECT_EQ(rig.game.LineBuf, "");  // the file, reopened, is empty now
    EXPECT_EQ(rig.game.PuzzleIndex, 0);
}

TEST_F(PuzzleFileFault, ALargeFileTruncatedWhileOpenEndsWhereTheReadAheadEnds) {
    const std::string text = NumberedLines(20'000);
    const std::string path = dir.Write("large.dat", text);
    Start(path);
    ASSERT_EQ(::truncate(path.c_str(), 100), 0);  // six lines of 16 bytes and "PUZZ"
    const auto lines = ReferenceLines(text);
    int dealt = 1;
    while (Messages().empty()) {
        rig.game.menuNewClick();
        ExpectDealt(rig.game);
        if (!Messages().empty()) break;
        ++dealt;
        ASSERT_LT(dealt, 20'000);
        const std::string& expected = lines[dealt - 1];
        // What was read ahead is whole lines, the last of them cut where the buffer ended.
        ASSERT_EQ(rig.game.LineBuf, expected.substr(0, rig.game.LineBuf.size())) << "puzzle " << dealt;
    }
    EXPECT_GT(dealt, 1000);
    EXPECT_EQ(Messages().back(), WrapMessage(dealt));
    EXPECT_EQ(rig.game.LineBuf, "PUZZLE NUMBER 1");
    // The reopened file is the cut one: six whole lines and a piece of the seventh.
    for (int i = 2; i <= 7; ++i) rig.game.menuNewClick();
    EXPECT_EQ(rig.game.LineBuf, "PUZZ");
    rig.game.menuNewClick();
    EXPECT_EQ(Messages().back(), WrapMessage(7));
}
