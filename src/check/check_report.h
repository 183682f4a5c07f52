// The puzzle file checker's logic, Qt-free: findings for each line of a puzzle file read as
// the game reads it, the board layout of one puzzle, and the command line of lumera8-check.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace lumera::check {

// One thing a puzzle maker should know about a file. Line is 1-based; 0 means the whole file.
struct Finding {
    int line = 0;
    std::string message;
};

struct FileReport {
    int puzzleCount = 0;  // lines the game reads from the file
    std::vector<Finding> findings;
};

// Findings for one line on its own: text is what the game keeps of it, fullLength the line's
// length before the cut to 255 bytes.
std::vector<std::string> CheckLine(const std::string& text, std::size_t fullLength);

// Reads a file with the game's reader and checks every line, duplicates included.
// Throws std::runtime_error carrying the system's text when the file cannot be read.
FileReport CheckPuzzleFile(const std::string& path);

// "FILE:LINE: message", or "FILE: message" for the whole file.
std::string FormatFinding(const std::string& fileName, const Finding& finding);
// One line per file: how many puzzles, how many findings on how many lines.
std::string FormatSummary(const std::string& fileName, const FileReport& report);

// The nine grid rows of the board for a text as the game plays it (fitted, or unfitted when
// fitting gives nothing): 30 cells each, blank past the end of the text; bytes outside
// printable ASCII show as "?".
std::vector<std::string> BoardRows(const std::string& text);

// Puzzle number (1-based) of a file as the game reads it. Throws std::runtime_error when the
// file cannot be read or holds fewer puzzles.
std::string ReadPuzzle(const std::string& path, int number);

// Exit statuses of lumera8-check.
inline constexpr int kExitClean = 0;
inline constexpr int kExitFindings = 1;
inline constexpr int kExitTrouble = 2;  // unreadable file, bad puzzle number or bad usage

// The whole command: args without the program name; reports go to out, errors to err.
int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lumera::check
