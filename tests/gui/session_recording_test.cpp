// "Запись сеанса" in the real main window, without a display: a session of
// methods 1 and 2 answered in every way a dialog can be answered is written
// as a dalvex-batch script, and the script's batch run prints the very
// report the windows wrote.
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "batch/session_recorder.h"
#include "core/settings.h"
#include "formula/formula_editors.h"
#include "gui/main_window.h"
#include "gui/results_view.h"
#include "gui/statistics_menu_view.h"
#include "stats/statistics_methods.h"

using namespace dalvex;

class SessionRecordingTest : public QObject {
    Q_OBJECT

  private slots:
    void aRecordedSessionReplaysToTheSameReport();
    void answersBecomeTheLinesThatGiveThem();
    void aFileOpenedAtStartIsOpenedByTheScript();
};

namespace {

void RunMethod(MainWindow& window, int method) {
    QTimer::singleShot(0, [method] {
        auto* menu = qobject_cast<StatisticsMenuView*>(QApplication::activeModalWidget());
        if (menu)
            menu->methodButton(method)->click();
    });
    window.Execute(MainCommand::Statistics);
}

std::string Joined(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i)
        text += lines[i] + '\n';
    return text;
}

}  // namespace

void SessionRecordingTest::aRecordedSessionReplaysToTheSameReport() {
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString() + "/";
    // Two skewed variables with a blank in a name and a missing cell.
    std::vector<std::string> data{"x \"y z\""};
    for (int i = 1; i <= 30; ++i)
        data.push_back(std::to_string(i * i % 37) + "," + std::to_string(i % 3) + " " +
                       (i == 7 ? std::string("?") : std::to_string(100 + i * 7 % 11)));
    QVERIFY(WriteLinesFile(dir + "data.txt", data).ok);

    ScriptedDialogs person;
    SessionRecorder recorder(person);
    Workspace ws(recorder);
    MainWindow window(ws, dir);
    window.resize(1000, 700);
    window.show();
    QVERIFY(window.started());
    ws.settings.DataFolder = dir;
    // Settings that differ from the batch runner's own go into the script.
    ws.settings.SignificantDigits = 6;
    ws.settings.decimalSeparator = ',';

    const std::string script = dir + "сеанс.txt";
    person.ExpectFile(1, script);
    window.Execute(MainCommand::RecordSession);
    QVERIFY(recorder.recording());
    const std::size_t from = window.results()->lines().size();

    person.ExpectFile(0, dir + "data.txt");
    window.Execute(MainCommand::Open);
    QCOMPARE(ws.sheet.VariableCount(), 2);

    // Method 1: both variables with the additional tables, not written back;
    // then cancelled.
    person
        .ExpectVariables("Анализ переменных", {{VariableAction::Include, {2}},
                                               {VariableAction::Include, {1}},
                                               {VariableAction::Confirm, {}}})
        .ExpectYesNo("", true)
        .ExpectYesNo("", false);
    RunMethod(window, 1);
    person.ExpectVariables("Анализ переменных", {{VariableAction::Cancel, {}}});
    RunMethod(window, 1);

    // Method 2: the histogram of x with 6 classes stored in the sheet and
    // its graph kept; then of "y z" with the proposed classes, the graph
    // discarded; then the form cancelled.
    person.ExpectVariables("Анализ переменной", {{VariableAction::Include, {1}}})
        .ExpectForm("Гистограмма", 1, {"6"})
        .ExpectYesNo("Сохранить гистограмму", true)
        .ExpectGraphPrompt(true);
    RunMethod(window, 2);
    person.ExpectVariables("Анализ переменной", {{VariableAction::Include, {2}}})
        .ExpectForm("Гистограмма", 1)
        .ExpectYesNo("Сохранить гистограмму", false)
        .ExpectGraphPrompt(false);
    RunMethod(window, 2);
    person.ExpectVariables("Анализ переменной", {{VariableAction::Include, {3}}})
        .ExpectForm("Гистограмма", 0);
    RunMethod(window, 2);
    QVERIFY(person.scriptDone());
    QVERIFY(person.notices().empty());

    const std::vector<std::string> lines = window.results()->lines();
    window.Execute(MainCommand::RecordSession);
    QVERIFY(!recorder.recording());
    const std::string windowReport = Joined(lines, from, lines.size());
    QVERIFY(windowReport.find("Гистограмма") != std::string::npos ||
            windowReport.find("Колмогоров=") != std::string::npos);

    std::ostringstream results, messages;
    const int status = RunBatchFile(script, BuiltStatisticsMethods(), results, messages);
    QCOMPARE(status, int(BatchDone));
    QCOMPARE(QString::fromStdString(messages.str()), QString());
    QCOMPARE(QString::fromStdString(results.str()), QString::fromStdString(windowReport));

    person.ExpectYesNo("Закончить сеанс", true);
    window.close();
}

