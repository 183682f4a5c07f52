// Checks of puzzle files line by line, the board layout of one puzzle, and the command line.
#include "check/check_report.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <system_error>

#include "engine/fitting.h"
#include "engine/puzzle_file.h"
#include "util/file_opener.h"

namespace lumera::check {

namespace {

constexpr char kEndOfFileMark = 26;

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsPrintableAscii(char c) { return c >= 32 && c <= 126; }

std::string Hex(unsigned char byte) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[byte >> 4] + digits[byte & 15];
}

std::string Counted(std::size_t count, const std::string& singular, const std::string& plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

// A byte 26 stops the game's reader for good; anything after it is lost to the player.
std::optional<Finding> CheckEndMark(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t mark = bytes.find(kEndOfFileMark);
    if (mark == std::string::npos || mark + 1 == bytes.size()) return std::nullopt;
    return Finding{0, "byte 26 at offset " + std::to_string(mark) + " ends the file: the " +
                          Counted(bytes.size() - mark - 1, "byte", "bytes") + " after it are never read"};
}

const char kHelp[] =
    "Usage: lumera8-check FILE...\n"
    "       lumera8-check --show N FILE\n"
    "\n"
    "Checks Lumera 8.0 puzzle files, reading each as the game does: one puzzle a line,\n"
    "lines ending at LF or CR LF, a byte 26 ending the file, 255 bytes a line at most.\n"
    "Each finding is one line \"FILE:LINE: what\"; a summary line follows for each file.\n"
    "\n"
    "  --show N FILE  print puzzle N (its line number) as the board shows it: nine rows\n"
    "                 of 30 cells between \"|\" characters\n"
    "  --help         print this help\n"
    "\n"
    "Exit status: 0 when nothing was reported, 1 when something was, 2 when a file could\n"
    "not be read or the command was wrong.\n";

int Usage(std::ostream& err, const std::string& problem) {
    err << "lumera8-check: " << problem << "\n"
        << "Try 'lumera8-check --help' for more information.\n";
    return kExitTrouble;
}

int Show(const std::string& numberText, const std::string& path, std::ostream& out, std::ostream& err) {
    int number = 0;
    const char* end = numberText.data() + numberText.size();
    const auto [stop, error] = std::from_chars(numberText.data(), end, number);
    if (error != std::errc() || stop != end || number < 1)
        return Usage(err, "'" + numberText + "' is not a puzzle number (1 or more)");
    std::string text;
    try {
        text = ReadPuzzle(path, number);
    } catch (const std::exception& failure) {
        err << "lumera8-check: " << path << ": " << failure.what() << "\n";
        return kExitTrouble;
    }
    if (!FitText(text)) err << path << ":" << number << ": too large to align: shown unfitted, as the game plays it\n";
    for (const std::string& row : BoardRows(text)) out << "|" << row << "|\n";
    return kExitClean;
}

}  // namespace

std::vector<std::string> CheckLine(const std::string& text, std::size_t fullLength) {
    std::vector<std::string> findings;
    if (fullLength > kMaxLineLength)
        findings.push_back("longer than 255 bytes (cut): " + std::to_string(fullLength) +
                           " bytes, the game plays the first 255");
    if (text.empty()) {
        findings.push_back("empty line: the game deals an empty board");
        return findings;
    }
    if (!FitText(text))
        findings.push_back("too large to align: the game shows its overflow message and plays the line unfitted");

    bool hasLetter = false;
    std::optional<std::size_t> firstLowerCase, firstStar, firstOutside;
    std::size_t outsideCount = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsLetter(c)) hasLetter = true;
        if (c >= 'a' && c <= 'z' && !firstLowerCase) firstLowerCase = i;
        if (c == '*' && !firstStar) firstStar = i;
        if (!IsPrintableAscii(c)) {
            if (!firstOutside) firstOutside = i;
            ++outsideCount;
        }
    }
    if (!hasLetter) findings.push_back("no letters A to Z: the puzzle cannot be solved");
    if (firstLowerCase)
        findings.push_back("lower-case letters (never scrambled), first at column " + std::to_string(*firstLowerCase + 1));
    if (firstStar)
        findings.push_back("\"*\" at column " + std::to_string(*firstStar + 1) +
                           ": a reserved character, keep puzzle lines free of it");
    if (firstOutside)
        findings.push_back("bytes outside printable ASCII: " + Hex(static_cast<unsigned char>(text[*firstOutside])) +
                           " at column " + std::to_string(*firstOutside + 1) +
                           (outsideCount > 1 ? " (" + std::to_string(outsideCount) + " in all)" : ""));
    return findings;
}

