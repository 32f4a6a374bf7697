// Smoothing and the Fourier model in the real window, without a display: the
// three dialogs, method 17 and method 35 from F9 with their graphs. With
// DALVEX_SHOT_DIR set the dialogs, the report and the graphs are saved as
// pictures there, for looking at them.
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/sheet_bridge.h"
#include "dispatch/dispatcher.h"
#include "gui/form_dialog_view.h"
#include "gui/main_window.h"
#include "gui/statistics_menu_view.h"
#include "stats/fourier_model.h"
#include "stats/smoothing.h"
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class SmoothingViewTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsShowTheirButtonsAndFields();
    void smoothingAndFourierModelRunFromF9();

  private:
    QTemporaryDir folder;
};

void SmoothingViewTest::dialogsShowTheirButtonsAndFields() {
    FormDialogView choice(SmoothingChoiceForm());
    choice.show();
    // Fifteen smoothers and filters and the cancel button.
    QVERIFY(choice.findChildren<QPushButton*>().size() >= 16);
    Shot(choice, "smoothing_choice");
    choice.reject();
    FormDialogView correction(CorrectionForm());
    correction.show();
    Shot(correction, "fourier_correction");
    correction.reject();
    FormDialogView parameters(ModelParametersForm());
    parameters.show();
    QVERIFY(parameters.findChildren<QLabel*>().size() >= 7);
    Shot(parameters, "fourier_parameters");
    parameters.reject();
}

void SmoothingViewTest::smoothingAndFourierModelRunFromF9() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    // A trend, two waves and a little noise: 120 values.
    PutSheetText(ws, "ряд", 1, -1);
    for (int t = 0; t < 120; ++t) {
        const double u = 2 * std::numbers::pi * t / 121;
        PutSheetValue(
            ws, 1, t,
            10 + 0.05 * t + 2 * std::sin(5 * u) + std::cos(17 * u) + 0.3 * std::sin(1.7 * t * t));
    }

    // The Fourier band 0 .. 0.06 of it: the trend and the slow wave.
    ui.ExpectForm(SmoothingChoiceCaption, FourierBand, {"0.5", "2", "0", "0.06", "1"});
    ui.ExpectGraphPrompt(true);
    RunFromF9(*window, 17);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    QCOMPARE(ShootGraphs(*window, "smoothing_graph").size(), 1);

    // The model: a linear trend off, harmonics below 20% removed, then 12
    // steps ahead with the residual table.
    ui.ExpectForm(FourierModelCaption, 1, {"0", "1", "0"}).ExpectGraphPrompt(true);
    ui.ExpectGraphPrompt(true).ExpectForm(FourierModelCaption, 1, {"0", "0", "0", "20"});
    ui.ExpectGraphPrompt(true).ExpectYesNo(ContinueRemovalQuestion, true);
    ui.ExpectGraphPrompt(true).ExpectForm(FourierModelCaption, 1,
                                          {"0", "0", "0", "20", "0", "12", "0", "1"});
    ui.ExpectYesNo(ResidualAnalysisQuestion, true).ExpectGraphPrompt(true);
    ui.ExpectGraphPrompt(true).ExpectYesNo(NewModelQuestion, false);
    RunFromF9(*window, 35);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(std::count(lines.begin(), lines.end(), std::string(ModelForecastHeading)) == 1);
    QTest::qWait(50);
    Shot(*window, "fourier_report");
    QCOMPARE(ShootGraphs(*window, "fourier_graph").size(), 7);
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(SmoothingViewTest)
#include "smoothing_view_test.moc"
