#include "formula/value_number.h"

#include <cstdint>

namespace dalvex {

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

ParsedNumber ParseValueNumber(std::string_view text) {
    // [sign] digits [point or comma digits], at most 15 digits in all: the
    // digits make an integer below 2^53 and the point a division by an exact
    // power of ten, so the one rounding of that division gives the correctly
    // rounded value, the one ParseNumber's conversion gives. Anything else
    // goes to ParseNumber.
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fraction = -1;  // digits after the point, -1 before one
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            ++digits;
            if (fraction >= 0)
                ++fraction;
        } else if ((c == '.' || c == ',') && fraction < 0) {
            fraction = 0;
        } else {
            return ParseNumber(text);
        }
    }
    if (digits == 0 || digits > 15)
        return ParseNumber(text);
    double value = static_cast<double>(mantissa);
    if (fraction > 0)
        value /= kExactPowers[fraction];
    ParsedNumber result;
    result.value = negative ? -value : value;
    return result;
}

}  // namespace dalvex
