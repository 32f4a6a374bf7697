// The graph menu in the real window, without a display: F6 is on once the
// sheet is there, the menu and the variable dialog show what they should,
// every button of the menu opens its graph window, and the captions dialog
// keeps the graph as it was when cancelled. With DALVEX_SHOT_DIR set, the
// dialogs and every graph are saved as pictures there, for looking at them.
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>

#include "core/sheet_bridge.h"
#include "dispatch/graph_menu.h"
#include "graphics/graph_captions.h"
#include "graphics/graph_desk.h"
#include "gui/form_dialog_view.h"
#include "gui/graph_view.h"
#include "gui/main_window.h"
#include "gui/variable_dialog_view.h"
#include "support/window_shot.h"

using namespace dalvex;

class GraphMenuViewTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void menuAndVariableDialogShowWhatTheyShould();
    void everyButtonDrawsItsGraphFromF6();
    void captionsDialogCancelledLeavesTheGraph();

  private:
    // A sheet of six variables of 24 observations: smooth functions, so
    // every kind has something to show.
    void FillSheet();
    // The number of the graph window in front.
    int Current() const { return window->form().graphs().current(); }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ScriptedDialogs> ui;
    std::unique_ptr<Workspace> ws;
    std::unique_ptr<MainWindow> window;
};

