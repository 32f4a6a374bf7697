// The help contents model: the topics of the help pages, read from the help
// index, with lookups by context number and by keyword. The help window only
// shows what this model finds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dalvex {

// Context numbers the windows and commands of the program ask help for.
namespace help_context {
inline constexpr int MethodChoice = 1;
inline constexpr int Contents = 2;
inline constexpr int HelpOnHelp = 3;
inline constexpr int MainWindow = 4;
inline constexpr int DataSheet = 5;
inline constexpr int Results = 6;
inline constexpr int Calculator = 10;
inline constexpr int FileOpen = 11;
inline constexpr int FileSave = 12;
inline constexpr int FileClear = 13;
inline constexpr int FilePrint = 14;
inline constexpr int GraphsAndTransformations = 50;
inline constexpr int Statistics = 99;
}  // namespace help_context

struct HelpTopic {
    int context = 0;
    std::string file;  // page file name, relative to the help folder
    std::string title;
    std::vector<std::string> keywords;
};

// One line of a keyword search: a keyword (or a topic title) and its topic.
struct HelpKeywordHit {
    std::string term;
    const HelpTopic* topic = nullptr;
};

class HelpIndex {
  public:
    // Reads the index text: one topic a line, "number|file|title|keyword, keyword".
    // The keyword field may be missing. Blank lines and lines starting with '#'
    // are ignored; malformed lines (too few or too many fields, a number that is
    // not a non-negative integer, an empty file or title, a number already used)
    // are skipped and their line numbers remembered.
    static HelpIndex Parse(std::string_view text);

    // Topics in index order: the contents listing.
    const std::vector<HelpTopic>& Topics() const { return topics_; }
    // 1-based numbers of the lines that were skipped as malformed.
    const std::vector<int>& SkippedLines() const { return skippedLines_; }

    // The topic with exactly this context number, or nullptr.
    const HelpTopic* Find(int context) const;
    // The topic for a context number; an unknown number shows the contents
    // page instead (and the first topic when the index has no contents page).
    // nullptr only for an empty index.
    const HelpTopic* ForContext(int context) const;
    const HelpTopic* ContentsTopic() const { return ForContext(help_context::Contents); }
    // The topic whose page is this file (links inside the pages lead by file), or nullptr.
    const HelpTopic* FindFile(std::string_view file) const;

    // Keywords and titles that contain the key, ignoring case (Cyrillic
    // included); an empty key lists them all. Sorted alphabetically; a term
    // shared by several topics gives one hit per topic, in index order.
    std::vector<HelpKeywordHit> Search(std::string_view key) const;

  private:
    std::vector<HelpTopic> topics_;
    std::vector<int> skippedLines_;
};

}  // namespace dalvex
