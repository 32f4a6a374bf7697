// The shared follow-up dialogs of the methods, as forms: coefficient
// estimates (Tqq09), factor rotation (Tqq110) and the two "Что дальше?"
// dialogs (Tqq122 for regression residual graphs, Tqq123 for a fitted
// model). Each opener shows its form and returns LastAnswer.
#pragma once

#include "core/form_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* EstimatesMemory = "q09.ini";
inline constexpr const char* ModelFollowUpMemory = "q123.ini";
inline constexpr int EstimateLines = 51;  // a0 .. a50

// The forms as shown at first.
FormDialog Tqq09Form(int n, const std::vector<std::string>& lines);
FormDialog Tqq110Form(int factors);
FormDialog Tqq122Form();
FormDialog Tqq123Form();

// Estimates a0..an into Vector1[0..n]: a value of exactly 0, or a line that
// is not a number, becomes 1. "Обнулить" sets every line to 1 and shows the
// form again. The lines are remembered in "q09.ini".
int pq09(Workspace& ws, int n);
// Answers 1..5 the rotations, 6 forecasting, 0 cancel; the field's integer
// becomes AnswerNumber.
int pq110(Workspace& ws);
// Answers 4, 1, 2, 3 or 0; 2 and 3 put the integer of "X=" into AnswerNumber.
int pq122(Workspace& ws);
// Answers 1, 2, 3 or 0; 2 puts the step count into AnswerNumber and the
// step size into AnswerValue. The two fields are remembered in "q123.ini".
int pq123(Workspace& ws);

}  // namespace dalvex
