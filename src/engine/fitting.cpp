// Line-fitting of puzzle texts to the 30 x 9 grid.
#include "engine/fitting.h"

namespace lumera {

std::optional<std::string> FitText(const std::string& text) {
    std::string fitted = text;
    bool overflow = false;
    for (std::size_t row = 1; row < kGridRows; ++row) {
        // Row start, 0-based: rows never begin with a blank, but a text of blanks keeps one.
        const std::size_t start = kGridColumns * (row - 1);
        while (fitted.size() > start && fitted[start] == ' ' && fitted.size() > 1) fitted.erase(start, 1);

        // A text that ends exactly at the row end is left as it is.
        const std::size_t end = kGridColumns * row;
        if (fitted.size() <= end || fitted[end] == ' ') continue;

        std::size_t wordLength = 0;
        while (wordLength < end && fitted[end - 1 - wordLength] != ' ') ++wordLength;
        if (wordLength == end) continue;  // no blank before the word: the row stays unmoved

        // Blanks go in front of the blank that precedes the broken word.
        const std::size_t blankAt = end - 1 - wordLength;
        for (std::size_t i = 0; i < wordLength; ++i) {
            if (fitted.size() >= kFitLimit) overflow = true;
            else fitted.insert(blankAt, 1, ' ');
        }
    }
    if (overflow) return std::nullopt;
    if (fitted.size() > 255) fitted.resize(255);
    return fitted;
}

}  // namespace lumera
