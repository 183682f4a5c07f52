// Tests of the Windows-1252 table and the text encoding conversions: Windows-1252, UTF-8 and
// UTF-16LE, on well-formed text and on bytes that are not.
#include "util/text_encoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using lumera::util::Cp1252ToUnicode;
using lumera::util::Cp1252ToUtf8;
using lumera::util::ToCp1252;
using lumera::util::UnicodeToCp1252;
using lumera::util::Utf16LeToUtf8;
using lumera::util::Utf8CharCount;
using lumera::util::Utf8ToCp1252;
using lumera::util::Utf8ToUtf16Le;

namespace {

std::string Units(std::initializer_list<char16_t> units) {
    std::string bytes;
    for (char16_t unit : units) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

}  // namespace

TEST(Windows1252Table, EveryByteHasOneCodePointAndCharactersOutsideBecomeQuestionMarks) {
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    for (unsigned char unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(Cp1252ToUnicode(unassigned), char32_t {unassigned});
    }
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_EQ(UnicodeToCp1252(Cp1252ToUnicode(static_cast<unsigned char>(byte))), byte) << byte;
    }
    // U+0080 and U+0085 are C1 controls that Windows-1252 puts other characters in place of.
    EXPECT_EQ(UnicodeToCp1252(U'\u0080'), std::nullopt);
    EXPECT_EQ(UnicodeToCp1252(U'\u0085'), std::nullopt);
    EXPECT_EQ(ToCp1252(U"caf\u00E9 \u20AC \u2603 \U0001F600"), "caf\xE9 \x80 ? ?");
    EXPECT_EQ(ToCp1252(std::u32string(300, U'x')), std::string(255, 'x'));
}

TEST(TextEncoding, EveryWindows1252ByteSurvivesTheTripThroughUtf8) {
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9 \x80\x85\x9F"), "caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\xA6\xC5\xB8");
    // The five unassigned bytes stand for the C1 controls of their number.
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Utf8CharCount(Cp1252ToUtf8(all)), 256u);
    EXPECT_EQ(Utf16LeToUtf8(Utf8ToUtf16Le(Cp1252ToUtf8(all))), Cp1252ToUtf8(all));
}

TEST(TextEncoding, Utf8ThatWindows1252CannotHoldBecomesQuestionMarksAndBadBytesStay) {
    // U+0080 and U+0085 are not Windows-1252 characters (the byte 0x80 is the euro sign).
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80|\xC2\x85|\xE2\x82\xAC|\xF0\x9F\x98\x80|\xE4\xB8\xAD"), "?|?|\x80|?|?");
    // A tag character is a character like any other, never dropped.
    EXPECT_EQ(Utf8ToCp1252("a\xF3\xA0\x80\x81z\xF3\xA0\x81\xBF"), "a?z?");
    // Bytes that start no valid sequence are taken as Windows-1252 already.
    EXPECT_EQ(Utf8ToCp1252("\xC0\x80|\xE2\x82|\xED\xA0\x80|\xF8\x88\x80\x80\x80|\xE2\x82"),
              "\xC0\x80|\xE2\x82|?|\xF8\x88\x80\x80\x80|\xE2\x82");
    EXPECT_EQ(Utf8ToCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Utf8ToUtf16Le("\x80\xE9"), Units({0x20AC, 0x00E9}));
}

TEST(TextEncoding, Utf16PairsJoinAndLoneSurrogatesAreCarriedThrough) {
    EXPECT_EQ(Utf16LeToUtf8(Units({'A', 0xD83D, 0xDE00, 0x00E9})), "A\xF0\x9F\x98\x80\xC3\xA9");
    EXPECT_EQ(Utf16LeToUtf8(Units({0xFEFF, 'x'})), "\xEF\xBB\xBFx");  // no byte-order mark is eaten
    EXPECT_EQ(Utf16LeToUtf8(Units({0xD800, 'x', 0xDC00})), "\xED\xA0\x80x\xED\xB0\x80");
    EXPECT_EQ(Utf16LeToUtf8(Units({'x', 0xDBFF})), "x\xED\xAF\xBF");
    EXPECT_EQ(Utf16LeToUtf8("abc"), std::nullopt);
    // Any units come back unchanged, across the converter's internal buffer and its errors.
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int length = round % 10 == 0 ? 5000 : static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            const auto unit = static_cast<char16_t>(random() % 4 == 0 ? 0xD800 + random() % 0x800 : random() % 0x10000);
            bytes += Units({unit});
        }
        const auto utf8 = Utf16LeToUtf8(bytes);
        ASSERT_TRUE(utf8.has_value());
        ASSERT_EQ(Utf8ToUtf16Le(*utf8), bytes) << "round " << round;
    }
}

TEST(TextEncoding, LongTextsConvertWholeAndInLinearTime) {
    std::string text;
    for (int i = 0; i < 200'000; ++i) text += i % 3 ? "\xE9\x80" : "\x81x";
    const std::string utf8 = Cp1252ToUtf8(text);
    EXPECT_EQ(Utf8CharCount(utf8), text.size());
    EXPECT_EQ(Utf8ToCp1252(utf8), text);
    // Every other byte refused: each is settled and the conversion goes on.
    std::string broken;
    for (int i = 0; i < 50'000; ++i) broken += "\xFFz";
    EXPECT_EQ(Utf8ToCp1252(broken), broken);
    EXPECT_EQ(Utf8ToCp1252(Utf16LeToUtf8(Utf8ToUtf16Le(broken)).value()), broken);
}
