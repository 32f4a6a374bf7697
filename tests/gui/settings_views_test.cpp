// Settings, dialog colours and keyboard macros on screen, without a display:
// "Установки" changes the sheet at once, "Цвета" repaints its preview and the
// dialogs shown afterwards, and a macro recorded with the real keys (typing
// into the sheet, F9, choosing a method) replays to the same report. With
// DALVEX_SHOT_DIR set, the dialogs and the "MACRO" indicator are saved as
// pictures there.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/settings_dialog.h"
#include "gui/colors_dialog_view.h"
#include "gui/dialog_colors.h"
#include "gui/form_dialog_view.h"
#include "gui/macro_keyboard.h"
#include "gui/main_window.h"
#include "gui/results_view.h"
#include "gui/sheet_view.h"
#include "macros/macro_dialogs.h"
#include "support/window_shot.h"

using namespace dalvex;

namespace {
// The descriptive statistics' two questions.
constexpr const char* AdditionalQuestion = "Выдать дополнительную статистику?";
constexpr const char* WriteBackQuestion = "Записать среднее";
}  // namespace

class SettingsViewsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void settingsCommandChangesTheSheetAtOnce();
    void colorsDialogPaintsItselfAndTheNextDialogs();
    void macroRecordedWithKeysReplaysToTheSameReport();

  private:
    // The variable list, then no additional statistics and no write-back.
    void ExpectDescriptiveAnswers() {
        dialogs->ExpectVariables("Анализ переменных",
                                 {{VariableAction::Include, {1}}, {VariableAction::Confirm, {}}});
        dialogs->ExpectYesNo(AdditionalQuestion, false).ExpectYesNo(WriteBackQuestion, false);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeModalWidget();
        if (!target) {
            // A modal dialog that closed leaves no window active here.
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            target = QApplication::focusWidget();
        }
        QVERIFY(target);
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<Workspace> ws;
    std::unique_ptr<MainWindow> window;
};

void SettingsViewsTest::init() {
    folder = std::make_unique<QTemporaryDir>();
    dialogs = std::make_unique<ScriptedDialogs>();
    ws = std::make_unique<Workspace>(*dialogs);
    window = std::make_unique<MainWindow>(*ws, folder->path().toStdString());
    window->resize(1000, 700);
    window->show();
    QVERIFY(window->started());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void SettingsViewsTest::cleanup() {
    if (window && window->isVisible()) {
        dialogs->ExpectYesNo("Закончить сеанс", true);
        window->close();
    }
    window.reset();
    ws.reset();
    dialogs.reset();
    folder.reset();
}

void SettingsViewsTest::settingsCommandChangesTheSheetAtOnce() {
    QVERIFY(window->commandAction(MainCommand::Settings)->isEnabled());
    QVERIFY(window->commandAction(MainCommand::Colors)->isEnabled());
    dialogs->ExpectForm(SettingsCaption, 1, {"0,01", "6", "1", "90", "24"});
    window->commandAction(MainCommand::Settings)->trigger();
    QCOMPARE(window->sheetView()->horizontalHeader()->defaultSectionSize(), 90);
    QCOMPARE(window->sheetView()->verticalHeader()->defaultSectionSize(), 24);
    QCOMPARE(ws->settings.SignificanceLevel, 0.01);
    QCOMPARE(ws->settings.SignificantDigits, 6);
    QVERIFY(ws->settings.exactProbabilities);
    // A width of 0 is not taken: the grid stays.
    dialogs->ExpectForm(SettingsCaption, 1, {"0,01", "6", "1", "0", "0"});
    window->commandAction(MainCommand::Settings)->trigger();
    QCOMPARE(window->sheetView()->horizontalHeader()->defaultSectionSize(), 90);

    // The dialog as the person sees it, in the standard colours.
    FormDialogView view(SettingsForm(ws->settings));
    view.show();
    QCOMPARE(view.palette().color(QPalette::Window), QColor(0, 0x80, 0));  // colour 2: green
    Shot(view, "settings_dialog");
}

void SettingsViewsTest::colorsDialogPaintsItselfAndTheNextDialogs() {
    ColorsDialogView colors(ws->settings);
    colors.SetPicker([](const QColor&, QWidget*) { return QColor(0xF0, 0xE6, 0x8C); });
    colors.show();
    Shot(colors, "colors_dialog_standard");
    colors.Press(QStringLiteral("Панель2"));
    QCOMPARE(ws->settings.dialogColors[1], 0x8CE6F0);  // 0x00BBGGRR
    QCOMPARE(colors.palette().color(QPalette::Window), QColor(0xF0, 0xE6, 0x8C));
    colors.SetPicker([](const QColor&, QWidget*) { return std::nullopt; });
    colors.Press(QStringLiteral("Заголовок"));  // cancelled: nothing changes
    QCOMPARE(ws->settings.dialogColors[2], 0x0000FF);
    colors.SetPicker([](const QColor&, QWidget*) { return QColor(0x60, 0x20, 0x80); });
    colors.Press(QStringLiteral("Заголовок"));
    Shot(colors, "colors_dialog_chosen");

    // Any dialog shown from now on wears the new colours.
    FormDialogView later(SettingsForm(ws->settings));
    later.show();
    QCOMPARE(later.palette().color(QPalette::Window), QColor(0xF0, 0xE6, 0x8C));
    QCOMPARE(later.palette().color(QPalette::WindowText), QColor(0x60, 0x20, 0x80));
    Shot(later, "settings_dialog_chosen_colours");

    colors.Press(QStringLiteral("Серый"));
    QCOMPARE(ws->settings.dialogColors[1], static_cast<std::int32_t>(0x8000000Fu));
    QCOMPARE(colors.palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Button));
    Shot(colors, "colors_dialog_grey");
    colors.Press(QStringLiteral("Стандарт"));
    QCOMPARE(ws->settings.dialogColors[1], 0x008000);
    colors.Press(QStringLiteral("Закрыть"));
    QVERIFY(!colors.isVisible());
}

