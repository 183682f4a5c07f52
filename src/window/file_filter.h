// The file chooser's filter, "Name|*.EXT|Name|*.EXT", read once for every front-end's chooser.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumera {

struct FileFilterPair {
    std::string name;      // what the chooser lists, "Lumera Puzzle Files"
    std::string patterns;  // one or more, "*.DAT;*.TXT"
};

// The filter's name and pattern pairs, in order; a name without its pattern is left out.
std::vector<FileFilterPair> FileFilterPairs(std::string_view filter);

// The extension a chooser adds to a typed name: "*.DAT" and "DAT" both give "DAT".
std::string DefaultSuffix(std::string_view defaultExtension);

}  // namespace lumera
