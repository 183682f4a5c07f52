// The page's local storage, reached from the program: texts cross as their UTF-16 code units,
// so that nothing in them is changed on the way.
#include <emscripten.h>

#include <cstdlib>

#include "util/kept_files.h"
#include "util/page_storage.h"

namespace {

// A result comes back as a malloc'd block: its length in code units, then the units; 0 for
// nothing stored. A refusal comes back as a negative length followed by the browser's reason.
EM_JS(int*, JsStorageRead, (const char* name), {
    let text;
    let failed = false;
    try {
        text = localStorage.getItem(UTF8ToString(name));
    } catch (error) {
        text = String(error && error.message || error);
        failed = true;
    }
    if (text === null) return 0;
    const block = _malloc(4 + 2 * text.length);
    HEAP32[block >> 2] = failed ? -text.length - 1 : text.length;
    for (let i = 0; i < text.length; ++i) HEAPU16[(block + 4 >> 1) + i] = text.charCodeAt(i);
    return block;
});

// Returns 0 when stored, else a malloc'd UTF-8 copy of the browser's reason.
EM_JS(char*, JsStorageWrite, (const char* name, const char16_t* units, int length), {
    let text = "";
    for (let i = 0; i < length; i += 8192)
        text += String.fromCharCode.apply(null, HEAPU16.subarray((units >> 1) + i, (units >> 1) + Math.min(length, i + 8192)));
    try {
        localStorage.setItem(UTF8ToString(name), text);
        return 0;
    } catch (error) {
        const reason = String(error && error.message || error) || "the browser refused";
        const size = lengthBytesUTF8(reason) + 1;
        const copy = _malloc(size);
        stringToUTF8(reason, copy, size);
        return copy;
    }
});

class LocalStorage final : public lumera::web::IPageStorage {
public:
    std::optional<std::u16string> Read(const std::string& name) override {
        int* block = JsStorageRead(name.c_str());
        if (block == nullptr) return std::nullopt;
        const int length = block[0];
        const auto* units = reinterpret_cast<const char16_t*>(block + 1);
        std::u16string text(units, static_cast<std::size_t>(length < 0 ? -length - 1 : length));
        std::free(block);
        if (length < 0) throw lumera::web::StorageRefused(lumera::web::StorageBytes(text));
        return text;
    }
    void Write(const std::string& name, const std::u16string& text) override {
        char* reason = JsStorageWrite(name.c_str(), text.data(), static_cast<int>(text.size()));
        if (reason == nullptr) return;
        const std::string what(reason);
        std::free(reason);
        throw lumera::web::StorageRefused(what);
    }
};

}  // namespace

namespace lumera::web {

IPageStorage& LocalPageStorage() {
    static LocalStorage storage;
    return storage;
}

KeptFiles& TheKeptFiles() {
    static KeptFiles kept(LocalPageStorage(), ThePageFiles());
    return kept;
}

}  // namespace lumera::web
