// Recording fakes of the engine's ports, and small helpers shared by the engine tests.
#pragma once

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/game.h"
#include "util/file_opener.h"

namespace lumera::testing {

struct FakeBoard : IBoard {
    struct Draw {
        enum Kind { Alphabet, Puzzle } kind;
        int cell;  // alphabet cell number or grid cell number
        char text;
        Colour colour;
        bool operator==(const Draw&) const = default;
    };
    std::vector<Draw> draws;
    int fullRepaints = 0;
    std::string caption;
    std::vector<std::pair<std::string, bool>> commandChanges;
    std::map<std::string, bool> checks;

    void DrawAlphabetCell(char letter, Colour colour) override {
        draws.push_back({Draw::Alphabet, letter - 'A' + 1, letter, colour});
    }
    void DrawPuzzleCell(int n, char text, Colour colour) override { draws.push_back({Draw::Puzzle, n, text, colour}); }
    void FullRepaint() override { ++fullRepaints; }
    void SetCaption(const std::string& text) override { caption = text; }
    void SetCommandEnabled(const std::string& name, bool enabled) override { commandChanges.emplace_back(name, enabled); }
    void SetOptionChecked(const std::string& name, bool checked) override { checks[name] = checked; }
    std::vector<int> DrawnPuzzleCells() const {
        std::vector<int> cells;
        for (const auto& d : draws)
            if (d.kind == Draw::Puzzle) cells.push_back(d.cell);
        return cells;
    }
};

struct FakeDialogs : IDialogs {
    std::vector<std::string> informations;
    std::vector<std::pair<std::string, std::string>> messages;  // text, caption
    struct Prompt {
        std::string caption, prompt, offered;
    };
    std::vector<Prompt> prompts;
    std::deque<std::optional<std::string>> inputAnswers;  // nothing = Cancel
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<std::pair<std::string, std::string>> fileRequests;
    std::function<void()> onMessage;  // runs while a message box is "open"

    void ShowInformation(const std::string& text) override { informations.push_back(text); }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.emplace_back(text, caption);
        if (onMessage) onMessage();
    }
    bool InputBox(const std::string& caption, const std::string& prompt, std::string& text) override {
        prompts.push_back({caption, prompt, text});
        if (inputAnswers.empty()) throw std::logic_error("unexpected input box: " + prompt);
        auto answer = inputAnswers.front();
        inputAnswers.pop_front();
        if (!answer) return false;
        text = *answer;
        return true;
    }
    std::optional<std::string> ChooseFile(const std::string& filter, const std::string& extension) override {
        fileRequests.emplace_back(filter, extension);
        if (fileAnswers.empty()) throw std::logic_error("unexpected file chooser");
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

struct FakeSound : ISound {
    std::vector<std::pair<std::string, bool>> played;  // name, synchronous
    void PlaySound(const std::string& name, bool synchronous) override { played.emplace_back(name, synchronous); }
};

struct FakeStore : ISettingsStore {
    bool available = true;
    int writes = 0;
    std::map<std::pair<std::string, std::string>, StoredValue> values;
    bool OpenKey(const std::string&) override { return available; }
    std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) override {
        auto it = values.find({key, name});
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) override {
        ++writes;
        values[{key, name}] = StoredValue{StoredValue::Kind::Binary, bytes, 0, {}};
    }
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override {
        ++writes;
        values[{key, name}] = StoredValue{StoredValue::Kind::Dword, {}, value, {}};
    }
    void WriteText(const std::string& key, const std::string& name, const std::string& text) override {
        ++writes;
        values[{key, name}] = StoredValue{StoredValue::Kind::Text, {}, 0, text};
    }
    std::vector<std::uint8_t> Record() const {
        auto it = values.find({kSettingsKey, kSettingsValueName});
        return it == values.end() ? std::vector<std::uint8_t>{} : it->second.bytes;
    }
    std::uint32_t StoredIndex() const {
        auto r = Record();
        if (r.size() < 152) return 0xFFFFFFFF;
        return r[148] | r[149] << 8 | r[150] << 16 | std::uint32_t(r[151]) << 24;
    }
};

// Random(n) answers (counter++) mod n, so a deal is fully predictable; values can also be queued.
struct SequenceRandom : IRandom {
    std::uint64_t counter = 0;
    std::deque<int> queued;
    std::vector<int> bounds;  // every n asked for
    void Seed(std::uint64_t seed) override { counter = seed; }
    int Random(int n) override {
        bounds.push_back(n);
        if (!queued.empty()) {
            int v = queued.front();
            queued.pop_front();
            return v;
        }
        return static_cast<int>(counter++ % static_cast<std::uint64_t>(n));
    }
};

struct FakeClock : IClock {
    std::uint64_t seed = 0;
    int today = 46000;
    std::uint64_t SeedValue() override { return seed; }
    int Today() override { return today; }
};

// Files held in memory, named by path. Every read hands out at most chunkSize bytes; a file
// with a failure text throws it once its bytes have been read, as a failing disk would.
struct FakeFiles : IFileOpener {
    struct File {
        std::string bytes;
        std::optional<std::string> failure;
    };
    std::map<std::string, File> files;
    std::size_t chunkSize = 64 * 1024;

