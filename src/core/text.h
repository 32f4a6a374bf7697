// Character-aware text helpers. Every text inside the program is UTF-8; every
// count the user can see (pad to 8, cut at 20, wrap at 90) is in characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dalvex {

// Number of characters (code points) in a UTF-8 text.
std::size_t CharLength(std::string_view text);

// Byte offset of the character with the given 0-based index (text size when past the end).
std::size_t ByteOffsetOfChar(std::string_view text, std::size_t charIndex);

// Decodes the well-formed UTF-8 sequence at byte `pos` into `cp`; returns its
// length in bytes, or 0 when the bytes there are malformed.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp);
void AppendUtf8(std::string& out, char32_t cp);

// Lower case for Latin and Cyrillic letters (Ё included), independent of the
// C locale; other characters and malformed bytes stay as they are.
std::string LowerCase(std::string_view text);

// The first `count` characters.
std::string CharCut(std::string_view text, std::size_t count);

// Characters [first, first + count).
std::string CharMid(std::string_view text, std::size_t first, std::size_t count);

// Prepends max(0, width - length) blanks, never more than 25 (the program's
// fixed fill buffer); report columns rely on that limit.
std::string PadLeft(std::string_view text, int width);

// Removes blanks (space characters only) from both ends.
std::string Trim(std::string_view text);

// Splits a text into lines at LF, CR LF or a lone CR. A final line break does
// not start an empty last line.
std::vector<std::string> SplitLines(std::string_view text);

// Windows Cyrillic conversion at the file boundary; a character cp1251 cannot
// hold is written as "?". Malformed UTF-8 bytes are taken one by one as "?".
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view cp1251);

// Text file bytes as UTF-8: files are Windows Cyrillic, but a file that is
// already valid UTF-8 with non-ASCII characters (written by another Linux
// program) is taken as it is.
std::string DecodeTextFile(std::string_view bytes);

// Replaces malformed UTF-8 sequences (e.g. binary clipboard data) with "?",
// so that everything stored in the sheet is valid UTF-8.
std::string SanitizeUtf8(std::string_view text);

}  // namespace dalvex
