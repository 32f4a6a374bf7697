#include "formula/value_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace dalvex {
namespace {

// The quick path must give exactly what ParseNumber gives, to the last bit.
TEST(ValueNumberTest, AgreesWithParseNumber) {
    const char* texts[] = {"0",
                           "-0",
                           "+7",
                           "12,5",
                           "12.5",
                           "-0,1",
                           "0.3",
                           "5,",
                           ",5",
                           ".5",
                           "123456789012345",
                           "1234567.89012345",
                           "0.1234567890123456",
                           "9007199254740993",
                           "1e3",
                           "1E-2",
                           "1,2,3",
                           "1.2,3",
                           "",
                           ",",
                           "-",
                           "+",
                           " 5",
                           "5 ",
                           "abc",
                           "12a",
                           "0000000000000000001",
                           "999999999999999.9",
                           "-2,25"};
    for (const char* text : texts) {
        const ParsedNumber quick = ParseValueNumber(text);
        const ParsedNumber full = ParseNumber(text);
        EXPECT_EQ(quick.errorPosition, full.errorPosition) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(quick.value),
                  std::bit_cast<std::uint64_t>(full.value))
            << text;
    }
}

}  // namespace
}  // namespace dalvex
