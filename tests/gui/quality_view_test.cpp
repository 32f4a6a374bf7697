// The quality control methods in the real window, without a display: the
// tolerance and chart-type dialogs, the means and ranges charts and the
// quality histogram from F9. With DALVEX_SHOT_DIR set the dialogs, the graphs
// and the report are saved as pictures there, for looking at them.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/sheet_bridge.h"
#include "gui/form_dialog_view.h"
#include "gui/main_window.h"
#include "gui/statistics_menu_view.h"
#include "stats/quality_control.h"
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class QualityViewTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsShowTheirFieldsAndButtons();
    void chartsAndHistogramRunFromF9();

  private:
    QTemporaryDir folder;
};

void QualityViewTest::dialogsShowTheirFieldsAndButtons() {
    FormDialogView tolerance(Tqq264Form(9.5, 10.8, 4, '.'));
    tolerance.show();
    const QList<QLineEdit*> limits = tolerance.findChildren<QLineEdit*>();
    QCOMPARE(limits.size(), 2);
    QCOMPARE(limits[0]->text(), QString("9.5"));
    QCOMPARE(limits[1]->text(), QString("10.8"));
    Shot(tolerance, "quality_tolerance_dialog");
    tolerance.reject();

    FormDialogView charts(Tqq265Form());
    charts.show();
    QStringList buttons;
    for (QPushButton* b : charts.findChildren<QPushButton*>())
        buttons << b->text();
    for (const char* text :
         {"&1=(x-R)-карта", "&2=x-карта", "&3=pn-карта", "&4=p-карта", "&5=с-карта", "&6=u-карта"})
        QVERIFY2(buttons.contains(QString::fromUtf8(text)), text);
    Shot(charts, "quality_chart_dialog");
    charts.reject();
}

void QualityViewTest::chartsAndHistogramRunFromF9() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    const double values[] = {10.2, 9.8, 10.5, 10.1, 9.9, 10.4, 10.0, 9.7,  10.3, 10.6, 9.6, 10.2,
                             10.1, 9.9, 10.0, 10.8, 9.5, 10.3, 10.1, 10.0, 10.4, 9.9,  10.2};
    PutSheetText(ws, "размер", 1, -1);
    for (int i = 0; i < 23; ++i)
        PutSheetValue(ws, 1, i, values[i]);
    ui.ExpectVariables("Анализ переменных",
                       {{VariableAction::Include, {1}}, {VariableAction::Confirm, {}}})
        .ExpectForm("Контрольные карты", 1, {"5"})
        .ExpectGraphPrompt(true)
        .ExpectGraphPrompt(true);
    RunFromF9(*window, 34);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    QCOMPARE(ShootGraphs(*window, "quality_xr_graph"), QStringList({"(x-R)-карта", "(x-R)-карта"}));

    // The quality histogram of the sheet's only variable: its table in the
    // report, the tolerance 9.6 .. 10.6 on the graph.
    ui.ExpectForm("Гистограмма", 1, {"6"})
        .ExpectForm("Границы допуска", 1, {"9.6", "10.6"})
        .ExpectGraphPrompt(true);
    RunFromF9(*window, 32);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    window->mdiArea()->setActiveSubWindow(window->resultsWindow());
    window->resultsWindow()->showMaximized();
    QTest::qWait(50);
    Shot(*window, "quality_histogram_report");
    window->resultsWindow()->showNormal();
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(QualityViewTest)
#include "quality_view_test.moc"
