// The generic form view, without a display: it shows what the form describes
// and answers with the button pressed and the texts as edited.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "gui/form_dialog_view.h"
#include "gui/qt_user_dialogs.h"

using namespace dalvex;

class FormDialogViewTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheFormAndAnswersTheEditedTexts();
    void closingAndCancelAnswerZero();
    void groupedButtonsStandInFramesWithTheirNotes();
    void gridFieldPastesTheClipboardWithShiftInsert();
    void helpKeyOpensThePageOfTheWorkUnderWay();

  private:
    static FormDialog Form() {
        FormDialog form;
        form.caption = "Гистограмма";
        form.Group("Параметры")
            .Field("Число интервалов=", "9", "Сколько интервалов")
            .Check("Адаптация", false)
            .Choice("Тренд= ", {"нет", "линейный"}, 1)
            .Button("Отменить", 0)
            .Button("Утвердить", 1, "Утвердить введенные значения");
        return form;
    }
    static QPushButton* ButtonNamed(QWidget& view, const QString& text) {
        for (QPushButton* b : view.findChildren<QPushButton*>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
};

void FormDialogViewTest::showsTheFormAndAnswersTheEditedTexts() {
    FormDialogView view(Form());
    QCOMPARE(view.windowTitle(), QString("Гистограмма"));
    QCOMPARE(view.findChild<QGroupBox*>()->title(), QString("Параметры"));
    auto* edit = qobject_cast<QLineEdit*>(view.fieldWidget(0));
    QVERIFY(edit);
    QCOMPARE(edit->text(), QString("9"));
    QCOMPARE(edit->toolTip(), QString("Сколько интервалов"));
    QCOMPARE(edit->selectedText(), QString("9"));          // typing replaces the proposal
    QVERIFY(ButtonNamed(view, "Утвердить")->isDefault());  // Enter confirms, not cancels
    QCOMPARE(ButtonNamed(view, "Утвердить")->toolTip(), QString("Утвердить введенные значения"));

    edit->setText("12,5");
    qobject_cast<QCheckBox*>(view.fieldWidget(1))->setChecked(true);
    qobject_cast<QComboBox*>(view.fieldWidget(2))->setCurrentIndex(0);
    view.show();
    QTest::mouseClick(ButtonNamed(view, "Утвердить"), Qt::LeftButton);
    QCOMPARE(view.result(), int(QDialog::Accepted));
    const FormAnswer answer = view.Answer();
    QCOMPARE(answer.button, 1);
    QCOMPARE(answer.values, (std::vector<std::string>{"12,5", "1", "0"}));
}

void FormDialogViewTest::closingAndCancelAnswerZero() {
    FormDialogView cancelled(Form());
    cancelled.show();
    QTest::mouseClick(ButtonNamed(cancelled, "Отменить"), Qt::LeftButton);
    QCOMPARE(cancelled.Answer().button, 0);

    FormDialogView closed(Form());
    closed.show();
    QTest::keyClick(&closed, Qt::Key_Escape);
    QCOMPARE(closed.Answer().button, 0);
    QCOMPARE(closed.Answer().values.size(), size_t(3));
}

void FormDialogViewTest::groupedButtonsStandInFramesWithTheirNotes() {
    FormDialog form;
    form.caption = "Выбор";
    form.GroupButton("Дискретные", "&1=первый", 1, "пояснение")
        .GroupButton("Непрерывные", "&2=второй", 2)
        .GroupButton("Дискретные", "&3=третий", 3)
        .GroupButton("Дискретные", "&4=недоступный", 4)
        .Button("Отменить", 0)
        .Disable(4);
    FormDialogView view(form);
    QVERIFY(!ButtonNamed(view, "&4=недоступный")->isEnabled());
    QStringList titles;
    for (QGroupBox* box : view.findChildren<QGroupBox*>())
        titles << box->title();
    QCOMPARE(titles, (QStringList{"Дискретные", "Непрерывные"}));
    // A button stands in its group's frame, its note beside it.
    QPushButton* third = ButtonNamed(view, "&3=третий");
    auto* frame = qobject_cast<QGroupBox*>(third->parentWidget());
    QVERIFY(frame);
    QCOMPARE(frame->title(), QString("Дискретные"));
    bool noteShown = false;
    for (QLabel* label : view.findChildren<QLabel*>())
        noteShown = noteShown || label->text() == "пояснение";
    QVERIFY(noteShown);
    // A choice is not confirmed by Enter: no grouped button is the default.
    QVERIFY(!third->isDefault());
    view.show();
    QTest::mouseClick(third, Qt::LeftButton);
    QCOMPARE(view.Answer().button, 3);
}

void FormDialogViewTest::gridFieldPastesTheClipboardWithShiftInsert() {
    FormDialog form;
    form.caption = "Прогноз";
    form.Field("Номер", "1").Grid("Значения", {"Фактор1", "Фактор2", "Фактор3"}, 100, "9 9 9;8");
    form.Button("Утвердить", 1);
    FormDialogView view(form);
    auto* grid = qobject_cast<QTableWidget*>(view.fieldWidget(1));
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), 100);
    QCOMPARE(grid->horizontalHeaderItem(2)->text(), QString("Фактор3"));
    QCOMPARE(grid->item(1, 0)->text(), QString("8"));

    // Shift+Insert empties the grid and pastes one row per line.
    QApplication::clipboard()->setText("1\t2\t3\n4 5");
    view.show();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(view.Answer().values[1], std::string("1\t2\t3\n4\t5\t"));
}

// F1 in a form of a method opens the method's help page; a form shown
// outside any work has none to open.
void FormDialogViewTest::helpKeyOpensThePageOfTheWorkUnderWay() {
    QtUserDialogs dialogs;
    std::vector<int> opened;
    int context = 120;
    dialogs.SetHelp([&](int page) { opened.push_back(page); });
    dialogs.SetWorkHelp([&] { return context; });
    const auto pressHelpThenCancel = [] {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll] {
            QWidget* form = QApplication::activeModalWidget();
            if (!form)
                return;
            poll->stop();
            poll->deleteLater();
            QTest::keyClick(form, Qt::Key_F1);
            QTest::keyClick(form, Qt::Key_Escape);
        });
        poll->start(10);
    };
    pressHelpThenCancel();
    QCOMPARE(dialogs.Form(Form()).button, 0);
    context = 0;
    pressHelpThenCancel();
    QCOMPARE(dialogs.Form(Form()).button, 0);
    QCOMPARE(opened, std::vector<int>{120});
}

QTEST_MAIN(FormDialogViewTest)
#include "form_dialog_view_test.moc"
