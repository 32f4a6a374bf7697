// The interpreter of scripted answers behind ScriptedDialogs: one queue of
// typed answers for the tests and the batch runner, and one set of rules
// for whether an answer fits the dialog asked.
#include <algorithm>
#include <charconv>

#include "core/text.h"
#include "core/user_dialogs.h"

namespace dalvex {

// ---------------------------------------------------------------------------
// The texts of scripts.

std::string ScriptedDialogs::Quoted(const std::string& text) {
    return "«" + text + "»";
}

std::string ScriptedDialogs::PlainLines(const std::string& text) {
    std::string plain;
    for (char c : text)
        if (c != '\r')
            plain += c;
    return plain;
}

std::optional<int> ScriptedDialogs::WholeNumber(const std::string& word) {
    int value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

VariablePress ScriptedDialogs::Press(VariableAction action, std::vector<std::string> items) {
    VariablePress press;
    press.action = action;
    press.items = std::move(items);
    press.mustTake = !press.items.empty();
    return press;
}

VariablePress ScriptedDialogs::ConfirmIfOpen() {
    VariablePress press = Press(VariableAction::Confirm);
    press.onlyIfOpen = true;
    return press;
}

namespace {

const char* KindName(VariableDialogKind kind) {
    switch (kind) {
        case VariableDialogKind::List:
            return "списка переменных";
        case VariableDialogKind::Single:
            return "одной переменной";
        case VariableDialogKind::Groups:
            return "двух групп";
        default:
            return "переменных регрессии";
    }
}

// A test's answer named by what it expects.
std::string Describe(const ScriptedAnswer& answer) {
    if (!answer.origin.empty())
        return answer.origin;
    if (answer.cancel)
        return "отмена диалога";
    switch (answer.kind) {
        case DialogKind::YesNo:
            return "ответ на вопрос " + ScriptedDialogs::Quoted(answer.expect);
        case DialogKind::Form:
            return "ответ на форму " + ScriptedDialogs::Quoted(answer.expect);
        case DialogKind::File:
            return std::string("ответ на выбор файла") + (answer.mode == 0 ? " для чтения"
                                                          : answer.mode == 1 ? " для записи"
                                                                             : "");
        case DialogKind::GraphPrompt:
            return "ответ на запрос " + ScriptedDialogs::Quoted("ПОСМОТРИТЕ ГРАФИК");
        case DialogKind::Variables:
            if (!answer.expect.empty())
                return "ответ на диалог " + ScriptedDialogs::Quoted(answer.expect);
            if (answer.variableKind)
                return std::string("ответ на диалог ") + KindName(*answer.variableKind);
            return "ответ на диалог переменных";
        case DialogKind::Formula:
            return "ответ на диалог формул " + ScriptedDialogs::Quoted(answer.expect);
    }
    return "ответ";
}

// A label compared as the person reads it: without the closing "=" or ":"
// and without regard to case.
std::string LabelKey(const std::string& label) {
    std::string key = Trim(label);
    while (!key.empty() && (key.back() == '=' || key.back() == ':'))
        key.pop_back();
    return LowerCase(Trim(key));
}

// The field a label names: its index, -1 for none, -2 when two fields share it.
int FieldNamed(const FormDialog& form, const std::string& label) {
    const std::string key = LabelKey(label);
    int found = -1;
    for (int i = 0; i < form.FieldCount(); ++i) {
        if (LabelKey(form.FieldAt(i).label) != key)
            continue;
        if (found >= 0)
            return -2;
        found = i;
    }
    return key.empty() ? -1 : found;
}

const char* FileModeCaption(int mode) {
    return mode == 0 ? "Чтение файла" : "Запись файла";
}

}  // namespace

// ---------------------------------------------------------------------------
// The queue.

void ScriptedDialogs::Push(ScriptedAnswer answer) {
    queue_.push_back(std::move(answer));
}

ScriptedDialogs& ScriptedDialogs::ExpectYesNo(std::string textPart, bool answer) {
    ScriptedAnswer a;
    a.kind = DialogKind::YesNo;
    a.expect = std::move(textPart);
    a.yes = answer;
    Push(std::move(a));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectForm(std::string caption, int button,
                                             std::vector<std::string> values) {
    ScriptedAnswer a;
    a.kind = DialogKind::Form;
    a.expect = std::move(caption);
    a.button = button;
    a.texts = std::move(values);
    Push(std::move(a));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectFile(int mode, std::string path, std::string comment,
                                             int filterIndex) {
    ScriptedAnswer a;
    a.kind = DialogKind::File;
    a.mode = mode;
    a.path = std::move(path);
    a.comment = std::move(comment);
    a.filterIndex = filterIndex;
    Push(std::move(a));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectGraphPrompt(bool keep) {
    ScriptedAnswer a;
    a.kind = DialogKind::GraphPrompt;
    a.yes = keep;
    Push(std::move(a));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectFormula(std::string caption, int choice,
                                                std::vector<std::string> texts) {
    ScriptedAnswer a;
    a.kind = DialogKind::Formula;
    a.expect = std::move(caption);
    a.button = choice;
    a.texts = std::move(texts);
    Push(std::move(a));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectVariables(std::string caption,
                                                  std::vector<VariableStep> steps) {
    ScriptedAnswer a;
    a.kind = DialogKind::Variables;
    a.expect = std::move(caption);
    for (const VariableStep& step : steps) {
        VariablePress press;
        press.action = step.action;
        for (int column : step.columns)
            press.items.push_back(std::to_string(column));
        a.presses.push_back(std::move(press));
    }
    Push(std::move(a));
    return *this;
}

std::optional<ScriptedAnswer> ScriptedDialogs::Refill(DialogKind, const AskedDialog&,
                                                      std::optional<VariableDialogKind>,
                                                      std::string& whyNone) {
    whyNone = "ответов больше нет";
    return std::nullopt;
}

std::string ScriptedDialogs::FittingAnswer(DialogKind kind,
                                           std::optional<VariableDialogKind> variableKind) const {
    switch (kind) {
        case DialogKind::YesNo:
            return "нужен ответ на вопрос";
        case DialogKind::Form:
            return "нужен ответ на форму";
        case DialogKind::File:
            return "нужен ответ на выбор файла";
        case DialogKind::GraphPrompt:
            return "нужен ответ на запрос графика";
        case DialogKind::Variables:
            return std::string("нужен ответ на диалог ") +
                   KindName(variableKind.value_or(VariableDialogKind::List));
        case DialogKind::Formula:
            return "нужен ответ на диалог формул";
    }
    return {};
}

void ScriptedDialogs::Refuse(const ScriptedAnswer& answer, const AskedDialog& asked,
                             const std::string& why) const {
    throw ScriptMismatch(Describe(answer) + " не подходит к " + asked.to + ": " + why);
}

ScriptedAnswer ScriptedDialogs::Take(DialogKind kind, const AskedDialog& asked, bool cancellable,
                                     std::optional<VariableDialogKind> variableKind) {
    if (queue_.empty()) {
        std::string whyNone;
        std::optional<ScriptedAnswer> next = Refill(kind, asked, variableKind, whyNone);
        if (!next)
            throw ScriptMismatch(whyNone + ", а " + asked.subject + " ждёт ответа");
        queue_.push_back(std::move(*next));
    }
    ScriptedAnswer answer = std::move(queue_.front());
    queue_.pop_front();
    const bool fits = answer.cancel
                          ? cancellable
                          : answer.kind == kind && (!variableKind || !answer.variableKind ||
                                                    *answer.variableKind == *variableKind);
    if (!fits)
        Refuse(answer, asked, FittingAnswer(kind, variableKind));
    return answer;
}

void ScriptedDialogs::ClearLog() {
    notices_.clear();
    questions_.clear();
    forms_.clear();
    fileRequests_.clear();
    graphPrompts_ = 0;
}

// ---------------------------------------------------------------------------
// The dialogs.

void ScriptedDialogs::Notice(const std::string& text) {
    notices_.push_back(text);
}

void ScriptedDialogs::FieldRefused(const std::string& label, const std::string& notice) {
    (void)label;
    notices_.push_back(notice);
}

bool ScriptedDialogs::YesNo(const std::string& text) {
    questions_.push_back(text);
    const AskedDialog asked{"вопросу " + Quoted(PlainLines(text)),
                            "вопрос " + Quoted(PlainLines(text))};
    const ScriptedAnswer answer = Take(DialogKind::YesNo, asked, false);
    if (!answer.expect.empty() && text.find(answer.expect) == std::string::npos)
        Refuse(answer, asked, "задан другой вопрос");
    return answer.yes;
}

FormAnswer ScriptedDialogs::Form(const FormDialog& form) {
    forms_.push_back(form);
    const AskedDialog asked{"форме " + Quoted(form.caption), "форма " + Quoted(form.caption)};
    const ScriptedAnswer answer = Take(DialogKind::Form, asked, true);
    lastForm_ = answer;
    lastFormCaption_ = form.caption;
    lastFormUnlabelled_.clear();
    if (answer.cancel)
        return {0, form.Values()};
    if (!answer.expect.empty() && answer.expect != form.caption)
        Refuse(answer, asked, "показана другая форма");
    const bool known = answer.button == 0 ||
                       std::any_of(form.buttons.begin(), form.buttons.end(),
                                   [&](const FormButton& b) { return b.answer == answer.button; });
    if (!known)
        Refuse(answer, asked, "у формы нет кнопки " + std::to_string(answer.button));
    const bool disabled =
        std::any_of(form.buttons.begin(), form.buttons.end(),
                    [&](const FormButton& b) { return b.answer == answer.button && !b.enabled; });
    if (disabled)
        Refuse(answer, asked, "кнопка " + std::to_string(answer.button) + " недоступна");

    FormDialog answered = form;
    int position = 0;
    bool named = false;
    for (const std::string& text : answer.texts) {
        const std::size_t equals = answer.labelled ? text.find('=') : std::string::npos;
        if (equals != std::string::npos) {
            const std::string label = text.substr(0, equals);
            const int field = FieldNamed(form, label);
            if (field == -2)
                Refuse(answer, asked, "у формы два поля " + Quoted(Trim(label)));
            if (field >= 0) {
                answered.FieldAt(field).value = text.substr(equals + 1);
                named = true;
                continue;
            }
            if (named)
                Refuse(answer, asked, "у формы нет поля " + Quoted(Trim(label)));
            lastFormUnlabelled_.push_back(text);
        }
        // Texts by position come first: after a field named by its label
        // a position would no longer say which field is meant.
        if (named)
            Refuse(answer, asked,
                   "текст " + Quoted(text) + " стоит после полей, названных по имени");
        if (position >= form.FieldCount())
            Refuse(answer, asked,
                   "текстов " + std::to_string(answer.texts.size()) + ", а полей " +
                       std::to_string(form.FieldCount()));
        answered.FieldAt(position++).value = text;
    }
    return {answer.button, answered.Values()};
}

FileChoice ScriptedDialogs::ChooseFile(const FileRequest& request) {
    fileRequests_.push_back(request);
    const std::string caption = Quoted(FileModeCaption(request.mode));
    const AskedDialog asked{"диалогу выбора файла " + caption, "диалог выбора файла " + caption};
    const ScriptedAnswer answer = Take(DialogKind::File, asked, true);
    FileChoice choice;
    choice.comment = request.comment;
    choice.filterIndex = request.filterIndex;
    if (answer.cancel)
        return choice;
    if (answer.mode >= 0 && answer.mode != request.mode)
        Refuse(answer, asked,
               std::string("ответ дан для диалога ") + Quoted(FileModeCaption(answer.mode)));
    choice.chosen = !answer.path.empty();
    choice.path = answer.path;
    if (!answer.keepComment)
        choice.comment = answer.comment;
    if (answer.filterIndex >= 0)
        choice.filterIndex = answer.filterIndex;
    return choice;
}

bool ScriptedDialogs::GraphPrompt(bool offerDiscard) {
    ++graphPrompts_;
    const AskedDialog asked{"запросу " + Quoted("ПОСМОТРИТЕ ГРАФИК"),
                            "запрос " + Quoted("ПОСМОТРИТЕ ГРАФИК")};
    const ScriptedAnswer answer = Take(DialogKind::GraphPrompt, asked, false);
    if (!answer.yes && !offerDiscard)
        Refuse(answer, asked, "этот график можно только оставить («Оставить»)");
    return answer.yes;
}

void UserDialogs::Variables(VariableDialog& dialog) {
    dialog.Press(VariableAction::Cancel, {});
}

namespace {

// The index in `list` of the item a word names: its column number, or the
// variable's name as the list shows it.
std::optional<int> FindItem(const VariableList& list, const std::string& word) {
    const auto column = ScriptedDialogs::WholeNumber(word);
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const std::string& item = list.items[i];
        if (column ? ItemColumn(item) == column
                   : Trim(CharCut(item, VariableItemNameChars)) == word)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

}  // namespace

void ScriptedDialogs::Variables(VariableDialog& dialog) {
    const AskedDialog asked{"диалогу " + Quoted(dialog.caption()),
                            "диалог " + Quoted(dialog.caption())};
    const ScriptedAnswer answer = Take(DialogKind::Variables, asked, true, dialog.kind());
    if (answer.cancel) {
        dialog.Press(VariableAction::Cancel, {});
        return;
    }
    if (!answer.expect.empty() && answer.expect != dialog.caption())
        Refuse(answer, asked, "показан другой диалог");
    for (const VariablePress& press : answer.presses) {
        if (dialog.closed()) {
            if (press.onlyIfOpen)
                continue;
            Refuse(answer, asked, "диалог уже закрылся, а нажатия не кончились");
        }
        // The presses that choose take their items from the first list,
        // the one that gives back from the chosen lists.
        const auto& lists = dialog.lists();
        const bool fromChosen = press.action == VariableAction::Exclude;
        const std::size_t first = fromChosen ? 1 : 0;
        const std::size_t end = fromChosen ? lists.size() : std::min<std::size_t>(1, lists.size());
        std::vector<std::vector<int>> selected(lists.size());
        for (const std::string& word : press.items) {
            bool found = false;
            for (std::size_t l = first; l < end && !found; ++l) {
                if (const auto index = FindItem(lists[l], word)) {
                    selected[l].push_back(*index);
                    found = true;
                }
            }
            if (!found)
                Refuse(answer, asked,
                       std::string("среди ") + (fromChosen ? "выбранных" : "предложенных") +
                           " переменных нет " + Quoted(word));
        }
        const std::size_t before = lists.empty() ? 0 : lists[0].items.size();
        dialog.Press(press.action, selected);
        if (press.mustTake && !dialog.closed() && dialog.lists()[0].items.size() == before)
            Refuse(answer, asked, "диалог не принял переменную " + Quoted(press.items.front()));
    }
    if (!dialog.closed())
        Refuse(answer, asked, "диалог остался открытым");
}

void UserDialogs::Formula(FormulaDialog& dialog) {
    dialog.Cancel();
}

void ScriptedDialogs::Formula(FormulaDialog& dialog) {
    const AskedDialog asked{"диалогу " + Quoted(dialog.caption()),
                            "диалог " + Quoted(dialog.caption())};
    const ScriptedAnswer answer = Take(DialogKind::Formula, asked, true);
    if (answer.cancel) {
        dialog.Cancel();
        return;
    }
    if (!answer.expect.empty() && answer.expect != dialog.caption())
        Refuse(answer, asked, "показан другой диалог");
    const std::string why = dialog.Answer(answer.button, answer.texts);
    if (!why.empty())
        Refuse(answer, asked, why);
}

}  // namespace dalvex
