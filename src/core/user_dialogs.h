// The person at the screen, as computations see them. Computations never open
// windows; they ask through this interface. The Qt program answers with real
// modal dialogs, tests and the batch runner with a script.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/formula_dialog.h"
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
    // A field of the form just answered was refused: the method shows its
    // notice and ends. A script learns that its answer did not fit.
    virtual void FieldRefused(const std::string& label, const std::string& notice) {
        (void)label;
        Notice(notice);
    }
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
    // A formula dialog (see formula_dialog.h): shown until it closes itself.
    // Without a way to show one it is cancelled.
    virtual void Formula(FormulaDialog& dialog);
    // Long work (a search, an iteration) says how far it got: `done` of
    // `total` steps of the work named `text`; done = total closes the
    // display. Answers false when the person asked to stop the work.
    // Without a window nobody can stop it.
    virtual bool Progress(const std::string& text, int done, int total) {
        (void)text;
        (void)done;
        (void)total;
        return true;
    }
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

// ---------------------------------------------------------------------------
// Scripted answers: what tests and the batch runner say in place of the
// person. Each answer is typed by the kind of dialog it answers; the
// interpreter below takes them in order.

enum class DialogKind {
    YesNo,
    Form,
    File,
    GraphPrompt,
    Variables,
    Formula,  // the formula-set dialog, an editor, the surface dialog
    // Dialogs still to come add their kind here and read their answer with
    // ScriptedDialogs::Take.
};

// A dialog as messages name it: what an answer fits "to" ("форме
// «Гистограмма»") and the dialog as the subject of a sentence ("форма
// «Гистограмма»").
struct AskedDialog {
    std::string to;
    std::string subject;
};

// One press in a variable dialog, naming its items by words: a whole
// number is a column, anything else a variable's name as the list shows it.
struct VariablePress {
    VariableAction action = VariableAction::Confirm;
    std::vector<std::string> items;
    bool onlyIfOpen = false;  // skipped when the dialog has already closed
    bool mustTake = false;    // an item the dialog leaves in its list is refused
};

struct ScriptedAnswer {
    DialogKind kind = DialogKind::YesNo;
    // "Отменить": fits a form, the file dialog and a variable dialog.
    bool cancel = false;
    // Where the answer came from ("строка 5 сценария «yes»"); empty for
    // answers a test queued, which are then described by what they expect.
    std::string origin;
    // What the dialog must show: a part of the question, a form's or a
    // variable dialog's caption. Empty fits any.
    std::string expect;

    bool yes = false;  // Yes/No; the graph prompt: keep the graph
    // A form: the button pressed and the texts replacing its fields in
    // order; with `labelled`, a text "Label=value" fills the field so
    // labelled instead.
    int button = 0;
    std::vector<std::string> texts;
    bool labelled = false;
    // The file dialog: the mode it must be in (-1 any), the path chosen
    // (empty cancels), the comment and the type (-1 keeps the one asked with).
    int mode = -1;
    std::string path;
    std::string comment;
    bool keepComment = false;  // the comment stays as the dialog offered it
    int filterIndex = -1;
    // A variable dialog: its kind when the answer names one, and the presses.
    std::optional<VariableDialogKind> variableKind;
    std::vector<VariablePress> presses;
};

// The interpreter of scripted answers: every dialog takes the next answer
// of the queue, which must be of its kind and fit it; otherwise a
// ScriptMismatch names both. Every notice and question is recorded.
class ScriptedDialogs : public UserDialogs {
  public:
    void Push(ScriptedAnswer answer);

    // The ways tests have always queued answers.
    // A Yes/No question whose text contains `textPart` (empty matches any).
    ScriptedDialogs& ExpectYesNo(std::string textPart, bool answer);
    // The form with this caption: `button` (0: cancelled) with the form's
    // texts, the first of them replaced by `values`.
    ScriptedDialogs& ExpectForm(std::string caption, int button,
                                std::vector<std::string> values = {});
    // The file dialog in `mode`, answered with `path` (empty: cancelled)
    // and `comment`; the type stays the one asked with unless `filterIndex`
    // is given.
    ScriptedDialogs& ExpectFile(int mode, std::string path, std::string comment = {},
                                int filterIndex = -1);
    // The graph prompt: keep or discard the graph.
    ScriptedDialogs& ExpectGraphPrompt(bool keep);
    // The formula dialog with this caption answered at once (see
    // FormulaDialog::Answer).
    ScriptedDialogs& ExpectFormula(std::string caption, int choice,
                                   std::vector<std::string> texts = {});
    // The variable dialog with this caption, its buttons pressed in turn;
    // the last press must close it.
    ScriptedDialogs& ExpectVariables(std::string caption, std::vector<VariableStep> steps);

