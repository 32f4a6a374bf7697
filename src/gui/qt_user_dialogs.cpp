#include "gui/qt_user_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "gui/form_dialog_view.h"
#include "gui/formula_views.h"
#include "gui/graph_prompt.h"
#include "gui/variable_dialog_view.h"

namespace dalvex {

QString MessageText(const std::string& text) {
    QStringList lines = QString::fromStdString(text).split(QStringLiteral("\r\n"));
    // Leading blanks indent a line; a message box would drop them at a line
    // start, non-breaking ones stay.
    for (QString& line : lines)
        for (qsizetype i = 0; i < line.size() && line[i] == QLatin1Char(' '); ++i)
            line[i] = QChar(0x00A0);
    return lines.join(QLatin1Char('\n'));
}

void QtUserDialogs::Notice(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), MessageText(text),
                    QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtUserDialogs::YesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), MessageText(text),
                    QMessageBox::NoButton, parent_);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

FormAnswer QtUserDialogs::Form(const FormDialog& form) {
    FormDialogView view(form, parent_);
    if (const int context = workHelp_ ? workHelp_() : 0; context > 0)
        BindHelpKey(view, help_, context);
    view.exec();
    return view.Answer();
}

void QtUserDialogs::Variables(VariableDialog& dialog) {
    VariableDialogView view(dialog, parent_);
    if (dialog.helpContext() > 0)
        BindHelpKey(view, help_, dialog.helpContext());
    view.exec();
}

void QtUserDialogs::Formula(FormulaDialog& dialog) {
    RunFormulaDialog(dialog, parent_, help_);
}

void QtUserDialogs::Beep() {
    QApplication::beep();
}

FileChoice QtUserDialogs::ChooseFile(const FileRequest& request) {
    return fileDialog_ ? fileDialog_(request) : FileChoice{};
}

bool QtUserDialogs::Progress(const std::string& text, int done, int total) {
    if (done >= total) {
        const bool stopped = progress_ && progress_->wasCanceled();
        progress_.reset();
        return !stopped;
    }
    if (!progress_) {
        progress_ = std::make_unique<QProgressDialog>(
            QString::fromStdString(text), QStringLiteral("Отменить"), 0, total, parent_);
        progress_->setWindowTitle(QApplication::applicationName());
        progress_->setWindowModality(Qt::WindowModal);
        // Short work finishes before anything shows.
        progress_->setMinimumDuration(400);
    }
    progress_->setLabelText(QString::fromStdString(text));
    progress_->setMaximum(total);
    progress_->setValue(done);
    QApplication::processEvents();
    return !progress_->wasCanceled();
}

bool QtUserDialogs::GraphPrompt(bool offerDiscard) {
    return ShowGraphPrompt(parent_, offerDiscard);
}

}  // namespace dalvex
