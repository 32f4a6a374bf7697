// The person at the screen, answered with real message boxes.
#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QWidget>
#include <functional>
#include <memory>

#include "core/user_dialogs.h"

namespace dalvex {

class QtUserDialogs : public UserDialogs {
  public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    // A question-mark icon and one OK button.
    void Notice(const std::string& text) override;
    // "Да" and "Нет".
    bool YesNo(const std::string& text) override;
    // The generic form view.
    FormAnswer Form(const FormDialog& form) override;
    void Beep() override;
    // The program's file dialog, shown by the window that owns it.
    FileChoice ChooseFile(const FileRequest& request) override;
    // The red panel of the graph prompt.
    bool GraphPrompt(bool offerDiscard) override;
    // The variable dialogs' view.
    void Variables(VariableDialog& dialog) override;
    // The formula-set dialog, the editors and the surface dialog.
    void Formula(FormulaDialog& dialog) override;
    // A progress window with "Отменить", shown when the work lasts.
    bool Progress(const std::string& text, int done, int total) override;
    using FileDialogHandler = std::function<FileChoice(const FileRequest&)>;
    void SetFileDialog(FileDialogHandler handler) { fileDialog_ = std::move(handler); }
    // F1 in the dialogs shown here opens this help page.
    void SetHelp(std::function<void(int)> help) { help_ = std::move(help); }
    // The help page of the work under way (0: none), which F1 in its forms
    // opens.
    void SetWorkHelp(std::function<int()> context) { workHelp_ = std::move(context); }

  private:
    QPointer<QWidget> parent_;
    FileDialogHandler fileDialog_;
    std::function<void(int)> help_;
    std::function<int()> workHelp_;
    std::unique_ptr<QProgressDialog> progress_;
};

// Texts of the program keep the CR LF line breaks of their files; a message
// box wants plain line breaks, and keeps the blanks that indent a line.
QString MessageText(const std::string& text);

}  // namespace dalvex
