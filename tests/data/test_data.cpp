// Checks of the content shipped with the game: the puzzle collection
// Lumera8.dat against the rules of the puzzle file, and the help page
// lumera8.html for its menu coverage and for staying off the network.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string dataDir = LUMERA_DATA_DIR;
constexpr std::size_t gridColumns = 30;
constexpr std::size_t fittedRows = 8;
constexpr std::size_t maxLine = 250;
const std::string attribution = " - ";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lines of a text whose every line ends in "\n"; the last "\n" ends the last line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string AuthorOf(const std::string& line) {
    std::size_t at = line.rfind(attribution);
    return at == std::string::npos ? std::string() : line.substr(at + attribution.size());
}

struct FitResult {
    std::string text;
    bool overflow = false;
};

// The game's line-fitting: rows 1 to 8 lose leading blanks, and a word broken
// at a row end is pushed to the next row by blanks, never past 250 characters.
// endCountsAsLetter: whether a text ending exactly at a row end moves its last
// word down (the game may do either, so the collection must suit both).
FitResult FitToGrid(std::string text, bool endCountsAsLetter) {
    FitResult result;
    for (std::size_t row = 1; row <= fittedRows; ++row) {
        std::size_t start = gridColumns * (row - 1);
        if (text.size() > start) {
            while (text[start] == ' ' && text.size() > 1) text.erase(start, 1);
        }
        std::size_t end = gridColumns * row;
        if (text.size() < end) continue;
        bool broken = text.size() == end ? endCountsAsLetter : text[end] != ' ';
        if (!broken) continue;
        std::size_t wordLength = 0;
        while (wordLength < end && text[end - 1 - wordLength] != ' ') ++wordLength;
        if (wordLength == end) continue;
        for (std::size_t i = 0; i < wordLength; ++i) {
            if (text.size() >= maxLine) {
                result.overflow = true;
            } else {
                text.insert(end - wordLength - 1, 1, ' ');
            }
        }
    }
    result.text = text;
    return result;
}

class PuzzleCollection : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        raw = new std::string(ReadFile(dataDir + "/Lumera8.dat"));
        lines = new std::vector<std::string>(SplitLines(*raw));
    }
    static void TearDownTestSuite() {
        delete lines;
        delete raw;
        lines = nullptr;
        raw = nullptr;
    }
    static std::string* raw;
    static std::vector<std::string>* lines;
};

std::string* PuzzleCollection::raw = nullptr;
std::vector<std::string>* PuzzleCollection::lines = nullptr;

TEST_F(PuzzleCollection, HoldsAtLeastFiveHundredPuzzles) {
    EXPECT_GE(lines->size(), 500u);
}

TEST_F(PuzzleCollection, UsesLineFeedEndingsWithoutEmptyLines) {
    ASSERT_FALSE(raw->empty());
    EXPECT_EQ(raw->back(), '\n') << "the last line must end with a line feed";
    EXPECT_EQ(raw->find('\r'), std::string::npos) << "CR found";
    EXPECT_EQ(raw->find('\x1a'), std::string::npos) << "Ctrl+Z would end the file early";
    for (std::size_t i = 0; i < lines->size(); ++i) {
        EXPECT_FALSE((*lines)[i].empty()) << "empty puzzle at line " << i + 1;
    }
}

TEST_F(PuzzleCollection, LinesAreUpperCasePrintableAsciiWithoutExchangeMark) {
    for (std::size_t i = 0; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        EXPECT_LE(line.size(), maxLine) << "line " << i + 1;
        for (unsigned char ch : line) {
            EXPECT_TRUE(ch >= 32 && ch <= 126) << "line " << i + 1 << " byte " << int(ch);
            EXPECT_FALSE(ch >= 'a' && ch <= 'z') << "lower case at line " << i + 1;
            EXPECT_NE(ch, '*') << "exchange mark at line " << i + 1;
        }
        EXPECT_TRUE(std::any_of(line.begin(), line.end(),
                                [](unsigned char ch) { return ch >= 'A' && ch <= 'Z'; }))
            << "nothing to solve at line " << i + 1;
    }
}

