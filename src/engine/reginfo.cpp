// The settings record's byte-level accessors and defaults.
#include "engine/reginfo.h"

#include <algorithm>
#include <cstring>

namespace lumera {

std::string GetShortString(const std::uint8_t* field, std::size_t capacity) {
    const std::size_t length = std::min<std::size_t>(field[0], capacity);
    return std::string(reinterpret_cast<const char*>(field + 1), length);
}

void SetShortString(std::uint8_t* field, std::size_t capacity, const std::string& value) {
    const std::size_t length = std::min(value.size(), capacity);
    field[0] = static_cast<std::uint8_t>(length);
    std::memcpy(field + 1, value.data(), length);
}

std::uint32_t GetPuzzleIndex(const TRegInfo& info) {
    return std::uint32_t(info.PuzzleIndex[0]) | std::uint32_t(info.PuzzleIndex[1]) << 8 |
           std::uint32_t(info.PuzzleIndex[2]) << 16 | std::uint32_t(info.PuzzleIndex[3]) << 24;
}

void SetPuzzleIndex(TRegInfo& info, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) info.PuzzleIndex[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void ApplyDefaults(TRegInfo& info) {
    SetShortString(info.Version, kVersionCapacity, "Lumera 7.0");
    SetShortString(info.PuzzleFile, kPuzzleFileCapacity, "Lumera2.dat");
    info.ShowCorrect = 1;
    info.Sound = 1;
    SetPuzzleIndex(info, 0);
}

std::vector<std::uint8_t> RegInfoBytes(const TRegInfo& info) {
    const auto* begin = reinterpret_cast<const std::uint8_t*>(&info);
    return std::vector<std::uint8_t>(begin, begin + kRegInfoSize);
}

void FillRegInfo(TRegInfo& info, const std::uint8_t* data, std::size_t size) {
    // An empty stored value has no data pointer at all, and memcpy must not be given one.
    if (size == 0) return;
    std::memcpy(&info, data, std::min(size, kRegInfoSize));
}

}  // namespace lumera
