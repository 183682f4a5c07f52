// The settings store on disk: reading and writing the registry export text ("REGEDIT4" or the
// UTF-16 version 5 form) and the locked, crash-safe replacement of the store file.
#include "util/registry_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace lumera::util {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kNewline = "\r\n";
// Registry exports break a hex list after the comma that takes a line to this many characters.
constexpr std::size_t kHexLineLimit = 77;

// ---- Characters ---------------------------------------------------------------------------

// Unicode code points of the Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to
// the C1 control of the same number, as Windows does, so that every byte survives a round trip.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Cp1252ToCodePoint(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char32_t{byte};
}

char CodePointToCp1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint < 0x100)) return static_cast<char>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == codePoint) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Appends a code point as UTF-8; lone surrogates are encoded like any other code point so that
// a UTF-16 file with broken pairs is still carried through unchanged.
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

// Reads one code point of UTF-8 at pos and advances. A byte that does not start a valid
// sequence is taken as a Windows-1252 character, so any byte string converts to something.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead < 0xE0) {
        length = 2, codePoint = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3, codePoint = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    }
    if (length != 0 && pos + length <= text.size()) {
        std::size_t i = 1;
        for (; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[pos + i]);
            if ((next & 0xC0) != 0x80) break;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (i == length && codePoint >= minimum && codePoint <= 0x10FFFF) {
            pos += length;
            return codePoint;
        }
    }
    ++pos;
    return Cp1252ToCodePoint(lead);
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) out += CodePointToCp1252(NextCodePoint(text, pos));
    return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

// UTF-16LE bytes to UTF-8; nothing for an odd number of bytes.
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unitAt = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 2 < bytes.size()) {
            const char16_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, unit);
    }
    return out;
}

void AppendUtf16Unit(std::string& out, char32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

std::string Utf8ToUtf16Le(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t codePoint = NextCodePoint(text, pos);
        if (codePoint >= 0x10000) {
            AppendUtf16Unit(out, 0xD800 + ((codePoint - 0x10000) >> 10));
            AppendUtf16Unit(out, 0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            AppendUtf16Unit(out, codePoint);
        }
    }
    return out;
}

// Characters on a line, for wrapping: a UTF-16 document holds its names as UTF-8.
std::size_t CharCount(std::string_view text, bool utf8) {
    if (!utf8) return text.size();
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// ---- Small text helpers -------------------------------------------------------------------

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
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

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A key path the file can hold: one line, under one of the registry roots.
bool IsValidKeyPath(std::string_view path) { return StartsWithIgnoreCase(path, "HKEY_") && !HasLineBreak(path); }

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

// ---- Files --------------------------------------------------------------------------------

std::runtime_error SystemError(const std::string& what, const fs::path& path, int error) {
    return std::runtime_error(what + " " + path.string() + ": " + std::strerror(error));
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now and reports the result, so that a late write error is not lost.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// Reads a whole file. Returns false with the error number when it cannot be read.
bool ReadFileBytes(const fs::path& path, std::string& bytes, int& error) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        error = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count == 0) return true;
        if (count < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

fs::path WithSuffix(const fs::path& path, const std::string& suffix) {
    fs::path result = path;
    result += suffix;
    return result;
}

// Moves an unreadable store file aside under a name that does not exist yet; never replaces
// another file (the rename refuses an existing target).
void SetAside(const fs::path& file) {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, ".bad-%Y%m%d-%H%M%S", &local);
    for (int attempt = 1; attempt < 100000; ++attempt) {
        const fs::path target = WithSuffix(file, stamp + (attempt == 1 ? std::string() : "-" + std::to_string(attempt)));
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return;
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) throw SystemError("Cannot set aside", file, errno);
        // The file system cannot refuse a rename target: a hard link refuses it just as well.
        if (::link(file.c_str(), target.c_str()) == 0) {
            ::unlink(file.c_str());
            return;
        }
        if (errno != EEXIST) throw SystemError("Cannot set aside", file, errno);
    }
    throw SystemError("Cannot set aside", file, EEXIST);
}

// Writes the bytes to a temporary file beside the target, flushes it and renames it over the
// target, so that the target holds either the old or the new bytes at every moment.
void ReplaceFile(const fs::path& file, const std::string& bytes) {
    const fs::path temporary = WithSuffix(file, ".tmp");
    auto fail = [&](const char* what, int error) {
        ::unlink(temporary.c_str());
        return SystemError(what, temporary, error);
    };
    FileDescriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.Get() < 0) throw fail("Cannot create", errno);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = ::write(out.Get(), bytes.data() + done, bytes.size() - done);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw fail("Cannot write", errno);
        }
        done += static_cast<std::size_t>(count);
    }
    if (::fsync(out.Get()) != 0) throw fail("Cannot flush", errno);
    if (out.Close() != 0) throw fail("Cannot write", errno);
    if (::rename(temporary.c_str(), file.c_str()) != 0) throw fail("Cannot replace", errno);
    // Make the rename itself durable. The new file is in place already, so a folder that
    // cannot be flushed (some file systems refuse) is not an error.
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0) ::fsync(directory.Get());
}

