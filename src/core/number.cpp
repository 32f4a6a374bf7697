#include "core/number.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/arithmetic_fault.h"
#include "core/text.h"

namespace dalvex {

namespace {

void StripTrailingZeros(std::string& digits) {
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
}

}  // namespace

std::string FormatNumber(double x, int digits, char decimalSeparator) {
    // A number that is none stops the command as the fault that made it.
    Checked(x);
    if (x == 0.0)
        return "0";
    const int p = digits < 2 ? 2 : (digits > 18 ? 18 : digits);

    // Rounding to p significant digits is done by the C library; its
    // scientific form gives the mantissa digits and the exponent after rounding.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", p - 1, x);
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    const std::size_t ePos = s.find('e');
    const int exponent = std::atoi(s.c_str() + ePos + 1);
    std::string mantissa;  // all significant digits, no point
    for (std::size_t i = 0; i < ePos; ++i)
        if (s[i] != '.')
            mantissa += s[i];

    std::string out = negative ? "-" : "";
    if (exponent >= -4 && exponent < p) {
        std::string intPart;
        std::string frac;
        if (exponent >= 0) {
            intPart = mantissa.substr(0, static_cast<std::size_t>(exponent) + 1);
            frac = mantissa.substr(static_cast<std::size_t>(exponent) + 1);
        } else {
            intPart = "0";
            frac = std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
        }
        StripTrailingZeros(frac);
        out += intPart;
        if (!frac.empty()) {
            out += decimalSeparator;
            out += frac;
        }
    } else {
        std::string frac = mantissa.substr(1);
        StripTrailingZeros(frac);
        out += mantissa[0];
        if (!frac.empty()) {
            out += decimalSeparator;
            out += frac;
        }
        out += 'E';
        out += std::to_string(exponent);
    }
    return out;
}

std::string FormatPadded(double x, int digits, char decimalSeparator) {
    return PadLeft(FormatNumber(x, digits, decimalSeparator), 9);
}

ParsedNumber ParseNumber(std::string_view text) {
    std::string s(text);
    if (const auto comma = s.find(','); comma != std::string::npos)
        s[comma] = '.';

    auto errorAt = [&](std::size_t byteIndex) {
        ParsedNumber r;
        r.errorPosition =
            static_cast<int>(CharLength(std::string_view(s).substr(0, byteIndex))) + 1;
        return r;
    };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };

    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    const std::size_t numberStart = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t intDigits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++intDigits;
    std::size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++fracDigits;
    }
    if (intDigits + fracDigits == 0)
        return errorAt(i);
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return errorAt(i);
    }
    if (i != s.size())
        return errorAt(i);

    // from_chars does not take a leading plus and is independent of the C locale.
    std::size_t from = numberStart;
    if (s[from] == '+')
        ++from;
    ParsedNumber r;
    const auto [ptr, ec] = std::from_chars(s.data() + from, s.data() + s.size(), r.value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; a magnitude beyond the double range is not a number.
        const std::size_t e = s.find_first_of("eE", numberStart);
        const bool tiny = e != std::string::npos && s[e + 1] == '-';
        if (!tiny)
            return errorAt(numberStart);
        r.value = s[numberStart] == '-' ? -0.0 : 0.0;
    } else if (ec != std::errc() || ptr != s.data() + s.size()) {
        return errorAt(numberStart);
    }
    return r;
}

int ParseInteger(std::string_view text) {
    const double v = std::trunc(ParseNumber(text).value);
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

}  // namespace dalvex
