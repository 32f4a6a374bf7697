// The three formula editors: the formula editor (Tqq11), the model editor
// (Tqq12) and the condition editor (Tqq13). Each holds an edit line, the
// names the formula may use, the function list and a button pad; pads,
// lists and insert buttons insert at the caret by the placeholder rule of
// EditLine. Confirming puts the result into TextBuffer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/formula_dialog.h"
#include "core/workspace.h"
#include "formula/edit_line.h"
#include "formula/formula_files.h"

namespace dalvex {

inline constexpr const char* DeleteKey = "Del";
inline constexpr const char* ResponseLabel = "Y-переменная";
inline constexpr const char* CoefficientsLabel = "Коэфф:";
inline constexpr int ModelCoefficients = 31;  // a0 .. a30

// A pad button: what it shows and what it inserts ("()" inserts "(?)";
// "Del" inserts nothing and deletes).
struct PadKey {
    std::string label;
    std::string text;
};

// The keys every pad has: digits, ".", "+", "-", "*", "/", "^"; "Del" last.
std::vector<PadKey> CommonPad(const std::vector<std::string>& extra);

// The lines of "StFn.ini" for a list of functions; a missing file beeps and
// leaves the list empty.
std::vector<std::string> FunctionListFor(Workspace& ws);
// The names of the sheet's variables, columns 1..VariableCount.
std::vector<std::string> SheetVariableNames(const Workspace& ws);

class FormulaEditor : public FormulaDialog {
  public:
    // `caption` is the caption of the dialog that opened the editor.
    FormulaEditor(Workspace& ws, EditorKind kind, std::string caption,
                  std::vector<std::string> variables, std::vector<PadKey> pad);

    FormulaDialogKind kind() const override { return FormulaDialogKind::Editor; }
    std::string caption() const override { return caption_; }
    EditorKind editorKind() const { return kind_; }
    // "Редактор формул", "Редактор моделей" or "Редактор условий".
    std::string groupCaption() const;

    // Shows `formula`: the model editor puts the part before the first "="
    // into the response field and the rest into the edit line. Reads the
    // function list.
    void Open(const std::string& formula);

    const std::vector<std::string>& variables() const { return variables_; }
    const std::vector<std::string>& functions() const { return functions_; }
    // "a0" .. "a30" in the model editor, empty in the others.
    const std::vector<std::string>& coefficients() const { return coefficients_; }
    const std::vector<PadKey>& pad() const { return pad_; }

    EditLine& line() { return line_; }
    const EditLine& line() const { return line_; }
    // The model editor's "Y-переменная".
    const std::string& response() const { return response_; }
    void SetResponse(std::string text) { response_ = std::move(text); }

    void PressPad(int index);
    void InsertVariable(int index);
    void InsertFunction(int index);
    void InsertCoefficient(int index);

    // The model editor joins response + "=" + formula; the others return
    // the edit line as it stands.
    std::string result() const;

    // "Утвердить": the result into TextBuffer, LastAnswer = 1.
    void Confirm();
    void Cancel() override;
    bool closed() const override { return closed_; }
    bool confirmed() const { return closed_ && ws_.LastAnswer == 1; }
    std::string Answer(int choice, const std::vector<std::string>& texts) override;
    // After the dialog closed: the choice and texts that, given to Answer(),
    // end it the same way (a recorded session writes them as its script
    // line); empty when it was not confirmed.
    std::vector<std::string> ScriptAnswer() const;

  private:
    Workspace& ws_;
    EditorKind kind_;
    std::string caption_;
    std::vector<std::string> variables_;
    std::vector<std::string> functions_;
    std::vector<std::string> coefficients_;
    std::vector<PadKey> pad_;
    EditLine line_;
    std::string response_;
    bool closed_ = false;
};

// The formula editor: purpose 1 offers "i", "x(?)" and the sheet's names,
// purpose 4 "x"; "%" is MOD.
class Tqq11 : public FormulaEditor {
  public:
    Tqq11(Workspace& ws, std::string caption, int purpose);
};

// The model editor: "x", "x(?)" and the sheet's names, the coefficients,
// the response field; "()" on the pad.
class Tqq12 : public FormulaEditor {
  public:
    Tqq12(Workspace& ws, std::string caption);
};

// The condition editor: "x", "i", "j" and the sheet's names; comparisons and
// logic on the pad.
class Tqq13 : public FormulaEditor {
  public:
    Tqq13(Workspace& ws, std::string caption);
};

// The editor of a purpose (1..5), captioned as the formula-set dialog.
std::unique_ptr<FormulaEditor> EditorForPurpose(Workspace& ws, int purpose);

// Splits a model at its first "=": the response (left part) and the formula.
// Without "=" the response is empty and the whole text is the formula.
void SplitModel(const std::string& model, std::string& response, std::string& formula);

}  // namespace dalvex
