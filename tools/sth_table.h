// The readable source of the text resources and the "Sth.ini" image built
// from it. Used by the build-time generator and by the tests.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace dalvex {

// Texts by group and entry (entry n at index n - 1), UTF-8.
using SthSource = std::map<int, std::vector<std::string>>;

inline constexpr int SthMaxGroup = 999;
inline constexpr int SthMaxEntry = 255;

// Reads lines "group|entry|text"; "#" starts a comment line, empty lines are
// skipped, a CR before the line end is dropped. Entries a group leaves out
// become empty texts. On a malformed line, a repeated entry, a text over 79
// characters or one Windows Cyrillic cannot hold, returns false with
// `error` = "line N: reason".
bool ParseSthSource(std::string_view text, SthSource& out, std::string& error);

// The "Sth.ini" image: the 2-byte offset T of the group table, one empty
// entry shared by the groups without texts, the entries of each group in
// order, and the group table (groups 0 .. the highest) up to the end.
// Returns false with `error` when the image would outgrow 16-bit offsets.
bool BuildSthImage(const SthSource& source, std::string& image, std::string& error);

// A C++ source defining BuiltinSthBytes() over the image.
std::string BuiltinSthSource(std::string_view image);

}  // namespace dalvex
