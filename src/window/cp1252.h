// Windows-1252, the single-byte character set of puzzle texts. Qt-free.
#pragma once

#include <optional>
#include <string>

namespace lumera {

// The Unicode code point of a byte (the five bytes undefined in Windows-1252 map to the C1
// controls of the same value, as Windows does).
char32_t Cp1252ToUnicode(unsigned char byte);
// The byte that holds a code point, or nothing when Windows-1252 cannot hold it.
std::optional<unsigned char> UnicodeToCp1252(char32_t codePoint);
// Converts code points to bytes: a character that cannot be held becomes "?", and the
// result is cut to maxBytes.
std::string ToCp1252(const std::u32string& text, std::size_t maxBytes = 255);

}  // namespace lumera
