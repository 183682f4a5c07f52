// The settings store's text in the page's local storage, through the page's store object.
#include <emscripten.h>

#include <cstdlib>
#include <stdexcept>

#include "util/web/web_store.h"

namespace {

// Bytes cross as one character each; a result comes back as a malloc'd block with its length
// in front, or 0 for nothing. Errors come back as text after a negative length.
EM_JS(int, JsStoreIsAvailable, (), { return Module.page.store.isAvailable() ? 1 : 0; });

EM_JS(int*, JsStoreCall, (int operation, const unsigned char* bytes, int length), {
    const text = String.fromCharCode.apply(null, HEAPU8.subarray(bytes, bytes + length));
    let result;
    let failed = false;
    try {
        result = operation === 0 ? Module.page.store.read()
               : operation === 1 ? Module.page.store.write(text)
               : Module.page.store.setAside(text);
    } catch (error) {
        result = String(error && error.message || error);
        failed = true;
    }
    if (result === null || result === undefined) return 0;
    const block = _malloc(4 + result.length);
    HEAP32[block >> 2] = failed ? -result.length - 1 : result.length;
    for (let i = 0; i < result.length; ++i) HEAPU8[block + 4 + i] = result.charCodeAt(i) & 0xFF;
    return block;
});

enum Operation { kRead = 0, kWrite = 1, kSetAside = 2 };

std::optional<std::string> Call(Operation operation, const std::string& bytes = {}) {
    int* block = JsStoreCall(operation, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    if (block == nullptr) return std::nullopt;
    const int length = block[0];
    const char* data = reinterpret_cast<const char*>(block + 1);
    std::string result(data, static_cast<std::size_t>(length < 0 ? -length - 1 : length));
    std::free(block);
    if (length < 0) throw std::runtime_error(result);
    return result;
}

class LocalStorageSlot final : public lumera::web::IStoredText {
public:
    bool IsAvailable() override { return JsStoreIsAvailable() != 0; }
    std::optional<std::string> Read() override { return Call(kRead); }
    void Write(const std::string& bytes) override { Call(kWrite, bytes); }
    std::string SetAside(const std::string& bytes) override { return Call(kSetAside, bytes).value_or(""); }
};

}  // namespace

namespace lumera::web {

IStoredText& LocalStorageText() {
    static LocalStorageSlot slot;
    return slot;
}

}  // namespace lumera::web