TEST_F(PuzzleCollection, WordsAreSeparatedBySingleBlanks) {
    for (std::size_t i = 0; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        if (line.empty()) continue;
        EXPECT_NE(line.front(), ' ') << "leading blank at line " << i + 1;
        EXPECT_NE(line.back(), ' ') << "trailing blank at line " << i + 1;
        EXPECT_EQ(line.find("  "), std::string::npos) << "double blank at line " << i + 1;
    }
}

TEST_F(PuzzleCollection, EveryPuzzleEndsWithItsAuthor) {
    const std::regex authorPattern("[A-Z][A-Z .'-]*[A-Z.]");
    for (std::size_t i = 0; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        std::size_t at = line.rfind(attribution);
        ASSERT_NE(at, std::string::npos) << "no attribution at line " << i + 1 << ": " << line;
        EXPECT_GT(at, 0u) << "no quotation at line " << i + 1;
        EXPECT_TRUE(std::regex_match(AuthorOf(line), authorPattern))
            << "odd author at line " << i + 1 << ": " << line;
    }
}

TEST_F(PuzzleCollection, HasNoDuplicates) {
    std::map<std::string, std::size_t> firstSeen;
    for (std::size_t i = 0; i < lines->size(); ++i) {
        auto [it, inserted] = firstSeen.emplace((*lines)[i], i + 1);
        EXPECT_TRUE(inserted) << "line " << i + 1 << " repeats line " << it->second;
    }
}

TEST_F(PuzzleCollection, EveryPuzzleFitsTheGridWithoutSplittingWords) {
    for (std::size_t i = 0; i < lines->size(); ++i) {
        for (bool endCountsAsLetter : {false, true}) {
            FitResult fit = FitToGrid((*lines)[i], endCountsAsLetter);
            EXPECT_FALSE(fit.overflow) << "overflow message for line " << i + 1;
            EXPECT_LE(fit.text.size(), 9 * gridColumns) << "line " << i + 1;
            // Read row by row, the board must show the words of the line
            // whole and in order; a word split by a row end reads as two.
            std::vector<std::string> rowWords;
            for (std::size_t start = 0; start < fit.text.size(); start += gridColumns) {
                std::istringstream row(fit.text.substr(start, gridColumns));
                for (std::string word; row >> word;) rowWords.push_back(word);
            }
            std::istringstream whole((*lines)[i]);
            std::vector<std::string> lineWords{std::istream_iterator<std::string>(whole),
                                               std::istream_iterator<std::string>()};
            EXPECT_EQ(rowWords, lineWords) << "a word crosses a row end at line " << i + 1;
        }
    }
}

TEST_F(PuzzleCollection, NeighbouringPuzzlesHaveDifferentAuthors) {
    for (std::size_t i = 1; i < lines->size(); ++i) {
        EXPECT_NE(AuthorOf((*lines)[i - 1]), AuthorOf((*lines)[i]))
            << "lines " << i << " and " << i + 1;
    }
}

// Cuts every stretch from an opening marker to its closing marker.
std::string RemoveBetween(std::string text, const std::string& open, const std::string& close) {
    for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
        std::size_t stop = text.find(close, at);
        stop = stop == std::string::npos ? text.size() : stop + close.size();
        text.replace(at, stop - at, " ");
    }
    return text;
}

