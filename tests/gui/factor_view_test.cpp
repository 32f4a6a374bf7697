// Factor analysis through F9 in the real main window, without a display: the
// report reaches the results window and the projection graph its graph
// window; the method's dialogs show as forms. With DALVEX_SHOT_DIR set the
// windows and dialogs are saved as pictures there, for looking at them.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/sheet_bridge.h"
#include "gui/form_dialog_view.h"
#include "gui/main_window.h"
#include "gui/results_view.h"
#include "gui/statistics_menu_view.h"
#include "stats/factor_report.h"
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class FactorViewTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsShowAsForms();
    void runsFromF9WithReportAndProjectionGraph();

  private:
    QTemporaryDir folder;
};

void FactorViewTest::dialogsShowAsForms() {
    FormDialogView first(FactorAnalysisForm());
    first.show();
    Shot(first, "factor_dialog");
    QCOMPARE(first.windowTitle(), QString("Факторный анализ"));

    FormDialogView rotation(RotationForm(3));
    rotation.show();
    Shot(rotation, "factor_rotation_dialog");

    FormDialogView projection(ProjectionForm(true));
    projection.show();
    Shot(projection, "factor_projection_dialog");

    FormDialogView prediction(PredictionForm("1\t0,5\n-1\t2"));
    prediction.show();
    auto* grid = qobject_cast<QTableWidget*>(prediction.fieldWidget(1));
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), 100);
    QCOMPARE(grid->columnCount(), 7);
    QCOMPARE(grid->horizontalHeaderItem(6)->text(), QString("Фактор7"));
    Shot(prediction, "factor_prediction_dialog");
}

void FactorViewTest::runsFromF9WithReportAndProjectionGraph() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    if (ws.graphs == nullptr)
        QSKIP("graph windows are not part of this build");
    const double l1[] = {.9, .8, .7, .1, .2, 0}, l2[] = {.1, 0, .2, .9, .8, .7};
    for (int j = 1; j <= 6; ++j) {
        PutSheetText(ws, "x" + std::to_string(j), j, -1);
        for (int i = 1; i <= 40; ++i)
            PutSheetValue(ws, j, i - 1,
                          l1[j - 1] * std::sin(.7 * i) * 2 + l2[j - 1] * std::cos(1.3 * i) +
                              .3 * std::sin(.37 * i * j + j));
    }
    ui.ExpectForm(FactorAnalysisCaption, 1, {"0,3"})
        .ExpectYesNo("средние значения", true)
        .ExpectYesNo("факторные вектора", true)
        .ExpectGraphPrompt(true)
        .ExpectYesNo("факторные нагрузки", true)
        .ExpectForm(ProjectionCaption, 1, {"1", "2"})
        .ExpectGraphPrompt(true)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectYesNo("координаты объектов", false)
        .ExpectForm(ProjectionCaption, 1, {"1", "2"})
        .ExpectGraphPrompt(true)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(RotationCaption, 1, {"2"})
        .ExpectYesNo("Кайзера", true)
        .ExpectYesNo("после вращения", true)
        .ExpectForm(ProjectionCaption, 1, {"1", "2"})
        .ExpectGraphPrompt(true)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectYesNo("после вращения", false)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(RotationCaption, 0);
    RunFromF9(*window, 26);
    QVERIFY(ui.scriptDone());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(std::find(lines.begin(), lines.end(),
                      "Переменная <-------- Факторные нагрузки после вращения"
                      "--------------------->") != lines.end());
    // The loadings before rotation at the top of the results.
    ResultsView* results = window->resultsView();
    results->Flush();
    window->mdiArea()->setActiveSubWindow(window->resultsWindow());
    QTextCursor at = results->document()->find("Факторные нагрузки до вращения");
    QVERIFY(!at.isNull());
    results->verticalScrollBar()->setValue(results->verticalScrollBar()->maximum());
    results->setTextCursor(at);
    results->ensureCursorVisible();
    QApplication::processEvents();
    Shot(*window, "factor_report");
    QCOMPARE(ShootGraphs(*window, "factor_graph").size(), 4);
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(FactorViewTest)
#include "factor_view_test.moc"
