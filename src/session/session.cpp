#include "session/session.h"

#include <filesystem>

#include "dispatch/command_frame.h"
#include "dispatch/sheet_graph.h"
#include "formula/formula_files.h"
#include "formula/function_list.h"
#include "formula/surface_dialog.h"
#include "graphics/function_surface.h"

namespace dalvex {

Session::Session(Workspace& ws, MethodRegistry methods)
    : ws_(ws),
      results_(ws),
      sheet_(ws),
      files_(ws, sheet_),
      form_(ws),
      desk_(ws, form_),
      methods_(std::move(methods)),
      dispatcher_(ws, form_, methods_, *this),
      settingsFile_(std::string()) {
    ws_.report = &results_;
    ws_.graphs = &desk_;
}

Session::~Session() {
    // The workspace may outlive the session: nothing may point into it.
    if (ws_.report == &results_)
        ws_.report = nullptr;
    if (ws_.graphs == &desk_)
        ws_.graphs = nullptr;
    if (ws_.resources == &resources_)
        ws_.resources = nullptr;
}

void Session::PrepareProgramFolder(const std::string& folder) {
    PrepareWorkspaceAtStart(ws_, folder);
    settingsFile_ = SettingsFile(ws_.ProgramFolder + SettingsFileName);
}

bool Session::StartUp() {
    sheet_.FormIni();
    if (!AllocateStoreAtStart(ws_))
        return false;
    form_.started = true;
    settingsFile_.LoadAtStart(ws_);
    // Report texts: a first start puts the shipped file into the program folder.
    WriteTextResourceFileIfMissing(ws_.ProgramFolder);
    LoadTextResourceFile(ws_, resources_);
    // Formulas name the functions of "StFn.ini"; a first start writes the default list.
    WriteFunctionListIfMissing(ws_.ProgramFolder);
    // The formula sets, the surface and the calculator start from examples.
    WriteFormulaFilesIfMissing(ws_.ProgramFolder);
    return true;
}

bool Session::StartWithoutSettings(const std::string& folder) {
    if (!ws_.store.Allocate())
        return false;
    form_.started = true;
    ws_.resources = &TextResources::Builtin();
    UseProgramFolder(folder);
    sheet_.FormIni();
    return true;
}

void Session::UseProgramFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    ws_.ProgramFolder = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    WriteFunctionListIfMissing(ws_.ProgramFolder);
    WriteFormulaFilesIfMissing(ws_.ProgramFolder);
}

bool Session::RunMethod(int method) {
    if (!dispatcher_.available(method))
        return false;
    dispatcher_.FormIni(method);
    // Results a method wrote into the sheet come back with one undo.
    sheet_.RecordStep();
    return true;
}

int Session::RunTransformations() {
    const SheetSelection& s = sheet_.selection();
    TTrMet menu(ws_, form_, transformUndo_,
                BlockOfSelection(ws_, s.left, s.top, s.right, s.bottom));
    const int choice = menu.Run();
    sheet_.RecordStep();
    if (choice == 11 || choice == UndoChoice)
        sheet_.PressCell(1, 1);
    return choice;
}

int Session::RunGraphMenu() {
    const int helpBefore = ws_.RunHelpContext;
    ws_.RunHelpContext = GraphMenuHelpContext;
    TGrMet menu(ws_);
    const int answer = menu.Run();
    const GraphMenuEntry* entry = GraphMenuEntryOf(answer);
    if (entry == nullptr) {
        ws_.RunHelpContext = helpBefore;
        return 0;
    }
    ws_.RunHelpContext = entry->helpContext;
    if (answer == MenuFunctionSurface) {
        FunctionSurface();
    } else if (pq34(ws_, answer) != 0) {
        std::vector<int> columns(ws_.SelectedColumns.begin() + 1,
                                 ws_.SelectedColumns.begin() + 1 + ws_.SelectedColumns[0]);
        DrawGraph(answer, columns, menu.options);
    }
    ws_.RunHelpContext = helpBefore;
    return answer;
}

bool Session::DrawGraph(int answer, const std::vector<int>& columns, const GraphOptions& options) {
    // A fault in the splines' arithmetic ends the command before a curve of
    // infinities reaches the window.
    CommandFrame frame(ws_, form_);
    bool drawn = false;
    frame.Run([&] {
        drawn = DrawSheetGraph(ws_, answer, columns, options);
        return drawn;
    });
    return drawn;
}

bool Session::FunctionSurface() {
    SurfaceRequest request;
    if (!ChooseSurface(ws_, request))
        return false;
    // The graph gets a program of its own; the person's chosen variables stay.
    const auto chosen = ws_.SelectedColumns;
    ActiveFormula formula;
    const int refused = CompileFormula(ws_, formula, request.formula, FormulaContext::XY);
    ws_.SelectedColumns = chosen;
    if (refused != 0)
        return false;
    ShowFunctionSurface(
        ws_, formula,
        SurfaceGrid{request.x0, request.x1, request.y0, request.y1, request.gridSize});
    return true;
}

void Session::ShowResults() {
    if (showResults)
        showResults();
}

void Session::CloseDiscardedGraphs() {
    const std::vector<int> numbers = form_.TakeGraphsToClose();
    for (int number : numbers)
        desk_.Close(number);
    if (graphsDiscarded)
        graphsDiscarded(numbers);
}

}  // namespace dalvex
