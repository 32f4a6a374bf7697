// The program folder and what start-up and close do with the files in it:
// where the folder is, the leftover graph files, and the settings file
// "Dvx.ini" read at start-up and written back at close.
#pragma once

#include <string>

#include "core/workspace.h"

namespace dalvex {

// The current folder when it already holds "Dvx.ini" (a portable install);
// otherwise $XDG_DATA_HOME/dalvex, or ~/.local/share/dalvex, created when
// missing. Null or empty variables count as unset. Falls back to the current
// folder when the per-user folder cannot be created. Ends with '/'.
std::string ResolveProgramFolder(const std::string& currentFolder, const char* xdgDataHome,
                                 const char* home);
// The same from the process's current folder and environment.
std::string ProgramFolderAtStart();

// An installed program brings its sample data sets in a shared folder; on
// the first start (the program folder has no "data" folder yet) they are
// copied into "data", where the file dialog first looks, so the first F3
// shows them. Returns how many files were copied; a missing samples folder
// copies nothing.
int CopySamplesAtFirstStart(const std::string& programFolder, const std::string& samplesFolder);

// Deletes "gr1.tmp", "gr2.tmp", … in the folder, stopping at the first number
// whose file does not exist. Returns how many were deleted.
int DeleteLeftoverGraphFiles(const std::string& folder);

// The decimal separator of the user's locale. The C library's numeric locale
// is put back to "C" afterwards: number texts are formatted and parsed by
// C library calls that must keep the point.
char LocaleDecimalSeparator();

// What the main window does on creation: the program folder, the random seed
// from the clock, the leftover graph files.
void PrepareWorkspaceAtStart(Workspace& ws, const std::string& programFolder);

// Allocates the store; on failure shows "No enouth memory" and returns false
// (the program cannot run without it).
bool AllocateStoreAtStart(Workspace& ws);

inline constexpr const char* SettingsFileName = "Dvx.ini";

// "Dvx.ini" in the program folder, as start-up, "Запомнить" and close use it.
class SettingsFile {
  public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    // Reads and applies the settings. A missing file is created with the
    // defaults and a short one completed; lines out of their range take their
    // defaults with one notice naming them; a file that cannot be read shows
    // "Прерывание: " + the error, the defaults stay, and the file is then
    // left alone at close so that nothing the person had in it is lost.
    void LoadAtStart(Workspace& ws);
    // Lines 1..28 from the values in memory.
    void Remember(Workspace& ws);
    // Lines 1, 16, 29, 30 (folder, maximised, window size).
    void SaveAtClose(Workspace& ws);

    const std::string& path() const { return path_; }
    bool unreadable() const { return unreadable_; }

  private:
    // Reads the lines; a read error is shown and returns false.
    bool Read(Workspace& ws, std::vector<std::string>& lines);
    bool Write(Workspace& ws, const std::vector<std::string>& lines);

    std::string path_;
    bool unreadable_ = false;
};

}  // namespace dalvex
