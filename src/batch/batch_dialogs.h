// The person at the screen played by a batch script: every question and
// dialog takes the script's next line, and a line that does not fit stops
// the run with a message naming the dialog, its caption and the line.
// Notices are written to the messages stream.
#pragma once

#include <ostream>
#include <string>

#include "batch/batch_script.h"
#include "core/user_dialogs.h"

namespace dalvex {

// The words that start a command of the script rather than an answer.
bool IsCommandWord(const std::string& word);

class BatchDialogs : public UserDialogs {
  public:
    // Relative file names are taken from `baseFolder` (ending with '/').
    BatchDialogs(BatchScript& script, std::ostream& messages, std::string baseFolder);

    void Notice(const std::string& text) override;
    bool YesNo(const std::string& text) override;
    FormAnswer Form(const FormDialog& form) override;
    FileChoice ChooseFile(const FileRequest& request) override;
    bool GraphPrompt(bool offerDiscard) override;
    void Variables(VariableDialog& dialog) override;

    // A file name of the script as a path.
    std::string PathOf(const std::string& name) const;

  private:
    // The next line, which must answer `asked`.
    const ScriptLine& Next(const std::string& asked);
    [[noreturn]] void Refuse(const ScriptLine& line, const std::string& asked,
                             const std::string& why) const;

    BatchScript& script_;
    std::ostream& messages_;
    std::string baseFolder_;
};

}  // namespace dalvex
