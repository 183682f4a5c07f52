// Tests of the puzzle file checker: findings line by line on a file of crafted bad lines,
// the board rows of --show, the output format and the exit statuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "check/check_report.h"
#include "engine/puzzle_file.h"
#include "util/file_opener.h"

using namespace lumera::check;

namespace {

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

// 300 bytes of three-letter words, one across the first row end: cut to 255, and then too
// long to fit.
const std::string kLongLine = Repeat("ABC ", 75);
// 252 bytes starting with a blank, with a word across the first row end.
const std::string kOverflowLine = " " + Repeat("ABC ", 62) + "ABC";

class TempFolder {
public:
    TempFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("lumera8-check-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
    std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

struct CommandRun {
    int status = 0;
    std::string out;
    std::string err;
};

CommandRun RunWith(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CommandRun run;
    run.status = RunCheck(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::map<int, std::vector<std::string>> ByLine(const FileReport& report) {
    std::map<int, std::vector<std::string>> lines;
    for (const Finding& finding : report.findings) lines[finding.line].push_back(finding.message);
    return lines;
}

}  // namespace

class CraftedFile : public ::testing::Test {
protected:
    void SetUp() override {
        content = "GOOD LINE HERE\n"         // 1: clean
                  + kLongLine + "\n"         // 2
                  + "\n"                     // 3
                  + "Hello WORLD\n"          // 4
                  + "STAR * HERE\n"          // 5
                  + "CAF\xC9 AU\tLAIT\n"     // 6
                  + "GOOD LINE HERE\r\n"     // 7: the same text with a CR LF ending
                  + "1234 5678\n"            // 8
                  + kOverflowLine + "\n"     // 9
                  + "   \n"                  // 10
                  + "LONE\rCR\n"             // 11: the lone CR is dropped
                  + "LONECR\n"               // 12
                  + kLongLine + "\n";        // 13
        endMarkOffset = content.size();
        content += "\x1aNEVER READ\n";
        path = folder.Write("bad.dat", content);
    }
    TempFolder folder;
    std::string content;
    std::size_t endMarkOffset = 0;
    std::string path;
};

TEST_F(CraftedFile, EachLineGetsItsFindings) {
    const FileReport report = CheckPuzzleFile(path);
    EXPECT_EQ(report.puzzleCount, 13);
    const std::string cut = "longer than 255 bytes (cut): 300 bytes, the game plays the first 255";
    const std::string overflow = "too large to align: the game shows its overflow message and plays the line unfitted";
    const std::string noLetters = "no letters A to Z: the puzzle cannot be solved";
    const std::map<int, std::vector<std::string>> expected{
        {0, {"byte 26 at offset " + std::to_string(endMarkOffset) +
             " ends the file: the 11 bytes after it are never read"}},
        {2, {cut, overflow}},
        {3, {"empty line: the game deals an empty board"}},
        {4, {"lower-case letters (never scrambled), first at column 2"}},
        {5, {"\"*\" at column 6: a reserved character, keep puzzle lines free of it"}},
        {6, {"bytes outside printable ASCII: 0xC9 at column 4 (2 in all)"}},
        {7, {"duplicate of line 1"}},
        {8, {noLetters}},
        {9, {overflow}},
        {10, {noLetters}},
        {12, {"duplicate of line 11"}},
        {13, {cut, overflow, "duplicate of line 2"}},
    };
    const auto actual = ByLine(report);
    for (const auto& [line, messages] : expected) EXPECT_EQ(actual.count(line) ? actual.at(line) : std::vector<std::string>{}, messages) << "line " << line;
    for (const auto& [line, messages] : actual) EXPECT_TRUE(expected.count(line)) << "unexpected findings on line " << line << ": " << messages[0];
}

TEST_F(CraftedFile, CommandPrintsFindingsThenASummaryAndExitsWithOne) {
    const CommandRun run = RunWith({path});
    EXPECT_EQ(run.status, kExitFindings);
    EXPECT_EQ(run.err, "");
    std::istringstream lines(run.out);
    std::vector<std::string> printed;
    for (std::string line; std::getline(lines, line);) printed.push_back(line);
    ASSERT_EQ(printed.size(), 16u);
    EXPECT_EQ(printed[0], path + ":2: longer than 255 bytes (cut): 300 bytes, the game plays the first 255");
    EXPECT_EQ(printed[3], path + ":4: lower-case letters (never scrambled), first at column 2");
    EXPECT_EQ(printed[14], path + ": byte 26 at offset " + std::to_string(endMarkOffset) +
                               " ends the file: the 11 bytes after it are never read");
    EXPECT_EQ(printed[15], path + ": 13 puzzles, 15 findings on 11 lines");
}

TEST(PuzzleTextFileLength, FullLengthCountsWhatTheCutDropsButNotLineEnds) {
    TempFolder folder;
    lumera::PuzzleTextFile file(lumera::util::SystemFileOpener());
    file.Open(folder.Write("lengths.dat", std::string(300, 'A') + "\r\nTW\rO\n" + std::string(255, 'B') + "\nEND"));
    std::size_t fullLength = 0;
    EXPECT_EQ(file.ReadLine(fullLength), std::string(255, 'A'));
    EXPECT_EQ(fullLength, 300u);
    EXPECT_EQ(file.ReadLine(fullLength), "TWO");
    EXPECT_EQ(fullLength, 3u);
    EXPECT_EQ(file.ReadLine(fullLength), std::string(255, 'B'));
    EXPECT_EQ(fullLength, 255u);
    EXPECT_EQ(file.ReadLine(fullLength), "END");
    EXPECT_EQ(fullLength, 3u);
    EXPECT_TRUE(file.Eof());
}

TEST(CheckCommand, CleanFilesExitZeroWithOnlyTheirSummaries) {
    TempFolder folder;
    const std::string first = folder.Write("one.dat", "THE QUICK BROWN FOX\nA SECOND PUZZLE\n");
    const std::string second = folder.Write("two.txt", "ONE LINE WITHOUT ITS END");
    const CommandRun run = RunWith({first, second});
    EXPECT_EQ(run.status, kExitClean);
    EXPECT_EQ(run.out, first + ": 2 puzzles, no findings\n" + second + ": 1 puzzle, no findings\n");
}

TEST(CheckCommand, UnreadableFilesExitTwoAndTheOthersAreStillChecked) {
    TempFolder folder;
    const std::string missing = folder.PathOf("missing.dat");
    const std::string bad = folder.Write("bad.dat", "Lower case\n");
    const CommandRun run = RunWith({missing, bad});
    EXPECT_EQ(run.status, kExitTrouble);
    EXPECT_EQ(run.err, "lumera8-check: " + missing + ": No such file or directory\n");
    EXPECT_EQ(run.out, bad + ":1: lower-case letters (never scrambled), first at column 2\n" + bad +
                           ": 1 puzzle, 1 finding on 1 line\n");

    const CommandRun folderRun = RunWith({folder.PathOf("")});
    EXPECT_EQ(folderRun.status, kExitTrouble);
    EXPECT_NE(folderRun.err.find("Is a directory"), std::string::npos) << folderRun.err;
}

TEST(CheckCommand, EmptyFileIsReported) {
    TempFolder folder;
    const std::string empty = folder.Write("empty.dat", "");
    const CommandRun run = RunWith({empty});
    EXPECT_EQ(run.status, kExitFindings);
    EXPECT_EQ(run.out, empty + ": no puzzles: the game deals one empty board\n" + empty + ": 0 puzzles, 1 finding\n");
}

TEST(CheckCommand, HelpAndUsageErrors) {
    const CommandRun help = RunWith({"--help"});
    EXPECT_EQ(help.status, kExitClean);
    EXPECT_EQ(help.out.rfind("Usage: lumera8-check FILE...\n", 0), 0u);
    EXPECT_NE(help.out.find("--show N FILE"), std::string::npos);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--frobnicate", "x.dat"}, {"--show", "1"}, {"--show", "0", "x.dat"}, {"--show", "2x", "x.dat"}, {"--"}}) {
        const CommandRun run = RunWith(args);
        EXPECT_EQ(run.status, kExitTrouble) << (args.empty() ? "(no arguments)" : args[0]);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Try 'lumera8-check --help'"), std::string::npos);
    }
}

TEST(CheckCommand, DoubleDashLetsAFileNameStartWithADash) {
    TempFolder folder;
    folder.Write("-dash.dat", "FINE\n");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.PathOf(""));
    const CommandRun run = RunWith({"--", "-dash.dat"});
    std::filesystem::current_path(before);
    EXPECT_EQ(run.status, kExitClean);
    EXPECT_EQ(run.out, "-dash.dat: 1 puzzle, no findings\n");
}

class ShowCommand : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder.Write("show.dat", "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG AND THEN SOME MORE WORDS\n"
                                        "   LEADING BLANKS GO AND A WORD THAT CROSSES MOVES DOWN\n" +
                                            std::string(35, 'A') + " END\n" + kOverflowLine + "\n" +
                                            "CAF\xC9 AU LAIT\n");
    }
    std::vector<std::string> Show(int number) {
        const CommandRun run = RunWith({"--show", std::to_string(number), path});
        EXPECT_EQ(run.status, kExitClean) << run.err;
        lastErr = run.err;
        std::vector<std::string> rows;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) rows.push_back(line);
        return rows;
    }
    TempFolder folder;
    std::string path;
    std::string lastErr;
};

