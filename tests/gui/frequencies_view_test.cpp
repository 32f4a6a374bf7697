// The agreement of frequencies, the sequential analysis and the survival
// analysis in the real window, without a display: their dialogs, and
// methods 31 and 37 from F9 with their graphs. With DALVEX_SHOT_DIR set the
// dialogs, the report and the graphs are saved as pictures there, for
// looking at them.
#include <QApplication>
#include <QLabel>
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
#include "stats/frequencies.h"
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class FrequenciesViewTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsShowTheirFieldsAndButtons();
    void sequentialAndSurvivalRunFromF9WithGraphs();

  private:
    QTemporaryDir folder;
};

void FrequenciesViewTest::dialogsShowTheirFieldsAndButtons() {
    FormDialogView frequencies(Tqq293Form());
    frequencies.show();
    QVERIFY(frequencies.findChildren<QLabel*>().size() >= 7);
    QVERIFY(frequencies.findChildren<QPushButton*>().size() >= 3);
    Shot(frequencies, "frequencies_dialog");
    frequencies.reject();
    FormDialogView sequential(Tqq296Form());
    sequential.show();
    QVERIFY(sequential.findChildren<QLabel*>().size() >= 3);
    Shot(sequential, "sequential_dialog");
    sequential.reject();
}

void FrequenciesViewTest::sequentialAndSurvivalRunFromF9WithGraphs() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    // Two groups: times unsorted, events (positive) and censorings
    // (negative), the second group dying out.
    const std::vector<std::vector<double>> columns = {
        {5, 3, 3, 8, 8, 12, 15, 15, 20, 30},
        {2, 1, -1, 1, -2, 1, 1, -1, -1, 1},
        {2, 4, 4, 6, 9, 9, 11, 14},
        {1, 2, -1, 1, 1, -1, 2, 1},
    };
    const char* names[] = {"время1", "исход1", "время2", "исход2"};
    for (int c = 0; c < 4; ++c) {
        PutSheetText(ws, names[c], c + 1, -1);
        for (std::size_t i = 0; i < columns[c].size(); ++i)
            PutSheetValue(ws, c + 1, static_cast<int>(i), columns[c][i]);
    }
    ui.ExpectGraphPrompt(true);
    RunFromF9(*window, 37);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(std::find(lines.begin(), lines.end(),
                      "   Гипотеза 0: <Нет различий между  кривыми выживаемости>") != lines.end());

    // The sequential chart of the second group's counts at its times.
    ui.ExpectVariables("Анализ переменных", {{VariableAction::Include, {3}},
                                             {VariableAction::Include, {4}},
                                             {VariableAction::Confirm, {}}})
        .ExpectForm("Последовательный анализ", 1, {"0.5", "1", "1"})
        .ExpectGraphPrompt(true);
    RunFromF9(*window, 31);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());

    window->mdiArea()->setActiveSubWindow(window->resultsWindow());
    window->resultsWindow()->showMaximized();
    QTest::qWait(50);
    Shot(*window, "survival_report");
    window->resultsWindow()->showNormal();
    QCOMPARE(ShootGraphs(*window, "survival_graph").size(), 2);
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(FrequenciesViewTest)
#include "frequencies_view_test.moc"
