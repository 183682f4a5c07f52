// Reading a value of the store file as the engine's StoredValue.
#include "util/store_settings_port.h"

namespace lumera {

std::optional<StoredValue> StoreSettingsPort::ReadValue(const std::string& key, const std::string& name) {
    const auto value = store_.ReadValue(key, name);
    if (!value) return std::nullopt;
    StoredValue result;
    switch (value->type) {
        case util::RegValue::Type::Binary: result.kind = StoredValue::Kind::Binary; break;
        case util::RegValue::Type::Dword: result.kind = StoredValue::Kind::Dword; break;
        case util::RegValue::Type::Text: result.kind = StoredValue::Kind::Text; break;
        case util::RegValue::Type::Other: result.kind = StoredValue::Kind::Other; break;
    }
    result.bytes = value->bytes;
    result.dword = value->dword;
    result.text = value->text;
    return result;
}

}  // namespace lumera
