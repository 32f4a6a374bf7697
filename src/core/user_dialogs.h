// The person at the screen, as computations see them. Computations never open
// windows; they ask through this interface. The Qt program answers with real
// modal dialogs, tests and the batch runner with a script.
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/variable_dialog.h"

namespace dalvex {

// What the file dialog is asked for.
struct FileRequest {
    int mode = 0;        // 0 read ("Чтение файла"), 1 write ("Запись файла")
    std::string filter;  // "description|pattern|" pairs
    std::string defaultName;  // write mode: the name offered
    std::string comment;      // write mode with a default name: the title offered
    int filterIndex = 0;      // the type chosen at first, for data files
};

// What the person chose in it.
struct FileChoice {
    bool chosen = false;
    std::string path;     // full path of the file
    std::string comment;  // the comment field as confirmed
    int filterIndex = 0;  // the type last chosen
};

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;
    // A message with one OK button.
    virtual void Notice(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool YesNo(const std::string& text) = 0;
    // A form dialog (see form_dialog.h): the button pressed and the field texts.
    virtual FormAnswer Form(const FormDialog& form) = 0;
    // The short warning sound, e.g. for a missing remembered-inputs file.
    virtual void Beep() {}
    // The program's file dialog.
    virtual FileChoice ChooseFile(const FileRequest& request) = 0;
    // The graph prompt "ПОСМОТРИТЕ ГРАФИК" while the person looks at a new
    // graph: true for "Оставить" (keep), false for "Отменить". Without
    // `offerDiscard` only "Оставить" is offered.
    virtual bool GraphPrompt(bool offerDiscard) = 0;
    // A variable dialog (list, single variable, regression): shown until it
    // closes itself. Without a way to show one it is cancelled.
    virtual void Variables(VariableDialog& dialog);
};

// One press in a variable dialog, naming the items by their column numbers.
struct VariableStep {
    VariableAction action;
    std::vector<int> columns;  // the items selected for the press
};

// Raised when a script does not hold the answer to the question asked.
class ScriptMismatch : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Answers taken in order from a script; every notice and question is recorded.
class ScriptedDialogs : public UserDialogs {
  public:
    // Expects a Yes/No question whose text contains `textPart` (empty matches any).
    ScriptedDialogs& ExpectYesNo(std::string textPart, bool answer);
    // Expects the form with this caption and answers `button` (0: cancelled)
    // with the form's texts, the first of them replaced by `values`.
    ScriptedDialogs& ExpectForm(std::string caption, int button,
                                std::vector<std::string> values = {});
    // Expects the file dialog in `mode` and answers with `path` (empty:
    // cancelled) and `comment`; the type stays the one asked with unless
    // `filterIndex` is given.
    ScriptedDialogs& ExpectFile(int mode, std::string path, std::string comment = {},
                                int filterIndex = -1);
    // Expects the graph prompt and keeps or discards the graph.
    ScriptedDialogs& ExpectGraphPrompt(bool keep);
    // Expects the variable dialog with this caption and presses its buttons
    // in turn; the last press must close it.
    ScriptedDialogs& ExpectVariables(std::string caption, std::vector<VariableStep> steps);

    void Notice(const std::string& text) override;
    bool YesNo(const std::string& text) override;
    FormAnswer Form(const FormDialog& form) override;
    void Beep() override { ++beeps_; }
    FileChoice ChooseFile(const FileRequest& request) override;
    bool GraphPrompt(bool offerDiscard) override;
    void Variables(VariableDialog& dialog) override;

    const std::vector<std::string>& notices() const { return notices_; }
    const std::vector<std::string>& questions() const { return questions_; }
    // Every form shown, with the texts it was shown with.
    const std::vector<FormDialog>& forms() const { return forms_; }
    int beeps() const { return beeps_; }
    // Every file dialog asked for.
    const std::vector<FileRequest>& fileRequests() const { return fileRequests_; }
    // How often the graph prompt was shown.
    int graphPrompts() const { return graphPrompts_; }
    bool scriptDone() const { return script_.empty(); }
    void ClearLog();

  private:
    struct Step {
        bool isForm = false;
        std::string textPart;  // a part of the question, or the form's caption
        bool answer = false;
        int button = 0;
        std::vector<std::string> values;
        bool isFile = false;
        int mode = 0;
        int filterIndex = -1;
        bool isGraphPrompt = false;
        bool isVariables = false;
        std::vector<VariableStep> presses;
    };
    std::string Describe(const Step& step) const;
    std::deque<Step> script_;
    std::vector<std::string> notices_;
    std::vector<std::string> questions_;
    std::vector<FormDialog> forms_;
    std::vector<FileRequest> fileRequests_;
    int beeps_ = 0;
    int graphPrompts_ = 0;
};

}  // namespace dalvex
