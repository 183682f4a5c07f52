// The registry export format of the settings store: parsing and writing the text of a
// "REGEDIT4" file or of its UTF-16 version 5 form. Qt-free.
#include "util/registry_format.h"

#include <string_view>

#include "util/text_encoding.h"

namespace lumera::util {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kNewline = "\r\n";
// Registry exports break a hex list after the comma that takes a line to this many characters.
constexpr std::size_t kHexLineLimit = 77;

// ---- Small text helpers -------------------------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr char kHexDigits[] = "0123456789abcdef";

// ---- Parsing ------------------------------------------------------------------------------

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos_ = end + 1;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Reads a quoted string starting at text[pos] == '"', with \\ and \" as the only escapes;
// pos ends just after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '"') return std::nullopt;
    std::string out;
    for (std::size_t i = pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c == '\\') {
            if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) return std::nullopt;
            out += text[++i];
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

// A comma-separated list of two-digit hex bytes, blanks allowed around each; "" is no bytes.
std::optional<std::vector<std::uint8_t>> ParseHexList(std::string_view list) {
    std::vector<std::uint8_t> bytes;
    if (Trim(list).empty()) return bytes;
    bytes.reserve(list.size() / 3 + 1);
    std::size_t pos = 0;
    while (true) {
        const std::size_t comma = list.find(',', pos);
        const std::string_view token =
            Trim(list.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        if (token.size() != 2 || HexDigit(token[0]) < 0 || HexDigit(token[1]) < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(HexDigit(token[0]) * 16 + HexDigit(token[1])));
        if (comma == std::string_view::npos) return bytes;
        pos = comma + 1;
    }
}

// The prefix of a hex form: "hex:" gives type -1, "hex(N):" gives N. Sets the list start.
std::optional<long> ParseHexPrefix(std::string_view text, std::size_t& listStart) {
    if (StartsWithIgnoreCase(text, "hex:")) {
        listStart = 4;
        return -1;
    }
    if (!StartsWithIgnoreCase(text, "hex(")) return std::nullopt;
    long type = 0;
    std::size_t i = 4;
    // A type has at most eight digits.
    for (; i < text.size() && i < 12 && HexDigit(text[i]) >= 0; ++i) type = type * 16 + HexDigit(text[i]);
    if (i == 4 || i + 1 >= text.size() || text[i] != ')' || text[i + 1] != ':') return std::nullopt;
    listStart = i + 2;
    return type;
}

// The text of a text value from its form in the file: a quoted string, or the string type in
// hex form (hex(1):, the bytes ending in a terminating zero). Windows-1252 bytes either way.
std::optional<std::string> TextFromRaw(std::string_view raw, bool utf16) {
    if (!raw.empty() && raw.front() == '"') {
        std::size_t pos = 0;
        auto text = ParseQuoted(raw, pos);
        if (!text || pos != raw.size()) return std::nullopt;
        return utf16 ? Utf8ToCp1252(*text) : *text;
    }
    std::size_t listStart = 0;
    if (ParseHexPrefix(raw, listStart) != 1) return std::nullopt;
    auto bytes = ParseHexList(raw.substr(listStart));
    if (!bytes) return std::nullopt;
    std::string data(bytes->begin(), bytes->end());
    if (!utf16) {
        if (!data.empty() && data.back() == '\0') data.pop_back();
        return data;
    }
    if (data.size() >= 2 && data[data.size() - 1] == '\0' && data[data.size() - 2] == '\0') data.resize(data.size() - 2);
    auto text = Utf16LeToUtf8(data);
    if (!text) return std::nullopt;
    return Utf8ToCp1252(*text);
}

// A hex form with every token trimmed, joined by bare commas: "hex(2):25,00".
std::string CanonicalHexForm(std::string_view prefix, std::string_view list) {
    std::string out(prefix);
    if (Trim(list).empty()) return out;
    for (std::size_t pos = 0;;) {
        const std::size_t comma = list.find(',', pos);
        out += Trim(list.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        if (comma == std::string_view::npos) return out;
        out += ',';
        pos = comma + 1;
    }
}

// One value line (trimmed), pulling continuation lines of a hex list from the reader.
std::optional<RegDocument::Entry> ParseValueLine(std::string_view line, LineReader& reader, bool utf16) {
    RegDocument::Entry entry;
    std::size_t pos = 0;
    if (line.front() == '@') {
        pos = 1;
    } else {
        auto name = ParseQuoted(line, pos);
        if (!name) return std::nullopt;
        entry.name = std::move(*name);
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') return std::nullopt;
    const std::string_view data = Trim(line.substr(pos + 1));
    RegValue& value = entry.value;

    if (!data.empty() && data.front() == '"') {
        auto text = TextFromRaw(data, utf16);
        if (!text) return std::nullopt;
        value.type = RegValue::Type::Text;
        value.text = std::move(*text);
        value.raw = std::string(data);
        return entry;
    }
    if (StartsWithIgnoreCase(data, "dword:")) {
        const std::string_view digits = data.substr(6);
        if (digits.size() != 8) return std::nullopt;
        for (char c : digits) {
            if (HexDigit(c) < 0) return std::nullopt;
            value.dword = value.dword * 16 + static_cast<std::uint32_t>(HexDigit(c));
        }
        value.type = RegValue::Type::Dword;
        return entry;
    }
    std::size_t listStart = 0;
    const auto type = ParseHexPrefix(data, listStart);
    if (!type) return std::nullopt;

    // Join the continuation lines into one logical line.
    std::string joined(data);
    while (!joined.empty() && joined.back() == '\\') {
        joined.pop_back();
        std::string_view next;
        if (!reader.Next(next)) return std::nullopt;
        joined += Trim(next);
    }
    auto bytes = ParseHexList(std::string_view(joined).substr(listStart));
    if (!bytes) return std::nullopt;
    // hex(3): is the binary type spelled out; it reads as hex: and is written back as hex:.
    if (*type == -1 || *type == 3) {
        value.type = RegValue::Type::Binary;
        value.bytes = std::move(*bytes);
        return entry;
    }
    // Kept with its tokens trimmed: blanks beside a comma where the writer breaks the line would
    // be lost on reading back, and the form would drift on every rewrite.
    value.raw = CanonicalHexForm(std::string_view(joined).substr(0, listStart), std::string_view(joined).substr(listStart));
    if (*type == 1) {
        if (auto text = TextFromRaw(value.raw, utf16)) {
            value.type = RegValue::Type::Text;
            value.text = std::move(*text);
        }
    }
    return entry;
}

// ---- Serialising --------------------------------------------------------------------------

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

// Appends prefix and the comma-separated tokens, breaking lines the way registry exports do.
// lineChars is the number of characters already on the line.
template <typename TokenSource>
void AppendWrappedHex(std::string& out, std::string_view prefix, std::size_t tokenCount, std::size_t lineChars,
                      TokenSource token) {
    out += prefix;
    lineChars += prefix.size();
    for (std::size_t i = 0; i < tokenCount; ++i) {
        const std::string_view piece = token(i);
        out += piece;
        lineChars += piece.size();
        if (i + 1 == tokenCount) break;
        out += ',';
        if (++lineChars >= kHexLineLimit) {
            out += "\\\r\n  ";
            lineChars = 2;
        }
    }
}

void AppendHexBytes(std::string& out, std::string_view prefix, std::string_view bytes, std::size_t lineChars) {
    char pair[2];
    AppendWrappedHex(out, prefix, bytes.size(), lineChars, [&](std::size_t i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        pair[0] = kHexDigits[byte >> 4];
        pair[1] = kHexDigits[byte & 0x0F];
        return std::string_view(pair, 2);
    });
}

// Writes back a hex form kept as one logical line ("hex(N):aa,bb,...").
void AppendRawHex(std::string& out, std::string_view raw, std::size_t lineChars) {
    const std::size_t colon = raw.find(':');
    const std::string_view prefix = raw.substr(0, colon + 1);
    const std::string_view list = raw.substr(colon + 1);
    if (Trim(list).empty()) {
        out += raw;
        return;
    }
    std::vector<std::string_view> tokens;
    for (std::size_t pos = 0;;) {
        const std::size_t comma = list.find(',', pos);
        tokens.push_back(list.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        if (comma == std::string_view::npos) break;
        pos = comma + 1;
    }
    AppendWrappedHex(out, prefix, tokens.size(), lineChars, [&](std::size_t i) { return tokens[i]; });
}

void AppendValue(std::string& out, const RegValue& value, bool utf16, std::size_t lineChars) {
    switch (value.type) {
    case RegValue::Type::Binary:
        AppendHexBytes(out, "hex:",
                       std::string_view(reinterpret_cast<const char*>(value.bytes.data()), value.bytes.size()),
                       lineChars);
        return;
    case RegValue::Type::Dword: {
        out += "dword:";
        for (int shift = 28; shift >= 0; shift -= 4) out += kHexDigits[(value.dword >> shift) & 0x0F];
        return;
    }
    case RegValue::Type::Text: {
        // The form found in the file is kept while it still says the same text.
        if (!value.raw.empty()) {
            if (auto text = TextFromRaw(value.raw, utf16); text && *text == value.text) {
                if (value.raw.front() == '"') {
                    out += value.raw;
                } else {
                    AppendRawHex(out, value.raw, lineChars);
                }
                return;
            }
        }
        if (!HasLineBreak(value.text)) {
            AppendQuoted(out, utf16 ? Cp1252ToUtf8(value.text) : value.text);
            return;
        }
        // A line break cannot stand inside a quoted string: use the string type in hex form.
        std::string data = utf16 ? Utf8ToUtf16Le(Cp1252ToUtf8(value.text)) : value.text;
        data.append(utf16 ? 2 : 1, '\0');
        AppendHexBytes(out, "hex(1):", data, lineChars);
        return;
    }
    case RegValue::Type::Other:
        AppendRawHex(out, value.raw, lineChars);
        return;
    }
}

}  // namespace

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A key path the file can hold: one line, under one of the registry roots.
bool IsValidKeyPath(std::string_view path) { return StartsWithIgnoreCase(path, "HKEY_") && !HasLineBreak(path); }

// ---- RegDocument ----------------------------------------------------------------------------

const RegValue* RegDocument::Find(const std::string& key, const std::string& name) const {
    for (const Key& candidate : keys) {
        if (!EqualsIgnoreCase(candidate.path, key)) continue;
        for (const Entry& entry : candidate.entries) {
            if (EqualsIgnoreCase(entry.name, name)) return &entry.value;
        }
        return nullptr;
    }
    return nullptr;
}

void RegDocument::Set(const std::string& key, const std::string& name, const RegValue& value) {
    Key* target = nullptr;
    for (Key& candidate : keys) {
        if (EqualsIgnoreCase(candidate.path, key)) {
            target = &candidate;
            break;
        }
    }
    if (target == nullptr) target = &keys.emplace_back(Key {key, {}});
    for (Entry& entry : target->entries) {
        if (EqualsIgnoreCase(entry.name, name)) {
            entry.value = value;
            return;
        }
    }
    target->entries.push_back(Entry {name, value});
}

// ---- Parse and serialise ----------------------------------------------------------------------

std::optional<RegDocument> ParseRegistryFile(const std::string& bytes) {
    RegDocument document;
    std::string decoded;
    std::string_view text = bytes;
    if (text.starts_with("\xFF\xFE")) {
        auto utf8 = Utf16LeToUtf8(text.substr(2));
        if (!utf8) return std::nullopt;
        decoded = std::move(*utf8);
        text = decoded;
        document.utf16 = true;
    } else if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);  // a byte-order mark some editors add; not written back
    }

    LineReader reader(text);
    std::string_view line;
    if (!reader.Next(line)) return std::nullopt;
    line = Trim(line);
    if (line != kHeader4 && line != kHeader5) return std::nullopt;
    document.header = std::string(line);

    while (reader.Next(line)) {
        line = Trim(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2) return std::nullopt;
            const std::string_view path = line.substr(1, line.size() - 2);
            if (!IsValidKeyPath(path)) return std::nullopt;
            document.keys.push_back(RegDocument::Key {std::string(path), {}});
            continue;
        }
        if (document.keys.empty() || (line.front() != '"' && line.front() != '@')) return std::nullopt;
        auto entry = ParseValueLine(line, reader, document.utf16);
        if (!entry) return std::nullopt;
        document.keys.back().entries.push_back(std::move(*entry));
    }
    return document;
}

std::string SerializeRegistryFile(const RegDocument& document) {
    std::string out;
    out += document.header;
    out += kNewline;
    for (const RegDocument::Key& key : document.keys) {
        out += kNewline;
        out += '[';
        out += key.path;
        out += ']';
        out += kNewline;
        for (const RegDocument::Entry& entry : key.entries) {
            const std::size_t lineStart = out.size();
            if (entry.name.empty()) {
                out += '@';
            } else {
                AppendQuoted(out, entry.name);
            }
            out += '=';
            // Characters on the line, for wrapping: a UTF-16 document holds its names as UTF-8.
            const std::string_view line = std::string_view(out).substr(lineStart);
            const std::size_t lineChars = document.utf16 ? Utf8CharCount(line) : line.size();
            AppendValue(out, entry.value, document.utf16, lineChars);
            out += kNewline;
        }
    }
    out += kNewline;
    if (!document.utf16) return out;
    return "\xFF\xFE" + Utf8ToUtf16Le(out);
}

}  // namespace lumera::util
