#include "formula/formula_set_dialog.h"

#include <filesystem>

#include "core/text.h"
#include "formula/formula_editors.h"

namespace dalvex {

namespace {

// The archive's name with the extension of its kind when it has none.
std::string WithExtension(const std::string& path, const char* extension) {
    if (std::filesystem::path(path).extension().empty())
        return path + extension;
    return path;
}

std::string FileNameOnly(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

Tqq10::Tqq10(Workspace& ws, int purpose, ActiveFormula* formula)
    : ws_(ws),
      purpose_(PurposeOf(purpose) ? purpose : 1),
      formula_(formula ? formula : &ownFormula_),
      lines_(FormulaSetLines) {}

std::string Tqq10::caption() const {
    return PurposeOf(purpose_)->caption;
}

void Tqq10::Open() {
    if (!ReadFixedLines(ws_.ProgramFolder + PurposeOf(purpose_)->fileName, FormulaSetLines, lines_))
        ws_.ui.Beep();
    selected_ = 0;
}

void Tqq10::Select(int line) {
    if (line >= 0 && line < FormulaSetLines)
        selected_ = line;
}

void Tqq10::SetLine(int line, std::string text) {
    if (line >= 0 && line < FormulaSetLines)
        lines_[static_cast<std::size_t>(line)] = std::move(text);
}

void Tqq10::DoubleClick(int line) {
    Select(line);
    Confirm();
}

void Tqq10::Edit() {
    std::unique_ptr<FormulaEditor> editor = EditorForPurpose(ws_, purpose_);
    editor->Open(lines_[static_cast<std::size_t>(selected_)]);
    ws_.ui.Formula(*editor);
    if (!editor->closed())
        editor->Cancel();
    if (editor->confirmed())
        lines_[static_cast<std::size_t>(selected_)] = editor->result();
}

void Tqq10::Confirm() {
    const std::string path = ws_.ProgramFolder + PurposeOf(purpose_)->fileName;
    std::string error;
    if (!WriteFixedLines(path, lines_, &error))
        ShowNotice(ws_, FileNotWrittenText(path, error));
    const std::string& formula = lines_[static_cast<std::size_t>(selected_)];
    ws_.SetTextBuffer(formula);
    ws_.LastAnswer = 1;
    closed_ = true;
    if (purpose_ == 2) {
        WriteResult(ws_, "");
        WriteResult(ws_, "  Модель:" + formula);
        if (!CompileModel(formula))
            ws_.LastAnswer = 0;
    }
}

bool Tqq10::CompileModel(const std::string& model) {
    std::string response;
    std::string right;
    SplitModel(model, response, right);
    if (Trim(response).empty()) {
        ShowNotice(ws_, ModelWithoutResponseText);
        return false;
    }
    if (CompileFormula(ws_, *formula_, response, FormulaContext::Model) != 0)
        return false;
    if (formula_->program().variables.empty()) {
        ShowNotice(ws_, ModelWithoutResponseText);
        return false;
    }
    responseColumn_ = formula_->program().variables.front();
    if (CompileFormula(ws_, *formula_, right, FormulaContext::Model) != 0)
        return false;
    // The response comes after the model's own variables.
    const int count = ws_.SelectedColumns[0];
    if (count + 1 < static_cast<int>(ws_.SelectedColumns.size())) {
        ws_.SelectedColumns[static_cast<std::size_t>(count + 1)] = responseColumn_;
        ws_.SelectedColumns[0] = count + 1;
    }
    return true;
}

void Tqq10::Cancel() {
    ws_.LastAnswer = 0;
    closed_ = true;
}

void Tqq10::ReadArchive() {
    FileRequest request;
    request.mode = 0;
    request.filter = FormulaArchiveFilter;
    const FileChoice choice = ws_.ui.ChooseFile(request);
    if (!choice.chosen || choice.path.empty())
        return;
    std::string error;
    if (!ReadFixedLines(choice.path, FormulaSetLines, lines_, &error)) {
        ShowNotice(ws_, FileNotReadText(choice.path, error));
        return;
    }
    ws_.FormulaArchive = choice.path;
}

void Tqq10::WriteArchive() {
    FileRequest request;
    request.mode = 1;
    request.filter = FormulaArchiveFilter;
    request.defaultName = FileNameOnly(ws_.FormulaArchive);
    const FileChoice choice = ws_.ui.ChooseFile(request);
    if (!choice.chosen || choice.path.empty())
        return;
    const std::string path = WithExtension(choice.path, ".stf");
    std::string error;
    if (!WriteFixedLines(path, lines_, &error)) {
        ShowNotice(ws_, FileNotWrittenText(path, error));
        return;
    }
    ws_.FormulaArchive = path;
}

std::string Tqq10::Answer(int choice, const std::vector<std::string>& texts) {
    if (choice < 1 || choice > FormulaSetLines)
        return "строки " + std::to_string(choice) + " нет: формулы занимают строки 1..8";
    Select(choice - 1);
    if (!texts.empty()) {
        std::string text;
        for (const std::string& part : texts)
            text += (text.empty() ? "" : " ") + part;
        SetLine(choice - 1, text);
    }
    Confirm();
    return {};
}

std::vector<std::string> Tqq10::ScriptAnswer() const {
    if (!closed_ || ws_.LastAnswer != 1)
        return {};
    return {std::to_string(selected_ + 1), lines_[selected_]};
}

int ChooseFormula(Workspace& ws, int purpose, ActiveFormula& formula) {
    Tqq10 dialog(ws, purpose, &formula);
    dialog.Open();
    ws.ui.Formula(dialog);
    if (!dialog.closed())
        dialog.Cancel();
    return ws.LastAnswer;
}

}  // namespace dalvex