void GraphMenuViewTest::init() {
    folder = std::make_unique<QTemporaryDir>();
    ui = std::make_unique<ScriptedDialogs>();
    ws = std::make_unique<Workspace>(*ui);
    window = std::make_unique<MainWindow>(*ws, folder->path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    QTest::qWait(20);
    FillSheet();
}

void GraphMenuViewTest::cleanup() {
    window.reset();
    ws.reset();
    ui.reset();
}

void GraphMenuViewTest::FillSheet() {
    const char* names[] = {"t", "sin", "cos", "dev", "z", "w"};
    for (int c = 0; c < 6; ++c)
        PutSheetText(*ws, names[c], c + 1, -1);
    for (int i = 0; i < 24; ++i) {
        const double t = i * 0.3;
        const double values[] = {t,
                                 2 + std::sin(t),
                                 2 + std::cos(t),
                                 0.1 + 0.05 * (i % 4),
                                 std::sin(t) * std::cos(t * 0.7) + 1.5,
                                 1.0 + (i * 7) % 5};
        for (int c = 0; c < 6; ++c)
            PutSheetValue(*ws, c + 1, i, values[c]);
    }
    window->update();
}

void GraphMenuViewTest::menuAndVariableDialogShowWhatTheyShould() {
    FormDialogView menu(GraphMenuForm({}));
    menu.show();
    QStringList buttons;
    for (QPushButton* b : menu.findChildren<QPushButton*>())
        buttons << b->text();
    for (const GraphMenuEntry& entry : GraphMenuEntries())
        QVERIFY2(buttons.contains(QString::fromStdString(entry.text)), entry.text);
    QVERIFY(buttons.contains(QStringLiteral("<Esc>=Отменить")));
    QCOMPARE(menu.windowTitle(), QStringLiteral("Графики данных"));
    Shot(menu, "graph_menu");
    menu.reject();

    // Roles stand before the chosen variables.
    Tq34 dialog(*ws, KindDeviations);
    dialog.Press(VariableAction::Include, {{0, 1, 3}});
    VariableDialogView view(dialog);
    view.show();
    QCOMPARE(view.windowTitle(), QStringLiteral("Графики данных"));
    QCOMPARE(view.list(1)->count(), 3);
    QVERIFY(view.list(1)->item(0)->text().startsWith(QStringLiteral("X │ t")));
    QVERIFY(view.list(1)->item(2)->text().startsWith(QStringLiteral("d │ dev")));
    QCOMPARE(view.list(0)->item(0)->text().left(3), QStringLiteral("cos"));
    Shot(view, "graph_variables");
    view.close();
}

void GraphMenuViewTest::everyButtonDrawsItsGraphFromF6() {
    QVERIFY(window->commandAction(MainCommand::Graphs)->isEnabled());
    struct Case {
        int answer;
        std::vector<int> columns;
        const char* shot;
    };
    const Case cases[] = {
        {KindFunctions, {1, 5, 3, 2}, "graph_f6_01_functions"},
        {KindDeviations, {1, 2, 4}, "graph_f6_02_deviations"},
        {MenuYSeries, {2, 3}, "graph_f6_03_y_series"},
        {KindScatter, {2, 3}, "graph_f6_04_scatter"},
        {KindDistributions, {2, 3}, "graph_f6_05_distributions"},
        {KindBoxPlots, {2, 3, 5}, "graph_f6_06_box_plots"},
        {KindBars, {2, 3}, "graph_f6_07_bars"},
        {KindTower, {2, 3}, "graph_f6_08_tower"},
        {KindTower100, {2, 3}, "graph_f6_09_tower100"},
        {KindPie, {6}, "graph_f6_10_pie"},
        {KindColourMap, {2, 3, 5}, "graph_f6_11_colour_map"},
        {KindScatter3D, {1, 2, 3}, "graph_f6_12_scatter3d"},
        {KindSmoothingSurface, {2, 3, 5}, "graph_f6_14_surface"},
        {KindMap3D, {2, 3, 5}, "graph_f6_15_map"},
        {KindSuperDiagram, {5, 1, 2, 3}, "graph_f6_16_superdiagram"},
        {KindSplineInterpolation, {1, 5}, "graph_f6_17_interpolation"},
        {KindSplineSmoothing, {1, 5}, "graph_f6_18_smoothing"},
    };
    int drawn = 0;
    for (const Case& c : cases) {
        std::vector<VariableStep> steps;
        for (int column : c.columns)
            steps.push_back({VariableAction::Include, {column}});
        steps.push_back({VariableAction::Confirm, {}});
        ui->ExpectForm("Графики данных", c.answer).ExpectVariables("Графики данных", steps);
        window->Execute(MainCommand::Graphs);
        QVERIFY2(ui->scriptDone(), c.shot);
        QVERIFY2(ui->notices().empty(), c.shot);
        ++drawn;
        QCOMPARE(window->form().graphs().order().size(), std::size_t(std::min(drawn, 15)));
        GraphView* view = window->graphView(Current());
        QVERIFY2(view, c.shot);
        const GraphMenuEntry* entry = GraphMenuEntryOf(c.answer);
        QCOMPARE(view->graph().kind(), entry->kind);
        QVERIFY2(view->graph().title().rfind(entry->title, 0) == 0, c.shot);
        window->graphWindow(Current())->showMaximized();
        QTest::qWait(20);
        Shot(*window->graphWindow(Current()), c.shot);
    }

    // The function surface through its own dialog.
    ui->ExpectForm("Графики данных", MenuFunctionSurface)
        .ExpectFormula("График поверхности", 1, {"SIN(x)*COS(y)", "-3", "3", "-3", "3", "30"});
    window->Execute(MainCommand::Graphs);
    QVERIFY(ui->scriptDone());
    QCOMPARE(window->graphView(Current())->graph().kind(), int(KindFunctionSurface));
    window->graphWindow(Current())->showMaximized();
    QTest::qWait(20);
    Shot(*window->graphWindow(Current()), "graph_f6_13_function_surface");

    // Cancelling the menu or the variable dialog changes no window.
    const std::size_t open = window->form().graphs().order().size();
    ui->ExpectForm("Графики данных", 0);
    window->Execute(MainCommand::Graphs);
    ui->ExpectForm("Графики данных", KindScatter)
        .ExpectVariables("Графики данных", {{VariableAction::Cancel, {}}});
    window->Execute(MainCommand::Graphs);
    QVERIFY(ui->scriptDone());
    QCOMPARE(window->form().graphs().order().size(), open);
}

void GraphMenuViewTest::captionsDialogCancelledLeavesTheGraph() {
    ui->ExpectForm("Графики данных", KindScatter)
        .ExpectVariables("Графики данных",
                         {{VariableAction::Include, {2, 3}}, {VariableAction::Confirm, {}}});
    window->Execute(MainCommand::Graphs);
    TGra& graph = window->graphView(Current())->graph();
    ui->ExpectForm("Надписи для графика", 1, {"sin", "cos", "", "Рис. 1", "1", "1"});
    graph.Subs();
    ui->ExpectForm("Надписи для графика", 0);
    graph.Subs();
    QVERIFY(ui->scriptDone());
    QCOMPARE(QString::fromStdString(graph.settings().captions.bottom), QStringLiteral("Рис. 1"));
    QVERIFY(graph.settings().legend);

    FormDialogView captions(CaptionsForm(*ws, {{"sin", "cos", "", "Рис. 1"}, 1, true}));
    captions.show();
    QStringList buttons;
    for (QPushButton* b : captions.findChildren<QPushButton*>())
        buttons << b->text();
    QVERIFY(buttons.contains(QStringLiteral("Чтение ранее заготовленных надписей из архива")));
    QVERIFY(buttons.contains(QStringLiteral("Очистить")));
    Shot(captions, "graph_captions_dialog");
    captions.reject();
    window->graphWindow(Current())->showMaximized();
    QTest::qWait(20);
    Shot(*window->graphWindow(Current()), "graph_captions_on_scatter");
}

QTEST_MAIN(GraphMenuViewTest)
#include "graph_menu_view_test.moc"
