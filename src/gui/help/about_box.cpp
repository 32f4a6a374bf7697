#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/help/help_window.h"

namespace dalvex {

namespace {

const char* const kAboutText =
    "DALVEX 8.0\n"
    "Пакет для статистического анализа данных и научной графики\n"
    "\n"
    "DALVEX вырос из небольших программ, которыми его авторы обрабатывали "
    "результаты собственных измерений и наблюдений. Каждая новая версия "
    "добавляла то, чего не хватало в повседневной работе: электронную таблицу "
    "вместо ручного ввода чисел, отчеты, которые можно сохранить и напечатать, "
    "графики, которые можно подписать, раскрасить и повернуть.\n"
    "\n"
    "Версия 8.0 объединяет:\n"
    "  - 37 статистических методов: от описательной статистики и сравнения "
    "двух выборок до регрессии, дисперсионного анализа, временных рядов, "
    "многомерных методов, распределений и контроля качества;\n"
    "  - научные, деловые и многомерные графики, сплайны;\n"
    "  - преобразования данных и калькулятор формул;\n"
    "  - запись и воспроизведение макрокоманд.\n"
    "\n"
    "Главные правила пакета остались прежними: данные всегда на виду в "
    "электронной таблице, каждый шаг анализа оставляет запись в окне "
    "результатов, а метод спрашивает только то, что ему действительно нужно.\n"
    "\n"
    "Как работать с пакетом, рассказывает справочник: меню «Помощь=F1».";

}  // namespace

void ShowAboutBox(QWidget* parent) {
    // One note at a time: asking again brings the open one forward.
    static QPointer<QDialog> openBox;
    if (openBox != nullptr) {
        openBox->raise();
        openBox->activateWindow();
        return;
    }

    auto* box = new QDialog(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->setWindowTitle(QStringLiteral("Кое-что о пакете DALVEX"));

    auto* text = new QPlainTextEdit(QString::fromUtf8(kAboutText));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, box, &QDialog::close);

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(text);
    layout->addWidget(buttons);
    box->resize(520, 420);

    openBox = box;
    box->show();
    box->raise();
    box->activateWindow();
}

}  // namespace dalvex
