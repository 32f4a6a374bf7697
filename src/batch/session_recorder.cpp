#include "batch/session_recorder.h"

#include <charconv>

#include "core/workspace.h"
#include "formula/formula_editors.h"
#include "formula/formula_set_dialog.h"
#include "formula/surface_dialog.h"

namespace dalvex {

namespace {

// The batch runner's settings before a script sets any.
constexpr int BatchDigits = 4;
constexpr double BatchLevel = 0.05;

std::string ShortestNumber(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

// The columns of a variable dialog's list, as script words.
std::string ColumnsOf(const VariableList& list) {
    std::string words;
    for (const std::string& item : list.items) {
        const auto column = ItemColumn(item);
        if (column)
            words += " " + std::to_string(*column);
    }
    return words;
}

// Passes a variable dialog on unchanged and notes whether it was cancelled.
class WatchedVariableDialog : public VariableDialog {
  public:
    explicit WatchedVariableDialog(VariableDialog& dialog) : dialog_(dialog) {}

    VariableDialogKind kind() const override { return dialog_.kind(); }
    std::string caption() const override { return dialog_.caption(); }
    std::vector<std::string> texts() const override { return dialog_.texts(); }
    const std::vector<VariableList>& lists() const override { return dialog_.lists(); }
    std::vector<VariableButton> buttons() const override { return dialog_.buttons(); }
    std::vector<std::string> roles(int list) const override { return dialog_.roles(list); }
    void Press(VariableAction action, const std::vector<std::vector<int>>& selected) override {
        cancelled_ = action == VariableAction::Cancel;
        readPairs_ = readPairs_ || action == VariableAction::ReadPairs;
        dialog_.Press(action, selected);
    }
    void DoubleClick(int list, int item) override {
        cancelled_ = false;
        dialog_.DoubleClick(list, item);
    }
    bool closed() const override { return dialog_.closed(); }
    int helpContext() const override { return dialog_.helpContext(); }
    int capacity() const override { return dialog_.capacity(); }

    bool cancelled() const { return cancelled_ || !dialog_.closed(); }
    bool readPairs() const { return readPairs_; }

  private:
    VariableDialog& dialog_;
    bool cancelled_ = false;
    bool readPairs_ = false;
};

// The line that makes a closed variable dialog choose what it chose.
std::string VariablesLine(const WatchedVariableDialog& dialog) {
    const std::vector<VariableList>& lists = dialog.lists();
    auto list = [&](std::size_t i) { return i < lists.size() ? ColumnsOf(lists[i]) : ""; };
    if (dialog.cancelled())
        return "cancel";
    switch (dialog.kind()) {
        case VariableDialogKind::List:
            if (dialog.readPairs() && list(1).empty())
                return "variables pairs";
            return list(1).empty() ? "cancel" : "variables" + list(1);
        case VariableDialogKind::Single:
            return list(1).empty() ? "cancel" : "variable" + list(1);
        case VariableDialogKind::Regression:
            return "regression x" + list(1) + " y" + list(2);
        case VariableDialogKind::Groups:
            return "groups" + list(1) + " -" + list(2);
    }
    return "cancel";
}

// The script line's words of a closed formula dialog; empty when it was not
// confirmed or is of a kind a script cannot answer.
std::vector<std::string> FormulaAnswer(const FormulaDialog& dialog) {
    if (const auto* set = dynamic_cast<const Tqq10*>(&dialog))
        return set->ScriptAnswer();
    if (const auto* editor = dynamic_cast<const FormulaEditor*>(&dialog))
        return editor->ScriptAnswer();
    if (const auto* surface = dynamic_cast<const Tqq14*>(&dialog))
        return surface->ScriptAnswer();
    return {};
}

}  // namespace

SessionRecorder::SessionRecorder(UserDialogs& person) : person_(person) {}

SessionRecorder::Quiet::Quiet(SessionRecorder* recorder) : recorder_(recorder) {
    if (recorder_ != nullptr)
        ++recorder_->quiet_;
}

SessionRecorder::Quiet::~Quiet() {
    if (recorder_ != nullptr)
        --recorder_->quiet_;
}

std::string SessionRecorder::Word(const std::string& text) {
    if (!text.empty() && text.find_first_of(" \t") == std::string::npos && text.front() != '"')
        return text;
    return "\"" + text + "\"";
}

void SessionRecorder::Start(const Workspace& ws, const std::string& dataFile) {
    ws_ = &ws;
    recording_ = true;
    lines_ = {"# Сеанс DALVEX, записанный как сценарий dalvex-batch"};
    heldAnswers_.clear();
    openVariableDialogs_ = 0;
    digits_ = BatchDigits;
    level_ = BatchLevel;
    exact_ = false;
    separator_ = '.';
    // Generated numbers continue from where the generator stands now.
    lines_.push_back("seed " + std::to_string(ws.RandomSeed));
    if (!dataFile.empty())
        Command("open " + Word(dataFile));
}

void SessionRecorder::DataFileOpened(const std::string& path) {
    lastPath_ = path;
    if (recording_)
        Command("open " + Word(path));
}

std::string SessionRecorder::Stop() {
    recording_ = false;
    std::string text;
    for (const std::string& line : lines_)
        text += line + "\r\n";
    lines_.clear();
    return text;
}

void SessionRecorder::WriteSettings() {
    const SettingsValues& s = ws_->settings;
    if (s.SignificantDigits != digits_) {
        digits_ = s.SignificantDigits;
        lines_.push_back("digits " + std::to_string(digits_));
    }
    if (s.SignificanceLevel != level_) {
        level_ = s.SignificanceLevel;
        lines_.push_back("level " + ShortestNumber(level_));
    }
    if (s.exactProbabilities != exact_) {
        exact_ = s.exactProbabilities;
        lines_.push_back(std::string("exact ") + (exact_ ? "on" : "off"));
    }
    if (s.decimalSeparator != separator_) {
        separator_ = s.decimalSeparator;
        lines_.push_back(std::string("decimal ") + separator_);
    }
}

void SessionRecorder::Command(const std::string& line) {
    if (!recording_)
        return;
    WriteSettings();
    lines_.push_back(line);
}

void SessionRecorder::Comment(const std::string& text) {
    if (recording_)
        lines_.push_back("# " + text);
}

void SessionRecorder::Answer(const std::string& line) {
    if (!recording_ || quiet_ > 0)
        return;
    if (openVariableDialogs_ > 0)
        heldAnswers_.push_back(line);
    else
        lines_.push_back(line);
}

void SessionRecorder::Notice(const std::string& text) {
    person_.Notice(text);
}

void SessionRecorder::FieldRefused(const std::string& label, const std::string& notice) {
    person_.FieldRefused(label, notice);
}

bool SessionRecorder::YesNo(const std::string& text) {
    const bool yes = person_.YesNo(text);
    Answer(yes ? "yes" : "no");
    return yes;
}

FormAnswer SessionRecorder::Form(const FormDialog& form) {
    const FormAnswer answer = person_.Form(form);
    // Every field by its place: the form then reads exactly what was typed,
    // whatever its memory file holds in the batch run.
    std::string line = "form " + std::to_string(answer.button);
    for (const std::string& value : answer.values)
        line += " " + Word(value);
    Answer(line);
    return answer;
}

void SessionRecorder::Beep() {
    person_.Beep();
}

FileChoice SessionRecorder::ChooseFile(const FileRequest& request) {
    const FileChoice choice = person_.ChooseFile(request);
    if (choice.chosen)
        lastPath_ = choice.path;
    Answer(choice.chosen ? "file " + Word(choice.path) : "cancel");
    return choice;
}

bool SessionRecorder::GraphPrompt(bool offerDiscard) {
    const bool keep = person_.GraphPrompt(offerDiscard);
    Answer(keep ? "graph keep" : "graph discard");
    return keep;
}

void SessionRecorder::Variables(VariableDialog& dialog) {
    WatchedVariableDialog watched(dialog);
    ++openVariableDialogs_;
    person_.Variables(watched);
    --openVariableDialogs_;
    if (openVariableDialogs_ > 0)
        return;
    std::vector<std::string> held;
    held.swap(heldAnswers_);
    Answer(VariablesLine(watched));
    for (const std::string& line : held)
        Answer(line);
}

void SessionRecorder::Formula(FormulaDialog& dialog) {
    // An editor opened from a formula set answers nothing of its own in a
    // script: the set's line carries the text it confirmed.
    ++openFormulaDialogs_;
    person_.Formula(dialog);
    --openFormulaDialogs_;
    if (openFormulaDialogs_ > 0)
        return;
    const std::vector<std::string> answer = FormulaAnswer(dialog);
    if (answer.empty()) {
        Answer("cancel");
        return;
    }
    std::string line = "formula";
    for (const std::string& word : answer)
        line += " " + Word(word);
    Answer(line);
}

bool SessionRecorder::Progress(const std::string& text, int done, int total) {
    return person_.Progress(text, done, total);
}

}  // namespace dalvex
