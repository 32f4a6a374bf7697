// The edit line of the formula editors, the surface dialog and the
// calculator: a text and a caret, and the rule by which the pads and the
// lists insert their entries so that a placeholder "?" is filled by the next
// insert.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dalvex {

// The placeholder of function lines ("ABS(?)") and of the "()" pad.
inline constexpr char Placeholder = '?';

struct EditLine {
    std::string text;       // UTF-8
    std::size_t caret = 0;  // in characters, 0 .. length

    // The whole text replaced, the caret after it.
    void SetText(std::string_view newText);
    // Inserts an entry at the caret. A "?" directly before the caret and one
    // directly after it are removed first, so an insert into a placeholder
    // replaces it. The caret then stands after the entry; an entry ending in
    // "(?)" leaves it before its "?", ready for the argument.
    void Insert(std::string_view entry);
    // "Del" of the editors: the character before the caret.
    void DeleteBefore();
    // "Del" of the calculator: the character after the caret.
    void DeleteAfter();
};

}  // namespace dalvex
