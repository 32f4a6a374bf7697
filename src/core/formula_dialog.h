// The formula dialogs as the person's side sees them: the formula-set
// dialog, the three formula editors and the surface dialog. Their rules live
// in their models (src/formula); a window shows a model and forwards what the
// person does, and a script answers one in a single step.
#pragma once

#include <string>
#include <vector>

namespace dalvex {

enum class FormulaDialogKind {
    Set,      // eight remembered formulas of one purpose
    Editor,   // the formula, model or condition editor
    Surface,  // "График поверхности"
};

class FormulaDialog {
  public:
    virtual ~FormulaDialog() = default;

    virtual FormulaDialogKind kind() const = 0;
    virtual std::string caption() const = 0;
    // A script's answer, confirmed at once. A formula set: the line chosen
    // (1..8) and, with a text, that line replaced by it. An editor: the texts
    // replace its edit line (the model editor: the whole "Y=formula"). The
    // surface: the texts replace the formula, Xmin, Xmax, Ymin, Ymax and nX
    // in this order. Returns why the answer does not fit, empty when it did.
    virtual std::string Answer(int choice, const std::vector<std::string>& texts) = 0;
    // "Отменить" or the window closed.
    virtual void Cancel() = 0;
    // Whether the dialog has closed; LastAnswer then holds its answer.
    virtual bool closed() const = 0;
    // The help page F1 opens: the surface has its own, the formula sets and
    // their editors share one.
    int helpContext() const { return kind() == FormulaDialogKind::Surface ? 21 : 20; }
};

}  // namespace dalvex