FileReport CheckPuzzleFile(const std::string& path) {
    PuzzleTextFile file(util::SystemFileOpener());
    file.Open(path);
    FileReport report;
    if (file.Eof()) report.findings.push_back({0, "no puzzles: the game deals one empty board"});

    std::map<std::string, int> firstLineOf;
    while (!file.Eof()) {
        std::size_t fullLength = 0;
        const std::string text = file.ReadLine(fullLength);
        const int line = ++report.puzzleCount;
        for (std::string& message : CheckLine(text, fullLength)) report.findings.push_back({line, std::move(message)});
        if (text.empty()) continue;  // reported as empty already
        const auto [earlier, isNew] = firstLineOf.emplace(text, line);
        if (!isNew) report.findings.push_back({line, "duplicate of line " + std::to_string(earlier->second)});
    }
    if (auto mark = CheckEndMark(path)) report.findings.push_back(*mark);
    return report;
}

std::string FormatFinding(const std::string& fileName, const Finding& finding) {
    if (finding.line == 0) return fileName + ": " + finding.message;
    return fileName + ":" + std::to_string(finding.line) + ": " + finding.message;
}

std::string FormatSummary(const std::string& fileName, const FileReport& report) {
    std::string summary = fileName + ": " + Counted(report.puzzleCount, "puzzle", "puzzles") + ", ";
    if (report.findings.empty()) return summary + "no findings";
    std::set<int> lines;
    for (const Finding& finding : report.findings) lines.insert(finding.line);
    lines.erase(0);
    summary += Counted(report.findings.size(), "finding", "findings");
    if (!lines.empty()) summary += " on " + Counted(lines.size(), "line", "lines");
    return summary;
}

std::vector<std::string> BoardRows(const std::string& text) {
    const std::string played = FitText(text).value_or(text);
    std::vector<std::string> rows(kGridRows, std::string(kGridColumns, ' '));
    for (std::size_t i = 0; i < played.size() && i < static_cast<std::size_t>(kGridCells); ++i) {
        const char c = played[i];
        rows[i / kGridColumns][i % kGridColumns] = IsPrintableAscii(c) ? c : '?';
    }
    return rows;
}

std::string ReadPuzzle(const std::string& path, int number) {
    PuzzleTextFile file(util::SystemFileOpener());
    file.Open(path);
    for (int line = 1;; ++line) {
        if (file.Eof())
            throw std::runtime_error("there is no puzzle " + std::to_string(number) + ", the file holds " +
                                     Counted(static_cast<std::size_t>(line - 1), "puzzle", "puzzles"));
        std::string text = file.ReadLine();
        if (line == number) return text;
    }
}

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return Usage(err, "no puzzle file given");
    if (args[0] == "--help" || args[0] == "-h") {
        out << kHelp;
        return kExitClean;
    }
    if (args[0] == "--show") {
        if (args.size() != 3) return Usage(err, "--show takes a puzzle number and one file");
        return Show(args[1], args[2], out, err);
    }

    std::vector<std::string> files;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") optionsEnded = true;
        else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') return Usage(err, "unknown option '" + arg + "'");
        else files.push_back(arg);
    }
    if (files.empty()) return Usage(err, "no puzzle file given");

    int status = kExitClean;
    for (const std::string& path : files) {
        try {
            const FileReport report = CheckPuzzleFile(path);
            for (const Finding& finding : report.findings) out << FormatFinding(path, finding) << "\n";
            out << FormatSummary(path, report) << "\n";
            if (!report.findings.empty() && status == kExitClean) status = kExitFindings;
        } catch (const std::exception& failure) {
            err << "lumera8-check: " << path << ": " << failure.what() << "\n";
            status = kExitTrouble;
        }
    }
    return status;
}

}  // namespace lumera::check
