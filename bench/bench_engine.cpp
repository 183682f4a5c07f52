// Benchmarks of the engine's hot operations (dealing, line-fitting, the exchange, the hint,
// skipping into a long puzzle file) and of writing the settings record into a large store.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "engine/fakes.h"
#include "engine/fitting.h"
#include "engine/random_source.h"
#include "util/registry_store.h"
#ifdef LUMERA_BENCH_STORE_PORT
#include "window/qt/qt_ports.h"
#endif

using namespace lumera;
using namespace lumera::testing;

namespace {

// The engine with recording fakes, but the game's own random generator: a deal draws 676
// numbers, and the real generator is what a deal costs.
struct BenchRig {
    FakeBoard board;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeStore store;
    StdRandom random;
    FakeClock clock;
    LumeraGame game{GamePorts{board, dialogs, sound, store, random, clock, util::SystemFileOpener()}};
    BenchRig() { random.Seed(12345); }
    void Forget() {
        board.draws.clear();
        dialogs.informations.clear();
    }
};

// The bundled collection, one quotation a line.
const std::vector<std::string>& Quotations() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> result;
        std::ifstream in(LUMERA_DATA_DIR "/Lumera8.dat", std::ios::binary);
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) result.push_back(line);
        if (result.empty()) result.push_back("A HOUSE DIVIDED AGAINST ITSELF CANNOT STAND. - ABRAHAM LINCOLN");
        return result;
    }();
    return lines;
}

// Quotations joined by blanks and cut to a length; words cross row ends all over it.
std::string LongText(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; text.size() < length; ++i) text += Quotations()[i % Quotations().size()] + " ";
    text.resize(length);
    if (text.back() == ' ') text.back() = 'X';
    return text;
}

// A 255-byte line: every word that crosses a row end would grow it past the limit, so fitting
// gives up and the deal shows the overflow message (recorded by the fake) and plays it as read.
const std::string kFullLine = LongText(255);
// A line of 200 bytes that fits: several words are moved down a row.
const std::string kFittingLine = LongText(200);

void BM_DealPuzzle_255ByteLine(benchmark::State& state) {
    BenchRig rig;
    for (auto _ : state) {
        rig.game.LineBuf = kFullLine;
        rig.game.DealPuzzle();
        rig.Forget();
        benchmark::DoNotOptimize(rig.game.Working.data());
    }
    if (rig.game.PuzzleLen != 255) state.SkipWithError("the 255-byte line was not dealt as read");
}
BENCHMARK(BM_DealPuzzle_255ByteLine);

void BM_DealPuzzle_200ByteLineFitted(benchmark::State& state) {
    BenchRig rig;
    for (auto _ : state) {
        rig.game.LineBuf = kFittingLine;
        rig.game.DealPuzzle();
        benchmark::DoNotOptimize(rig.game.Working.data());
    }
    const auto fitted = FitText(kFittingLine);
    if (!fitted || *fitted == kFittingLine || rig.game.Solution != *fitted) state.SkipWithError("the line was not fitted");
}
BENCHMARK(BM_DealPuzzle_200ByteLineFitted);

void BM_FitText_255ByteLine(benchmark::State& state) {
    for (auto _ : state) {
        auto fitted = FitText(kFullLine);
        benchmark::DoNotOptimize(fitted);
    }
}
BENCHMARK(BM_FitText_255ByteLine);

void BM_FitText_200ByteLine(benchmark::State& state) {
    for (auto _ : state) {
        auto fitted = FitText(kFittingLine);
        benchmark::DoNotOptimize(fitted);
    }
}
BENCHMARK(BM_FitText_200ByteLine);

// A full board (255 characters) with the two most frequent letters of the quotation.
struct FullBoard {
    BenchRig rig;
    char first = 'E', second = 'T';
    FullBoard() {
        rig.game.LineBuf = kFullLine;
        rig.game.DealPuzzle();
        int counts[26] = {};
        for (char c : rig.game.Working)
            if (IsLetter(c)) ++counts[c - 'A'];
        std::vector<int> order(26);
        for (int i = 0; i < 26; ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&](int a, int b) { return counts[a] > counts[b]; });
        first = static_cast<char>('A' + order[0]);
        second = static_cast<char>('A' + order[1]);
        rig.Forget();
    }
};