void SettingsViewsTest::macroRecordedWithKeysReplaysToTheSameReport() {
    MacroKeyboard* macros = window->macroKeyboard();
    QVERIFY(macros);
    macros->SetActive(true);
    QLabel* indicator = window->macroIndicator();
    QVERIFY(!indicator->isVisible());

    // Alt+F1: macro 2 is recorded.
    window->sheetView()->setFocus();
    dialogs->ExpectForm(DefinitionCaption, 1, {"1", "", "Описание"});
    Key(Qt::Key_F1, Qt::AltModifier);
    QCOMPARE(macros->machine().state(), MacroState::Recording);
    QTRY_VERIFY(indicator->isVisible());
    Shot(*indicator, "macro_indicator_red");
    Key(Qt::Key_F2, Qt::AltModifier);
    QCOMPARE(macros->indicator(), MacroIndicator::Blue);
    QTest::qWait(50);
    Shot(*indicator, "macro_indicator_blue");
    Key(Qt::Key_F2, Qt::AltModifier);
    QCOMPARE(macros->indicator(), MacroIndicator::Red);

    // Typing into the sheet, then F9 and "1": the descriptive statistics.
    for (int key : {Qt::Key_3, Qt::Key_Return, Qt::Key_5, Qt::Key_Return, Qt::Key_8, Qt::Key_Return,
                    Qt::Key_1, Qt::Key_Return, Qt::Key_9, Qt::Key_Return})
        Key(key);
    ExpectDescriptiveAnswers();
    // F9 shows the menu modally; "1" is typed into it once it shows and has
    // the focus, however long a loaded machine takes (a key sent earlier
    // would go to the sheet and leave the menu waiting).
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll] {
        QWidget* menu = QApplication::activeModalWidget();
        QWidget* focus = QApplication::focusWidget();
        if (!menu || !menu->isVisible() || !focus || (focus != menu && !menu->isAncestorOf(focus)))
            return;
        poll->stop();
        poll->deleteLater();
        QTest::keyClick(focus, Qt::Key_1);
    });
    poll->start(20);
    Key(Qt::Key_F9);
    Key(Qt::Key_F3, Qt::AltModifier);
    QCOMPARE(macros->machine().state(), MacroState::Idle);
    QTRY_VERIFY(!indicator->isVisible());
    TEditForm& results = window->session().results();
    const std::string recorded = results.Text();
    QVERIFY2(recorded.find("ОПИСАТЕЛЬНАЯ") != std::string::npos, recorded.c_str());
    QVERIFY(dialogs->scriptDone());

    // Alt+2 from the first cell again types the same values and runs the
    // same method; it waits at the pause point until Alt+F2.
    results.Clear();
    SheetView* sheet = window->sheetView();
    QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {},
                      sheet->visualRect(sheet->model()->index(0, 0)).center());
    sheet->setFocus();
    ExpectDescriptiveAnswers();
    Key(Qt::Key_2, Qt::AltModifier);
    QTRY_COMPARE(macros->machine().state(), MacroState::PlaybackPaused);
    QCOMPARE(macros->indicator(), MacroIndicator::Blue);
    QVERIFY(results.Text().empty());
    Key(Qt::Key_F2, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(macros->machine().state(), MacroState::Idle, 15000);
    QCOMPARE(results.Text(), recorded);
    QVERIFY(dialogs->scriptDone());
}

QTEST_MAIN(SettingsViewsTest)
#include "settings_views_test.moc"
