// Session recording ("Запись сеанса"): the person's side of the program
// written out as a dalvex-batch script. The recorder sits between the
// program and the person: every question goes on to the person unchanged,
// and while recording each answer given is written as the script line that
// gives the same answer to the batch runner. The windows add the commands
// (files opened and saved, methods run, the menus); running the script gives
// the same report.
#pragma once

#include <string>
#include <vector>

#include "core/user_dialogs.h"

namespace dalvex {

struct Workspace;

class SessionRecorder : public UserDialogs {
  public:
    explicit SessionRecorder(UserDialogs& person);

    bool recording() const { return recording_; }
    // Starts a script; the settings that shape reports (digits, level, exact
    // probabilities, decimal separator) are written before the first command
    // that reads them, and the data file the sheet holds (`dataFile`, a full
    // path, empty for none) is opened first.
    void Start(const Workspace& ws, const std::string& dataFile);
    // Ends recording; the script's text (UTF-8, one line each, CR LF).
    std::string Stop();

    // A command of the script ("method 1", "transform" ...), preceded by the
    // settings lines that changed since they were last written.
    void Command(const std::string& line);
    // A line for the reader of the script only.
    void Comment(const std::string& text);
    // While the returned guard lives, answers are not written: the command
    // that asks them is written as one line of its own (F3 and F4, whose
    // file dialog and questions `open` and `save` do not ask).
    class Quiet {
      public:
        explicit Quiet(SessionRecorder* recorder);
        ~Quiet();
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

      private:
        SessionRecorder* recorder_;
    };
    // The path last chosen in the file dialog, quiet or not, or last noted
    // by DataFileOpened.
    const std::string& lastChosenPath() const { return lastPath_; }
    // A data file was read into the sheet (`path` in full): a recording
    // started later opens it first, and one going on now opens it here. A
    // file named on the command line passes no file dialog, so only this
    // makes it known.
    void DataFileOpened(const std::string& path);

    // A script word: as it is, or in double quotes when it holds blanks or
    // is empty.
    static std::string Word(const std::string& text);

    // --- the person's side, passed on -------------------------------------------------
    void Notice(const std::string& text) override;
    void FieldRefused(const std::string& label, const std::string& notice) override;
    bool YesNo(const std::string& text) override;
    FormAnswer Form(const FormDialog& form) override;
    void Beep() override;
    FileChoice ChooseFile(const FileRequest& request) override;
    bool GraphPrompt(bool offerDiscard) override;
    void Variables(VariableDialog& dialog) override;
    void Formula(FormulaDialog& dialog) override;
    bool Progress(const std::string& text, int done, int total) override;

  private:
    void Answer(const std::string& line);
    void WriteSettings();

    UserDialogs& person_;
    const Workspace* ws_ = nullptr;
    bool recording_ = false;
    int quiet_ = 0;
    // Answers given while a variable dialog is open (the file of pairs)
    // follow the dialog's own line.
    int openVariableDialogs_ = 0;
    int openFormulaDialogs_ = 0;
    std::vector<std::string> heldAnswers_;
    std::vector<std::string> lines_;
    std::string lastPath_;
    // Settings as the script has set them so far.
    int digits_ = 0;
    double level_ = 0;
    bool exact_ = false;
    char separator_ = '.';
};

}  // namespace dalvex
