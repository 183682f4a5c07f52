// Fuzzes line-fitting on any text of up to 255 bytes.
//
// The property, precisely: split the input into words (maximal runs of bytes other than the
// blank, 32) and split the fitted text, read row by row in rows of 30, into the words of each
// row. The two sequences are equal, except that a word longer than a row may be cut at row ends
// into pieces that follow one another. A text left unfitted (nothing returned) is exempt. The
// fitted text is at most 250 bytes unless the input was already longer, never longer than 255,
// and differs from the input only in blanks.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/fitting.h"
#include "fuzz_check.h"

using namespace lumera;

namespace {

std::vector<std::string> Words(const std::string& text, std::size_t rowLength) {
    std::vector<std::string> words;
    std::string word;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i % rowLength == 0 && !word.empty()) words.push_back(std::move(word)), word.clear();
        if (text[i] == ' ') {
            if (!word.empty()) words.push_back(std::move(word)), word.clear();
        } else {
            word.push_back(text[i]);
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

std::string WithoutBlanks(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out.push_back(c);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size < 255 ? size : 255);
    const auto fitted = FitText(text);
    if (!fitted) return 0;

    FUZZ_REQUIRE(fitted->size() <= 255);
    FUZZ_REQUIRE(fitted->size() <= (text.size() > kFitLimit ? text.size() : kFitLimit));
    FUZZ_REQUIRE(WithoutBlanks(*fitted) == WithoutBlanks(text));

    const auto wanted = Words(text, SIZE_MAX);
    const auto read = Words(*fitted, kGridColumns);
    std::size_t r = 0;
    for (const std::string& word : wanted) {
        FUZZ_REQUIRE(r < read.size());
        if (word.size() <= static_cast<std::size_t>(kGridColumns)) {
            FUZZ_REQUIRE(read[r] == word);
            ++r;
            continue;
        }
        std::string joined;
        while (joined.size() < word.size() && r < read.size()) joined += read[r++];
        FUZZ_REQUIRE(joined == word);
    }
    FUZZ_REQUIRE(r == read.size());
    return 0;
}
