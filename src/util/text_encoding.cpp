// Text encoding conversions by table and by hand, so that they are the same on every
// platform. UTF-8 here is lenient where stored text needs it: encoded surrogates are read and
// written like other code points, so that broken UTF-16 pairs survive a round trip.
#include "util/text_encoding.h"

namespace lumera::util {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of Windows-1252 is Latin-1.
constexpr char32_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Appends a code point as UTF-8; surrogates are encoded like any other code point.
void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

void AppendUtf16Unit(std::string& out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

char32_t Utf16UnitAt(std::string_view bytes, std::size_t pos) {
    return static_cast<unsigned char>(bytes[pos]) | (static_cast<unsigned char>(bytes[pos + 1]) << 8);
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// The UTF-8 sequence at text[pos], surrogates accepted: its code point and length, or nothing
// when the bytes there do not form a sequence (overlong forms, values past U+10FFFF, a
// missing continuation byte).
struct Decoded {
    char32_t codePoint;
    std::size_t length;
};
std::optional<Decoded> DecodeUtf8(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t minimum = 0;
    if (lead < 0x80) return Decoded {lead, 1};
    if (lead >= 0xC2 && lead < 0xE0) {
        length = 2, codePoint = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, codePoint = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + length > text.size()) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF) return std::nullopt;
    return Decoded {codePoint, length};
}

}  // namespace

char32_t Cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighTable[byte - 0x80];
    return byte;
}

std::optional<unsigned char> UnicodeToCp1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<unsigned char>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kHighTable[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::string ToCp1252(const std::u32string& text, std::size_t maxBytes) {
    std::string bytes;
    for (char32_t c : text) {
        if (bytes.size() >= maxBytes) break;
        bytes.push_back(static_cast<char>(UnicodeToCp1252(c).value_or('?')));
    }
    return bytes;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto decoded = DecodeUtf8(text, pos);
        if (!decoded) {
            out += text[pos++];
            continue;
        }
        out += static_cast<char>(UnicodeToCp1252(decoded->codePoint).value_or('?'));
        pos += decoded->length;
    }
    return out;
}

std::optional<std::string> Utf16LeToUtf8(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size(); pos += 2) {
        const char32_t unit = Utf16UnitAt(bytes, pos);
        if (IsHighSurrogate(unit) && pos + 2 < bytes.size()) {
            const char32_t low = Utf16UnitAt(bytes, pos + 2);
            if (IsLowSurrogate(low)) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                pos += 2;
                continue;
            }
        }
        AppendUtf8(out, unit);  // a character of the basic plane, or a lone surrogate
    }
    return out;
}

std::string Utf8ToUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t pos = 0; pos < text.size();) {
        const auto decoded = DecodeUtf8(text, pos);
        if (!decoded) {
            AppendUtf16Unit(out, Cp1252ToUnicode(static_cast<unsigned char>(text[pos++])));
            continue;
        }
        const char32_t codePoint = decoded->codePoint;
        if (codePoint >= 0x10000) {
            AppendUtf16Unit(out, 0xD800 + ((codePoint - 0x10000) >> 10));
            AppendUtf16Unit(out, 0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            AppendUtf16Unit(out, codePoint);  // surrogates included
        }
        pos += decoded->length;
    }
    return out;
}

std::size_t Utf8CharCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace lumera::util
