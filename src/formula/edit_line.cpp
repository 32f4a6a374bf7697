#include "formula/edit_line.h"

#include <algorithm>

#include "core/text.h"

namespace dalvex {

namespace {

bool EndsWithPlaceholderCall(std::string_view entry) {
    return entry.size() >= 3 && entry.substr(entry.size() - 3) == "(?)";
}

// The character at index `at` is a one-byte "?".
bool IsPlaceholderAt(const std::string& text, std::size_t at) {
    const std::size_t byte = ByteOffsetOfChar(text, at);
    return byte < text.size() && text[byte] == Placeholder;
}

void EraseChar(std::string& text, std::size_t at) {
    const std::size_t first = ByteOffsetOfChar(text, at);
    const std::size_t last = ByteOffsetOfChar(text, at + 1);
    text.erase(first, last - first);
}

}  // namespace

void EditLine::SetText(std::string_view newText) {
    text = std::string(newText);
    caret = CharLength(text);
}

void EditLine::Insert(std::string_view entry) {
    caret = std::min(caret, CharLength(text));
    if (caret > 0 && IsPlaceholderAt(text, caret - 1)) {
        --caret;
        EraseChar(text, caret);
    }
    if (caret < CharLength(text) && IsPlaceholderAt(text, caret))
        EraseChar(text, caret);
    text.insert(ByteOffsetOfChar(text, caret), entry);
    const std::size_t length = CharLength(entry);
    caret += EndsWithPlaceholderCall(entry) ? length - 2 : length;
}

void EditLine::DeleteBefore() {
    caret = std::min(caret, CharLength(text));
    if (caret == 0)
        return;
    --caret;
    EraseChar(text, caret);
}

void EditLine::DeleteAfter() {
    caret = std::min(caret, CharLength(text));
    if (caret < CharLength(text))
        EraseChar(text, caret);
}

}  // namespace dalvex
