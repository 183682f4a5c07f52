// JSON text for the page: strings escaped, members and items joined.
#include "util/json_text.h"

#include <cstdio>

namespace lumera::web {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

void JsonObject::Name(std::string_view name) {
    if (!members_.empty()) members_ += ",";
    members_ += JsonString(name) + ":";
}

JsonObject& JsonObject::Add(std::string_view name, std::string_view text) {
    Name(name);
    members_ += JsonString(text);
    return *this;
}

JsonObject& JsonObject::Add(std::string_view name, int number) {
    Name(name);
    members_ += std::to_string(number);
    return *this;
}

JsonObject& JsonObject::Add(std::string_view name, bool flag) {
    Name(name);
    members_ += flag ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::AddRaw(std::string_view name, std::string_view json) {
    Name(name);
    members_ += json;
    return *this;
}

JsonArray& JsonArray::Append(std::string_view json) {
    if (!items_.empty()) items_ += ",";
    items_ += json;
    return *this;
}

std::string CssColour(unsigned colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

}  // namespace lumera::web
