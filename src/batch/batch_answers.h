// The person at the screen played by a batch script: each dialog's answer
// is the script's next line, turned into a typed answer that the scripted
// dialogs interpret as they do for tests. Notices are written to the
// messages stream as they come.
#pragma once

#include <ostream>
#include <string>

#include "batch/batch_script.h"
#include "core/user_dialogs.h"

namespace dalvex {

// The words that start an answer rather than a command.
bool IsAnswerWord(const std::string& word);

class BatchAnswers : public ScriptedDialogs {
  public:
    // Relative file names are taken from `baseFolder` (ending with '/').
    // `isCommand` tells the words that start a command: such a line ends the
    // answers a dialog can take.
    BatchAnswers(BatchScript& script, std::ostream& messages, std::string baseFolder,
                 bool (*isCommand)(const std::string& word));

    void Notice(const std::string& text) override;
    // A refused field stops the run at the line that answered the form: the
    // method ends there, and the lines after it were written for a run that
    // went on.
    void FieldRefused(const std::string& label, const std::string& notice) override;

    // A file name of the script as a path.
    std::string PathOf(const std::string& name) const;

    // The answer one script line gives, whatever dialog it is for.
    // Throws a BatchScriptError naming `asked` when the line is no answer.
    ScriptedAnswer AnswerOf(const ScriptLine& line, DialogKind kind, const AskedDialog& asked,
                            std::optional<VariableDialogKind> variableKind) const;

  protected:
    std::optional<ScriptedAnswer> Refill(DialogKind kind, const AskedDialog& asked,
                                         std::optional<VariableDialogKind> variableKind,
                                         std::string& whyNone) override;
    std::string FittingAnswer(DialogKind kind,
                              std::optional<VariableDialogKind> variableKind) const override;

  private:
    BatchScript& script_;
    std::ostream& messages_;
    std::string baseFolder_;
    bool (*isCommand_)(const std::string& word);
};

}  // namespace dalvex
