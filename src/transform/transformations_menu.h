// The transformations menu ("Преобразования", F8) and its dialogs: the
// standard functions (TTrOp), the number generator (Tqq17), sorting (Tq32)
// and missing values and outliers (Tqqmis). Every dialog is a form, so the
// windows and scripts answer them alike. Each transformation that changes
// the sheet says which variables it changed and can be undone once from the
// menu until the next one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/main_window_model.h"
#include "core/sheet_grid.h"
#include "core/workspace.h"
#include "transform/sheet_transforms.h"

namespace dalvex {

inline constexpr const char* TransformMenuMemory = "qtrmet.ini";
inline constexpr const char* StandardFunctionsMemory = "qtrop.ini";
inline constexpr const char* GeneratorMemory = "q17.ini";
inline constexpr const char* SortMemory = "q32.ini";
inline constexpr const char* MissingMemory = "qmis.ini";

// Menu answers beyond the twelve transformations.
inline constexpr int UserProgramChoice = 13;
inline constexpr int UndoChoice = 14;

inline constexpr const char* NothingToUndoText = "!НЕТ ПРЕОБРАЗОВАНИЯ ДЛЯ ОТМЕНЫ!";
inline constexpr const char* SheetChangedSinceText =
    "!ЛИСТ ДАННЫХ ИЗМЕНЕН ПОСЛЕ ПРЕОБРАЗОВАНИЯ - ОТМЕНА НЕВОЗМОЖНА!";
std::string NoUserProgramText(int entry);

// The last transformation that changed the sheet: the sheet before and
// after it. Kept by the running program from one transformation to the next.
struct TransformUndo {
    bool available = false;
    std::string name;
    SheetGrid before;
    SheetGrid after;
};

// The sheet columns (0 = row labels) whose cells or lengths differ.
std::vector<int> ChangedColumns(const SheetGrid& a, const SheetGrid& b);

FormDialog TransformMenuForm();
FormDialog StandardFunctionsForm();
FormDialog GeneratorForm();
FormDialog SortForm();
FormDialog MissingForm();

class TTrMet {
  public:
    // `block` is the sheet's selection as grid rectangle (left, top, right,
    // bottom); the generator writes into its left column.
    TTrMet(Workspace& ws, TSMForm& form, TransformUndo& undo, SheetBlock block);

    // Shows the menu until a choice closes it and runs that choice; returns
    // the choice (0 cancelled).
    int Run();
    // `TrMt`: runs one transformation with the menu's inputs.
    void TrMt(int choice);
    // Restores the sheet as it was before the last transformation.
    void Undo();

    // Inputs the menu carries to the transformation.
    int sampleSize = 10;
    std::string codeValue = "0";
    int entry = 0;

  private:
    // Runs `body` in the command frame; when the sheet changed, says what and
    // keeps the copy for the undo.
    void Recorded(const std::string& name, const std::function<void()>& body);
    bool ChooseVariables(std::vector<int>& columns);
    void StandardFunctions();
    void Generator();
    void Sort();
    void MissingValues();
    void FormulaOverBlock();
    void ByCondition(int choice);

    Workspace& ws_;
    TSMForm& form_;
    TransformUndo& undo_;
    SheetBlock block_;
};

}  // namespace dalvex
