#include "core/number.h"

#include <gtest/gtest.h>

namespace dalvex {
namespace {

struct FormatCase {
    double x;
    int digits;
    const char* text;
};

TEST(FormatNumberTest, GeneralFormat) {
    const FormatCase cases[] = {
        {0.05, 4, "0.05"},
        {123.456, 4, "123.5"},
        {123456, 4, "1.235E5"},
        {0.0000123, 4, "1.23E-5"},
        {2, 4, "2"},
        {0, 4, "0"},
        {-1.5, 4, "-1.5"},
        {9999.6, 4, "1E4"},
        {0.0001, 4, "0.0001"},
        {0.00001, 4, "1E-5"},
        {1234, 4, "1234"},
        {-0.000123456, 4, "-0.0001235"},
        {3.14159, 1, "3.1"},
        {3.14159, 0, "3.1"},
        {1.0 / 3, 30, "0.333333333333333315"},
        {1.5, 8, "1.5"},
        {12345678, 8, "12345678"},
        {123456789, 8, "1.2345679E8"},
        {1e300, 4, "1E300"},
        {-2.5e-300, 4, "-2.5E-300"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.x, c.digits), c.text) << c.x;
}

TEST(FormatNumberTest, UsesTheLocaleSeparator) {
    EXPECT_EQ(FormatNumber(3.16, 4, ','), "3,16");
    EXPECT_EQ(FormatNumber(1.5e-7, 4, ','), "1,5E-7");
    EXPECT_EQ(FormatPadded(1.5, 4), "      1.5");
    EXPECT_EQ(FormatPadded(-123456789, 4), " -1.235E8");
}

TEST(ParseNumberTest, AcceptsTheNumberForm) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"3,25", 3.25}, {"3.25", 3.25}, {"  -1e3", -1000}, {"+.5", 0.5},
                 {"5.", 5},      {"1E-2", 0.01}, {"007", 7},        {"1e-400", 0}};
    for (const auto& c : cases) {
        const ParsedNumber n = ParseNumber(c.text);
        EXPECT_EQ(n.errorPosition, 0) << c.text;
        EXPECT_DOUBLE_EQ(n.value, c.value) << c.text;
    }
}

TEST(ParseNumberTest, ReportsTheFirstCharacterThatDoesNotFit) {
    struct Case {
        const char* text;
        int position;
    } cases[] = {{"", 1},  {"3,2,5", 4}, {"1.5 ", 4},  {"abc", 1}, {"1e", 3}, {"-", 2},
                 {".", 2}, {"12x", 3},   {"1e999", 1}, {"ёж", 1},  {"1ё", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseNumber(c.text).errorPosition, c.position) << c.text;
}

TEST(ParseNumberTest, IntegerFormTruncatesAndIgnoresErrors) {
    EXPECT_EQ(ParseInteger("7,9"), 7);
    EXPECT_EQ(ParseInteger("-7.9"), -7);
    EXPECT_EQ(ParseInteger("x"), 0);
    EXPECT_EQ(ParseInteger("1e20"), 2147483647);
}

}  // namespace
}  // namespace dalvex