void BM_SwapLetters_FullBoard(benchmark::State& state) {
    FullBoard board;
    for (auto _ : state) {
        // Exchanging the same pair again puts them back, so every pass does the same work.
        board.rig.game.SwapLetters(board.first, board.second);
        board.rig.board.draws.clear();
    }
    board.rig.game.SwapLetters(board.first, board.second);
    state.counters["cells_redrawn"] = static_cast<double>(board.rig.board.draws.size());
    if (board.rig.game.Solved) state.SkipWithError("the exchange finished the puzzle");
}
BENCHMARK(BM_SwapLetters_FullBoard);

void BM_Hint_FullBoard(benchmark::State& state) {
    FullBoard board;
    const std::string scrambled = board.rig.game.Working;
    for (auto _ : state) {
        board.rig.game.Working = scrambled;  // a 255-byte copy, so that each hint has work to do
        board.rig.game.menuCheatClick();
        board.rig.board.draws.clear();
    }
    if (board.rig.game.Solved) state.SkipWithError("one hint finished the puzzle");
}
BENCHMARK(BM_Hint_FullBoard);

// A puzzle file of the bundled quotations, repeated to the given number of lines.
struct PuzzleFile {
    TempDir dir;
    std::string path;
    std::size_t bytes = 0;
    explicit PuzzleFile(int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) text += Quotations()[i % Quotations().size()] + "\r\n";
        bytes = text.size();
        path = dir.Write("Lumera8.dat", text);
    }
};

void BM_SkipToPosition(benchmark::State& state, int index, int lines) {
    PuzzleFile file(lines);
    BenchRig rig;
    for (auto _ : state) {
        rig.game.PuzzleText.Open(file.path);
        rig.game.PuzzleIndex = static_cast<std::uint16_t>(index);
        rig.game.SkipToPosition();
    }
    if (rig.game.PuzzleIndex != index || !rig.dialogs.informations.empty())
        state.SkipWithError("the file wrapped around");
    state.counters["file_kB"] = static_cast<double>(file.bytes) / 1024.0;
}
BENCHMARK_CAPTURE(BM_SkipToPosition, to_9999_of_10000_lines, 9999, 10000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SkipToPosition, to_65535_of_65535_lines, 65535, 65535)->Unit(benchmark::kMicrosecond);

// ---- Settings store ----------------------------------------------------------------------------

