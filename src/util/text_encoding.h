// Text encoding conversions of the settings store: Windows-1252, UTF-8 and UTF-16LE, done by
// the C library's iconv. Every conversion takes any bytes and never fails on content. Qt-free.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumera::util {

// Windows-1252 bytes to UTF-8. The five bytes Windows-1252 leaves unassigned become the C1
// controls of the same number, as Windows does, so that every byte survives a round trip.
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

}  // namespace lumera::util
