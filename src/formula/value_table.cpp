// The value table: the short texts callers hand over for each evaluation.
#include <algorithm>
#include <string>
#include <string_view>

#include "formula/formula.h"

namespace dalvex {

void ValueText::Assign(std::string_view text) {
    // Whole characters only, at most 20 of them and never past the buffer.
    std::size_t chars = 0;
    std::size_t end = 0;
    while (end < text.size() && chars < ValueTextChars) {
        std::size_t next = end + 1;
        while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
            ++next;
        if (next > kMaxBytes)
            break;
        end = next;
        ++chars;
    }
    std::copy_n(text.data(), end, bytes_.data());
    size_ = end;
}

void ActiveFormula::SetVariableText(int k, std::string_view text) {
    if (k >= 1 && k < ValueTableSlots) {
        ValueTable[k].Assign(text);
        numeric_[k] = false;
    }
}

void ActiveFormula::SetVariableValue(int k, double value) {
    if (k >= 1 && k < ValueTableSlots) {
        numbers_[k] = value;
        numeric_[k] = true;
    }
}

void ActiveFormula::SetObservation(long index) {
    ValueTable[variableCount() + 1].Assign(std::to_string(index));
}

void ActiveFormula::SetColumn(int column) {
    ValueTable[variableCount() + 2].Assign(std::to_string(column));
}

}  // namespace dalvex
