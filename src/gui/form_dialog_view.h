// The one Qt view of every form dialog: group boxes of labelled fields and a
// row of buttons, built from a FormDialog. It only shows the form and hands
// back what the person typed; what the texts mean is the caller's business.
#pragma once

#include <QDialog>
#include <vector>

#include "core/form_dialog.h"

class QFormLayout;
class QWidget;

namespace dalvex {

class FormDialogView : public QDialog {
    Q_OBJECT

  public:
    explicit FormDialogView(const FormDialog& form, QWidget* parent = nullptr);

    // The button's number and the field texts; closing the window answers 0.
    FormAnswer Answer() const;

    // The widget of a field in form order (an edit line, check box or list).
    QWidget* fieldWidget(int index) const { return fields_.at(index); }

  private:
    void AddField(QFormLayout* layout, const FormField& field);

    std::vector<QWidget*> fields_;
    int pressed_ = 0;
};

}  // namespace dalvex
