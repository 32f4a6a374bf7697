#include "batch/batch_answers.h"

#include <algorithm>
#include <array>

#include "core/text.h"

namespace dalvex {

namespace {

constexpr std::array<const char*, 11> AnswerWords = {
    "yes",       "no",       "cancel",     "form",    "file",  "graph",
    "variables", "variable", "regression", "formula", "groups"};

}  // namespace

bool IsAnswerWord(const std::string& word) {
    return std::find(AnswerWords.begin(), AnswerWords.end(), word) != AnswerWords.end();
}

BatchAnswers::BatchAnswers(BatchScript& script, std::ostream& messages, std::string baseFolder,
                           bool (*isCommand)(const std::string& word))
    : script_(script),
      messages_(messages),
      baseFolder_(std::move(baseFolder)),
      isCommand_(isCommand) {}

std::string BatchAnswers::PathOf(const std::string& name) const {
    if (name.empty() || name.front() == '/')
        return name;
    return baseFolder_ + name;
}

void BatchAnswers::Notice(const std::string& text) {
    ScriptedDialogs::Notice(text);
    messages_ << "Сообщение: " << PlainLines(text) << '\n';
}

void BatchAnswers::FieldRefused(const std::string& label, const std::string& notice) {
    const ScriptedAnswer& form = lastFormAnswer();
    if (form.origin.empty()) {
        Notice(notice);
        return;
    }
    std::string message = form.origin + ": форма " + Quoted(lastFormCaption()) +
                          " не приняла поле " + Quoted(label) + " — " + PlainLines(notice);
    // A mistyped label leaves its text to a field by position.
    for (const std::string& text : lastFormUnlabelled())
        message += "; поля " + Quoted(Trim(text.substr(0, text.find('=')))) +
                   " у формы нет, и текст " + Quoted(text) + " взят по порядку";
    throw BatchScriptError(message);
}

std::string BatchAnswers::FittingAnswer(DialogKind kind,
                                        std::optional<VariableDialogKind> variableKind) const {
    switch (kind) {
        case DialogKind::YesNo:
            return "на вопрос отвечают yes или no";
        case DialogKind::Form:
            return "на форму отвечают form <кнопка> [тексты полей] или cancel";
        case DialogKind::File:
            return "на выбор файла отвечают file <имя файла> или cancel";
        case DialogKind::GraphPrompt:
            return "на этот запрос отвечают graph keep или graph discard";
        case DialogKind::Formula:
            return "на диалог формул отвечают formula <номер строки> [формула] (поверхность: "
                   "formula 1 <формула> Xmin Xmax Ymin Ymax nX) или cancel";
        case DialogKind::Variables:
            break;
    }
    switch (variableKind.value_or(VariableDialogKind::List)) {
        case VariableDialogKind::List:
            return "здесь отвечают variables <переменные>, variables all, variables restore, "
                   "variables pairs или cancel";
        case VariableDialogKind::Single:
            return "здесь отвечают variable <переменная> или cancel";
        case VariableDialogKind::Groups:
            return "здесь отвечают groups <группы 1> - <группы 2> или cancel";
        default:
            return "здесь отвечают regression x <переменные> y <переменная>, regression all, "
                   "regression restore или cancel";
    }
}

std::optional<ScriptedAnswer> BatchAnswers::Refill(DialogKind kind, const AskedDialog& asked,
                                                   std::optional<VariableDialogKind> variableKind,
                                                   std::string& whyNone) {
    if (script_.atEnd()) {
        whyNone = "сценарий кончился";
        return std::nullopt;
    }
    if (isCommand_(script_.Peek().words.front())) {
        whyNone = Where(script_.Peek()) + " — это команда";
        return std::nullopt;
    }
    return AnswerOf(script_.Take(), kind, asked, variableKind);
}

ScriptedAnswer BatchAnswers::AnswerOf(const ScriptLine& line, DialogKind kind,
                                      const AskedDialog& asked,
                                      std::optional<VariableDialogKind> variableKind) const {
    const std::vector<std::string>& words = line.words;
    const std::string& first = words.front();
    const std::size_t n = words.size();
    auto refuse = [&](const std::string& why) -> ScriptedAnswer {
        throw BatchScriptError(Where(line) + " не подходит к " + asked.to + ": " + why);
    };

    ScriptedAnswer answer;
    answer.origin = Where(line);
    if (n == 1 && (first == "yes" || first == "no")) {
        answer.kind = DialogKind::YesNo;
        answer.yes = first == "yes";
    } else if (n == 1 && first == "cancel") {
        answer.cancel = true;
    } else if (first == "form" && n >= 2 && WholeNumber(words[1])) {
        answer.kind = DialogKind::Form;
        answer.button = *WholeNumber(words[1]);
        answer.texts.assign(words.begin() + 2, words.end());
        answer.labelled = true;
    } else if (first == "formula" && n >= 2 && WholeNumber(words[1])) {
        answer.kind = DialogKind::Formula;
        answer.button = *WholeNumber(words[1]);
        answer.texts.assign(words.begin() + 2, words.end());
    } else if (first == "file" && n == 2) {
        answer.kind = DialogKind::File;
        answer.path = PathOf(words[1]);
        answer.keepComment = true;
    } else if (first == "graph" && n == 2 && (words[1] == "keep" || words[1] == "discard")) {
        answer.kind = DialogKind::GraphPrompt;
        answer.yes = words[1] == "keep";
    } else if (first == "variables" && n >= 2) {
        answer.kind = DialogKind::Variables;
        answer.variableKind = VariableDialogKind::List;
        if (n == 2 && words[1] == "all")
            answer.presses = {Press(VariableAction::All)};
        else if (n == 2 && words[1] == "restore")
            answer.presses = {Press(VariableAction::Restore)};
        else if (n == 2 && words[1] == "pairs")
            // The file dialog that follows takes the script's next line.
            answer.presses = {Press(VariableAction::ReadPairs)};
        else
            for (std::size_t i = 1; i < n; ++i)
                answer.presses.push_back(Press(VariableAction::Include, {words[i]}));
        answer.presses.push_back(ConfirmIfOpen());
    } else if (first == "variable" && n == 2) {
        answer.kind = DialogKind::Variables;
        answer.variableKind = VariableDialogKind::Single;
        answer.presses = {Press(VariableAction::Include, {words[1]})};
    } else if (first == "regression" && n >= 2) {
        answer.kind = DialogKind::Variables;
        answer.variableKind = VariableDialogKind::Regression;
        if (n == 2 && (words[1] == "all" || words[1] == "restore")) {
            answer.presses = {
                Press(words[1] == "all" ? VariableAction::All : VariableAction::Restore)};
        } else {
            std::optional<VariableAction> action;
            for (std::size_t i = 1; i < n; ++i) {
                if (words[i] == "x" || words[i] == "y")
                    action = words[i] == "x" ? VariableAction::ChooseX : VariableAction::ChooseY;
                else if (!action)
                    return refuse("переменные перечисляются после x и y");
                else
                    answer.presses.push_back(Press(*action, {words[i]}));
            }
        }
        answer.presses.push_back(ConfirmIfOpen());
    } else if (first == "groups" && n >= 2) {
        // The groups before "-" form the first set, those after it the second.
        answer.kind = DialogKind::Variables;
        answer.variableKind = VariableDialogKind::Groups;
        VariableAction action = VariableAction::ChooseX;
        for (std::size_t i = 1; i < n; ++i) {
            if (words[i] == "-")
                action = VariableAction::ChooseY;
            else
                answer.presses.push_back(Press(action, {words[i]}));
        }
        answer.presses.push_back(ConfirmIfOpen());
    } else if (IsAnswerWord(first)) {
        return refuse(FittingAnswer(kind, variableKind));
    } else {
        return refuse(Quoted(first) + " — не команда и не ответ; " +
                      FittingAnswer(kind, variableKind));
    }
    return answer;
}

}  // namespace dalvex
