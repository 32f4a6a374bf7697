// The program's file dialog ("Чтение файла" / "Запись файла", TFMn): one
// dialog for every file the program reads or writes. Beside choosing a file
// it shows the titles of the native data files, lets the title be edited when
// saving, finds files by title and deletes files. Created once and reused;
// its Qt view shows what this decides.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* PatternsFileName = "fmn.ini";
inline constexpr int SearchPatternCount = 20;
inline constexpr int SearchTitleChars = 100;  // the part of a title a search looks at
inline constexpr const char* NoFileNotice = "!НЕ УКАЗАН ФАЙЛ!";

// Asks the person for a file through the workspace's dialogs: LastAnswer is 1
// and TextBuffer holds the chosen path, or LastAnswer is 0.
FileChoice AskForFile(Workspace& ws, const FileRequest& request);

struct FileFilter {
    std::string description;
    std::string pattern;
};
// "Описание (*.x)|*.x|Другое|*.y|" -> pairs.
std::vector<FileFilter> ParseFilter(std::string_view filter);
// '*' and '?' patterns; letter case does not count ("DATA.DBF" is a "*.dbf").
bool MatchesPattern(std::string_view name, std::string_view pattern);
// The extension a pattern adds to a name typed without one ("*.dvx" ->
// ".dvx"); none for "*.*".
std::string PatternExtension(std::string_view pattern);

// The title a file carries, by its type: the first record of a native data
// file; other files have none. Empty when the file cannot be read.
std::string ReadFileTitle(const std::string& path);

// The drive tabs on a system without drive letters: the root, the home
// folder and the mounted removable and network volumes.
struct Volume {
    enum class Kind { Fixed, Removable, Network };
    std::string caption;
    std::string path;
    Kind kind = Kind::Fixed;
};
// From the text of /proc/mounts.
std::vector<Volume> MountedVolumes(std::string_view mounts, const std::string& home);

struct FileEntry {
    std::string name;                  // with its extension
    std::string shown;                 // without it, unless every file is listed
    long long modified = 0;            // seconds since 1970
    std::optional<std::string> title;  // read when first needed
};

struct ListLayout {
    int width;
    int columns;
    bool bold;
};

class TFMn {
  public:
    explicit TFMn(Workspace& ws);

    // Set-up for one use: mode, filter, default name.
    void Ini(const FileRequest& request);
    // The dialog is about to show: no answer yet, the list shows DataFolder,
    // the tree and the drive tabs are hidden.
    void Show();

    // --- what the view shows ---------------------------------------------------
    int mode() const { return mode_; }
    std::string caption() const;
    int helpContext() const { return mode_ == 1 ? 12 : 11; }
    bool menuShown() const;
    bool writeControlsShown() const { return mode_ == 1; }  // name field, "Записать файл="
    const std::vector<FileFilter>& filters() const { return filters_; }
    int filterIndex() const { return filterIndex_; }
    const std::string& pattern() const { return filters_[filterIndex_].pattern; }
    const std::string& folder() const { return folder_; }
    const std::vector<Volume>& volumes() const { return volumes_; }
    int currentVolume() const;
    bool treeShown() const { return treeShown_; }
    bool commentsMode() const { return commentsMode_; }
    std::string commentsButtonCaption() const;
    bool searchPanelShown() const { return searchPanelShown_; }
    ListLayout listLayout() const;

    // The listed files (after a search, those found), the selected one (-1: none).
    int fileCount() const { return static_cast<int>(listed_.size()); }
    const FileEntry& file(int index) const { return entries_[listed_[index]]; }
    // The trimmed title of a listed file.
    const std::string& Title(int index);
    int selected() const { return selected_; }

    const std::string& comment() const { return comment_; }
    void SetComment(std::string text) { comment_ = std::move(text); }
    const std::string& name() const { return name_; }
    void SetName(std::string text) { name_ = std::move(text); }
    // The selected file, the one a confirmation takes, for the "Текущий
    // файл=" panel; nullptr when the list is empty.
    const FileEntry* currentFile() const;

    const std::array<std::string, SearchPatternCount>& patterns() const { return patterns_; }
    bool patternsUnreadable() const { return patternsUnreadable_; }

    // --- what the person does ---------------------------------------------------
    // A folder from the tree or a drive tab: it is listed, its first file selected.
    bool ChangeFolder(const std::string& folder);
    void ChooseVolume(int index);
    void ChooseType(int index);
    // A click: the name field (write mode), the comment and the current file follow.
    void ClickFile(int index);
    // "Утвердить" or "Записать файл=". The dialog then closes.
    void Confirm();
    // A double click or Enter in the list: that file at once. The dialog closes.
    void ActivateFile(int index);
    void Cancel();
    // " Удалить" or Delete in the list: asks, deletes exactly that file, tells
    // when it could not.
    void Delete(int index);
    void ToggleTree();
    void ToggleMenu() { searchPanelShown_ = !searchPanelShown_; }
    void ToggleComments();
    void ClickPattern(int index);
    void EditPattern(const std::string& text);
    // "Поиск:": lists only the files whose title holds the text; an empty
    // text lists all again. The search panel closes.
    void Search(const std::string& text);
    // Lists the folder again, every file, the first one selected.
    void Refresh();

    // --- the answer ---------------------------------------------------------------
    bool closed() const { return closed_; }
    int answer() const { return answer_; }
    const FileChoice& choice() const { return choice_; }

  private:
    void Finish();
    void LoadPatterns();
    void SavePatterns();
    std::string PathOf(const std::string& name) const;

    Workspace& ws_;
    int mode_ = 0;
    std::vector<FileFilter> filters_;
    int filterIndex_ = 0;
    std::string folder_;
    std::vector<Volume> volumes_;
    std::vector<FileEntry> entries_;
    std::vector<int> listed_;
    int selected_ = -1;
    std::string comment_;
    std::string name_;
    bool treeShown_ = false;
    bool commentsMode_ = false;
    bool searchPanelShown_ = false;
    std::array<std::string, SearchPatternCount> patterns_{};
    int lastPattern_ = 0;
    bool patternsUnreadable_ = false;
    bool closed_ = false;
    int answer_ = 0;
    FileChoice choice_;
};

}  // namespace dalvex
