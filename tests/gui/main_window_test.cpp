// The real main window, driven with keys and clicks, without a display.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/settings.h"
#include "core/text.h"
#include "gui/file_dialog_view.h"
#include "gui/main_window.h"
#include "gui/results_view.h"
#include "gui/sheet_view.h"
#include "output/significance.h"
#include "output/text_resource.h"
#include "support/window_shot.h"

using namespace dalvex;

// Scripted answers, except that file dialogs may be left to the main
// window's own dialog, as in the program.
class TestDialogs : public ScriptedDialogs {
  public:
    FileChoice ChooseFile(const FileRequest& request) override {
        return window ? window->RWDlg(request) : ScriptedDialogs::ChooseFile(request);
    }
    MainWindow* window = nullptr;
};

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void fileAndEditCommandsGoToTheResultsWhenRezIsActive();
    void tabsTileTheSubWindowsAndResizeKeepsTheLayout();
    void typingInSheetAndEditBoxReachesTheModel();
    void undoAndRedoFromTheKeysAndTheMenu();
    void columnDragCopiesAVariable();
    void clipboardPasteAndDeleteWithQuestion();
    void sheetPrintsToPdfWithPageBreaks();
    void closeAsksThenWritesWindowSize();
    void reportsReachTheResultsWindowAndKeepTheUsersEdits();
    void commandsOfTheStartedProgramAreEnabled();
    void sheetOpensAppendsAndSavesDataFiles();
    void sheetSavesThroughTheFileDialogWithItsTitle();
    void fileNamedAtStartOpensOrLeavesTheSheetEmpty();
    void csvTypeOfTheFileDialogListsAndOpensCsvFiles();

  private:
    const std::string& Cell(int col, int row) const { return ws->sheet.Cell(col, row); }
    QPoint CellCentre(int col, int row) const {
        SheetView* view = window->sheetView();
        return view->visualRect(view->model()->index(row - 1, col - 1)).center();
    }
    void ClickCell(int col, int row) {
        QTest::mouseClick(window->sheetView()->viewport(), Qt::LeftButton, {},
                          CellCentre(col, row));
    }
    QRect Geometry(QMdiSubWindow* w) const { return w->geometry(); }
    // QTest types ASCII only; Cyrillic comes as key events carrying text.
    static void TypeUnicode(QWidget* widget, const QString& text) {
        for (const QChar ch : text) {
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), {});
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), {});
        }
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<TestDialogs> dialogs;
    std::unique_ptr<Workspace> ws;
    std::unique_ptr<MainWindow> window;
};

void MainWindowTest::init() {
    folder = std::make_unique<QTemporaryDir>();
    dialogs = std::make_unique<TestDialogs>();
    ws = std::make_unique<Workspace>(*dialogs);
    window = std::make_unique<MainWindow>(*ws, folder->path().toStdString());
    window->resize(1000, 700);
    window->show();
    QVERIFY(window->started());
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(ws->ActiveWindowKind, 1);
    ws->settings.DataFolder = folder->path().toStdString() + "/";
}

void MainWindowTest::cleanup() {
    if (window && window->isVisible()) {
        dialogs->ExpectYesNo("Закончить сеанс", true);
        window->close();
    }
    window.reset();
    ws.reset();
    dialogs.reset();
    folder.reset();
}

