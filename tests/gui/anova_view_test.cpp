// The analysis of variance in the real window, without a display: the
// choice dialogs of methods 11 and 12, the dialog "Сравнение двух групп",
// and method 11 from F9 with Scheffé's comparisons and a contrast. With
// DALVEX_SHOT_DIR set the dialogs and the report are saved as pictures.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/sheet_bridge.h"
#include "gui/form_dialog_view.h"
#include "gui/main_window.h"
#include "gui/statistics_menu_view.h"
#include "gui/variable_dialog_view.h"
#include "stats/anova_dialogs.h"
#include "support/window_run.h"
#include "support/window_shot.h"

using namespace dalvex;

class AnovaViewTest : public QObject {
    Q_OBJECT

  private slots:
    void choiceDialogsShowTheirDesigns();
    void contrastDialogMovesGroupsIntoTwoSets();
    void oneFactorRunsFromF9WithComparisons();

  private:
    QTemporaryDir folder;
};

namespace {

int ButtonsWith(QWidget& view, const QString& part) {
    int count = 0;
    for (QPushButton* button : view.findChildren<QPushButton*>())
        if (button->text().contains(part))
            ++count;
    return count;
}

void FillGroups(Workspace& ws) {
    const std::vector<std::vector<double>> groups = {
        {4.2, 4.8, 5.1, 5.5, 4.9, 4.4}, {5.9, 6.3, 5.7, 6.8, 6.1}, {5.0, 5.2, 4.7, 5.3, 5.6, 5.1}};
    for (int g = 0; g < 3; ++g) {
        PutSheetText(ws, "группа" + std::to_string(g + 1), g + 1, -1);
        for (std::size_t i = 0; i < groups[g].size(); ++i)
            PutSheetValue(ws, g + 1, static_cast<int>(i), groups[g][i]);
    }
}

}  // namespace

void AnovaViewTest::choiceDialogsShowTheirDesigns() {
    FormDialogView one(OneFactorChoiceForm());
    one.show();
    QCOMPARE(ButtonsWith(one, "=параметрический"), 1);
    QCOMPARE(ButtonsWith(one, "=Крускал-Уоллиса"), 1);
    QCOMPARE(ButtonsWith(one, "=Фридмана"), 1);
    Shot(one, "anova_one_factor_choice");
    one.reject();

    FormDialogView two(TwoFactorChoiceForm());
    two.show();
    QCOMPARE(ButtonsWith(two, "=неповторяемый"), 1);
    QCOMPARE(ButtonsWith(two, "=с группировкой"), 1);
    Shot(two, "anova_two_factor_choice");
    two.reject();
}

void AnovaViewTest::contrastDialogMovesGroupsIntoTwoSets() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    FillGroups(ws);
    GroupContrastDialog dialog(ws, {1, 2, 3});
    VariableDialogView view(dialog);
    view.show();
    view.list(0)->item(0)->setSelected(true);
    view.list(0)->item(2)->setSelected(true);
    view.button(VariableAction::ChooseX)->click();
    view.list(0)->item(0)->setSelected(true);
    view.button(VariableAction::ChooseY)->click();
    QCOMPARE(view.list(1)->count(), 2);
    QCOMPARE(view.list(2)->count(), 1);
    Shot(view, "anova_contrast_dialog");
    view.button(VariableAction::Confirm)->click();
    QVERIFY(dialog.closed());
    QCOMPARE(dialog.set1(), (std::vector<int>{0, 2}));
    QCOMPARE(dialog.set2(), (std::vector<int>{1}));
}

void AnovaViewTest::oneFactorRunsFromF9WithComparisons() {
    ScriptedDialogs ui;
    Workspace ws(ui);
    auto window = std::make_unique<MainWindow>(ws, folder.path().toStdString() + "/");
    window->resize(1000, 700);
    window->show();
    FillGroups(ws);
    ui.ExpectVariables("Анализ переменных",
                       {{VariableAction::All, {}}, {VariableAction::Confirm, {}}});
    ui.ExpectForm("Метод", 1);
    ui.ExpectVariables(ContrastCaption, {{VariableAction::ChooseX, {1, 3}},
                                         {VariableAction::ChooseY, {2}},
                                         {VariableAction::Confirm, {}}});
    ui.ExpectVariables(ContrastCaption, {{VariableAction::Cancel, {}}});
    RunFromF9(*window, 11);
    QVERIFY(ui.scriptDone());
    QVERIFY(ui.notices().empty());
    const std::vector<std::string> lines = window->results()->lines();
    QVERIFY(std::find(lines.begin(), lines.end(), ScheffeTitle) != lines.end());
    QVERIFY(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("группа1,группа3-группа2: ", 0) == 0;
    }));
    QTest::qWait(50);
    Shot(*window, "anova_one_factor_report");
    ui.ExpectYesNo("Закончить сеанс", true);
    window->close();
}

QTEST_MAIN(AnovaViewTest)
#include "anova_view_test.moc"
