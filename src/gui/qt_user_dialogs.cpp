#include "gui/qt_user_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace dalvex {

QString MessageText(const std::string& text) {
    QString message = QString::fromStdString(text);
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return message;
}

void QtUserDialogs::Notice(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), MessageText(text),
                    QMessageBox::NoButton, parent_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtUserDialogs::YesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), MessageText(text),
                    QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace dalvex
