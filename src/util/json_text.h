// A small writer of JSON text, for the descriptions of windows and dialogs that the C++ side
// hands to the page. Texts go in as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace lumera::web {

// Quotes and escapes UTF-8 text as a JSON string.
std::string JsonString(std::string_view text);

// Builds one JSON object member by member, in the order they are added.
class JsonObject {
public:
    JsonObject& Add(std::string_view name, std::string_view text);
    JsonObject& Add(std::string_view name, const char* text) { return Add(name, std::string_view(text)); }
    JsonObject& Add(std::string_view name, int number);
    JsonObject& Add(std::string_view name, bool flag);
    // A member whose value is JSON text already (an object or an array).
    JsonObject& AddRaw(std::string_view name, std::string_view json);
    std::string Text() const { return "{" + members_ + "}"; }

private:
    void Name(std::string_view name);
    std::string members_;
};

// Joins JSON values into an array.
class JsonArray {
public:
    JsonArray& Append(std::string_view json);
    std::string Text() const { return "[" + items_ + "]"; }

private:
    std::string items_;
};

// A colour 0x00BBGGRR as the page writes it, "#rrggbb".
std::string CssColour(unsigned colour);

}  // namespace lumera::web