void MainWindowTest::fileAndEditCommandsGoToTheResultsWhenRezIsActive() {
    SheetView* sheet = window->sheetView();
    ClickCell(1, 1);
    QTest::keyClicks(sheet, "42");
    QCOMPARE(Cell(1, 1), std::string("      42"));

    // The results window reads and writes through the program's file dialog.
    int asked = 0;
    const QString report = folder->filePath("report.txt");
    window->SetFileDialogDriver([&](FileDialogView& dialog) {
        ++asked;
        QListWidget* list = dialog.fileList();
        if (dialog.windowTitle() == QStringLiteral("Чтение файла")) {
            const auto found = list->findItems(QStringLiteral("report"), Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            list->setCurrentItem(found.front());
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            QVERIFY(dialog.nameField()->isVisible());
            QTest::keyClicks(dialog.nameField(), "saved");
            QTest::mouseClick(dialog.writeButton(), Qt::LeftButton);
        }
        QVERIFY(!dialog.isVisible());
    });

    QVERIFY(WriteLinesFile(report.toStdString(), {"Среднее = 1,5", "вторая строка"}).ok);
    window->ChooseTab(1);
    QCOMPARE(ws->ActiveWindowKind, 2);
    ResultsView* results = window->resultsView();
    QTest::keyClick(results, Qt::Key_F3);
    QCOMPARE(asked, 1);
    QCOMPARE(results->toPlainText(), QStringLiteral("Среднее = 1,5\nвторая строка"));
    QCOMPARE(window->resultsWindow()->windowTitle(), QStringLiteral("report.txt"));
    // The caret is at the start, and Del stays the text's own key there.
    QTest::keyClick(results, Qt::Key_Delete);
    QCOMPARE(results->toPlainText(), QStringLiteral("реднее = 1,5\nвторая строка"));
    QTest::keyClick(results, Qt::Key_Z, Qt::ControlModifier);

    results->selectAll();
    window->Execute(MainCommand::Copy);
    QCOMPARE(QApplication::clipboard()->text(), results->toPlainText());

    QTest::keyClick(results, Qt::Key_F4);
    QCOMPARE(asked, 2);
    QFile saved(folder->filePath("saved.txt"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("\xD1\xF0\xE5\xE4\xED\xE5\xE5 = 1,5\r\n"
                                         "\xE2\xF2\xEE\xF0\xE0\xFF \xF1\xF2\xF0\xEE\xEA\xE0\r\n"));

    QTest::keyClick(results, Qt::Key_F5);
    QVERIFY(results->toPlainText().isEmpty());
    QCOMPARE(Cell(1, 1), std::string("      42"));  // the sheet is untouched

    window->ChooseTab(0);
    QTest::keyClick(sheet, Qt::Key_F5);
    QCOMPARE(ws->sheet.VariableCount(), 0);
    QVERIFY(Cell(1, 1).empty());
}

void MainWindowTest::tabsTileTheSubWindowsAndResizeKeepsTheLayout() {
    window->ChooseLayout(1);  // "2 окна"
    auto client = [&] { return window->mdiArea()->viewport()->size(); };
    auto expectDat = [&] {
        const int W = client().width();
        const int H = client().height();
        QCOMPARE(Geometry(window->sheetWindow()), QRect(0, 0, W / 2, H));
        QCOMPARE(Geometry(window->resultsWindow()), QRect(W / 2, 0, (W - 1) / 2, H - 1));
    };
    expectDat();

    window->resize(1201, 650);
    QCoreApplication::processEvents();
    QVERIFY(client().width() > 1000);
    expectDat();

    QTest::mouseClick(window->windowTabs(), Qt::LeftButton, {},
                      window->windowTabs()->tabRect(1).center());
    QCOMPARE(ws->ActiveWindowKind, 2);
    const int W = client().width();
    const int H = client().height();
    QCOMPARE(Geometry(window->resultsWindow()), QRect(0, 0, (W - 1) / 2, H - 1));
    QCOMPARE(window->mdiArea()->activeSubWindow(), window->resultsWindow());
    QTRY_VERIFY(!window->editBox()->isVisible());  // the tool bar hides it on its next layout

    // A window dragged away comes back when the mouse passes over the sheet.
    window->sheetWindow()->move(40, 30);
    window->resultsWindow()->move(15, 25);
    QMouseEvent move(QEvent::MouseMove, QPointF(W - 5, H - 5), QPointF(W - 5, H - 5), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->mdiArea()->viewport(), &move);
    QCOMPARE(window->sheetWindow()->pos(), QPoint(0, 0));
    QCOMPARE(window->resultsWindow()->pos(), QPoint(0, 0));
}

void MainWindowTest::undoAndRedoFromTheKeysAndTheMenu() {
    SheetView* sheet = window->sheetView();
    ClickCell(1, 1);
    QTest::keyClicks(sheet, "12");
    QTest::keyClick(sheet, Qt::Key_Return);
    QTest::keyClicks(sheet, "34");
    QCOMPARE(ws->sheet.ColumnLength(1), 2);

    // Ctrl+Z takes back the second cell's typing whole, then the first's.
    QTest::keyClick(sheet, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ws->sheet.ColumnLength(1), 1);
    QCOMPARE(Cell(1, 2), std::string());
    QCOMPARE(window->sheetStatus()->text(), QStringLiteral("ВсехX=1, x1=1, y2"));
    QTest::keyClick(sheet, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ws->sheet.VariableCount(), 0);
    QCOMPARE(Cell(1, 1), std::string());
    QCOMPARE(sheet->sheetModel()->data(sheet->model()->index(0, 0), Qt::DisplayRole).toString(),
             QString());
    // Ctrl+Y makes it again; the menu's items do the same.
    QTest::keyClick(sheet, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Cell(1, 1), std::string("      12"));
    QAction* redo = window->commandAction(MainCommand::Redo);
    QAction* undo = window->commandAction(MainCommand::Undo);
    QVERIFY(undo && redo && undo->isEnabled());
    QCOMPARE(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    redo->trigger();
    QCOMPARE(Cell(1, 2), std::string("      34"));

    for (QAction* entry : window->menuBar()->actions()) {
        if (entry->menu() == nullptr || !entry->menu()->actions().contains(undo))
            continue;
        entry->menu()->popup(window->mapToGlobal(QPoint(200, 20)));
        QTest::qWait(50);
        Shot(*entry->menu(), "edit_menu_with_undo");
        entry->menu()->close();
    }
}

void MainWindowTest::typingInSheetAndEditBoxReachesTheModel() {
    SheetView* sheet = window->sheetView();
    window->ChooseTab(1);
    ClickCell(1, 1);  // a click brings the keys back to the sheet
    QCOMPARE(QApplication::focusWidget(), sheet);
    QCOMPARE(ws->ActiveWindowKind, 1);
    QTest::keyClicks(sheet, "12");
    QTest::keyClick(sheet, Qt::Key_Return);
    QTest::keyClicks(sheet, "3,5");
    QTest::keyClick(sheet, Qt::Key_Backspace);
    QCOMPARE(Cell(1, 1), std::string("      12"));
    QCOMPARE(Cell(1, 2), std::string("      3,"));
    QCOMPARE(ws->sheet.VariableCount(), 1);
    QCOMPARE(ws->sheet.ColumnLength(1), 2);
    QCOMPARE(window->sheetStatus()->text(), QStringLiteral("ВсехX=1, x1=2, y2"));
    QCOMPARE(window->editBox()->text(), QStringLiteral("3,"));
    QVERIFY(sheet->selectionModel()->isSelected(sheet->model()->index(1, 0)));

    // A click beyond the data is refused and lands one place past the column.
    ClickCell(1, 9);
    QCOMPARE(sheet->selectionModel()->currentIndex(), sheet->model()->index(2, 0));

    ClickCell(1, 1);
    QCOMPARE(window->editBox()->text(), QStringLiteral("12"));
    QTest::keyClicks(window->editBox(), "7");
    QCOMPARE(Cell(1, 1), std::string("     127"));
    QCOMPARE(window->editBox()->text(), QStringLiteral("127"));
    QVERIFY(window->form().editBoxInUse());

    // Clicking the variable's name selects its data; the EditBox then edits the name.
    const QHeaderView* names = sheet->horizontalHeader();
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                      QPoint(names->sectionViewportPosition(0) + 10, names->height() / 2));
    QVERIFY(!window->form().editBoxInUse());
    QCOMPARE(window->editBox()->text(), QStringLiteral("x1"));
    window->editBox()->selectAll();
    TypeUnicode(window->editBox(), QStringLiteral("рост"));
    QCOMPARE(Cell(1, 0), std::string("    рост"));
    QCOMPARE(sheet->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("    рост"));

    // The view cannot be scrolled away from the data.
    sheet->verticalScrollBar()->setValue(400);
    sheet->horizontalScrollBar()->setValue(30);
    QCOMPARE(sheet->verticalScrollBar()->value(), 1);  // first visible row 2 = longest column
    QCOMPARE(sheet->horizontalScrollBar()->value(), 0);
}

void MainWindowTest::columnDragCopiesAVariable() {
    SheetView* sheet = window->sheetView();
    QApplication::clipboard()->setText(QStringLiteral("1\t2\t3\t4\n5\t6\t7\t8\n"));
    ClickCell(1, 1);
    window->Execute(MainCommand::Paste);
    QCOMPARE(ws->sheet.VariableCount(), 4);

    QWidget* names = sheet->horizontalHeader()->viewport();
    const int y = names->height() / 2;
    auto x = [&](int col) {
        return sheet->horizontalHeader()->sectionViewportPosition(col - 1) + 20;
    };
    auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(names, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), names->mapToGlobal(QPointF(to)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(names, &move);
        QTest::mouseRelease(names, Qt::LeftButton, {}, to);
    };
    // Ten pixels across the border of the next name are still a click.
    const int border = sheet->horizontalHeader()->sectionViewportPosition(1);
    drag(QPoint(border - 5, y), QPoint(border + 5, y));
    QCOMPARE(ws->sheet.VariableCount(), 4);

    drag(QPoint(x(1), y), QPoint(x(3), y));
    QCOMPARE(ws->sheet.VariableCount(), 5);
    QCOMPARE(Cell(3, 0), std::string("     x1+"));
    QCOMPARE(Cell(3, 2), std::string("       5"));
    QCOMPARE(Cell(4, 1), std::string("       3"));
    QCOMPARE(window->sheetStatus()->text().left(8), QStringLiteral("ВсехX=5,"));
}

void MainWindowTest::clipboardPasteAndDeleteWithQuestion() {
    SheetView* sheet = window->sheetView();
    QApplication::clipboard()->setText(QStringLiteral("1\t2\t3\n4\t5\t6\n"));
    ClickCell(1, 1);
    QTest::keyClick(sheet, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(ws->sheet.VariableCount(), 3);
    QCOMPARE(ws->sheet.ColumnLength(3), 2);
    QCOMPARE(Cell(3, 2), std::string("       6"));

    // Ctrl+C goes through the main window's Copy to the sheet.
    sheet->selectAll();  // the corner button
    QTest::keyClick(sheet, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1\t2\t3\n4\t5\t6\n"));

    // Delete on a whole variable asks first; "Нет" keeps it.
    const QHeaderView* names = sheet->horizontalHeader();
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                      QPoint(names->sectionViewportPosition(0) + 10, names->height() / 2));
    dialogs->ExpectYesNo("Удалить переменную x1?", false);
    QTest::keyClick(sheet, Qt::Key_Delete);
    QCOMPARE(ws->sheet.VariableCount(), 3);
    dialogs->ExpectYesNo("Удалить переменную x1?", true);
    QTest::keyClick(sheet, Qt::Key_Delete);
    QCOMPARE(ws->sheet.VariableCount(), 2);
    QCOMPARE(Cell(1, 1), std::string("       2"));
    QVERIFY(dialogs->scriptDone());
}

void MainWindowTest::sheetPrintsToPdfWithPageBreaks() {
    SheetView* sheet = window->sheetView();
    QVERIFY(!sheet->HasSomethingToPrint());
    QString lines;
    for (int i = 1; i <= 150; ++i)
        lines += QStringLiteral("%1\t%2\n").arg(i).arg(i * 0.5);
    QApplication::clipboard()->setText(lines);
    ClickCell(1, 1);
    window->Execute(MainCommand::Paste);
    QCOMPARE(ws->sheet.ColumnLength(2), 150);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = folder->filePath("sheet.pdf");
    printer.setOutputFileName(pdf);
    QVERIFY(sheet->Print(printer));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    // 151 lines of a 10-point font do not fit on one page.
    QVERIFY(bytes.count("/Type /Page") - bytes.count("/Type /Pages") >= 2);
}

void MainWindowTest::closeAsksThenWritesWindowSize() {
    dialogs->ExpectYesNo("если Вы не сохранили данные", false);
    window->close();
    QVERIFY(window->isVisible());
    QCOMPARE(dialogs->questions().back(), std::string(CloseQuestion));

    window->resize(820, 560);
    dialogs->ExpectYesNo("Закончить сеанс работы в DALVEX?", true);
    window->close();
    QVERIFY(!window->isVisible());
    std::vector<std::string> lines;
    QVERIFY(ReadLinesFile(folder->filePath("Dvx.ini").toStdString(), lines).ok);
    // The 32 addressed lines and the exact-probabilities line.
    QCOMPARE(lines.size(), std::size_t(ExactProbabilitiesLine + 1));
    QCOMPARE(lines[29], std::string("820"));
    QCOMPARE(lines[30], std::string("560"));
}

void MainWindowTest::reportsReachTheResultsWindowAndKeepTheUsersEdits() {
    // The first start put the report texts into the program folder.
    QVERIFY(QFile::exists(folder->filePath("Sth.ini")));
    QVERIFY(QFile::exists(folder->filePath("StFn.ini")));
    QVERIFY(ws->resources != nullptr);
    QVERIFY(dialogs->notices().empty());

    ws->SetTextBuffer("F=3,2");
    ws->VerdictGroup = 2;
    ws->VerdictIndex = 1;
    WriteSignificance(*ws, 0.2, 16, 3);
    ResultsView* results = window->resultsView();
    results->Flush();
    const QStringList shown = results->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0], QStringLiteral("F=3,2, Значимость=0.2, степ.своб = 3,16"));
    QCOMPARE(shown[1], "   " + QString::fromStdString(ws->resources->Entry(2, 1)));

    // The person edits the report; the next report line keeps the edit.
    window->ChooseTab(1);
    results->moveCursor(QTextCursor::End);
    QTest::keyClicks(results, "!");
    WriteResult(*ws, std::string(101, 'x'));
    results->Flush();
    const auto& lines = window->results()->lines();
    QCOMPARE(lines.size(), std::size_t(4));
    QCOMPARE(QString::fromStdString(lines[1]), shown[1] + "!");
    QCOMPARE(lines[2], std::string(90, 'x'));
    QCOMPARE(results->toPlainText().count(QLatin1Char('\n')), 3);

    QTest::keyClick(results, Qt::Key_F5);
    QVERIFY(window->results()->lines().empty());
    QVERIFY(results->toPlainText().isEmpty());
}

// "dalvex FILE": the file is read into the sheet as F3 would, and the next
// F3 opens in its folder; a file that cannot be read leaves its notice and
// an empty sheet.
void MainWindowTest::fileNamedAtStartOpensOrLeavesTheSheetEmpty() {
    QVERIFY(!window->OpenAtStart(folder->filePath("nothing.csv").toStdString()));
    QCOMPARE(dialogs->notices().size(), std::size_t{1});
    QVERIFY(dialogs->notices().front().find("nothing.csv") != std::string::npos);
    QCOMPARE(ws->sheet.VariableCount(), 0);
    QCOMPARE(window->sheetWindow()->windowTitle(), QStringLiteral("Таблица данных"));

    QDir(folder->path()).mkdir(QStringLiteral("sub"));
    const std::string data = folder->filePath("sub/data.csv").toStdString();
    QVERIFY(WriteLinesFile(data, {"\"\",\"рост\"", "\"№1\",170.5"}).ok);
    QVERIFY(window->OpenAtStart(data));
    QCOMPARE(Cell(1, 1), std::string("   170.5"));
    QCOMPARE(Cell(0, 1), std::string("  №1"));
    QCOMPARE(window->sheetWindow()->windowTitle(), QStringLiteral("Данные: data.csv - "));
    QCOMPARE(ws->settings.DataFolder, folder->filePath("sub").toStdString() + "/");
}

// The file dialog's "CSV (*.csv)" type lists the CSV files only, and the
// one chosen is read as CSV.
void MainWindowTest::csvTypeOfTheFileDialogListsAndOpensCsvFiles() {
    QVERIFY(
        WriteLinesFile(folder->filePath("опыт.csv").toStdString(), {"\"рост\";\"вес\"", "170,5;65"})
            .ok);
    QVERIFY(WriteLinesFile(folder->filePath("опыт.txt").toStdString(), {"x", "1"}).ok);
    dialogs->window = window.get();
    window->SetFileDialogDriver([&](FileDialogView& dialog) {
        const int csv = dialog.typeBox()->findText(QStringLiteral("CSV (*.csv)"));
        QVERIFY(csv >= 0);
        dialog.typeBox()->setCurrentIndex(csv);
        QCOMPARE(dialog.fileList()->count(), 1);
        QCOMPARE(dialog.fileList()->item(0)->text(), QStringLiteral("опыт"));
        const QByteArray shots = qgetenv("DALVEX_SHOT_DIR");
        if (!shots.isEmpty())
            dialog.grab().save(QString::fromUtf8(shots) + "/file_dialog_csv.png");
        QTest::mouseClick(dialog.confirmButton(), Qt::LeftButton);
    });
    QTest::keyClick(window->sheetView(), Qt::Key_F3);
    QCOMPARE(ws->sheet.VariableCount(), 2);
    QCOMPARE(Cell(1, 0), std::string("    рост"));
    QCOMPARE(Cell(1, 1), std::string("   170,5"));
    QCOMPARE(window->sheetWindow()->windowTitle(), QStringLiteral("Данные: опыт.csv - "));
}

void MainWindowTest::sheetOpensAppendsAndSavesDataFiles() {
    SheetView* sheet = window->sheetView();
    const std::string data = folder->filePath("data.txt").toStdString();
    QVERIFY(WriteLinesFile(data, {"объекты рост вес", "№1 170 65,5", "№2 180 80"}).ok);

    dialogs->ExpectFile(0, data);
    QTest::keyClick(sheet, Qt::Key_F3);
    QCOMPARE(ws->sheet.VariableCount(), 2);
    QCOMPARE(Cell(2, 1), std::string("    65,5"));
    QCOMPARE(sheet->sheetModel()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(),
             QStringLiteral("  №1"));
    QCOMPARE(window->sheetWindow()->windowTitle(), QStringLiteral("Данные: data.txt - "));
    QCOMPARE(window->sheetStatus()->text().left(8), QStringLiteral("ВсехX=2,"));

    // F4 writes the native file with the title the person gave.
    const std::string native = folder->filePath("data.dvx").toStdString();
    dialogs->ExpectFile(1, native, "Рост и вес");
    QTest::keyClick(sheet, Qt::Key_F4);
    QCOMPARE(window->sheetWindow()->windowTitle(), QStringLiteral("Данные: data.dvx - Рост и вес"));
    QCOMPARE(dialogs->fileRequests().back().defaultName, std::string("data.txt"));

    // Opened again without clearing: appended after the two variables, the
    // file's labels left out.
    dialogs->ExpectFile(0, native).ExpectYesNo("Очистить электронную таблицу?", false);
    QTest::keyClick(sheet, Qt::Key_F3);
    QCOMPARE(ws->sheet.VariableCount(), 4);
    QCOMPARE(Cell(4, 2), std::string("      80"));

    // Cleared first: exactly the file.
    dialogs->ExpectFile(0, native).ExpectYesNo("Очистить электронную таблицу?", true);
    QTest::keyClick(sheet, Qt::Key_F3);
    QCOMPARE(ws->sheet.VariableCount(), 2);
    QCOMPARE(Cell(1, 0), std::string("    рост"));
    QCOMPARE(sheet->horizontalScrollBar()->value(), 0);
    QVERIFY(dialogs->scriptDone());
    QVERIFY(dialogs->notices().empty());

    // Cancelled: nothing changes.
    dialogs->ExpectFile(1, "");
    QTest::keyClick(sheet, Qt::Key_F4);
    QCOMPARE(window->sheetWindow()->windowTitle(), QStringLiteral("Данные: data.dvx - Рост и вес"));
}

void MainWindowTest::sheetSavesThroughTheFileDialogWithItsTitle() {
    SheetView* sheet = window->sheetView();
    ClickCell(1, 1);
    QTest::keyClicks(sheet, "5");
    dialogs->window = window.get();
    window->SetFileDialogDriver([&](FileDialogView& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Запись файла"));
        QCOMPARE(dialog.typeBox()->currentText(), QStringLiteral("Файлы DALVEX (*.dvx)"));
        QVERIFY(!dialog.menuButton()->isVisible());
        QTest::keyClicks(dialog.nameField(), "mine");
        dialog.commentField()->selectAll();
        TypeUnicode(dialog.commentField(), QStringLiteral("Опыт 1"));
        QTest::mouseClick(dialog.writeButton(), Qt::LeftButton);
    });
    QTest::keyClick(sheet, Qt::Key_F4);
    QFile file(folder->filePath("mine.dvx"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(7), QByteArray("\x06\xCE\xEF\xFB\xF2 1"));
    QCOMPARE(window->sheetWindow()->windowTitle(), QStringLiteral("Данные: mine.dvx - Опыт 1"));
    QCOMPARE(ws->settings.DataFolder, folder->path().toStdString() + "/");
}

void MainWindowTest::commandsOfTheStartedProgramAreEnabled() {
    QVERIFY(window->commandAction(MainCommand::Graphs)->isEnabled());
    QVERIFY(window->commandAction(MainCommand::Statistics)->isEnabled());
    QVERIFY(window->commandAction(MainCommand::Calculator)->isEnabled());
    QVERIFY(window->commandAction(MainCommand::Transformations)->isEnabled());
    QVERIFY(window->commandAction(MainCommand::Settings)->isEnabled());
    QVERIFY(window->commandAction(MainCommand::Colors)->isEnabled());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
