// The captions dialog of a graph window ("Надписи для графика", `Tq35`):
// the axis and bottom captions, where the names of points come from and the
// legend, as six lines kept in "StSbs.ini" and in ".sbs" archives.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "graphics/tgra.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* CaptionsCaption = "Надписи для графика";
inline constexpr const char* CaptionsMemory = "StSbs.ini";
inline constexpr int CaptionsHelpContext = 44;
inline constexpr const char* CaptionsArchiveFilter = "Надписи (*.sbs)|*.sbs|";

// The answers of the dialog's buttons.
enum CaptionsButton {
    CaptionsCancel = 0,
    CaptionsConfirm = 1,
    CaptionsClear = 2,
    CaptionsReadArchive = 3,
    CaptionsWriteArchive = 4,
};

// What the six lines hold: the X, Y, Z and bottom captions, the index of the
// names' choice (0 "Нет", 1 "Объекты", k >= 2 the (k - 1)th variable) and
// "1" or "0" for the legend.
struct CaptionSet {
    GraphCaptions captions;
    int names = 0;
    bool legend = false;

    std::vector<std::string> Lines() const;
    // Missing lines read as empty; a names index that is no number as 0.
    static CaptionSet FromLines(const std::vector<std::string>& lines);
    bool operator==(const CaptionSet&) const = default;
};

// The dialog as a form showing `set`, with the sheet's variables offered
// for the names of points.
FormDialog CaptionsForm(const Workspace& ws, const CaptionSet& set);

// Shows the dialog, starting from "StSbs.ini" (a missing file beeps and
// `current` stays), until "Утвердить" or "Отменить": "Очистить" empties the
// fields, the archive buttons read or write a ".sbs" file through the file
// dialog and show the dialog again. "Утвердить" writes "StSbs.ini" and
// answers the set; "Отменить" answers nothing, and nothing changes.
std::optional<CaptionSet> Tq35(Workspace& ws, const CaptionSet& current);

}  // namespace dalvex
