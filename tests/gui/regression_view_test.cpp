// Simple regression in the real window, without a display: the model dialog
// "Регрессия", and method 20 from F9 with a fit, its band, the residual
// graphs and a forecast; method 23 over two X from F9, ending in the
// residual loop of multiple regression. With DALVEX_SHOT_DIR set the dialog, the report and
// the graphs are saved as pictures there, for looking at them.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

#include "core/sheet_bridge.h"
#include "gui/form_dialog_view.h"
#include "gui/main_window.h"
#include "gui/statistics_menu_view.h"
#include "stats/regression_dialogs.h"
#include "stats/regression_tables.h"
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class RegressionViewTest : public QObject {
    Q_OBJECT

  private slots:
    void modelDialogShowsEveryModel();
    void methodRunsFromF9WithItsGraphs();
    void generalModelOverTwoXEndsInTheResidualLoop();

  private:
    QTemporaryDir folder;
};

void RegressionViewTest::modelDialogShowsEveryModel() {
    FormDialogView view(ModelDialogForm());
    view.show();
    int models = 0;
    for (QPushButton* button : view.findChildren<QPushButton*>())
        if (button->text().contains("=") && !button->text().contains("Отменить"))
            ++models;
    QCOMPARE(models, 23);
    Shot(view, "regression_models");
    view.reject();
}

void RegressionViewTest::methodRunsFromF9WithItsGraphs() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    PutSheetText(ws, "доза", 1, -1);
    PutSheetText(ws, "отклик", 2, -1);
    for (int i = 0; i < 30; ++i) {
        const double x = 1 + 0.5 * i;
        PutSheetValue(ws, 1, i, x);
        PutSheetValue(ws, 2, i, 3 + 1.5 * x + 2 * std::sin(1.7 * i));
    }
    ui.ExpectVariables("Переменные регрессии", {{VariableAction::ChooseX, {1}},
                                                {VariableAction::ChooseY, {2}},
                                                {VariableAction::Confirm, {}}});
    ui.ExpectForm("Регрессия", 1, {"3"});
    ui.ExpectForm("Интерполяция", 0, {""});
    ui.ExpectGraphPrompt(true);
    ui.ExpectForm("Что дальше?", 1, {"10", "1"});
    ui.ExpectYesNo(ResidualsOnXQuestion, true).ExpectGraphPrompt(true);
    ui.ExpectYesNo(ResidualsOnFitQuestion, true).ExpectGraphPrompt(true);
    ui.ExpectForm("Что дальше?", 2, {"10", "1"}).ExpectGraphPrompt(true);
    ui.ExpectForm("Что дальше?", 0, {"10", "1"});
    RunFromF9(*window, 20);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(std::find(lines.begin(), lines.end(), "Линейная модель: Y=a0+a1*x") != lines.end());
    QTest::qWait(50);
    Shot(*window, "regression_report");
    QCOMPARE(ShootGraphs(*window, "regression_graph").size(), 4);
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

void RegressionViewTest::generalModelOverTwoXEndsInTheResidualLoop() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    const char* names[] = {"u", "v", "w"};
    for (int c = 0; c < 3; ++c)
        PutSheetText(ws, names[c], c + 1, -1);
    for (int i = 0; i < 20; ++i) {
        const double u = 1 + i, v = 2 + std::fmod(5.0 * i, 7);
        PutSheetValue(ws, 1, i, u);
        PutSheetValue(ws, 2, i, v);
        PutSheetValue(ws, 3, i, 3 + 0.7 * u * std::exp(0.15 * v) + 0.3 * std::sin(2.3 * i));
    }
    ui.ExpectFormula("Регрессионная модель", 1, {"w=a0+a1*u*EXP(a2*v)"});
    ui.ExpectForm("Оценки коэффициентов", 1, {"1", "1", "0.1"});
    ui.ExpectForm("Интерполяция", 0, {""});
    ui.ExpectForm("Что дальше?", 4, {"1"});
    ui.ExpectForm("Что дальше?", 2, {"2"}).ExpectGraphPrompt(true);
    ui.ExpectForm("Что дальше?", 3, {"1"}).ExpectGraphPrompt(true);
    ui.ExpectForm("Что дальше?", 0, {"1"});
    RunFromF9(*window, 23);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(std::find(lines.begin(), lines.end(), ResidualHeading) != lines.end());
    QTest::qWait(50);
    Shot(*window, "general_model_report");
    QCOMPARE(ShootGraphs(*window, "general_model_graph").size(), 2);
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(RegressionViewTest)
#include "regression_view_test.moc"
