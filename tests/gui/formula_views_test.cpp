// The formula dialogs on screen, without a display: the pads and lists
// insert at the caret of the edit line, the formula-set dialog opens the
// model editor and takes its text, the surface dialog stays open on a bad
// grid, and F7 opens the calculator on the sheet's current cell. With
// DALVEX_SHOT_DIR set every dialog is saved as a picture there.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/sheet_bridge.h"
#include "formula/formula_files.h"
#include "formula/formula_set_dialog.h"
#include "formula/function_list.h"
#include "gui/calculator_view.h"
#include "gui/formula_views.h"
#include "gui/help/help_window.h"
#include "gui/main_window.h"
#include "gui/qt_user_dialogs.h"
#include "support/window_shot.h"

using namespace dalvex;

namespace {

QPushButton* ButtonNamed(QWidget& owner, const QString& text) {
    for (QPushButton* button : owner.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// Runs `act` on the modal dialog of type T once it shows.
template <typename T, typename F>
void WhenShown(F act) {
    QTimer::singleShot(0, [act] {
        if (auto* view = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(*view);
    });
}

}  // namespace

class FormulaViewsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void editorPadAndListsFillThePlaceholder();
    void formulaSetOpensTheModelEditorAndTakesItsText();
    void surfaceStaysOpenOnABadGrid();
    void f7OpensTheCalculatorOnTheCurrentCell();
    void fromTheMainWindowTheDialogsShowAndTheSurfaceDraws();

  private:
    QTemporaryDir folder;
    std::string programFolder() const { return folder.path().toStdString() + "/"; }
};

void FormulaViewsTest::init() {
    WriteFunctionListIfMissing(programFolder());
    WriteFormulaFilesIfMissing(programFolder());
}

void FormulaViewsTest::editorPadAndListsFillThePlaceholder() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    ws.ProgramFolder = programFolder();
    PutSheetText(ws, "вес", 1, -1);
    PutSheetText(ws, "1", 1, 0);
    Tqq11 editor(ws, "Преобразования", 1);
    editor.Open("2*");
    FormulaEditorView view(editor);
    view.show();
    view.functions()->setCurrentRow(1);  // SQRT(?)
    ButtonNamed(view, "Включить выделенную функцию")->click();
    QCOMPARE(view.line()->text(), QStringLiteral("2*SQRT(?)"));
    QCOMPARE(view.line()->cursorPosition(), 7);
    view.variables()->setCurrentRow(2);  // вес
    ButtonNamed(view, "Включить выделенную переменную")->click();
    ButtonNamed(view, "%")->click();
    ButtonNamed(view, "3")->click();
    QCOMPARE(view.line()->text(), QStringLiteral("2*SQRT(вес%3)"));
    Shot(view, "formula_editor");
    ButtonNamed(view, "Утвердить")->click();
    QCOMPARE(ws.LastAnswer, 1);
    QCOMPARE(QString::fromStdString(ws.TextBuffer()), QStringLiteral("2*SQRT(вес%3)"));

    Tqq13 condition(ws, "Условие");
    condition.Open("x>0&");
    FormulaEditorView conditionView(condition);
    conditionView.show();
    Shot(conditionView, "condition_editor");
    ButtonNamed(conditionView, "Отменить")->click();
    QCOMPARE(ws.LastAnswer, 0);
}

void FormulaViewsTest::formulaSetOpensTheModelEditorAndTakesItsText() {
    QWidget parent;
    QtUserDialogs ui(&parent);
    std::vector<int> helpPages;
    ui.SetHelp([&helpPages](int context) { helpPages.push_back(context); });
    Workspace ws(ui);
    ws.ProgramFolder = programFolder();
    PutSheetText(ws, "рост", 1, -1);
    PutSheetText(ws, "вес", 2, -1);
    Tqq10 dialog(ws, 2);
    dialog.Open();
    FormulaSetView view(dialog);
    view.show();
    Shot(view, "formula_set");
    QTest::mouseClick(view.line(2), Qt::LeftButton, {}, QPoint(6, 5));
    QCOMPARE(dialog.selected(), 2);
    WhenShown<FormulaEditorView>([](FormulaEditorView& editor) {
        QCOMPARE(editor.response()->text(), QStringLiteral("x[2]"));
        QCOMPARE(editor.line()->text(), QStringLiteral("a0*EXP(a1*x[1])"));
        editor.response()->setText(QStringLiteral("вес"));
        editor.line()->setText(QStringLiteral("a0+a1*"));
        editor.line()->setCursorPosition(6);
        editor.variables()->setCurrentRow(2);  // рост
        ButtonNamed(editor, "Включить выделенную переменную")->click();
        Shot(editor, "model_editor");
        QTest::keyClick(editor.line(), Qt::Key_F1);
        ButtonNamed(editor, "Утвердить")->click();
    });
    view.Edit();
    QCOMPARE(helpPages, std::vector<int>{20});
    QCOMPARE(view.line(2)->text(), QStringLiteral("вес=a0+a1*рост"));
    ButtonNamed(view, "Утвердить")->click();
    QCOMPARE(ws.LastAnswer, 1);
    QCOMPARE(ws.SelectedColumns[0], 2);
    QCOMPARE(ws.SelectedColumns[1], 1);
    QCOMPARE(ws.SelectedColumns[2], 2);
}

void FormulaViewsTest::surfaceStaysOpenOnABadGrid() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    ws.ProgramFolder = programFolder();
    Tqq14 dialog(ws);
    dialog.Open();
    SurfaceView view(dialog);
    view.show();
    Shot(view, "surface_dialog");
    view.field(4)->setText("0");
    ButtonNamed(view, "Утвердить")->click();
    QVERIFY(view.isVisible());
    QCOMPARE(ui.notices().size(), std::size_t{1});
    view.field(4)->setText("200");
    ButtonNamed(view, "Утвердить")->click();
    QVERIFY(!view.isVisible());
    QCOMPARE(dialog.request().gridSize, MaxSurfaceGrid);

