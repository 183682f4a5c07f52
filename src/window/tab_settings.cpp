// One tab's writes of the settings record, merged into the record as stored.
#include "window/tab_settings.h"

#include <cstddef>

#include "engine/game.h"
#include "engine/reginfo.h"

namespace lumera::web {

namespace {

constexpr std::size_t kOptions = offsetof(TRegInfo, ShowCorrect);
static_assert(offsetof(TRegInfo, Sound) == kOptions + 1, "the two options lie side by side");

bool IsRecord(const std::string& key, const std::string& name) { return key == kSettingsKey && name == kSettingsValueName; }

bool IsWholeRecord(const std::optional<StoredValue>& value) {
    return value && value->kind == StoredValue::Kind::Binary && value->bytes.size() == kRegInfoSize;
}

}  // namespace

std::optional<StoredValue> TabSettingsStore::ReadValue(const std::string& key, const std::string& name) {
    auto value = store_.ReadValue(key, name);
    if (IsRecord(key, name)) {
        if (IsWholeRecord(value))
            options_ = std::array<std::uint8_t, 2>{value->bytes[kOptions], value->bytes[kOptions + 1]};
        else
            options_.reset();
    }
    return value;
}

// A write that changes an option takes everything else from the stored record; any other
// write of the record is a move of the position and takes the stored options.
void TabSettingsStore::WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    if (!IsRecord(key, name) || bytes.size() != kRegInfoSize) {
        store_.WriteBinary(key, name, bytes);
        return;
    }
    const auto stored = store_.ReadValue(key, name);
    std::vector<std::uint8_t> merged = bytes;
    if (options_ && IsWholeRecord(stored)) {
        const bool optionChanged = bytes[kOptions] != (*options_)[0] || bytes[kOptions + 1] != (*options_)[1];
        if (optionChanged) {
            merged = stored->bytes;
            for (std::size_t i = 0; i < 2; ++i)
                if (bytes[kOptions + i] != (*options_)[i]) merged[kOptions + i] = bytes[kOptions + i];
        } else {
            merged[kOptions] = stored->bytes[kOptions];
            merged[kOptions + 1] = stored->bytes[kOptions + 1];
        }
    }
    options_ = std::array<std::uint8_t, 2>{bytes[kOptions], bytes[kOptions + 1]};
    store_.WriteBinary(key, name, merged);
}

}  // namespace lumera::web
