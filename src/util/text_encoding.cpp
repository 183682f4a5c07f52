// Text encoding conversions of the settings store, done by iconv. iconv stops at what its
// encodings refuse: the five unassigned Windows-1252 bytes, UTF-8 that is not well formed,
// lone UTF-16 surrogates, and characters Windows-1252 cannot hold. Each such spot is settled
// here, one character at a time, and the conversion goes on after it.
#include "util/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace lumera::util {
namespace {

// The bytes Windows-1252 leaves unassigned; each stands for the C1 control of its number.
bool IsUnassignedCp1252(char32_t value) {
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
}

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

// The UTF-8 sequence at text[pos], surrogates accepted (iconv refuses them): its code point
// and length, or nothing when the bytes there do not form a sequence.
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

// One iconv conversion, opened once per thread and kept (opening one loads a module). Run
// converts everything iconv takes; at a spot it refuses, or at an incomplete sequence at the
// end, settle(input, pos, out) appends what stands for the input there and returns how many
// bytes it took (at least one).
class Converter {
public:
    Converter(const char* to, const char* from) : descriptor_(::iconv_open(to, from)) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() {
        if (Usable()) ::iconv_close(descriptor_);
    }
    bool Usable() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    // Appends the conversion of input to out. Without iconv (a C library without the
    // conversion), every character is settled by hand.
    template <typename Settle>
    void Run(std::string_view input, std::string& out, Settle settle) {
        if (Usable()) ::iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);  // a fresh start
        char buffer[4096];
        std::size_t pos = 0;
        while (pos < input.size()) {
            if (!Usable()) {
                pos += settle(input, pos, out);
                continue;
            }
            // A piece at a time: at a refused character iconv redoes the work it did ahead of
            // it, so a long piece would make text with many refusals quadratic.
            const std::size_t piece = std::min(input.size() - pos, kPiece);
            char* in = const_cast<char*>(input.data() + pos);  // iconv does not write the input
            std::size_t inLeft = piece;
            char* to = buffer;
            std::size_t toLeft = sizeof buffer;
            const std::size_t result = ::iconv(descriptor_, &in, &inLeft, &to, &toLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(to - buffer));
            pos += piece - inLeft;
            if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
            // A character cut at the end of a piece is whole in the next one.
            if (error == EINVAL && pos + inLeft < input.size()) continue;
            // EILSEQ, or EINVAL at the end: iconv refused the bytes at pos; settle them.
            pos += settle(input, pos, out);
        }
    }

private:
    static constexpr std::size_t kPiece = 512;
    iconv_t descriptor_;
};

// The Unicode code point of one Windows-1252 byte.
char32_t Cp1252CodePoint(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0 || IsUnassignedCp1252(byte)) return byte;
    std::string utf8 = Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(&byte), 1));
    const auto decoded = DecodeUtf8(utf8, 0);
    return decoded ? decoded->codePoint : byte;
}

// Whether the bytes at pos are a Unicode tag character (U+E0000 to U+E007F), which iconv drops
// without a word when the target cannot hold it.
bool IsTagCharacter(std::string_view text, std::size_t pos) {
    return pos + 4 <= text.size() && text[pos] == '\xF3' && text[pos + 1] == '\xA0' &&
           (text[pos + 2] == '\x80' || text[pos + 2] == '\x81') &&
           (static_cast<unsigned char>(text[pos + 3]) & 0xC0) == 0x80;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    thread_local Converter converter("UTF-8", "WINDOWS-1252");
    // Only the unassigned bytes are refused; without iconv the rest read as Latin-1.
    converter.Run(text, out, [](std::string_view input, std::size_t pos, std::string& to) {
        AppendUtf8(to, static_cast<unsigned char>(input[pos]));
        return std::size_t {1};
    });
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    thread_local Converter converter("WINDOWS-1252", "UTF-8");
    const auto settle = [](std::string_view input, std::size_t pos, std::string& to) {
        const auto decoded = DecodeUtf8(input, pos);
        if (!decoded) {
            to += input[pos];
            return std::size_t {1};
        }
        // A character iconv would not hold: one of the unassigned bytes, or "?".
        const char32_t codePoint = decoded->codePoint;
        if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint < 0x100) || IsUnassignedCp1252(codePoint)) {
            to += static_cast<char>(codePoint);
        } else {
            to += '?';
        }
        return decoded->length;
    };
    // Tag characters become "?" like any other character Windows-1252 cannot hold: the text
    // goes to iconv in the pieces between them. A tag starts with a lead byte, so no piece
    // ends inside a character that the whole text would have had there.
    std::size_t start = 0;
    for (std::size_t tag = text.find('\xF3'); tag != std::string_view::npos; tag = text.find('\xF3', tag + 1)) {
        if (!IsTagCharacter(text, tag)) continue;
        converter.Run(text.substr(start, tag - start), out, settle);
        out += '?';
        start = tag + 4;
        tag += 3;
    }
    converter.Run(text.substr(start), out, settle);
    return out;
}

std::optional<std::string> Utf16LeToUtf8(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::string out;
    thread_local Converter converter("UTF-8", "UTF-16LE");
    converter.Run(bytes, out, [](std::string_view input, std::size_t pos, std::string& to) {
        const char32_t unit = static_cast<unsigned char>(input[pos]) | (static_cast<unsigned char>(input[pos + 1]) << 8);
        if (unit >= 0xD800 && unit < 0xDC00 && pos + 3 < input.size()) {
            const char32_t low = static_cast<unsigned char>(input[pos + 2]) | (static_cast<unsigned char>(input[pos + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(to, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                return std::size_t {4};
            }
        }
        AppendUtf8(to, unit);  // a lone surrogate, kept
        return std::size_t {2};
    });
    return out;
}

std::string Utf8ToUtf16Le(std::string_view text) {
    std::string out;
    thread_local Converter converter("UTF-16LE", "UTF-8");
    converter.Run(text, out, [](std::string_view input, std::size_t pos, std::string& to) {
        const auto decoded = DecodeUtf8(input, pos);
        if (!decoded) {
            AppendUtf16Unit(to, Cp1252CodePoint(static_cast<unsigned char>(input[pos])));
            return std::size_t {1};
        }
        const char32_t codePoint = decoded->codePoint;
        if (codePoint >= 0x10000) {
            AppendUtf16Unit(to, 0xD800 + ((codePoint - 0x10000) >> 10));
            AppendUtf16Unit(to, 0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            AppendUtf16Unit(to, codePoint);  // a surrogate, carried through
        }
        return decoded->length;
    });
    return out;
}

std::size_t Utf8CharCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace lumera::util
