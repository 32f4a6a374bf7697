// One running DALVEX: the results text, the data sheet with its files, the
// main window's model, the graph windows' models, the statistics methods and
// their dispatcher, and the program folder's files read at start-up. The
// windowed program and the batch runner each hold one, so every command is
// wired once, here, whatever shows it. Qt-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/main_window_model.h"
#include "core/program_folder.h"
#include "core/workspace.h"
#include "dispatch/dispatcher.h"
#include "dispatch/graph_menu.h"
#include "graphics/graph_desk.h"
#include "output/results_text.h"
#include "output/text_resource.h"
#include "sheet/data_files.h"
#include "sheet/sheet_editor.h"
#include "transform/transformations_menu.h"

namespace dalvex {

class Session : private RunWindows {
  public:
    // The workspace's reports and graph requests go to this session from now on.
    Session(Workspace& ws, MethodRegistry methods);
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // --- start-up --------------------------------------------------------------
    // The windowed program before its first paint: the program folder, the
    // random seed, the leftover graph files.
    void PrepareProgramFolder(const std::string& folder);
    // Its first paint: an empty sheet, the store, "Dvx.ini", the text
    // resources and the function list (written when missing). False when the
    // store could not be had (the notice has been shown).
    bool StartUp();
    // The batch runner's start: the store, the built-in text resources and a
    // program folder without settings. False when the store could not be had.
    bool StartWithoutSettings(const std::string& folder);
    // Dialog memories are kept in another folder from now on (created when
    // missing, with the function list).
    void UseProgramFolder(const std::string& folder);

    // --- commands ----------------------------------------------------------------
    // Statistics method `method` in the dispatcher's frame; false when it
    // cannot run.
    bool RunMethod(int method);
    // "График поверхности", then the surface it asks for drawn as graph kind
    // 11. False when the dialog was cancelled or the formula refused. The
    // graph menu's "мат.функция" and the batch command `surface` come here.
    bool FunctionSurface();
    // The transformations menu (F8) over the sheet's selection; returns the
    // choice (0 cancelled). A transposition leaves no selection behind.
    int RunTransformations();
    // The graph menu "Графики данных" (F6): a kind, its variables (the
    // surface dialog for a function surface) and the graph. Returns the
    // menu's answer (0 cancelled).
    int RunGraphMenu();
    // A graph of menu answer `answer` of sheet columns `columns`, made as the
    // menu makes it once its variables are chosen; false when nothing was
    // drawn (a notice said why).
    bool DrawGraph(int answer, const std::vector<int>& columns, const GraphOptions& options);
    // Closes the graph windows discarded at the graph prompt (a run does
    // this before and after its method).
    void CloseDiscardedGraphs() override;

    // --- what the session holds --------------------------------------------------
    Workspace& ws() { return ws_; }
    TEditForm& results() { return results_; }
    TSht1& sheet() { return sheet_; }
    SheetFiles& files() { return files_; }
    TSMForm& form() { return form_; }
    GraphDesk& graphs() { return desk_; }
    MethodRegistry& methods() { return methods_; }
    MethodDispatcher& dispatcher() { return dispatcher_; }
    SettingsFile& settingsFile() { return settingsFile_; }
    const TextResources& resources() const { return resources_; }

    // --- what the windows around a run do ------------------------------------------
    // The results brought to the front ("Rez"); nothing without windows.
    std::function<void()> showResults;
    // The graph windows discarded at the graph prompt are gone from the
    // models; the windows showing them close.
    std::function<void(const std::vector<int>& numbers)> graphsDiscarded;

  private:
    void ShowResults() override;
    std::string DataFileName() const override { return files_.fileName(); }

    Workspace& ws_;
    TEditForm results_;
    TSht1 sheet_;
    SheetFiles files_;
    TSMForm form_;
    GraphDesk desk_;
    MethodRegistry methods_;
    MethodDispatcher dispatcher_;
    SettingsFile settingsFile_;
    TextResources resources_;
    TransformUndo transformUndo_;
};

}  // namespace dalvex
