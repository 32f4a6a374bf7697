// Stepwise regression (method 22): forward selection, backward elimination
// and two-way selection of the X by F-to-enter / F-to-remove or by their
// significances, with the tables of every step.
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/workspace.h"
#include "stats/multiple_regression.h"
#include "stats/regression_dialogs.h"

namespace dalvex {

inline constexpr const char* FThresholdNotice = "!ПОРОГ F - ЧИСЛО НЕ МЕНЬШЕ 0!";
inline constexpr const char* PThresholdNotice = "!ПОРОГ ЗНАЧИМОСТИ - ЧИСЛО ОТ 0 ДО 1!";
inline constexpr const char* ToleranceNotice = "!СХОДСТВО - ЧИСЛО ОТ 0 ДО 1!";
// A variable could enter and leave again at once: selection would cycle.
inline constexpr const char* FRemoveAboveEnterNotice = "!F-ИСКЛ НЕ МОЖЕТ БЫТЬ БОЛЬШЕ F-ВКЛ!";
inline constexpr const char* PRemoveBelowEnterNotice = "!P-ИСКЛ НЕ МОЖЕТ БЫТЬ МЕНЬШЕ P-ВКЛ!";

enum class SelectionKind { Forward = 1, Backward = 2, Stepwise = 3 };

struct SelectionSettings {
    SelectionKind kind = SelectionKind::Forward;
    double fEnter = 3.84, fRemove = 2.71;
    double pEnter = 0.05, pRemove = 0.1;
    double tolerance = 0.01;
    bool bySignificance = false;  // "Р-уровень"; otherwise "F-уровень"

    // Whether a candidate with these figures may enter, and whether a
    // variable of the equation must leave.
    bool Enters(const CandidateFigures& c) const;
    bool Leaves(const VariableLine& line) const;
};

// Shows it; false when cancelled or a field was refused (with its notice).
bool AskSelection(Workspace& ws, SelectionSettings& settings);

// At most this many entries and removals in one selection over k X.
int MostSelectionSteps(int predictors);

// The selection with the report of every step, from the X most
// correlated with Y (forward, two-way) or from all of them (backward).
// Answers the final equation's X, or nothing when the run ended early (a
// fit that could not be made, the step limit, stopped by the person; each
// has said its notice).
std::vector<int> SelectVariables(Workspace& ws, const RegressionData& data,
                                 const SelectionSettings& settings);

// Method 22: the rows as loaded (X, then Y).
void StepwiseRegression(Workspace& ws);

}  // namespace dalvex
