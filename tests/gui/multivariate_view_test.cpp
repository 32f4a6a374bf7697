// Cluster analysis, discriminant analysis and scaling through F9 in the real
// main window, without a display: their forms show, the reports reach the
// results window, the dendrogram and the scaling configuration their graph
// windows. With DALVEX_SHOT_DIR set the windows and dialogs are saved as
// pictures there, for looking at them.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
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
#include "stats/cluster_report.h"
#include "stats/discriminant.h"
#include "stats/factor_report.h"
#include "stats/scaling_report.h"
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class MultivariateViewTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsShowAsForms();
    void clusterTreeAndScalingConfigurationAreDrawn();

  private:
    QTemporaryDir folder;
};

void MultivariateViewTest::dialogsShowAsForms() {
    const std::pair<FormDialog, const char*> forms[] = {
        {ClusterDataForm(), "cluster_data_dialog"},
        {MeasureForm(), "cluster_measure_dialog"},
        {StrategyForm(), "cluster_strategy_dialog"},
        {TableForm(), "discriminant_table_dialog"},
        {ScalingMethodForm(), "scaling_method_dialog"},
        {ScalingMetricForm(), "scaling_metric_dialog"},
    };
    for (const auto& [form, name] : forms) {
        FormDialogView view(form);
        view.show();
        QCOMPARE(view.windowTitle(), QString::fromStdString(form.caption));
        Shot(view, name);
    }
}

void MultivariateViewTest::clusterTreeAndScalingConfigurationAreDrawn() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    if (ws.graphs == nullptr)
        QSKIP("graph windows are not part of this build");
    // Twelve objects in three clouds of a plane.
    PutSheetText(ws, "x", 1, -1);
    PutSheetText(ws, "y", 2, -1);
    for (int i = 0; i < 12; ++i) {
        PutSheetValue(ws, 1, i, 5.0 * (i % 3) + std::sin(1.7 * i));
        PutSheetValue(ws, 2, i, 3.0 * (i % 3 == 1) + std::cos(2.3 * i));
    }
    ui.ExpectForm(ClusterDataCaption, 1)
        .ExpectForm(MeasureCaption, 1)
        .ExpectForm(StrategyCaption, 5)
        .ExpectYesNo("таблицу расстояний", true)
        .ExpectGraphPrompt(true);
    RunFromF9(*window, 25);
    QVERIFY(ui.scriptDone());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(std::find(lines.begin(), lines.end(), "                     Эвклид+Уорда") !=
            lines.end());
    window->mdiArea()->setActiveSubWindow(window->resultsWindow());
    window->resultsView()->Flush();
    QApplication::processEvents();
    Shot(*window, "cluster_report");
    QCOMPARE(ShootGraphs(*window, "cluster_graph").size(), 1);

    // The class of each cloud in a third column, for the discriminant.
    PutSheetText(ws, "класс", 3, -1);
    for (int i = 0; i < 12; ++i)
        PutSheetValue(ws, 3, i, i % 3 + 1);
    ui.ExpectForm(TableQuestion, 2);
    RunFromF9(*window, 24);
    QVERIFY(ui.scriptDone());
    window->mdiArea()->setActiveSubWindow(window->resultsWindow());
    window->resultsView()->Flush();
    QApplication::processEvents();
    Shot(*window, "discriminant_report");

    // The distances of the twelve objects as a square block for scaling.
    ws.sheet.Reset();
    std::vector<double> x, y;
    for (int i = 0; i < 12; ++i) {
        x.push_back(5.0 * (i % 3) + std::sin(1.7 * i));
        y.push_back(3.0 * (i % 3 == 1) + std::cos(2.3 * i));
    }
    for (int j = 0; j < 12; ++j) {
        PutSheetText(ws, "o" + std::to_string(j + 1), j + 1, -1);
        for (int i = 0; i < 12; ++i)
            PutSheetValue(ws, j + 1, i, std::hypot(x[i] - x[j], y[i] - y[j]));
    }
    ui.ExpectForm(ScalingMethodCaption, 1)
        .ExpectForm(ProjectionCaption, 1, {"1", "2"})
        .ExpectGraphPrompt(true)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(ScalingMethodCaption, 2)
        .ExpectForm(ScalingMetricCaption, 2)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(ScalingMethodCaption, 0);
    RunFromF9(*window, 27);
    QVERIFY(ui.scriptDone());
    window->mdiArea()->setActiveSubWindow(window->resultsWindow());
    window->resultsView()->Flush();
    QApplication::processEvents();
    Shot(*window, "scaling_report");
    QCOMPARE(ShootGraphs(*window, "scaling_graph", 1).size(), 2);
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(MultivariateViewTest)
#include "multivariate_view_test.moc"