    struct Reader : IFileReader {
        File file;
        std::size_t chunkSize;
        std::size_t position = 0;
        Reader(File f, std::size_t chunk) : file(std::move(f)), chunkSize(chunk) {}
        std::size_t Read(unsigned char* buffer, std::size_t size) override {
            if (position == file.bytes.size() && file.failure) throw std::runtime_error(*file.failure);
            const std::size_t count = std::min({size, chunkSize, file.bytes.size() - position});
            std::copy_n(file.bytes.data() + position, count, buffer);
            position += count;
            return count;
        }
    };
    std::unique_ptr<IFileReader> OpenForReading(const std::string& path) override {
        const auto it = files.find(path);
        if (it == files.end()) throw std::runtime_error("No such fake file: " + path);
        return std::make_unique<Reader>(it->second, chunkSize);
    }
};

// One game with all fakes but the file opener: the engine's file flows run on real files. A
// suite of a real settings store passes it in place of the fake one.
struct GameRig {
    explicit GameRig(ISettingsStore* settings = nullptr) : settingsStore(settings ? *settings : store) {}
    GameRig(const GameRig&) = delete;
    GameRig& operator=(const GameRig&) = delete;

    FakeBoard board;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeStore store;
    SequenceRandom random;
    FakeClock clock;
    ISettingsStore& settingsStore;
    LumeraGame game{GamePorts{board, dialogs, sound, settingsStore, random, clock, util::SystemFileOpener()}};

    // Puts a puzzle on the board with a known scramble: Solution = text, Working = scrambled.
    void SetPuzzle(const std::string& solution, const std::string& working) {
        game.Solution = solution;
        game.Working = working;
        game.LineBuf = solution;
        game.PuzzleLen = static_cast<std::uint16_t>(solution.size());
        game.Solved = false;
        board.draws.clear();
    }
};

// The text of the std::runtime_error an action throws.
template <typename Action>
std::string FailureText(Action action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

// A scratch folder that lives for one test.
struct TempDir {
    std::filesystem::path path;
#ifdef _WIN32
    // No mkdtemp on Windows: a fresh name in the temporary folder, taken only if it is new.
    TempDir() {
        static unsigned counter = 0;
        const auto base = std::filesystem::temp_directory_path();
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        do {
            path = base / ("lumera-engine-" + std::to_string(stamp) + "-" + std::to_string(++counter));
        } while (!std::filesystem::create_directory(path));
    }
#else
    TempDir() {
        char pattern[] = "/tmp/lumera-engine-XXXXXX";
        path = mkdtemp(pattern);
    }
#endif
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        auto file = path / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
};

}  // namespace lumera::testing