    // Opened the way the program opens it, F1 asks for the surface's page.
    Tqq14 again(ws);
    again.Open();
    std::vector<int> helpPages;
    WhenShown<SurfaceView>([](SurfaceView& shown) {
        QTest::keyClick(shown.formula(), Qt::Key_F1);
        ButtonNamed(shown, "Отменить")->click();
    });
    RunFormulaDialog(again, nullptr, [&helpPages](int context) { helpPages.push_back(context); });
    QCOMPARE(helpPages, std::vector<int>{21});
    QCOMPARE(ws.LastAnswer, 0);
}

void FormulaViewsTest::f7OpensTheCalculatorOnTheCurrentCell() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, programFolder());
    window->resize(1000, 700);
    window->show();
    for (int col = 1; col <= 3; ++col)
        for (int obs = 0; obs < 6; ++obs)
            PutSheetValue(ws, col, obs, col * 100 + obs);
    window->session().sheet().PressCell(3, 5);
    WhenShown<CalculatorView>([](CalculatorView& calc) {
        calc.expressions()->lineEdit()->setText("");
        calc.expressions()->lineEdit()->insert("i*10+j");
        QTest::keyClick(calc.expressions()->lineEdit(), Qt::Key_End);
        ButtonNamed(calc, "Вычислить")->click();
        QCOMPARE(calc.result()->text(), QStringLiteral("35"));
        calc.expressions()->lineEdit()->selectAll();
        QTest::keyClicks(calc.expressions()->lineEdit(), "x(i,j)+");
        ButtonNamed(calc, "()")->click();
        ButtonNamed(calc, "1")->click();
        calc.Compute();
        QCOMPARE(calc.result()->text(), QStringLiteral("305"));
        Shot(calc, "calculator");
        // F1 opens the calculator's page over the modal calculator, modal
        // itself so that it takes clicks.
        QTest::keyClick(calc.expressions()->lineEdit(), Qt::Key_F1);
        auto* help = qobject_cast<HelpWindow*>(QApplication::activeModalWidget());
        QVERIFY(help != nullptr);
        QCOMPARE(help->findChild<QTextBrowser*>()->source().fileName(),
                 QStringLiteral("calculator.html"));
        help->close();
        ButtonNamed(calc, "Отменить")->click();
    });
    window->Execute(MainCommand::Calculator);
    QVERIFY(ui.notices().empty());
    // The expressions typed are there at the next opening.
    Tqclc again(ws);
    again.Open();
    QCOMPARE(QString::fromStdString(again.expression().text), QStringLiteral("x(i,j)+(1)"));
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

// The dialogs as the running program opens them, through the real dialogs of
// the main window: the formula set the transformations ask for with its
// editor, then the surface dialog, whose surface opens a graph window.
void FormulaViewsTest::fromTheMainWindowTheDialogsShowAndTheSurfaceDraws() {
    QtUserDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, programFolder());
    ui.SetParent(window.get());
    window->resize(1000, 700);
    window->show();
    PutSheetText(ws, "вес", 1, -1);
    PutSheetText(ws, "3", 1, 0);

    bool editorShown = false;
    WhenShown<FormulaSetView>([&editorShown](FormulaSetView& set) {
        Shot(set, "main_formula_set");
        WhenShown<FormulaEditorView>([&editorShown](FormulaEditorView& editor) {
            editorShown = editor.variables()->count() > 2;  // "i", "x(?)", вес
            Shot(editor, "main_formula_editor");
            ButtonNamed(editor, "Отменить")->click();
        });
        set.Edit();
        ButtonNamed(set, "Отменить")->click();
    });
    ActiveFormula formula;
    QCOMPARE(ChooseFormula(ws, 1, formula), 0);
    QVERIFY(editorShown);

    WhenShown<SurfaceView>([](SurfaceView& surface) {
        surface.formula()->setText(QStringLiteral("SIN(x)*COS(y)"));
        for (int i = 0; i < 5; ++i)
            surface.field(i)->setText(QStringList{"-3", "3", "-3", "3", "40"}[i]);
        Shot(surface, "main_surface_dialog");
        ButtonNamed(surface, "Утвердить")->click();
    });
    QVERIFY(window->session().FunctionSurface());
    QVERIFY(window->graphWindow(1) != nullptr);
    QCOMPARE(ws.VarLength[1], 40 * 40 - 1);
    QTest::qWait(50);
    Shot(*window, "main_surface_graph");
}

QTEST_MAIN(FormulaViewsTest)
#include "formula_views_test.moc"