// A store file with 10,000 values of other programs (dwords, texts and binaries under 100
// keys) and the game's record at the end.
struct LargeStore {
    TempDir dir;
    std::filesystem::path file;
    std::size_t bytes = 0;
    LargeStore() {
        file = dir.path / "lumera8" / "registry.reg";
        std::filesystem::create_directories(file.parent_path());
        util::RegDocument document;
        for (int key = 0; key < 100; ++key) {
            const std::string path = "HKEY_CURRENT_USER\\Software\\Other\\Program" + std::to_string(key);
            for (int n = 0; n < 100; ++n) {
                util::RegValue value;
                const std::string name = "Value" + std::to_string(n);
                switch (n % 3) {
                case 0:
                    value.type = util::RegValue::Type::Dword;
                    value.dword = static_cast<std::uint32_t>(key * 1000 + n);
                    break;
                case 1:
                    value.type = util::RegValue::Type::Text;
                    value.text = "C:\\Program Files\\Other\\Program" + std::to_string(key) + "\\setting " +
                                 std::to_string(n);
                    break;
                default:
                    value.type = util::RegValue::Type::Binary;
                    value.bytes.assign(24, static_cast<std::uint8_t>(n));
                    break;
                }
                document.Set(path, name, value);
            }
        }
        TRegInfo info{};
        ApplyDefaults(info);
        util::RegValue record;
        record.type = util::RegValue::Type::Binary;
        record.bytes = RegInfoBytes(info);
        document.Set(kSettingsKey, kSettingsValueName, record);
        const std::string text = util::SerializeRegistryFile(document);
        bytes = text.size();
        std::ofstream(file, std::ios::binary) << text;
    }
    std::string Read() const {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

void CheckStore(benchmark::State& state, const LargeStore& store, std::uint32_t lastIndex) {
    const auto document = util::ParseRegistryFile(store.Read());
    std::size_t values = 0;
    if (document)
        for (const auto& key : document->keys) values += key.entries.size();
    const util::RegValue* record = document ? document->Find(kSettingsKey, kSettingsValueName) : nullptr;
    TRegInfo info{};
    if (record) FillRegInfo(info, record->bytes.data(), record->bytes.size());
    if (values != 10001 || !record || record->bytes.size() != kRegInfoSize || GetPuzzleIndex(info) != lastIndex)
        state.SkipWithError("the store does not hold the last record and the other values");
    state.counters["file_kB"] = static_cast<double>(store.bytes) / 1024.0;
}

#ifdef LUMERA_BENCH_STORE_PORT
// The game's SaveSettings through the window's port over the real store on disk.
void BM_SaveSettings_StoreOf10000Values(benchmark::State& state) {
    LargeStore store;
    util::RegistryStore registry(store.file);
    StoreSettingsPort port(registry);
    FakeBoard board;
    FakeDialogs dialogs;
    FakeSound sound;
    StdRandom random;
    FakeClock clock;
    LumeraGame game{GamePorts{board, dialogs, sound, port, random, clock, util::SystemFileOpener()}};
    ApplyDefaults(game.RegInfo);
    std::uint32_t index = 0;
    for (auto _ : state) {
        SetPuzzleIndex(game.RegInfo, ++index);  // every write changes the record
        game.SaveSettings();
    }
    CheckStore(state, store, index);
}
BENCHMARK(BM_SaveSettings_StoreOf10000Values)->Unit(benchmark::kMillisecond);
#endif

// The same write straight to the store.
void BM_RegistryStoreWrite_StoreOf10000Values(benchmark::State& state) {
    LargeStore store;
    util::RegistryStore registry(store.file);
    TRegInfo info{};
    ApplyDefaults(info);
    std::uint32_t index = 0;
    for (auto _ : state) {
        SetPuzzleIndex(info, ++index);
        registry.WriteBinary(kSettingsKey, kSettingsValueName, RegInfoBytes(info));
    }
    CheckStore(state, store, index);
}
BENCHMARK(BM_RegistryStoreWrite_StoreOf10000Values)->Unit(benchmark::kMillisecond);

// What such a write is made of: parsing the file, serialising it, and putting the bytes on
// disk the crash-safe way (temporary file, fsync, rename, fsync of the folder).
void BM_StoreParse_10000Values(benchmark::State& state) {
    LargeStore store;
    const std::string bytes = store.Read();
    for (auto _ : state) {
        auto document = util::ParseRegistryFile(bytes);
        benchmark::DoNotOptimize(document);
    }
}
BENCHMARK(BM_StoreParse_10000Values)->Unit(benchmark::kMillisecond);

void BM_StoreSerialise_10000Values(benchmark::State& state) {
    LargeStore store;
    const auto document = util::ParseRegistryFile(store.Read());
    for (auto _ : state) {
        auto bytes = util::SerializeRegistryFile(*document);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_StoreSerialise_10000Values)->Unit(benchmark::kMillisecond);

void WriteFileDurably(const std::filesystem::path& file, const std::string& bytes, bool sync) {
    const std::string temporary = file.string() + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot write " + temporary);
    if (sync) ::fsync(fd);
    ::close(fd);
    ::rename(temporary.c_str(), file.c_str());
    if (sync) {
        const int folder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::fsync(folder);
        ::close(folder);
    }
}

// The large store's bytes, or only a header and the game's record (about 0.6 kB).
void BM_FileReplace(benchmark::State& state, bool large, bool sync) {
    LargeStore store;
    std::string bytes = store.Read();
    if (!large) bytes = bytes.substr(0, 10) + bytes.substr(bytes.find("[HKEY_LOCAL_MACHINE"));
    for (auto _ : state) WriteFileDurably(store.file, bytes, sync);
    state.counters["file_kB"] = static_cast<double>(bytes.size()) / 1024.0;
}
BENCHMARK_CAPTURE(BM_FileReplace, store_of_10000_values_with_fsync, true, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FileReplace, store_of_10000_values_without_fsync, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FileReplace, record_only_with_fsync, false, true)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