// The help page's readable text: comments, styles and tags removed, the
// common entities decoded and runs of white space collapsed.
std::string VisibleText(std::string html) {
    html = RemoveBetween(html, "<!--", "-->");
    html = RemoveBetween(html, "<style", "</style>");
    html = RemoveBetween(html, "<", ">");
    const std::pair<std::string, std::string> entities[] = {
        {"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""},
        {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : entities) {
        for (std::size_t at = html.find(entity); at != std::string::npos;
             at = html.find(entity, at + plain.size())) {
            html.replace(at, entity.size(), plain);
        }
    }
    std::string text;
    for (unsigned char ch : html) {
        if (std::isspace(ch)) {
            if (!text.empty() && text.back() != ' ') text += ' ';
        } else {
            text += static_cast<char>(ch);
        }
    }
    return text;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return text;
}

class HelpPage : public ::testing::Test {
protected:
    void SetUp() override {
        html = ReadFile(dataDir + "/lumera8.html");
        ASSERT_FALSE(html.empty()) << "help page missing: " << dataDir << "/lumera8.html";
        text = VisibleText(html);
    }
    std::string html;
    std::string text;
};

TEST_F(HelpPage, IsAnHtml5DocumentWithItsTitle) {
    EXPECT_EQ(Lower(html).rfind("<!doctype html>", 0), 0u);
    EXPECT_NE(html.find("<html lang="), std::string::npos);
    EXPECT_NE(Lower(html).find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<title>Lumera 8.0 Help</title>"), std::string::npos);
    EXPECT_NE(Lower(html).find("</html>"), std::string::npos);
}

TEST_F(HelpPage, NamesEveryMenuCommandByItsCaption) {
    const char* captions[] = {
        "Game", "Start Next puzzle", "Specify Starting puzzle", "Cheat and show a letter",
        "Quit", "Select a different Puzzle set", "Use Lumera to help Solve a cryptogram!",
        "Options", "Show Correct Letters", "Sound",
        "Donate", "Make a Donation",
        "Help", "Contents", "About Lumera"};
    for (const char* caption : captions) {
        EXPECT_NE(text.find(caption), std::string::npos) << "missing caption: " << caption;
    }
}

TEST_F(HelpPage, DescribesTheBoardFilesAndSettings) {
    const char* facts[] = {
        "Puzzle # N", "Click here to return to game.", "Lumera8.dat", "*.DAT", "*.TXT",
        "250 characters", "255 characters", "9999", "0x", "Ctrl",
        "~/.config/lumera8/registry.reg", "XDG_CONFIG_HOME", "lumera.example"};
    for (const char* fact : facts) {
        EXPECT_NE(text.find(fact), std::string::npos) << "help does not mention: " << fact;
    }
}

TEST_F(HelpPage, LoadsNothingFromTheNetwork) {
    std::string lower = Lower(html);
    const char* forbidden[] = {"http://", "https://", "<script", "<link", "<img", "<iframe",
                               "<object", "<embed", "<video", "<audio", "@import",
                               "@font-face", "url("};
    for (const char* needle : forbidden) {
        EXPECT_EQ(lower.find(needle), std::string::npos) << "found " << needle;
    }
    // Links stay inside the page, and each one has its target.
    std::set<std::string> ids;
    const std::regex idPattern("\\sid=\"([^\"]+)\"");
    for (std::sregex_iterator it(html.begin(), html.end(), idPattern), end; it != end; ++it) {
        ids.insert((*it)[1]);
    }
    const std::regex attributePattern(
        "\\s(href|src|srcset|action|poster|data)\\s*=\\s*[\"']?([^\"'\\s>]*)",
        std::regex::icase);
    int links = 0;
    for (std::sregex_iterator it(html.begin(), html.end(), attributePattern), end; it != end;
         ++it) {
        std::string name = Lower((*it)[1]);
        std::string value = (*it)[2];
        ASSERT_EQ(name, "href") << "resource attribute " << name << "=" << value;
        EXPECT_EQ(value.rfind("//", 0), std::string::npos) << "network link " << value;
        ASSERT_FALSE(value.empty());
        EXPECT_EQ(value[0], '#') << "link leaves the page: " << value;
        EXPECT_EQ(ids.count(value.substr(1)), 1u) << "link to a missing section: " << value;
        ++links;
    }
    EXPECT_GT(links, 0) << "the table of contents has no links";
}

}  // namespace
