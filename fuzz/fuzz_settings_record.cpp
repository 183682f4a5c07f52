// Fuzzes the settings record and the number conversion. The first byte picks how the record
// is stored (binary of any length, a dword, text, another type, missing, or a store that
// cannot be opened); the rest is the stored data and also a typed puzzle number.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/game.h"
#include "engine/number.h"
#include "fakes.h"
#include "fuzz_check.h"

using namespace lumera;
using namespace lumera::testing;

namespace {

bool IsDefaultRecord(const TRegInfo& info) {
    return GetShortString(info.Version, kVersionCapacity) == "Lumera 7.0" &&
           GetShortString(info.PuzzleFile, kPuzzleFileCapacity) == "Lumera2.dat" && info.ShowCorrect == 1 &&
           info.Sound == 1 && GetPuzzleIndex(info) == 0;
}

// The conversion by its plain rules, in a wider type that cannot overflow for our purposes.
struct Reference {
    bool anyDigit = false;
    bool negative = false;
    __int128 magnitude = 0;  // stops growing past 2^100
};

Reference ConvertPlainly(const std::string& text) {
    Reference result;
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return result;
    if (text[i] == '+' || text[i] == '-') result.negative = text[i++] == '-';
    int base = 10;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16, i += 2;
    } else if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16, i += 1;
    }
    const std::string digits = base == 10 ? "0123456789" : "0123456789abcdefABCDEF";
    for (; i < text.size(); ++i) {
        const auto at = digits.find(text[i]);
        if (at == std::string::npos) break;
        const int value = static_cast<int>(at < 16 ? at : at - 6);
        result.anyDigit = true;
        if (result.magnitude < (__int128{1} << 100)) result.magnitude = result.magnitude * base + value;
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int kind = data[0] % 6;
    const std::vector<std::uint8_t> payload(data + 1, data + size);

    FakeBoard board;
    FakeDialogs dialogs;
    FakeSound sound;
    FakeStore store;
    SequenceRandom random;
    FakeClock clock;
    LumeraGame game{GamePorts{board, dialogs, sound, store, random, clock, util::SystemFileOpener()}};

    std::uint32_t dword = 0;
    for (std::size_t i = 0; i < payload.size() && i < 4; ++i) dword |= std::uint32_t(payload[i]) << (8 * i);
    const std::pair<std::string, std::string> where{kSettingsKey, kSettingsValueName};
    switch (kind) {
    case 0: store.values[where] = StoredValue{StoredValue::Kind::Binary, payload, 0, {}}; break;
    case 1: store.values[where] = StoredValue{StoredValue::Kind::Dword, {}, dword, {}}; break;
    case 2: store.values[where] = StoredValue{StoredValue::Kind::Text, {}, 0, {payload.begin(), payload.end()}}; break;
    case 3: store.values[where] = StoredValue{StoredValue::Kind::Other, payload, 0, {}}; break;
    case 4: break;                         // no value stored
    case 5: store.available = false; break;  // the key cannot be opened
    }

    game.LoadSettings();
    const auto record = RegInfoBytes(game.RegInfo);
    FUZZ_REQUIRE(record.size() == 152);
    if (kind == 5) {
        FUZZ_REQUIRE(record == std::vector<std::uint8_t>(152, 0));
    } else if (kind == 0 && payload.size() <= 152) {
        // A binary value fills its own length; the rest of the zeroed record stays zero.
        for (std::size_t i = 0; i < 152; ++i) FUZZ_REQUIRE(record[i] == (i < payload.size() ? payload[i] : 0));
    } else {
        FUZZ_REQUIRE(IsDefaultRecord(game.RegInfo));
    }

    // The getters clamp whatever length bytes were stored.
    const std::string version = GetShortString(game.RegInfo.Version, kVersionCapacity);
    const std::string file = GetShortString(game.RegInfo.PuzzleFile, kPuzzleFileCapacity);
    FUZZ_REQUIRE(version.size() == (record[0] < 10 ? record[0] : 10u));
    FUZZ_REQUIRE(file.size() == (record[11] < 133 ? record[11] : 133u));
    FUZZ_REQUIRE(std::memcmp(file.data(), record.data() + 12, file.size()) == 0);
    FUZZ_REQUIRE(GetPuzzleIndex(game.RegInfo) ==
                 (record[148] | record[149] << 8 | record[150] << 16 | std::uint32_t(record[151]) << 24));

    // Writing the record back stores exactly its 152 bytes, and they read back the same.
    if (kind != 5) {
        game.SaveSettings();
        FUZZ_REQUIRE(store.Record() == record);
        LumeraGame again{GamePorts{board, dialogs, sound, store, random, clock, util::SystemFileOpener()}};
        again.LoadSettings();
        FUZZ_REQUIRE(RegInfoBytes(again.RegInfo) == record);
    }
    // A name set into the record is cut to its capacity and read back as set.
    SetShortString(game.RegInfo.PuzzleFile, kPuzzleFileCapacity, file + version);
    FUZZ_REQUIRE(GetShortString(game.RegInfo.PuzzleFile, kPuzzleFileCapacity) == (file + version).substr(0, 133));

    // Number conversion against the plain rules: exact while small, saturated when huge.
    const std::string text(payload.begin(), payload.end());
    const auto converted = ConvertNumber(text);
    const Reference plain = ConvertPlainly(text);
    FUZZ_REQUIRE(converted.has_value() == plain.anyDigit);
    if (converted) {
        const std::int64_t value = *converted;
        FUZZ_REQUIRE(value == 0 || (value < 0) == plain.negative);
        const __int128 magnitude = value < 0 ? -__int128{value} : __int128{value};
        constexpr __int128 kExact = INT64_MAX / 16 - 16;
        if (plain.magnitude <= kExact) FUZZ_REQUIRE(magnitude == plain.magnitude);
        else FUZZ_REQUIRE(magnitude >= kExact);
    }
    return 0;
}
