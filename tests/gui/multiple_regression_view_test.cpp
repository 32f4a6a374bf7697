// Stepwise regression in the real window, without a display: the dialog
// "Селекция переменных", and method 22 from F9 on ten observations of
// three X with a two-way selection, its report and the residual graphs.
// With DALVEX_SHOT_DIR set the dialog, the report and the graphs are saved
// as pictures there, for looking at them.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
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
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class MultipleRegressionViewTest : public QObject {
    Q_OBJECT

  private slots:
    void selectionDialogShowsThresholdsAndCriterion();
    void stepwiseRunsFromF9WithItsGraphs();

  private:
    QTemporaryDir folder;
};

void MultipleRegressionViewTest::selectionDialogShowsThresholdsAndCriterion() {
    FormDialogView view(SelectionForm());
    view.show();
    QCOMPARE(view.findChildren<QLineEdit*>().size(), 5);
    QCOMPARE(view.findChildren<QComboBox*>().size(), 1);
    Shot(view, "stepwise_selection");
    view.reject();
}

void MultipleRegressionViewTest::stepwiseRunsFromF9WithItsGraphs() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    const char* names[] = {"доза", "время", "шум", "отклик"};
    for (int c = 0; c < 4; ++c)
        PutSheetText(ws, names[c], c + 1, -1);
    for (int i = 0; i < 30; ++i) {
        const double dose = 1 + 0.5 * i, time = 10 + std::fmod(7.0 * i, 11),
                     noise = std::sin(3.1 * i);
        PutSheetValue(ws, 1, i, dose);
        PutSheetValue(ws, 2, i, time);
        PutSheetValue(ws, 3, i, noise);
        PutSheetValue(ws, 4, i, 3 + 1.5 * dose - 0.8 * time + 0.5 * std::cos(1.7 * i));
    }
    ui.ExpectVariables("Переменные регрессии", {{VariableAction::ChooseX, {1, 2, 3}},
                                                {VariableAction::ChooseY, {4}},
                                                {VariableAction::Confirm, {}}});
    ui.ExpectYesNo("Выдать средние значения", true);
    ui.ExpectForm(SelectionCaption, 3);
    ui.ExpectForm("Что дальше?", 4, {"1"});
    ui.ExpectForm("Что дальше?", 1, {"1"}).ExpectGraphPrompt(true);
    ui.ExpectForm("Что дальше?", 2, {"2"}).ExpectGraphPrompt(true);
    ui.ExpectForm("Что дальше?", 3, {"1"}).ExpectGraphPrompt(true);
    ui.ExpectForm("Что дальше?", 0, {"1"});
    RunFromF9(*window, 22);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    const std::vector<std::string> lines = window->results()->lines();
    const auto has = [&](const std::string& start) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(start, 0) == 0; });
    };
    QVERIFY(has("    *** Метод включения. Шаг No.1, введена переменная:доза"));
    QVERIFY(has("    *** Метод включения. Шаг No.2, введена переменная:время"));
    QVERIFY(!has("    *** Метод включения. Шаг No.3"));
    QTest::qWait(50);
    Shot(*window, "stepwise_report");
    QCOMPARE(ShootGraphs(*window, "stepwise_graph").size(), 3);
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(MultipleRegressionViewTest)
#include "multiple_regression_view_test.moc"
