// The multi-factor and group analyses of variance in the real window, without
// a display: the design dialog of the group analysis, method 13 from F9, and
// method 36 from F9 in every design with its report and the graph of cell
// means. With DALVEX_SHOT_DIR set the dialog, the reports and the graphs are
// saved as pictures.
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/sheet_bridge.h"
#include "gui/form_dialog_view.h"
#include "gui/main_window.h"
#include "stats/anova_multi_factor.h"
#include "stats/anova_repeated.h"
#include "support/window_run.h"

using namespace dalvex;

class AnovaMultiViewTest : public QObject {
    Q_OBJECT

  private slots:
    void designDialogShowsSixDesignsAndTwoCounts();
    void multiFactorRunsFromF9();
    void everyGroupDesignRunsFromF9();

  private:
    QTemporaryDir folder;
};

namespace {

bool Has(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

}  // namespace

void AnovaMultiViewTest::designDialogShowsSixDesignsAndTwoCounts() {
    FormDialogView view(GroupDesignForm());
    view.show();
    int designs = 0;
    for (QPushButton* button : view.findChildren<QPushButton*>())
        if (button->text().contains("-групповой") || button->text().contains("однофакторный") ||
            button->text().contains("внутригрупповой"))
            ++designs;
    QCOMPARE(designs, 6);
    QCOMPARE(view.findChildren<QLineEdit*>().size(), qsizetype(2));
    Shot(view, "group_design_dialog");
    view.reject();
}

void AnovaMultiViewTest::multiFactorRunsFromF9() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    const char* names[] = {"удобрение", "сорт", "полив", "урожай"};
    for (int c = 0; c < 4; ++c)
        PutSheetText(ws, names[c], c + 1, -1);
    for (int i = 0; i < 40; ++i) {
        const int a = 1 + i % 3, b = 1 + (i / 3) % 2, c = 1 + (i * 7) % 4;
        PutSheetValue(ws, 1, i, a);
        PutSheetValue(ws, 2, i, b);
        PutSheetValue(ws, 3, i, c);
        PutSheetValue(ws, 4, i, 20 + 2 * a - 1.5 * b + std::sin(1.3 * i));
    }
    RunFromF9(*window, 13);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(Has(lines, MultiFactorHeading));
    QVERIFY(Has(lines, "F(фактор 3)="));
    QVERIFY(Has(lines, "  Остат."));
    QTest::qWait(50);
    Shot(*window, "multi_factor_report");
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

void AnovaMultiViewTest::everyGroupDesignRunsFromF9() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 760);
    window->show();
    // 16 cells of 6 subjects: subject, cell and level-dependent noise.
    for (int c = 0; c < 16; ++c) {
        PutSheetText(ws, "к" + std::to_string(c + 1), c + 1, -1);
        for (int i = 0; i < 6; ++i)
            PutSheetValue(
                ws, c + 1, i,
                std::round(10 * (10 + 2 * std::sin(2.1 * i) + 0.3 * (c % 4) + 0.2 * (c / 4) +
                                 (1 + 0.5 * (c % 4)) * std::sin(1.7 * i * (c + 1)))) /
                    10);
    }
    struct Design {
        int answer;
        std::vector<std::string> counts;
        bool graph;
        const char* header;
        const char* shot;
    };
    const Design designs[] = {
        {1, {"5", "3"}, false, "ГРУППОВОЙ 1-ФАКТОРНЫЙ", "group_within_one_report"},
        {2, {"4", "3"}, true, "ГРУППОВОЙ 1+1-ФАКТОРНЫЙ", "group_within_one_between_one_report"},
        {6, {"4", "3"}, true, "ГРУППОВОЙ 2-ФАКТОРНЫЙ", "group_within_two_report"},
        {3, {"4", "2"}, true, "ГРУППОВОЙ 1+2-ФАКТОРНЫЙ", "group_within_one_between_two_report"},
        {4, {"4", "2"}, true, "ГРУППОВОЙ 2+1-ФАКТОРНЫЙ", "group_within_two_between_one_report"},
        {5, {"4", "2"}, true, "ГРУППОВОЙ 3-ФАКТОРНЫЙ", "group_within_three_report"},
    };
    for (const Design& d : designs) {
        // The one-factor design takes the first four cells as its levels.
        if (d.answer == 1)
            ui.ExpectVariables("Анализ переменных", {{VariableAction::Include, {1, 2, 3, 4}},
                                                     {VariableAction::Confirm, {}}});
        else
            ui.ExpectVariables("Анализ переменных",
                               {{VariableAction::All, {}}, {VariableAction::Confirm, {}}});
        ui.ExpectForm("Метод", d.answer, d.counts);
        if (d.graph)
            ui.ExpectGraphPrompt(true);
        RunFromF9(*window, 36);
        QVERIFY(ui.scriptDone());
        QVERIFY2(ui.notices().empty(), d.header);
        const std::vector<std::string> lines = window->results()->lines();
        QVERIFY(Has(lines, d.header));
        QTest::qWait(50);
        Shot(*window, d.shot);
    }
    const QStringList graphs = ShootGraphs(*window, "group_cell_means");
    QCOMPARE(graphs.size(), qsizetype(5));
    QVERIFY(graphs.front().contains(CellMeansTitle));
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(AnovaMultiViewTest)
#include "anova_multi_view_test.moc"
