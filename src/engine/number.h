// The conversion of a typed puzzle number: blanks, sign, decimal or hexadecimal digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lumera {

// Skips leading blanks, takes an optional "+" or "-", then decimal digits or hexadecimal
// digits after "$", "x", "X", "0x" or "0X", and stops at the first character that does not
// fit. Returns the value read up to there, or nothing when no digit was read. Magnitudes
// beyond the 64-bit range saturate, so they are simply out of any sensible range.
std::optional<std::int64_t> ConvertNumber(const std::string& text);

}  // namespace lumera
