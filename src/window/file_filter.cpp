// Reading the file chooser's filter.
#include "window/file_filter.h"

namespace lumera {

std::vector<FileFilterPair> FileFilterPairs(std::string_view filter) {
    std::vector<std::string> parts{""};
    for (const char c : filter) {
        if (c == '|')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    std::vector<FileFilterPair> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) pairs.push_back({parts[i], parts[i + 1]});
    return pairs;
}

std::string DefaultSuffix(std::string_view defaultExtension) {
    if (defaultExtension.substr(0, 2) == "*.") defaultExtension.remove_prefix(2);
    return std::string(defaultExtension);
}

}  // namespace lumera
