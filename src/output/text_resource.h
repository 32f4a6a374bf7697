// The text resources "Sth.ini": method titles, verdict lines, labels of the
// rank tests and titles of the regression models, as numbered entries in
// numbered groups.
//
// File layout, little-endian: bytes 0-1 hold T, the offset of the group table;
// the entries follow; from T to the end of the file, 2 bytes per group g hold
// the offset of its first entry. An entry is a length byte L, L bytes of
// Windows Cyrillic text and one separator byte. A group's entries follow one
// another up to the first entry of the next group (in file order) or the
// table; entries count from 1. A group without texts may point at an empty
// entry shared with others.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dalvex {

struct Workspace;

inline constexpr const char* TextResourceFileName = "Sth.ini";
// Longest text of an entry; a longer one in a file is cut when read.
inline constexpr int ResourceTextChars = 79;

class TextResources {
  public:
    // Takes a whole file image. Damaged data - too short, a group table
    // outside the file or of odd size, a group offset outside the entries, an
    // entry running past its group's end - is refused: returns false and the
    // table keeps what it held.
    bool Load(std::string_view bytes);

    // Entry n (from 1) of a group, UTF-8; empty when there is no such entry.
    std::string Entry(int group, int n) const;
    int GroupCount() const { return static_cast<int>(groups_.size()); }
    int EntryCount(int group) const;

    // The table compiled into the program, from the same source as the
    // shipped "Sth.ini".
    static const TextResources& Builtin();

  private:
    std::vector<std::vector<std::string>> groups_;
};

// Start-up: reads ProgramFolder + "Sth.ini" into `table` and points
// ws.resources at it. A missing, unreadable or damaged file - one whose group
// table ends before the built-in table's, as a cut file's does, included -
// gives the built-in table and one notice saying so. Returns true when the
// file was used.
bool LoadTextResourceFile(Workspace& ws, TextResources& table);

// First start: writes the built-in "Sth.ini" into the folder (ending with
// '/') when nothing of that name is there; an existing file is left alone.
// Returns false only when a missing file could not be written.
bool WriteTextResourceFileIfMissing(const std::string& programFolder);

// TextBuffer = entry n of the group (empty when there is none).
void ReadTextResource(Workspace& ws, const TextResources& r, int group, int n);

}  // namespace dalvex