// Each kind of answer is written as the line the batch runner reads back as
// that answer; answers asked by a command written whole are left out.
void SessionRecordingTest::answersBecomeTheLinesThatGiveThem() {
    ScriptedDialogs person;
    SessionRecorder recorder(person);
    ScriptedDialogs settingsHolder;
    Workspace ws(settingsHolder);
    ws.settings.SignificantDigits = 4;
    ws.settings.SignificanceLevel = 0.01;
    ws.RandomSeed = 77;
    recorder.Start(ws, "/data/my file.txt");

    person.ExpectYesNo("", true).ExpectGraphPrompt(false).ExpectFile(0, "").ExpectForm("F", 2,
                                                                                       {"a b", ""});
    recorder.Command("method 5");
    recorder.YesNo("?");
    recorder.GraphPrompt(true);
    recorder.ChooseFile({});
    FormDialog form;
    form.caption = "F";
    form.Field("A=", "1").Field("B=", "2");
    form.Button("ok", 2);
    recorder.Form(form);
    // A formula editor confirmed with a text, then one cancelled.
    Tqq11 formula(ws, "Формулы", 1), cancelled(ws, "Формулы", 1);
    person.ExpectFormula("Формулы", 1, {"SIN(x) + 1"});
    ScriptedAnswer cancel;
    cancel.kind = DialogKind::Formula;
    cancel.cancel = true;
    person.Push(cancel);
    recorder.Formula(formula);
    recorder.Formula(cancelled);
    person.ExpectYesNo("", false);
    {
        const SessionRecorder::Quiet quiet(&recorder);
        recorder.YesNo("asked by F3");
    }
    QCOMPARE(QString::fromStdString(recorder.Stop()),
             QString::fromStdString("# Сеанс DALVEX, записанный как сценарий dalvex-batch\r\n"
                                    "seed 77\r\n"
                                    "level 0.01\r\n"
                                    "open \"/data/my file.txt\"\r\n"
                                    "method 5\r\n"
                                    "yes\r\n"
                                    "graph discard\r\n"
                                    "cancel\r\n"
                                    "form 2 \"a b\" \"\"\r\n"
                                    "formula 1 \"SIN(x) + 1\"\r\n"
                                    "cancel\r\n"));
}

// "dalvex data.txt": the file given when the program started passes no file
// dialog, yet a session recorded afterwards opens it and replays.
void SessionRecordingTest::aFileOpenedAtStartIsOpenedByTheScript() {
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString() + "/";
    QVERIFY(WriteLinesFile(dir + "start data.txt", {"x y", "1 5", "4 3", "2 8", "7 1"}).ok);

    ScriptedDialogs person;
    SessionRecorder recorder(person);
    Workspace ws(recorder);
    MainWindow window(ws, dir);
    window.show();
    QVERIFY(window.started());
    QVERIFY(window.OpenAtStart(dir + "start data.txt"));

    const std::string script = dir + "сеанс.txt";
    person.ExpectFile(1, script);
    window.Execute(MainCommand::RecordSession);
    const std::size_t from = window.results()->lines().size();
    person
        .ExpectVariables("Анализ переменных",
                         {{VariableAction::Include, {2}}, {VariableAction::Confirm, {}}})
        .ExpectYesNo("", true)
        .ExpectYesNo("", false);
    RunMethod(window, 1);
    QVERIFY(person.scriptDone());
    const std::vector<std::string> lines = window.results()->lines();
    window.Execute(MainCommand::RecordSession);
    QVERIFY(!recorder.recording());

    std::ifstream in(script, std::ios::binary);
    std::stringstream written;
    written << in.rdbuf();
    QVERIFY2(written.str().find("\r\nopen \"" + dir + "start data.txt\"\r\n") != std::string::npos,
             written.str().c_str());
    std::ostringstream results, messages;
    QCOMPARE(RunBatchFile(script, BuiltStatisticsMethods(), results, messages), int(BatchDone));
    QCOMPARE(QString::fromStdString(messages.str()), QString());
    QCOMPARE(QString::fromStdString(results.str()),
             QString::fromStdString(Joined(lines, from, lines.size())));

    person.ExpectYesNo("Закончить сеанс", true);
    window.close();
}

QTEST_MAIN(SessionRecordingTest)
#include "session_recording_test.moc"
