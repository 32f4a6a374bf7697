// The statistics menu, the variable dialogs and F9 through the real main
// window, without a display. With DALVEX_SHOT_DIR set the views are also
// saved as pictures there, for looking at them.
#include <QApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "core/sheet_bridge.h"
#include "dispatch/variable_dialogs.h"
#include "gui/main_window.h"
#include "gui/statistics_menu_view.h"
#include "gui/variable_dialog_view.h"
#include "output/text_resource.h"
#include "support/window_run.h"

using namespace dalvex;

namespace {

void Shot(QWidget& widget, const char* name) {
    const QByteArray dir = qgetenv("DALVEX_SHOT_DIR");
    if (!dir.isEmpty())
        widget.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
}

void FourVariables(Workspace& ws) {
    const char* names[] = {"рост", "вес", "возраст", "пульс"};
    for (int col = 1; col <= 4; ++col) {
        PutSheetText(ws, names[col - 1], col, -1);
        PutSheetText(ws, std::to_string(col), col, 0);
    }
}

}  // namespace

class StatisticsViewTest : public QObject {
    Q_OBJECT

  private slots:
    void menuDisablesMethodsThatCannotRunAndKeysKeepTheirCase();
    void variableDialogsForwardPressesWithTheSelection();
    void cancellingMethodOneThroughF9LeavesTheHeaderAndTwoEmptyLines();
    void paretoChartLeavesItsGraphInFront();
    void twoSampleTestsOfferThePairListAndReportEveryPair();

  private:
    QTemporaryDir folder;
};

void StatisticsViewTest::menuDisablesMethodsThatCannotRunAndKeysKeepTheirCase() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    TStMet menu(ws, [](int method) { return method == 1 || method == 36; });
    StatisticsMenuView view(menu);
    view.show();
    Shot(view, "statistics_menu");
    QVERIFY(view.methodButton(1)->isEnabled());
    QVERIFY(!view.methodButton(12)->isEnabled());
    QCOMPARE(view.methodButton(12)->toolTip(),
             QStringLiteral("Модели: повтор/неповторяем.,Фридмана"));
    QTest::keyClicks(&view, "C");  // method 12, disabled
    QVERIFY(view.isVisible());
    QTest::keyClicks(&view, "c");  // "c": method 36
    QCOMPARE(view.result(), int(QDialog::Accepted));
    QCOMPARE(menu.answer(), 36);
}

void StatisticsViewTest::variableDialogsForwardPressesWithTheSelection() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    ws.ProgramFolder = folder.path().toStdString() + "/";
    FourVariables(ws);

    Tq30 list(ws);
    VariableDialogView listView(list);
    listView.show();
    listView.list(0)->item(1)->setSelected(true);
    listView.list(0)->item(3)->setSelected(true);
    listView.button(VariableAction::Include)->click();
    QCOMPARE(listView.list(1)->count(), 2);
    Shot(listView, "variable_list_dialog");
    QTest::keyClick(&listView, Qt::Key_Return);
    QVERIFY(list.closed());
    QCOMPARE(ws.SelectedColumns[0], 2);
    QCOMPARE(ws.SelectedColumns[2], 4);

    Tq030 single(ws);
    VariableDialogView singleView(single);
    singleView.show();
    Shot(singleView, "single_variable_dialog");
    QTest::keyClick(&singleView, Qt::Key_Escape);
    QVERIFY(single.closed());
    QCOMPARE(ws.LastAnswer, 0);

    // Enter chooses the highlighted variable, as the prompt says.
    Tq030 entered(ws);
    VariableDialogView enteredView(entered);
    enteredView.show();
    enteredView.list(0)->setCurrentRow(2);
    QTest::keyClick(&enteredView, Qt::Key_Return);
    QVERIFY(entered.closed());
    QCOMPARE(ws.LastAnswer, 1);
    QCOMPARE(ws.SelectedColumns[1], 3);

    ws.AnswerNumber = 0;
    Tq31 regression(ws);
    VariableDialogView regressionView(regression);
    regressionView.show();
    regressionView.list(0)->item(0)->setSelected(true);
    regressionView.button(VariableAction::ChooseX)->click();
    regressionView.list(0)->item(0)->setSelected(true);
    regressionView.button(VariableAction::ChooseY)->click();
    Shot(regressionView, "regression_dialog");
    regressionView.button(VariableAction::Confirm)->click();
    QVERIFY(regression.closed());
    QCOMPARE(ws.SelectedColumns[1], 1);
    QCOMPARE(ws.SelectedColumns[2], 2);
}

