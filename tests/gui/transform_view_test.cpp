// The transformations in the real window, without a display: the menu and
// its dialogs as forms, and a selection run from F8 on the sheet. With
// DALVEX_SHOT_DIR set the dialogs and the sheet before and after are saved
// as pictures there, for looking at them.
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/sheet_bridge.h"
#include "core/text.h"
#include "gui/form_dialog_view.h"
#include "gui/main_window.h"
#include "support/window_shot.h"
#include "transform/transformations_menu.h"

using namespace dalvex;

class TransformViewTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsShowTheirButtons();
    void selectionRunsFromF8();

  private:
    QTemporaryDir folder;
};

void TransformViewTest::dialogsShowTheirButtons() {
    const std::pair<FormDialog, const char*> dialogs[] = {
        {TransformMenuForm(), "transform_menu"},  {StandardFunctionsForm(), "transform_functions"},
        {GeneratorForm(), "transform_generator"}, {SortForm(), "transform_sort"},
        {MissingForm(), "transform_missing"},
    };
    for (const auto& [form, name] : dialogs) {
        FormDialogView view(form);
        view.show();
        QStringList buttons;
        for (QPushButton* b : view.findChildren<QPushButton*>())
            buttons << b->text();
        for (const FormButton& b : form.buttons)
            QVERIFY2(buttons.contains(QString::fromStdString(b.text)), b.text.c_str());
        Shot(view, name);
        view.reject();
    }
}

void TransformViewTest::selectionRunsFromF8() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(900, 600);
    window->show();
    const char* x[] = {"1", "5", "3", "7", "9", "2"};
    const char* y[] = {"10", "", "30", "40", "текст", "60"};
    PutSheetText(ws, "x", 1, -1);
    PutSheetText(ws, "y", 2, -1);
    for (int i = 0; i < 6; ++i) {
        PutSheetText(ws, x[i], 1, i);
        if (*y[i])
            PutSheetText(ws, y[i], 2, i);
    }
    ws.sheet.SetColumnLength(2, 6);
    window->update();
    QTest::qWait(50);
    Shot(*window, "transform_sheet_before");
    QVERIFY(window->commandAction(MainCommand::Transformations)->isEnabled());

    ui.ExpectForm("Преобразования", 9)
        .ExpectVariables("Анализ переменных",
                         {{VariableAction::Include, {1, 2}}, {VariableAction::Confirm, {}}})
        .ExpectFormula("Условие", 1, {"x>2"});
    window->Execute(MainCommand::Transformations);
    QVERIFY(ui.scriptDone());
    QCOMPARE(ws.sheet.ColumnLength(1), 4);
    QCOMPARE(QString::fromStdString(Trim(ws.sheet.Cell(2, 1))), QString("-?-"));
    QCOMPARE(QString::fromStdString(Trim(ws.sheet.Cell(2, 4))), QString("текст"));
    QTest::qWait(50);
    Shot(*window, "transform_sheet_after");
}

QTEST_MAIN(TransformViewTest)
#include "transform_view_test.moc"
