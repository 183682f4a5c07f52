// Fuzzes the puzzle file: any bytes are written to a file, read with the game's reader and
// every line dealt through a LumeraGame with recording fakes. After every deal the puzzle
// must hold its invariants, and the lines must be those a plain reading of the bytes gives.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/fitting.h"
#include "engine/game.h"
#include "fakes.h"
#include "fuzz_check.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

// A fixed linear congruential generator, seeded from the input, so a crash replays exactly.
struct LcgRandom : IRandom {
    std::uint64_t state = 1;
    void Seed(std::uint64_t seed) override { state = seed | 1; }
    int Random(int n) override {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(n));
    }
};

// The file's lines by the plain rules: byte 26 ends the file, CRs are dropped (a CR before LF
// belongs to the line end, any other CR is dropped), LF ends a line, a line keeps 255 bytes.
std::vector<std::string> ReferenceLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (char c : bytes) {
        if (c == 26) break;
        if (c == '\r') {
            open = true;
            continue;
        }
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            continue;
        }
        open = true;
        if (line.size() < kMaxLineLength) line.push_back(c);
    }
    if (open) lines.push_back(line);
    return lines;
}

void RequireDealt(const LumeraGame& game, const FakeDialogs& dialogs, std::size_t messagesBefore) {
    FUZZ_REQUIRE(game.PuzzleLen <= 255);
    FUZZ_REQUIRE(game.Working.size() == game.PuzzleLen);
    FUZZ_REQUIRE(game.Solution.size() == game.PuzzleLen);
    FUZZ_REQUIRE(game.SubstKey == kAlphabet);
    FUZZ_REQUIRE(game.SelectedLetter == kNoLetter && !game.Solved);
    char forward[26] = {};
    char backward[26] = {};
    for (std::size_t k = 0; k < game.PuzzleLen; ++k) {
        const char plain = game.Solution[k];
        const char shown = game.Working[k];
        if (!IsLetter(plain)) {
            FUZZ_REQUIRE(shown == plain);
            continue;
        }
        FUZZ_REQUIRE(IsLetter(shown));
        // One permutation: each plain letter always shows as the same letter, and no two
        // plain letters show as the same one.
        char& to = forward[plain - 'A'];
        char& from = backward[shown - 'A'];
        FUZZ_REQUIRE(to == 0 || to == shown);
        FUZZ_REQUIRE(from == 0 || from == plain);
        to = shown;
        from = plain;
    }
    // The board shows the fitted line, or the line as read after the overflow message.
    const auto fitted = FitText(game.LineBuf);
    FUZZ_REQUIRE(game.Solution == (fitted ? *fitted : game.LineBuf));
    if (!fitted) {
        FUZZ_REQUIRE(dialogs.informations.size() > messagesBefore);
        FUZZ_REQUIRE(dialogs.informations.back().rfind("Sorry! Puzzle ", 0) == 0);
    }
}

std::string g_path;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/fuzz-puzzle-file-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) std::abort();
    close(fd);
    g_path = pattern;
    std::atexit([] { unlink(g_path.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::FILE* file = std::fopen(g_path.c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
        std::fclose(file);
    }
    const auto lines = ReferenceLines(bytes);

    FakeBoard board;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeStore store;
    LcgRandom random;
    FakeClock clock;
    LumeraGame game{GamePorts{board, dialogs, sound, store, random, clock, util::SystemFileOpener()}};
    std::uint64_t seed = 14695981039346656037ULL;
    for (char c : bytes) seed = (seed ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    random.Seed(seed);

    game.PuzzleFileName = game.DefaultPuzzleFile = g_path;
    game.OpenPuzzleFile();
    FUZZ_REQUIRE(dialogs.informations.empty());

    // Every line in turn, then once more: the end of the file wraps to the first line.
    for (std::size_t i = 0; i <= lines.size(); ++i) {
        const std::size_t before = dialogs.informations.size();
        game.ReadNextPuzzle();
        RequireDealt(game, dialogs, before);
        const bool wrapped = i == lines.size();
        const std::size_t expected = wrapped ? 0 : i;
        FUZZ_REQUIRE(game.PuzzleIndex == expected);
        FUZZ_REQUIRE(game.LineBuf == (lines.empty() ? std::string() : lines[expected]));
        if (wrapped) {
            FUZZ_REQUIRE(dialogs.informations.size() > before);
            FUZZ_REQUIRE(dialogs.informations[before] ==
                         "Last puzzle is " + std::to_string(lines.size()) + "! Starting back at puzzle 1. Press OK to continue.");
        }
        game.SavePosition();
    }

    // A jump to a numbered puzzle: within the file it lands there, beyond it on puzzle 1.
    const int number = 1 + static_cast<int>(seed % 24);
    dialogs.inputAnswers.push_back(std::to_string(number));
    const std::size_t before = dialogs.informations.size();
    game.SpecifyStart();
    RequireDealt(game, dialogs, before);
    const bool inside = static_cast<std::size_t>(number - 1) < lines.size();
    FUZZ_REQUIRE(game.PuzzleIndex == (inside ? number - 1 : 0));
    FUZZ_REQUIRE(game.LineBuf == (lines.empty() ? std::string() : lines[inside ? number - 1 : 0]));
    return 0;
}
