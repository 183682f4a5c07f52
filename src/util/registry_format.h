// The registry export format of the settings store: a parsed file as keys and values, and the
// reading and writing of its text ("REGEDIT4", or the UTF-16 version 5 form). Qt-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumera::util {

// One value as stored. Types other than binary, dword and text are kept verbatim (Other).
struct RegValue {
    enum class Type { Binary, Dword, Text, Other };
    Type type = Type::Other;
    std::vector<std::uint8_t> bytes;  // Binary data: hex: or hex(3): in a file, written as hex:
    std::uint32_t dword = 0;          // Dword
    std::string text;                 // Text, unescaped bytes
    // Other: the text after "name"= as found, continuation lines joined into one and blanks
    // around the hex tokens dropped. Text read from a file: its form there, written back
    // unchanged while it still reads as `text`.
    std::string raw;
};

// A parsed file: keys in file order, each with its values in file order. Key paths, value
// names and raw forms are the file's own characters: bytes in a "REGEDIT4" file, UTF-8 when
// the file is UTF-16; text values are Windows-1252 bytes in both. Paths start with "HKEY_"
// and, like names, hold no line break.
struct RegDocument {
    struct Entry {
        std::string name;  // "" is the default value "@"
        RegValue value;
    };
    struct Key {
        std::string path;  // e.g. "HKEY_LOCAL_MACHINE\Software\Lumera800"
        std::vector<Entry> entries;
    };
    std::string header = "REGEDIT4";
    bool utf16 = false;  // the file was UTF-16LE with a byte-order mark; written back the same way
    std::vector<Key> keys;

    const RegValue* Find(const std::string& key, const std::string& name) const;
    // Sets (adds or replaces) one value; the key is created at the end when missing.
    void Set(const std::string& key, const std::string& name, const RegValue& value);
};

// Parses the bytes of a store file. Returns nothing for a file that is not a registry export.
std::optional<RegDocument> ParseRegistryFile(const std::string& bytes);
// Serialises a document into file bytes that ParseRegistryFile reads back to the same document.
std::string SerializeRegistryFile(const RegDocument& document);

// Whether text has a CR or LF, which no key path or value name can hold.
bool HasLineBreak(std::string_view text);
// A key path the file can hold: one line, under one of the registry roots ("HKEY_...").
bool IsValidKeyPath(std::string_view path);

}  // namespace lumera::util
