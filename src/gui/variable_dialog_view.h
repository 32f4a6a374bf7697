// The variable dialogs on screen: the offered variables on the left, the
// buttons in the middle, the chosen lists on the right. Every press goes to
// the dialog's model with the items selected; the lists are then shown anew.
#pragma once

#include <QDialog>
#include <vector>

#include "core/variable_dialog.h"

class QListWidget;
class QPushButton;

namespace dalvex {

class VariableDialogView : public QDialog {
    Q_OBJECT
  public:
    VariableDialogView(VariableDialog& dialog, QWidget* parent = nullptr);

    QListWidget* list(int index) const { return lists_.at(index); }
    QPushButton* button(VariableAction action) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

  private:
    void Press(VariableAction action);
    void Refresh();
    void CloseWhenDone();

    VariableDialog& dialog_;
    std::vector<QListWidget*> lists_;
    std::vector<std::pair<VariableAction, QPushButton*>> buttons_;
};

}  // namespace dalvex
