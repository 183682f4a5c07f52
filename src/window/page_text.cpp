// Text conversions at the page's edge.
#include "window/page_text.h"

#include <cctype>
#include "util/text_encoding.h"
#include "window/file_filter.h"

namespace lumera::web {

std::string PageText(const std::string& cp1252) { return util::Cp1252ToUtf8(cp1252); }

std::string GameText(const std::string& utf8) {
    std::string bytes = util::Utf8ToCp1252(utf8);
    if (bytes.size() > 255) bytes.resize(255);
    return bytes;
}

std::string AcceptedExtensions(const std::string& filter) {
    std::string accepted;
    for (const FileFilterPair& pair : FileFilterPairs(filter)) {
        // A pair's pattern may list several, "*.DAT;*.TXT".
        std::string pattern;
        for (std::size_t at = 0; at <= pair.patterns.size(); ++at) {
            if (at < pair.patterns.size() && pair.patterns[at] != ';') {
                pattern += static_cast<char>(std::tolower(static_cast<unsigned char>(pair.patterns[at])));
                continue;
            }
            if (pattern.rfind("*.", 0) == 0 && pattern.size() > 2) {
                const std::string extension = pattern.substr(1);
                if (("," + accepted + ",").find("," + extension + ",") == std::string::npos)
                    accepted += (accepted.empty() ? "" : ",") + extension;
            }
            pattern.clear();
        }
    }
    return accepted;
}

}  // namespace lumera::web
