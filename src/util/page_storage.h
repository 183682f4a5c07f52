// The page's local storage as the program sees it: texts of UTF-16 code units under names, as
// the browser keeps them, and their conversion to and from bytes (WTF-8: UTF-8 that also
// carries unpaired surrogates), so that any stored text read and written back comes out
// exactly as it was.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lumera::web {

// The browser refused an access; what() is its own reason.
class StorageRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IPageStorage {
public:
    virtual ~IPageStorage() = default;
    // The text stored under a name; nothing when there is none. Throws StorageRefused when the
    // browser does not let the page read its storage at all.
    virtual std::optional<std::u16string> Read(const std::string& name) = 0;
    // Throws StorageRefused when the browser does not take the text (storage blocked or full);
    // what was stored under the name before is then left as it was.
    virtual void Write(const std::string& name, const std::u16string& text) = 0;
};

// UTF-16 code units as WTF-8 bytes, and back. Bytes that are not WTF-8 read as the characters
// U+0080 to U+00FF of their values, so every byte string has a text and every text its bytes.
std::string StorageBytes(std::u16string_view units);
std::u16string StorageUnits(std::string_view bytes);

// The page's local storage.
IPageStorage& LocalPageStorage();

}  // namespace lumera::web
