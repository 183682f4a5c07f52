// The settings store on disk: both registry roots kept in one text file in the registry
// export format ("REGEDIT4"), written crash-safely under an exclusive lock. Qt-free.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
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

class RegistryStore {
public:
    explicit RegistryStore(std::filesystem::path file);

    // $XDG_CONFIG_HOME/lumera8/registry.reg, or ~/.config/lumera8/registry.reg.
    static std::filesystem::path DefaultPath();

    const std::filesystem::path& FilePath() const { return file_; }

    // Whether the store can be used: its folder exists or can be created. Writes nothing.
    bool OpenKey(const std::string& key);

    // Reads one value; nothing when the file, key or value is missing or the store is unusable.
    std::optional<RegValue> ReadValue(const std::string& key, const std::string& name);

    // Each write re-reads the file under an exclusive lock, changes the one value, writes a
    // temporary file, flushes it and renames it into place. Silently does nothing when the
    // folder cannot be created; throws std::runtime_error (system text) when writing fails.
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes);
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value);
    void WriteText(const std::string& key, const std::string& name, const std::string& text);

private:
    void Write(const std::string& key, const std::string& name, const RegValue& value);
    std::filesystem::path file_;
};

}  // namespace lumera::util
