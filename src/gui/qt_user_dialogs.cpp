#include "gui/qt_user_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "gui/form_dialog_view.h"
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
    return FormDialogView::Run(form, parent_);
}

void QtUserDialogs::Variables(VariableDialog& dialog) {
    VariableDialogView::Run(dialog, parent_);
}

bool QtUserDialogs::Progress(const std::string& what, double share) {
    if (share >= 1) {
        if (progress_)
            progress_->deleteLater();
        progress_ = nullptr;
        return true;
    }
    if (!progress_) {
        progress_ = new QProgressDialog(QString::fromStdString(what), "Прервать", 0, 1000, parent_);
        progress_->setWindowModality(Qt::ApplicationModal);
        // Short work finishes before the window would show.
        progress_->setMinimumDuration(400);
    }
    progress_->setLabelText(QString::fromStdString(what));
    progress_->setValue(static_cast<int>(share * 1000));
    QApplication::processEvents();
    const bool go = !progress_->wasCanceled();
    if (!go) {
        progress_->deleteLater();
        progress_ = nullptr;
    }
    return go;
}

void QtUserDialogs::Beep() {
    QApplication::beep();
}

FileChoice QtUserDialogs::ChooseFile(const FileRequest& request) {
    return fileDialog_ ? fileDialog_(request) : FileChoice{};
}

bool QtUserDialogs::GraphPrompt(bool offerDiscard) {
    return ShowGraphPrompt(parent_, offerDiscard);
}

}  // namespace dalvex
