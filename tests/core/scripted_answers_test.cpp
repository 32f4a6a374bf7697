// The interpreter of scripted answers: forms answered by field labels as
// well as by position, and variable dialogs found by their kind.
#include <gtest/gtest.h>

#include "core/user_dialogs.h"

namespace dalvex {
namespace {

FormDialog TwoGroupForm() {
    FormDialog form;
    form.caption = "Параметры";
    form.Group("Модель")
        .Field("Порядок=", "2")
        .Field("Шаг=", "1")
        .Group("Вывод")
        .Check("Остатки", false)
        .Field("Шаг:", "9")  // the same label as above, once the "=" is set aside
        .Button("Утвердить", 1);
    return form;
}

ScriptedAnswer FormAnswerOf(std::vector<std::string> texts, bool labelled = true) {
    ScriptedAnswer answer;
    answer.kind = DialogKind::Form;
    answer.button = 1;
    answer.texts = std::move(texts);
    answer.labelled = labelled;
    answer.origin = "строка 7";
    return answer;
}

TEST(ScriptedAnswersTest, FormFieldsByLabelOrByPosition) {
    struct Case {
        std::vector<std::string> texts;
        bool labelled;
        std::vector<std::string> values;  // empty: refused
        std::string why;                  // a part of the refusal
    };
    const Case cases[] = {
        {{"5", "3"}, true, {"5", "3", "0", "9"}, ""},
        {{"остатки=1", "ПОРЯДОК=4"}, true, {"4", "1", "1", "9"}, ""},
        {{"7", "Остатки=1"}, true, {"7", "1", "1", "9"}, ""},
        // A text whose left part names no field is a text like any other.
        {{"a=b"}, true, {"a=b", "1", "0", "9"}, ""},
        // Without labels (as tests queue them) every text goes by position.
        {{"Остатки=1"}, false, {"Остатки=1", "1", "0", "9"}, ""},
        {{"Порядок=4", "5"}, true, {}, "после полей, названных по имени"},
        {{"Порядок=4", "Окно=5"}, true, {}, "нет поля «Окно»"},
        {{"Шаг=4"}, true, {}, "два поля «Шаг»"},
        {{"1", "2", "3", "4", "5"}, true, {}, "текстов 5, а полей 4"},
    };
    for (const Case& c : cases) {
        ScriptedDialogs ui;
        ui.Push(FormAnswerOf(c.texts, c.labelled));
        const std::string name = ::testing::PrintToString(c.texts);
        if (c.values.empty()) {
            try {
                ui.Form(TwoGroupForm());
                ADD_FAILURE() << name << ": accepted";
            } catch (const ScriptMismatch& e) {
                const std::string message = e.what();
                EXPECT_NE(message.find(c.why), std::string::npos) << name << ": " << message;
                EXPECT_EQ(message.find("строка 7 не подходит к форме «Параметры»"), 0u) << message;
            }
            continue;
        }
        const FormAnswer answer = ui.Form(TwoGroupForm());
        EXPECT_EQ(answer.button, 1) << name;
        EXPECT_EQ(answer.values, c.values) << name;
    }
}

// A dialog with a caption no answer could recognise: only its kind tells
// what it is.
class OneListDialog : public VariableDialog {
  public:
    explicit OneListDialog(VariableDialogKind kind) : kind_(kind) {
        lists_ = {{"", "", {"рост                     1", "вес                      2"}},
                  {"", "", {}}};
    }
    VariableDialogKind kind() const override { return kind_; }
    std::string caption() const override { return "Выбор"; }
    std::vector<std::string> texts() const override { return {}; }
    const std::vector<VariableList>& lists() const override { return lists_; }
    std::vector<VariableButton> buttons() const override { return {}; }
    void Press(VariableAction action, const std::vector<std::vector<int>>& selected) override {
        if (action == VariableAction::Confirm || action == VariableAction::Cancel) {
            closed_ = true;
            return;
        }
        for (auto it = selected[0].rbegin(); it != selected[0].rend(); ++it) {
            lists_[1].items.push_back(lists_[0].items[*it]);
            lists_[0].items.erase(lists_[0].items.begin() + *it);
        }
    }
    void DoubleClick(int, int) override {}
    bool closed() const override { return closed_; }

  private:
    VariableDialogKind kind_;
    std::vector<VariableList> lists_;
    bool closed_ = false;
};

ScriptedAnswer ChooseByName(VariableDialogKind kind, const std::string& name) {
    ScriptedAnswer answer;
    answer.kind = DialogKind::Variables;
    answer.variableKind = kind;
    VariablePress include;
    include.action = VariableAction::Include;
    include.items = {name};
    include.mustTake = true;
    VariablePress confirm;
    confirm.onlyIfOpen = true;
    answer.presses = {include, confirm};
    return answer;
}

TEST(ScriptedAnswersTest, VariableDialogsAreFoundByTheirKind) {
    ScriptedDialogs ui;
    ui.Push(ChooseByName(VariableDialogKind::List, "вес"));
    OneListDialog list(VariableDialogKind::List);
    ui.Variables(list);
    EXPECT_TRUE(list.closed());
    EXPECT_EQ(list.lists()[1].items.size(), 1u);

    ui.Push(ChooseByName(VariableDialogKind::Regression, "вес"));
    OneListDialog single(VariableDialogKind::Single);
    EXPECT_THROW(ui.Variables(single), ScriptMismatch);

    // A cancel fits any dialog that can be cancelled, but not a question.
    ScriptedAnswer cancel;
    cancel.cancel = true;
    ui.Push(cancel);
    ui.Variables(single);
    EXPECT_TRUE(single.closed());
    ui.Push(cancel);
    EXPECT_THROW(ui.YesNo("Выдать график?"), ScriptMismatch);
}

}  // namespace
}  // namespace dalvex
