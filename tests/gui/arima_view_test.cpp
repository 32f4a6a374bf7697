// ARIMA models in the real window, without a display: the parameter dialog,
// the progress window of the search with its "Отменить", and method 18 from
// F9 with its graphs. With DALVEX_SHOT_DIR set the dialog, the report and the
// graphs are saved as pictures there, for looking at them.
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

#include "core/sheet_bridge.h"
#include "gui/form_dialog_view.h"
#include "gui/main_window.h"
#include "gui/qt_user_dialogs.h"
#include "gui/statistics_menu_view.h"
#include "stats/arima.h"
#include "stats/arima_report.h"
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class ArimaViewTest : public QObject {
    Q_OBJECT

  private slots:
    void parameterDialogShowsTheSixFields();
    void progressWindowStopsTheWorkOnCancel();
    void methodRunsFromF9WithItsGraphs();

  private:
    QTemporaryDir folder;
};

void ArimaViewTest::parameterDialogShowsTheSixFields() {
    FormDialogView view(Tqq251Form());
    view.show();
    QCOMPARE(view.findChildren<QLabel*>().size() >= 6, true);
    Shot(view, "arima_parameters");
    view.reject();
}

void ArimaViewTest::progressWindowStopsTheWorkOnCancel() {
    QWidget parent;
    parent.show();
    QtUserDialogs dialogs(&parent);
    QVERIFY(dialogs.Progress("Поиск ARIMA-модели", 0, 27));
    auto* window = parent.findChild<QProgressDialog*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->labelText(), QStringLiteral("Поиск ARIMA-модели"));
    QVERIFY(dialogs.Progress("Поиск ARIMA-модели", 5, 27));
    window->show();
    Shot(*window, "arima_progress");
    window->cancel();
    QVERIFY(!dialogs.Progress("Поиск ARIMA-модели", 6, 27));
    // The work closes the window when it ends.
    QVERIFY(!dialogs.Progress("Поиск ARIMA-модели", 27, 27));
    QVERIFY(parent.findChild<QProgressDialog*>() == nullptr);
}

void ArimaViewTest::methodRunsFromF9WithItsGraphs() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    // An AR(2) of 300 values from the program's generator.
    std::uint32_t seed = 99;
    PutSheetText(ws, "ряд", 1, -1);
    double a = 0, b = 0;
    for (int i = 0; i < 300; ++i) {
        const double x = 0.5 * a + 0.3 * b + PolarNormal(seed);
        b = a;
        a = x;
        PutSheetValue(ws, 1, i, 20 + x);
    }
    ui.ExpectYesNo(PredictionErrorQuestion, true).ExpectGraphPrompt(true);
    ui.ExpectYesNo(PartialAutocorrelationQuestion, true).ExpectGraphPrompt(true);
    ui.ExpectForm("ARIMA-модели", 1, {"2", "0", "0", "12", "2000", "1"});
    ui.ExpectYesNo(ForecastBandQuestion, true);
    ui.ExpectYesNo(ForecastPathsQuestion, true);
    ui.ExpectYesNo(ArimaResidualsQuestion, true);
    RunFromF9(*window, 18);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
                return l.rfind("Модель: AR=2, MA=0, дифф=0", 0) == 0;
            }) == 1);
    QTest::qWait(50);
    Shot(*window, "arima_report");
    QCOMPARE(ShootGraphs(*window, "arima_graph").size(), 5);
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(ArimaViewTest)
#include "arima_view_test.moc"
