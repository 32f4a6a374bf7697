#include "core/variable_dialog.h"

#include <charconv>

#include "core/sheet_bridge.h"
#include "core/text.h"

namespace dalvex {

std::string VariableItem(const Workspace& ws, int column) {
    std::string item = CharCut(VariableName(ws, column - 1), VariableItemNameChars);
    item.append(VariableItemNameChars - CharLength(item), ' ');
    return item + std::to_string(column);
}

std::optional<int> ItemColumn(std::string_view item) {
    const std::string digits = Trim(CharMid(item, VariableItemNameChars, item.size()));
    int column = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, column);
    if (digits.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return column;
}

}  // namespace dalvex
