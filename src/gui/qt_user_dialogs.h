// The person at the screen, answered with real message boxes.
#pragma once

#include <QPointer>
#include <QWidget>

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

  private:
    QPointer<QWidget> parent_;
};

// Texts of the program keep the CR LF line breaks of their files; a message
// box wants plain line breaks, and keeps the blanks that indent a line.
QString MessageText(const std::string& text);

}  // namespace dalvex
