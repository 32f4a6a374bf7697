#include "batch/batch_dialogs.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "core/text.h"

namespace dalvex {

namespace {

constexpr std::array<const char*, 7> CommandWords = {"open",  "method", "save",  "digits",
                                                     "level", "folder", "images"};

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

// Texts of the program keep their CR LF line breaks; a terminal wants plain ones.
std::string PlainLines(const std::string& text) {
    std::string plain;
    for (char c : text)
        if (c != '\r')
            plain += c;
    return plain;
}

std::optional<int> WholeNumber(const std::string& word) {
    int value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// The index in `list` of the variable a word names: its column number, or
// its name as the list shows it.
std::optional<int> FindVariable(const VariableList& list, const std::string& word) {
    const auto column = WholeNumber(word);
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const std::string& item = list.items[i];
        if (column ? ItemColumn(item) == column
                   : Trim(CharCut(item, VariableItemNameChars)) == word)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

}  // namespace

bool IsCommandWord(const std::string& word) {
    return std::find(CommandWords.begin(), CommandWords.end(), word) != CommandWords.end();
}

BatchDialogs::BatchDialogs(BatchScript& script, std::ostream& messages, std::string baseFolder)
    : script_(script), messages_(messages), baseFolder_(std::move(baseFolder)) {}

std::string BatchDialogs::PathOf(const std::string& name) const {
    if (name.empty() || name.front() == '/')
        return name;
    return baseFolder_ + name;
}

void BatchDialogs::Notice(const std::string& text) {
    messages_ << "Сообщение: " << PlainLines(text) << '\n';
}

const ScriptLine& BatchDialogs::Next(const std::string& asked) {
    if (script_.atEnd())
        throw BatchScriptError("сценарий кончился, а ответа ждёт " + asked);
    const ScriptLine& line = script_.Peek();
    if (IsCommandWord(line.words.front()))
        Refuse(line, asked, "это команда, а нужен ответ");
    return script_.Take();
}

void BatchDialogs::Refuse(const ScriptLine& line, const std::string& asked,
                          const std::string& why) const {
    throw BatchScriptError(Where(line) + " не подходит к " + asked + ": " + why);
}

bool BatchDialogs::YesNo(const std::string& text) {
    const std::string asked = "вопросу " + Quoted(PlainLines(text));
    const ScriptLine& line = Next(asked);
    if (line.words.size() == 1 && line.words[0] == "yes")
        return true;
    if (line.words.size() == 1 && line.words[0] == "no")
        return false;
    Refuse(line, asked, "ответ на вопрос - yes или no");
}

FormAnswer BatchDialogs::Form(const FormDialog& form) {
    const std::string asked = "форме " + Quoted(form.caption);
    const ScriptLine& line = Next(asked);
    if (line.words.size() == 1 && line.words[0] == "cancel")
        return {0, form.Values()};
    if (line.words[0] != "form" || line.words.size() < 2)
        Refuse(line, asked, "ответ на форму - form <кнопка> [тексты полей] или cancel");
    const auto button = WholeNumber(line.words[1]);
    const bool known =
        button &&
        (*button == 0 || std::any_of(form.buttons.begin(), form.buttons.end(),
                                     [&](const FormButton& b) { return b.answer == *button; }));
    if (!known)
        Refuse(line, asked, "у формы нет кнопки " + line.words[1]);
    const std::vector<std::string> texts(line.words.begin() + 2, line.words.end());
    if (static_cast<int>(texts.size()) > form.FieldCount())
        Refuse(line, asked,
               "текстов " + std::to_string(texts.size()) + ", а полей " +
                   std::to_string(form.FieldCount()));
    FormDialog answered = form;
    answered.SetValues(texts);
    return {*button, answered.Values()};
}

FileChoice BatchDialogs::ChooseFile(const FileRequest& request) {
    const std::string asked =
        "выбору файла " + Quoted(request.mode == 0 ? "Чтение файла" : "Запись файла");
    const ScriptLine& line = Next(asked);
    FileChoice choice;
    choice.filterIndex = request.filterIndex;
    choice.comment = request.comment;
    if (line.words.size() == 1 && line.words[0] == "cancel")
        return choice;
    if (line.words[0] != "file" || line.words.size() != 2)
        Refuse(line, asked, "ответ - file <имя файла> или cancel");
    choice.chosen = true;
    choice.path = PathOf(line.words[1]);
    return choice;
}

bool BatchDialogs::GraphPrompt(bool offerDiscard) {
    const std::string asked = "запросу " + Quoted("ПОСМОТРИТЕ ГРАФИК");
    const ScriptLine& line = Next(asked);
    if (line.words.size() == 2 && line.words[0] == "graph" && line.words[1] == "keep")
        return true;
    if (line.words.size() == 2 && line.words[0] == "graph" && line.words[1] == "discard") {
        if (!offerDiscard)
            Refuse(line, asked, "этот график можно только оставить");
        return false;
    }
    Refuse(line, asked, "ответ - graph keep или graph discard");
}

void BatchDialogs::Variables(VariableDialog& dialog) {
    const std::string caption = dialog.caption();
    const std::string asked = "диалогу " + Quoted(caption);
    const ScriptLine& line = Next(asked);
    const std::vector<std::string>& words = line.words;

    auto press = [&](VariableAction action, int list, const std::string& word) {
        const std::size_t before = dialog.lists()[list].items.size();
        const auto index = FindVariable(dialog.lists()[list], word);
        if (!index)
            Refuse(line, asked, "среди предложенных переменных нет " + Quoted(word));
        std::vector<std::vector<int>> selected(dialog.lists().size());
        selected[list] = {*index};
        dialog.Press(action, selected);
        if (!dialog.closed() && dialog.lists()[list].items.size() == before)
            Refuse(line, asked, "диалог не принял переменную " + Quoted(word));
    };

    if (words.size() == 1 && words[0] == "cancel") {
        dialog.Press(VariableAction::Cancel, {});
    } else if (caption == "Анализ переменных" && words[0] == "variables" && words.size() >= 2) {
        if (words.size() == 2 && words[1] == "all") {
            dialog.Press(VariableAction::All, {});
        } else if (words.size() == 2 && words[1] == "restore") {
            dialog.Press(VariableAction::Restore, {});
        } else if (words[1] == "pairs") {
            // The file dialog that follows takes the script's next line.
            dialog.Press(VariableAction::ReadPairs, {});
        } else {
            for (std::size_t i = 1; i < words.size(); ++i)
                press(VariableAction::Include, 0, words[i]);
        }
        if (!dialog.closed())
            dialog.Press(VariableAction::Confirm, {});
    } else if (caption == "Анализ переменной" && words[0] == "variable" && words.size() == 2) {
        press(VariableAction::Include, 0, words[1]);
    } else if (caption == "Переменные регрессии" && words[0] == "regression" && words.size() >= 2) {
        if (words.size() == 2 && (words[1] == "all" || words[1] == "restore")) {
            dialog.Press(words[1] == "all" ? VariableAction::All : VariableAction::Restore, {});
        } else {
            VariableAction action = VariableAction::ChooseX;
            bool sawList = false;
            for (std::size_t i = 1; i < words.size(); ++i) {
                if (words[i] == "x" || words[i] == "y") {
                    action = words[i] == "x" ? VariableAction::ChooseX : VariableAction::ChooseY;
                    sawList = true;
                    continue;
                }
                if (!sawList)
                    Refuse(line, asked, "переменные перечисляются после x и y");
                press(action, 0, words[i]);
            }
        }
        if (!dialog.closed())
            dialog.Press(VariableAction::Confirm, {});
    } else {
        const char* form = caption == "Анализ переменных" ? "variables <переменные>|all|restore"
                           : caption == "Анализ переменной"
                               ? "variable <переменная>"
                               : "regression x <переменные> y <переменная>|all|restore";
        Refuse(line, asked, std::string("ответ - ") + form + " или cancel");
    }
    if (!dialog.closed())
        Refuse(line, asked, "диалог остался открытым");
}

}  // namespace dalvex
