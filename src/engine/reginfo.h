// The settings record: 152 bytes, stored and read back as one binary block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumera {

// Byte layout: Version (short string, capacity 10) at 0, PuzzleFile (short string,
// capacity 133) at 11, ShowCorrect at 145, Sound at 146, one alignment byte at 147,
// PuzzleIndex (32-bit little-endian) at 148. Bytes past a short string's length are kept.
struct TRegInfo {
    std::uint8_t Version[11];
    std::uint8_t PuzzleFile[134];
    std::uint8_t ShowCorrect;
    std::uint8_t Sound;
    std::uint8_t Alignment;
    std::uint8_t PuzzleIndex[4];
};
static_assert(sizeof(TRegInfo) == 152, "the stored record is exactly 152 bytes");
static_assert(offsetof(TRegInfo, PuzzleFile) == 11 && offsetof(TRegInfo, ShowCorrect) == 145 &&
                  offsetof(TRegInfo, PuzzleIndex) == 148,
              "field offsets are fixed by the stored format");

inline constexpr std::size_t kRegInfoSize = sizeof(TRegInfo);
inline constexpr std::size_t kVersionCapacity = 10;
inline constexpr std::size_t kPuzzleFileCapacity = 133;

// Reads a short string; a length byte above the capacity is clamped to it.
std::string GetShortString(const std::uint8_t* field, std::size_t capacity);
// Sets length and leading bytes, cut to the capacity; bytes past the new length stay as they were.
void SetShortString(std::uint8_t* field, std::size_t capacity, const std::string& value);

std::uint32_t GetPuzzleIndex(const TRegInfo& info);
void SetPuzzleIndex(TRegInfo& info, std::uint32_t value);

// Sets Version, PuzzleFile, ShowCorrect, Sound and PuzzleIndex; every other byte is kept.
void ApplyDefaults(TRegInfo& info);

std::vector<std::uint8_t> RegInfoBytes(const TRegInfo& info);
// Copies min(size, 152) bytes into the record; the rest keeps its contents.
void FillRegInfo(TRegInfo& info, const std::uint8_t* data, std::size_t size);

}  // namespace lumera
