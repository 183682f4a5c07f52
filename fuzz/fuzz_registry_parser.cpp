// Fuzzes the settings store's file format. Any bytes either parse or are refused cleanly; what
// parses, once written, reads back to the same keys and values, and writing that again gives
// the same bytes. The same input also builds a document of arbitrary values through the
// writer, which must read back exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "util/registry_store.h"

using lumera::util::ParseRegistryFile;
using lumera::util::RegDocument;
using lumera::util::RegValue;
using lumera::util::SerializeRegistryFile;

namespace {

// Keys and values by meaning, not by the file's spelling of them.
std::string Content(const RegDocument& document) {
    std::ostringstream out;
    out << document.header << '|' << document.utf16 << '\n';
    for (const auto& key : document.keys) {
        out << '[' << key.path << "]\n";
        for (const auto& entry : key.entries) {
            const RegValue& v = entry.value;
            out << entry.name.size() << ':' << entry.name << '|' << static_cast<int>(v.type) << '|';
            if (v.type == RegValue::Type::Binary) out << v.bytes.size() << ':' << std::string(v.bytes.begin(), v.bytes.end());
            if (v.type == RegValue::Type::Dword) out << v.dword;
            if (v.type == RegValue::Type::Text) out << v.text.size() << ':' << v.text;
            if (v.type == RegValue::Type::Other) out << v.raw.size() << ':' << v.raw;
            out << '\n';
        }
    }
    return out.str();
}

void RequireRoundTrip(const RegDocument& document) {
    const std::string written = SerializeRegistryFile(document);
    const auto reread = ParseRegistryFile(written);
    FUZZ_REQUIRE(reread.has_value());
    FUZZ_REQUIRE(Content(*reread) == Content(document));
    FUZZ_REQUIRE(SerializeRegistryFile(*reread) == written);
}

// A name or path the file can hold: no line break; in a UTF-16 document plain ASCII, as the
// reader gives names there as UTF-8.
std::string Name(FuzzedDataProvider& input, bool utf16) {
    std::string name = input.ConsumeRandomLengthString(40);
    for (char& c : name) {
        if (utf16 && static_cast<unsigned char>(c) >= 0x80) c = static_cast<char>(c & 0x7F);
        if (c == '\r' || c == '\n') c = '_';
    }
    return name;
}

RegDocument BuildDocument(FuzzedDataProvider& input) {
    RegDocument document;
    document.utf16 = input.ConsumeBool();
    if (document.utf16) document.header = "Windows Registry Editor Version 5.00";
    const int keyCount = input.ConsumeIntegralInRange(0, 4);
    for (int k = 0; k < keyCount; ++k) {
        RegDocument::Key key{"HKEY_" + Name(input, document.utf16), {}};
        const int valueCount = input.ConsumeIntegralInRange(0, 6);
        for (int v = 0; v < valueCount; ++v) {
            RegDocument::Entry entry{Name(input, document.utf16), {}};
            RegValue& value = entry.value;
            switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                value.type = RegValue::Type::Binary;
                value.bytes = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 300));
                break;
            case 1:
                value.type = RegValue::Type::Dword;
                value.dword = input.ConsumeIntegral<std::uint32_t>();
                break;
            case 2:
                value.type = RegValue::Type::Text;  // any Windows-1252 bytes, line breaks too
                value.text = input.ConsumeRandomLengthString(200);
                break;
            default: {
                // Another registry type in the canonical hex form the reader keeps as it is.
                static const char* const kTypes[] = {"hex(0):", "hex(2):", "hex(7):", "hex(b):"};
                value.type = RegValue::Type::Other;
                value.raw = kTypes[input.ConsumeIntegralInRange(0, 3)];
                const auto bytes = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 100));
                static const char kHex[] = "0123456789abcdef";
                for (std::size_t i = 0; i < bytes.size(); ++i) {
                    if (i) value.raw += ',';
                    value.raw += kHex[bytes[i] >> 4];
                    value.raw += kHex[bytes[i] & 15];
                }
            }
            }
            key.entries.push_back(std::move(entry));
        }
        document.keys.push_back(std::move(key));
    }
    return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (const auto document = ParseRegistryFile(bytes)) RequireRoundTrip(*document);

    FuzzedDataProvider input(data, size);
    RequireRoundTrip(BuildDocument(input));
    return 0;
}