    void Notice(const std::string& text) override;
    void FieldRefused(const std::string& label, const std::string& notice) override;
    bool YesNo(const std::string& text) override;
    FormAnswer Form(const FormDialog& form) override;
    void Beep() override { ++beeps_; }
    FileChoice ChooseFile(const FileRequest& request) override;
    bool GraphPrompt(bool offerDiscard) override;
    void Variables(VariableDialog& dialog) override;
    void Formula(FormulaDialog& dialog) override;

    // The next answer, which must be of `kind` (or a cancel where `cancellable`).
    ScriptedAnswer Take(DialogKind kind, const AskedDialog& asked, bool cancellable,
                        std::optional<VariableDialogKind> variableKind = std::nullopt);
    // Stops the run naming the answer and the dialog.
    [[noreturn]] void Refuse(const ScriptedAnswer& answer, const AskedDialog& asked,
                             const std::string& why) const;

    // The texts the interpreter and the batch runner say things with.
    // «text», as messages quote a caption, a label or a script's word.
    static std::string Quoted(const std::string& text);
    // A program text without the CR of its line breaks.
    static std::string PlainLines(const std::string& text);
    // A word that is a whole number, as answers number buttons and columns.
    static std::optional<int> WholeNumber(const std::string& word);
    // A press naming its items by words; with items, an item the dialog
    // leaves in its list is refused.
    static VariablePress Press(VariableAction action, std::vector<std::string> items = {});
    // "Утвердить" closing a dialog that the presses before left open.
    static VariablePress ConfirmIfOpen();

    const std::vector<std::string>& notices() const { return notices_; }
    const std::vector<std::string>& questions() const { return questions_; }
    // Every form shown, with the texts it was shown with.
    const std::vector<FormDialog>& forms() const { return forms_; }
    int beeps() const { return beeps_; }
    // Every file dialog asked for.
    const std::vector<FileRequest>& fileRequests() const { return fileRequests_; }
    // How often the graph prompt was shown.
    int graphPrompts() const { return graphPrompts_; }
    bool scriptDone() const { return queue_.empty(); }
    void ClearLog();

  protected:
    // Called when the queue is empty and a dialog asks: the next answer, or
    // nothing with `whyNone` saying why ("сценарий кончился"). Tests queue
    // everything beforehand; the batch runner reads its script here.
    virtual std::optional<ScriptedAnswer> Refill(DialogKind kind, const AskedDialog& asked,
                                                 std::optional<VariableDialogKind> variableKind,
                                                 std::string& whyNone);
    // What a script would write to answer this kind of dialog.
    virtual std::string FittingAnswer(DialogKind kind,
                                      std::optional<VariableDialogKind> variableKind) const;
    // The last form answered and the form it answered, for a refused field.
    const ScriptedAnswer& lastFormAnswer() const { return lastForm_; }
    const std::string& lastFormCaption() const { return lastFormCaption_; }
    // Its texts that looked like "Label=value" but named no field, and so
    // were taken by position.
    const std::vector<std::string>& lastFormUnlabelled() const { return lastFormUnlabelled_; }

  private:
    std::deque<ScriptedAnswer> queue_;
    std::vector<std::string> notices_;
    std::vector<std::string> questions_;
    std::vector<FormDialog> forms_;
    std::vector<FileRequest> fileRequests_;
    ScriptedAnswer lastForm_;
    std::string lastFormCaption_;
    std::vector<std::string> lastFormUnlabelled_;
    int beeps_ = 0;
    int graphPrompts_ = 0;
};

}  // namespace dalvex
