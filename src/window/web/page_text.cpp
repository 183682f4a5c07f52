// Text conversions at the page's edge, over the Windows-1252 table that the Qt window uses too.
#include "window/web/page_text.h"

#include <cctype>
#include <vector>

#include "window/cp1252.h"

namespace lumera::web {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The page hands over valid UTF-8; a stray byte is taken as the character of that number.
std::u32string DecodeUtf8(const std::string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80 ? 1 : (byte >> 5) == 6 ? 2 : (byte >> 4) == 14 ? 3 : (byte >> 3) == 30 ? 4 : 0;
        bool valid = length > 0 && i + length <= text.size();
        char32_t c = length == 1 ? byte : length == 2 ? (byte & 0x1F) : length == 3 ? (byte & 0x0F) : (byte & 0x07);
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        out += valid ? c : char32_t(byte);
        i += valid ? length : 1;
    }
    return out;
}

}  // namespace

std::string PageText(const std::string& cp1252) {
    std::string out;
    for (const char byte : cp1252) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(byte)));
    return out;
}

std::string GameText(const std::string& utf8) { return ToCp1252(DecodeUtf8(utf8), 255); }

std::string AcceptedExtensions(const std::string& filter) {
    std::vector<std::string> parts{""};
    for (const char c : filter) {
        if (c == '|')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    std::string accepted;
    for (std::size_t i = 1; i < parts.size(); i += 2) {
        // A pair's pattern may list several, "*.DAT;*.TXT".
        std::string pattern;
        for (std::size_t at = 0; at <= parts[i].size(); ++at) {
            if (at < parts[i].size() && parts[i][at] != ';') {
                pattern += static_cast<char>(std::tolower(static_cast<unsigned char>(parts[i][at])));
                continue;
            }
            if (pattern.rfind("*.", 0) == 0 && pattern.size() > 2) {
                const std::string extension = pattern.substr(1);
                if (("," + accepted + ",").find("," + extension + ",") == std::string::npos)
                    accepted += (accepted.empty() ? "" : ",") + extension;
            }
            pattern.clear();
        }
    }
    return accepted;
}

}  // namespace lumera::web
