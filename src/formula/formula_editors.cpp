#include "formula/formula_editors.h"

#include "core/sheet_bridge.h"
#include "formula/function_list.h"

namespace dalvex {

std::vector<PadKey> CommonPad(const std::vector<std::string>& extra) {
    std::vector<PadKey> pad;
    for (const char* key :
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", ".", "+", "-", "*", "/", "^"})
        pad.push_back({key, key});
    for (const std::string& key : extra)
        pad.push_back({key, key == "()" ? "(?)" : key});
    pad.push_back({DeleteKey, ""});
    return pad;
}

std::vector<std::string> FunctionListFor(Workspace& ws) {
    std::vector<std::string> lines;
    if (!ReadFunctionList(ws.ProgramFolder, lines)) {
        ws.ui.Beep();
        lines.clear();
    }
    return lines;
}

std::vector<std::string> SheetVariableNames(const Workspace& ws) {
    std::vector<std::string> names;
    for (int k = 0; k < ws.sheet.VariableCount(); ++k) {
        std::string name = VariableName(ws, k);
        if (!name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

void SplitModel(const std::string& model, std::string& response, std::string& formula) {
    const std::size_t equal = model.find('=');
    if (equal == std::string::npos) {
        response.clear();
        formula = model;
        return;
    }
    response = model.substr(0, equal);
    formula = model.substr(equal + 1);
}

FormulaEditor::FormulaEditor(Workspace& ws, EditorKind kind, std::string caption,
                             std::vector<std::string> variables, std::vector<PadKey> pad)
    : ws_(ws),
      kind_(kind),
      caption_(std::move(caption)),
      variables_(std::move(variables)),
      pad_(std::move(pad)) {
    if (kind_ == EditorKind::Model)
        for (int k = 0; k < ModelCoefficients; ++k)
            coefficients_.push_back("a" + std::to_string(k));
}

std::string FormulaEditor::groupCaption() const {
    switch (kind_) {
        case EditorKind::Model:
            return "Редактор моделей";
        case EditorKind::Condition:
            return "Редактор условий";
        case EditorKind::Formula:
            break;
    }
    return "Редактор формул";
}

void FormulaEditor::Open(const std::string& formula) {
    functions_ = FunctionListFor(ws_);
    if (kind_ == EditorKind::Model) {
        std::string right;
        SplitModel(formula, response_, right);
        line_.SetText(right);
    } else {
        line_.SetText(formula);
    }
}

void FormulaEditor::PressPad(int index) {
    if (index < 0 || index >= static_cast<int>(pad_.size()))
        return;
    const PadKey& key = pad_[static_cast<std::size_t>(index)];
    if (key.label == DeleteKey)
        line_.DeleteBefore();
    else
        line_.Insert(key.text);
}

namespace {

void InsertEntry(EditLine& line, const std::vector<std::string>& list, int index) {
    if (index >= 0 && index < static_cast<int>(list.size()))
        line.Insert(list[static_cast<std::size_t>(index)]);
}

}  // namespace

void FormulaEditor::InsertVariable(int index) {
    InsertEntry(line_, variables_, index);
}

void FormulaEditor::InsertFunction(int index) {
    InsertEntry(line_, functions_, index);
}

void FormulaEditor::InsertCoefficient(int index) {
    InsertEntry(line_, coefficients_, index);
}

std::string FormulaEditor::result() const {
    if (kind_ == EditorKind::Model && !response_.empty())
        return response_ + "=" + line_.text;
    return line_.text;
}

void FormulaEditor::Confirm() {
    ws_.SetTextBuffer(result());
    ws_.LastAnswer = 1;
    closed_ = true;
}

void FormulaEditor::Cancel() {
    ws_.LastAnswer = 0;
    closed_ = true;
}

std::string FormulaEditor::Answer(int choice, const std::vector<std::string>& texts) {
    if (choice != 1)
        return "редактор утверждают кнопкой 1";
    if (!texts.empty()) {
        std::string text;
        for (const std::string& part : texts)
            text += (text.empty() ? "" : " ") + part;
        Open(text);
    }
    Confirm();
    return {};
}

std::vector<std::string> FormulaEditor::ScriptAnswer() const {
    if (!confirmed())
        return {};
    return {"1", result()};
}

namespace {

std::vector<std::string> WithSheetNames(std::vector<std::string> fixed, const Workspace& ws) {
    for (std::string& name : SheetVariableNames(ws))
        fixed.push_back(std::move(name));
    return fixed;
}

}  // namespace

Tqq11::Tqq11(Workspace& ws, std::string caption, int purpose)
    : FormulaEditor(
          ws, EditorKind::Formula, std::move(caption),
          purpose == 4 ? std::vector<std::string>{"x"} : WithSheetNames({"i", "x(?)"}, ws),
          CommonPad({"%"})) {}

Tqq12::Tqq12(Workspace& ws, std::string caption)
    : FormulaEditor(ws, EditorKind::Model, std::move(caption), WithSheetNames({"x", "x(?)"}, ws),
                    CommonPad({"()"})) {}

Tqq13::Tqq13(Workspace& ws, std::string caption)
    : FormulaEditor(ws, EditorKind::Condition, std::move(caption),
                    WithSheetNames({"x", "i", "j"}, ws),
                    CommonPad({"<", ">", "<=", ">=", "=", "<>", "&", "|", "()", "~", "%"})) {}

std::unique_ptr<FormulaEditor> EditorForPurpose(Workspace& ws, int purpose) {
    const FormulaPurpose* p = PurposeOf(purpose);
    if (!p)
        return nullptr;
    switch (p->editor) {
        case EditorKind::Model:
            return std::make_unique<Tqq12>(ws, p->caption);
        case EditorKind::Condition:
            return std::make_unique<Tqq13>(ws, p->caption);
        case EditorKind::Formula:
            break;
    }
    return std::make_unique<Tqq11>(ws, p->caption, purpose);
}

}  // namespace dalvex