TEST_F(ShowCommand, WordsThatCrossARowEndMoveDown) {
    // Row 1 ends exactly with a word, so the blank after it goes; "MORE" would cross row 2.
    EXPECT_EQ(Show(1), (std::vector<std::string>{
                           "|THE QUICK BROWN FOX JUMPS OVER|",
                           "|THE LAZY DOG AND THEN SOME    |",
                           "|MORE WORDS                    |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                       }));
    EXPECT_EQ(Show(2), (std::vector<std::string>{
                           "|LEADING BLANKS GO AND A WORD  |",
                           "|THAT CROSSES MOVES DOWN       |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                           "|                              |",
                       }));
    EXPECT_EQ(lastErr, "");
}

TEST_F(ShowCommand, AWordLongerThanARowStaysWhereItIs) {
    const std::vector<std::string> rows = Show(3);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0], "|" + std::string(30, 'A') + "|");
    EXPECT_EQ(rows[1], "|AAAAA END                     |");
    EXPECT_EQ(rows[2], "|                              |");
}

TEST_F(ShowCommand, ALineTooLargeToAlignIsShownUnfitted) {
    EXPECT_EQ(Show(4), (std::vector<std::string>{
                           "| ABC ABC ABC ABC ABC ABC ABC A|",
                           "|BC ABC ABC ABC ABC ABC ABC ABC|",
                           "| ABC ABC ABC ABC ABC ABC ABC A|",
                           "|BC ABC ABC ABC ABC ABC ABC ABC|",
                           "| ABC ABC ABC ABC ABC ABC ABC A|",
                           "|BC ABC ABC ABC ABC ABC ABC ABC|",
                           "| ABC ABC ABC ABC ABC ABC ABC A|",
                           "|BC ABC ABC ABC ABC ABC ABC ABC|",
                           "| ABC ABC ABC                  |",
                       }));
    EXPECT_EQ(lastErr, path + ":4: too large to align: shown unfitted, as the game plays it\n");
}

TEST_F(ShowCommand, BytesOutsidePrintableAsciiShowAsQuestionMarks) {
    EXPECT_EQ(Show(5)[0], "|CAF? AU LAIT                  |");
}

TEST_F(ShowCommand, APuzzleNumberPastTheEndIsAnError) {
    const CommandRun run = RunWith({"--show", "6", path});
    EXPECT_EQ(run.status, kExitTrouble);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "lumera8-check: " + path + ": there is no puzzle 6, the file holds 5 puzzles\n");
}
