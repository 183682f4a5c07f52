// Texts at the page's edge: puzzle bytes shown as Unicode, what the player types brought back
// to Windows-1252, and the file chooser's filter as the picker's accepted extensions.
#include <gtest/gtest.h>

#include "window/page_text.h"

namespace {

using namespace lumera::web;

TEST(PageText, GameBytesAndTypedTextRoundTrip) {
    EXPECT_EQ(PageText("CAF\xC9 \x80 \x93QUOTE\x94"), "CAF\xC3\x89 \xE2\x82\xAC \xE2\x80\x9CQUOTE\xE2\x80\x9D");
    EXPECT_EQ(GameText("CAF\xC3\x89 \xE2\x82\xAC"), "CAF\xC9 \x80");
    EXPECT_EQ(GameText("\xE4\xB8\xAD A"), "? A");  // a character Windows-1252 cannot hold
    EXPECT_EQ(GameText(std::string(300, 'A')).size(), 255u);
}

TEST(PageText, FilterPatternsBecomeAcceptedExtensions) {
    EXPECT_EQ(AcceptedExtensions("Lumera Puzzle Files|*.DAT|Text Files|*.TXT"), ".dat,.txt");
    EXPECT_EQ(AcceptedExtensions("Puzzles|*.DAT;*.txt|Again|*.dat|All|*.*"), ".dat,.txt,.*");
    EXPECT_EQ(AcceptedExtensions(""), "");
}

}  // namespace
