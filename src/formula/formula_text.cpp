// Text preparation: what the translator reads instead of the typed formula.
#include <string>
#include <string_view>

#include "core/text.h"
#include "formula/formula.h"

namespace dalvex {

namespace {

// Every occurrence, left to right; replaced text is not scanned again.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t found = text.find(from, pos);
        if (found == std::string_view::npos)
            break;
        out.append(text, pos, found - pos);
        out.append(to);
        pos = found + from.size();
    }
    out.append(text.substr(pos < text.size() ? pos : text.size()));
    return out;
}

}  // namespace

std::string PrepareFormulaText(std::string_view text) {
    std::string s = CharCut(SanitizeUtf8(text), MaxFormulaChars);
    std::erase(s, ' ');
    // Every operator becomes one character: the two-character comparisons
    // first (">=" and "<=" once more, for pairs the earlier steps joined), then
    // "MOD" by way of "MO" to "%". An upper-case "MO" or "OD" inside a name
    // is changed as well, which is why no function name holds one.
    static constexpr std::string_view kSteps[][2] = {
        {">=", "}"}, {"<=", "{"}, {"<>", "~"}, {">=", "}"}, {"<=", "{"}, {"OD", "O"}, {"MO", "%"},
    };
    for (const auto& step : kSteps)
        s = ReplaceAll(s, step[0], step[1]);
    return s;
}

}  // namespace dalvex
