// The surface dialog (Tqq14, "График поверхности"): the formula of a
// function surface of x and y, its ranges and the number of grid steps,
// remembered in "StSf.ini" and kept in ".ssf" archives.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/formula_dialog.h"
#include "core/workspace.h"
#include "formula/edit_line.h"
#include "formula/formula_editors.h"

namespace dalvex {

inline constexpr const char* SurfaceCaption = "График поверхности";
inline constexpr const char* SurfaceFormulaHint =
    "Введите формулу повехности от переменных x[i],y[i]";
// The largest grid whose x, y and z fit the store: Trunc(sqrt(CellCapacity / 3)).
inline constexpr int MaxSurfaceGrid = 147;

// What a confirmed surface dialog asks to draw.
struct SurfaceRequest {
    std::string formula;
    double x0 = 0.0, x1 = 0.0, y0 = 0.0, y1 = 0.0;
    int gridSize = 0;  // N points a side, 2..MaxSurfaceGrid
};

// The grid of nX steps: nX cut to MaxSurfaceGrid when 3 nX² passes the store.
int SurfaceGridSize(int steps);

class Tqq14 : public FormulaDialog {
  public:
    explicit Tqq14(Workspace& ws);

    FormulaDialogKind kind() const override { return FormulaDialogKind::Surface; }
    std::string caption() const override { return SurfaceCaption; }

    // Reads "StSf.ini" (a missing file beeps and the shipped example stays)
    // and the function list.
    void Open();

    EditLine& formula() { return formula_; }
    const EditLine& formula() const { return formula_; }
    // "Xmin", "Xmax", "Ymin", "Ymax", "nX".
    static const std::array<const char*, 5>& FieldLabels();
    const std::array<std::string, 5>& fields() const { return fields_; }
    void SetField(int index, std::string text);

    const std::vector<std::string>& variables() const { return variables_; }
    const std::vector<std::string>& functions() const { return functions_; }
    const std::vector<PadKey>& pad() const { return pad_; }
    void PressPad(int index);
    void InsertVariable(int index);
    void InsertFunction(int index);

    // "Утвердить": refuses a formula that does not compile (context 4), a
    // bound that is no number, equal bounds or an nX that is not a whole
    // number of at least 2, with a notice, and stays open. Otherwise writes
    // "StSf.ini", puts the formula into TextBuffer, the bounds into Vector1
    // 0..3 (when the store is there), the grid size into AnswerNumber, and
    // closes with LastAnswer = 1.
    void Confirm();
    void Cancel() override;
    void ReadArchive();
    void WriteArchive();

    bool closed() const override { return closed_; }
    std::string Answer(int choice, const std::vector<std::string>& texts) override;
    // After the dialog closed: the choice and texts that, given to Answer(),
    // end it the same way (a recorded session writes them as its script
    // line); empty when it was not confirmed.
    std::vector<std::string> ScriptAnswer() const;

    // Valid after a confirmation.
    const SurfaceRequest& request() const { return request_; }

  private:
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    // The refusal notice, empty when everything fits.
    std::string Check(SurfaceRequest& request);

    Workspace& ws_;
    EditLine formula_;
    std::array<std::string, 5> fields_{};
    std::vector<std::string> variables_{"x", "y"};
    std::vector<std::string> functions_;
    std::vector<PadKey> pad_;
    SurfaceRequest request_;
    bool closed_ = false;
    std::string lastRefusal_;
};

// Shows the surface dialog; true with the request filled when confirmed.
bool ChooseSurface(Workspace& ws, SurfaceRequest& request);

}  // namespace dalvex