// An exclusive lock on a file beside the store. The store file itself is replaced by rename,
// which would leave a lock on it behind with the old file.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const fs::path& lockFile)
        : file_(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
        if (file_.Get() < 0) throw SystemError("Cannot open", lockFile, errno);
        while (::flock(file_.Get(), LOCK_EX) != 0) {
            if (errno != EINTR) throw SystemError("Cannot lock", lockFile, errno);
        }
    }

private:
    FileDescriptor file_;  // closing it releases the lock
};

}  // namespace

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
            const std::size_t lineChars = CharCount(std::string_view(out).substr(lineStart), document.utf16);
            AppendValue(out, entry.value, document.utf16, lineChars);
            out += kNewline;
        }
    }
    out += kNewline;
    if (!document.utf16) return out;
    return "\xFF\xFE" + Utf8ToUtf16Le(out);
}

// ---- RegistryStore ----------------------------------------------------------------------------

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path RegistryStore::DefaultPath() {
    fs::path base;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && *configHome != '\0' && fs::path(configHome).is_absolute()) {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0') {
            const passwd* account = ::getpwuid(::getuid());
            home = account != nullptr ? account->pw_dir : "";
        }
        base = fs::path(home) / ".config";
    }
    return base / "lumera8" / "registry.reg";
}

namespace {

bool EnsureFolder(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

}  // namespace

bool RegistryStore::OpenKey(const std::string& key) { return IsValidKeyPath(key) && EnsureFolder(file_); }

// Reads take no lock: a writer replaces the file by rename, so a reader sees one whole file.
// An unparseable file reads as empty here and is left in place; the next write, which holds
// the lock, sets it aside.
std::optional<RegValue> RegistryStore::ReadValue(const std::string& key, const std::string& name) {
    std::string bytes;
    int error = 0;
    if (!ReadFileBytes(file_, bytes, error)) return std::nullopt;
    const auto document = ParseRegistryFile(bytes);
    if (!document) return std::nullopt;
    const RegValue* value = document->Find(key, name);
    if (value == nullptr) return std::nullopt;
    return *value;
}

void RegistryStore::WriteBinary(const std::string& key, const std::string& name,
                                const std::vector<std::uint8_t>& bytes) {
    RegValue value;
    value.type = RegValue::Type::Binary;
    value.bytes = bytes;
    Write(key, name, value);
}

void RegistryStore::WriteDword(const std::string& key, const std::string& name, std::uint32_t dword) {
    RegValue value;
    value.type = RegValue::Type::Dword;
    value.dword = dword;
    Write(key, name, value);
}

void RegistryStore::WriteText(const std::string& key, const std::string& name, const std::string& text) {
    RegValue value;
    value.type = RegValue::Type::Text;
    value.text = text;
    Write(key, name, value);
}

void RegistryStore::Write(const std::string& key, const std::string& name, const RegValue& value) {
    if (!IsValidKeyPath(key) || HasLineBreak(name)) {
        throw std::invalid_argument("Not a registry key and value name: " + key + " " + name);
    }
    if (!EnsureFolder(file_)) return;
    const ExclusiveLock lock(WithSuffix(file_, ".lock"));

    RegDocument document;
    std::string bytes;
    int error = 0;
    if (ReadFileBytes(file_, bytes, error)) {
        if (auto parsed = ParseRegistryFile(bytes)) {
            document = std::move(*parsed);
        } else {
            SetAside(file_);
        }
    } else if (error != ENOENT) {
        throw SystemError("Cannot read", file_, error);
    }
    document.Set(key, name, value);
    ReplaceFile(file_, SerializeRegistryFile(document));
}

}  // namespace lumera::util
