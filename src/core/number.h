// Number texts as the user sees and types them.
#pragma once

#include <string>
#include <string_view>

namespace dalvex {

// General format with `digits` significant digits (clamped to 2..18): fixed
// notation for decimal exponents -4..digits-1, otherwise "1.5E-5" style.
// `decimalSeparator` is the user's locale separator. A NaN or an infinity is
// never printed: it raises its arithmetic fault (invalid operation, overflow).
std::string FormatNumber(double x, int digits, char decimalSeparator = '.');

// FormatNumber left-padded with blanks to 9 characters (aligned report
// columns). Tables of fields that follow each other without a separator use
// the method kit's Field, which keeps a blank before a value that fills its
// field.
std::string FormatPadded(double x, int digits, char decimalSeparator = '.');

struct ParsedNumber {
    double value = 0.0;
    // 0 on success, otherwise the 1-based character index of the first
    // character that does not fit the number form (length + 1 at the end).
    int errorPosition = 0;
    bool ok() const { return errorPosition == 0; }
};

// Accepts a comma as the decimal point (the first comma only), then: leading
// blanks, optional sign, digits, optional point and digits, optional exponent.
// Anything else, trailing blanks included, is an error.
ParsedNumber ParseNumber(std::string_view text);

// Trunc of the value ParseNumber yields, error ignored; clamped to the int range.
int ParseInteger(std::string_view text);

}  // namespace dalvex