namespace {

struct WindowRun {
    explicit WindowRun(const QString& folder) : ws(ui) {
        window = std::make_unique<MainWindow>(ws, folder.toStdString() + "/");
        window->resize(900, 600);
        window->show();
    }
    ~WindowRun() {
        ui.ExpectYesNo("Закончить сеанс", true);
        window->close();
        window.reset();
    }
    std::vector<std::string> Results() const { return window->results()->lines(); }

    ScriptedDialogs ui;
    Workspace ws;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

void StatisticsViewTest::cancellingMethodOneThroughF9LeavesTheHeaderAndTwoEmptyLines() {
    WindowRun run(folder.path());
    QVERIFY(run.window->started());
    FourVariables(run.ws);
    bool routineRan = false;
    run.window->methods().Add(1, [&](MethodRun&) { routineRan = true; });
    QVERIFY(run.window->commandAction(MainCommand::Statistics)->isEnabled());
    run.window->ChooseTab(0);
    run.ui.ExpectVariables("Анализ переменных", {{VariableAction::Cancel, {}}});
    RunFromF9(*run.window, 1);
    QVERIFY(run.ui.scriptDone());
    QVERIFY(!routineRan);
    const std::string header = TextResources::Builtin().Entry(50, 1) + "  Файл: ";
    QCOMPARE(run.Results(), (std::vector<std::string>{header, "", ""}));
    QCOMPARE(run.window->mdiArea()->activeSubWindow(), run.window->resultsWindow());
    QCOMPARE(run.window->form().runState, TSMForm::RunState::Idle);
}

void StatisticsViewTest::paretoChartLeavesItsGraphInFront() {
    WindowRun run(folder.path());
    if (run.ws.graphs == nullptr)
        QSKIP("graph windows are not part of this build");
    FourVariables(run.ws);  // F9 on an empty sheet runs no method that needs data
    run.window->methods().Add(33, [](MethodRun& m) {
        m.ws.store.Data(0, 0) = 1;
        m.ws.store.Data(1, 0) = 2;
        m.ws.VarLength[0] = 1;
        m.ws.VarLength[1] = m.ws.VarLength[2] = 0;
        GraSt(m.ws, RequestPairs, 0);
        pqsegr(m.ws);
    });
    run.ui.ExpectGraphPrompt(true);
    RunFromF9(*run.window, 33);
    QVERIFY(run.ui.scriptDone());
    QMdiSubWindow* active = run.window->mdiArea()->activeSubWindow();
    QVERIFY(active != nullptr);
    QVERIFY(active != run.window->resultsWindow());
    QVERIFY(active != run.window->sheetWindow());
}

void StatisticsViewTest::twoSampleTestsOfferThePairListAndReportEveryPair() {
    WindowRun run(folder.path());
    const char* names[] = {"рост", "вес", "возраст"};
    const double values[3][6] = {{175.3, 168.3, 181.0, 159.9, 172.4, 166.0},
                                 {76.3, 67.2, 80.1, 55.0, 70.2, 61.8},
                                 {23, 42, 35, 19, 51, 28}};
    for (int col = 1; col <= 3; ++col) {
        PutSheetText(run.ws, names[col - 1], col, -1);
        for (int i = 0; i < 6; ++i)
            PutSheetValue(run.ws, col, i, values[col - 1][i]);
    }

    // The list dialog of the pairwise methods offers reading pairs from a file.
    Tq30 list(run.ws, true);
    VariableDialogView view(list);
    view.resize(520, 360);
    view.show();
    QPushButton* pairs = view.button(VariableAction::ReadPairs);
    QVERIFY(pairs != nullptr);
    QCOMPARE(pairs->toolTip(), QStringLiteral("Чтение списка пар из файла"));
    view.list(0)->item(0)->setSelected(true);
    view.list(0)->item(2)->setSelected(true);
    view.button(VariableAction::Include)->click();
    Shot(view, "pair_list_dialog");
    view.button(VariableAction::Cancel)->click();

    run.ui.ExpectVariables("Анализ переменных",
                           {{VariableAction::All, {}}, {VariableAction::Confirm, {}}});
    RunFromF9(*run.window, 4);
    QVERIFY(run.ui.scriptDone());
    const std::vector<std::string> lines = run.Results();
    const auto count = [&](const std::string& start) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return l.rfind(start, 0) == 0; });
    };
    QCOMPARE(count("                            Переменные: "), 3);
    QCOMPARE(count("Стьюдент для парных данных="), 3);
    QVERIFY(std::find(lines.begin(), lines.end(), "Крит.значимость нулевых гипотез=0.01667") !=
            lines.end());
    QCOMPARE(run.window->mdiArea()->activeSubWindow(), run.window->resultsWindow());
    QTest::qWait(50);
    Shot(*run.window, "two_sample_report");
}

QTEST_MAIN(StatisticsViewTest)
#include "statistics_view_test.moc"
