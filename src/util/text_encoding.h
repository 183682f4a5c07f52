// Text encodings: the one Windows-1252 table of the program, and the conversions between
// Windows-1252, UTF-8 and UTF-16LE that the settings store and the windows use. Every
// conversion takes any bytes and never fails on content. Plain C++, no system calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumera::util {

// The Unicode code point of a Windows-1252 byte. The five bytes Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as Windows does.
char32_t Cp1252ToUnicode(unsigned char byte);
// The byte that holds a code point, or nothing when Windows-1252 cannot hold it.
std::optional<unsigned char> UnicodeToCp1252(char32_t codePoint);
// Converts code points to bytes: a character that cannot be held becomes "?", and the
// result is cut to maxBytes.
std::string ToCp1252(const std::u32string& text, std::size_t maxBytes = 255);

// Windows-1252 bytes to UTF-8. The unassigned bytes become their C1 controls, so that every
// byte survives a round trip.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252 bytes. A character Windows-1252 cannot hold becomes "?"; a byte that
// does not start a valid UTF-8 sequence is kept as it is (taken as Windows-1252 already).
std::string Utf8ToCp1252(std::string_view text);

// UTF-16LE bytes to UTF-8; nothing for an odd number of bytes. A surrogate without its partner
// is encoded like any other code point, so that a file with broken pairs is carried through.
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes);

// UTF-8 to UTF-16LE bytes, the inverse of Utf16LeToUtf8 (lone surrogates included); a byte
// that does not start a valid UTF-8 sequence is taken as a Windows-1252 character.
std::string Utf8ToUtf16Le(std::string_view text);

// The number of characters in UTF-8 text (bytes that are not continuation bytes).
std::size_t Utf8CharCount(std::string_view text);

// Whether two texts are equal when ASCII letters are compared without their case, as registry
// key and value names are.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace lumera::util
