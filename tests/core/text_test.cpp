#include "core/text.h"

#include <gtest/gtest.h>

namespace dalvex {
namespace {

TEST(TextTest, CountsCharactersNotBytes) {
    EXPECT_EQ(CharLength("абв"), 3u);
    EXPECT_EQ(CharCut("Привет", 3), "При");
    EXPECT_EQ(CharMid("Привет", 2, 3), "иве");
    EXPECT_EQ(PadLeft("яя", 5), "   яя");
}

TEST(TextTest, PadLeftNeverAddsMoreThan25Blanks) {
    EXPECT_EQ(PadLeft("", 30), std::string(25, ' '));
    EXPECT_EQ(PadLeft("longer than w", 4), "longer than w");
    EXPECT_EQ(PadLeft("1.5", 9), "      1.5");
}

TEST(TextTest, TrimRemovesSpacesOnly) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("    "), "");
}

TEST(TextTest, SplitLinesHandlesEveryLineEnd) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextTest, Cp1251RoundTripsCyrillicAndMarksTheRest) {
    const std::string text = "Ёлка ёж №5 Таблица данных";
    const std::string bytes = Utf8ToCp1251(text);
    EXPECT_EQ(bytes.size(), CharLength(text));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xA8);  // Ё
    EXPECT_EQ(Cp1251ToUtf8(bytes), text);
    EXPECT_EQ(Utf8ToCp1251("漢x"), "?x");
    EXPECT_EQ(Utf8ToCp1251("\xff\xfe"), "??");
}

TEST(TextTest, SanitizeReplacesMalformedBytes) {
    EXPECT_EQ(SanitizeUtf8("ok\xC3"), "ok?");
    EXPECT_EQ(SanitizeUtf8("\xE0\x80\x80"), "???");  // overlong form
    EXPECT_EQ(SanitizeUtf8("тест"), "тест");
}

}  // namespace
}  // namespace dalvex

namespace dalvex {
namespace {

TEST(TextTest, TextFilesAreCp1251UnlessAlreadyUtf8) {
    EXPECT_EQ(DecodeTextFile("\xD0\xE5\xE7"), "Рез");  // cp1251
    EXPECT_EQ(DecodeTextFile("Рез"), "Рез");           // already UTF-8
    EXPECT_EQ(DecodeTextFile("plain"), "plain");
}

}  // namespace
}  // namespace dalvex
