#include "sweep/random_dialogs.h"

#include <algorithm>
#include <fstream>

#include "core/variable_dialog.h"

namespace dalvex {

namespace {

// Texts a person may type into a number field: nothing, blanks, words,
// commas, numbers past every range a count or a level can have.
const char* const HostileTexts[] = {
    "",    " ",     "abc",    "0",      "-0",    "-1",         "-7",          "1,5",
    "0.5", "1e308", "-1e308", "1e-308", "1e999", "2147483648", "-2147483649", "99999",
    "4e9", "nan",   "inf",    "+3",     "3.7",   "1e-5",       "ж",
};

constexpr std::size_t AllVariablesAtMost = 60;

bool Offers(const VariableDialog& dialog, VariableAction action) {
    const std::vector<VariableButton> buttons = dialog.buttons();
    return std::any_of(buttons.begin(), buttons.end(),
                       [&](const VariableButton& b) { return b.action == action; });
}

}  // namespace

std::string ScriptWord(const std::string& word) {
    if (word.empty() || word.find_first_of(" \t") != std::string::npos)
        return "\"" + word + "\"";
    return word;
}

RandomDialogs::RandomDialogs(std::uint64_t seed, std::string folder, int budget)
    : rng_(seed), folder_(std::move(folder)), budget_(budget) {
    if (!folder_.empty() && folder_.back() != '/')
        folder_ += '/';
}

int RandomDialogs::Below(int n) {
    return static_cast<int>(rng_() % static_cast<std::uint64_t>(n));
}

FormAnswer RandomDialogs::Form(const FormDialog& form) {
    form_ = &form;
    const FormAnswer answer = ScriptedDialogs::Form(form);
    form_ = nullptr;
    return answer;
}

FileChoice RandomDialogs::ChooseFile(const FileRequest& request) {
    file_ = request;
    return ScriptedDialogs::ChooseFile(request);
}

bool RandomDialogs::GraphPrompt(bool offerDiscard) {
    offerDiscard_ = offerDiscard;
    return ScriptedDialogs::GraphPrompt(offerDiscard);
}

void RandomDialogs::Variables(VariableDialog& dialog) {
    variables_ = &dialog;
    ScriptedDialogs::Variables(dialog);
    variables_ = nullptr;
}

void RandomDialogs::FieldRefused(const std::string& label, const std::string& notice) {
    fieldRefused_ = true;
    ScriptedDialogs::FieldRefused(label, notice);
}

std::optional<ScriptedAnswer> RandomDialogs::Refill(DialogKind kind, const AskedDialog&,
                                                    std::optional<VariableDialogKind>,
                                                    std::string& whyNone) {
    if (static_cast<int>(lines_.size()) >= budget_) {
        budgetSpent_ = true;
        whyNone = "метод задал больше " + std::to_string(budget_) + " вопросов";
        return std::nullopt;
    }
    ScriptedAnswer answer;
    std::string line;
    switch (kind) {
        case DialogKind::YesNo:
            answer.yes = Chance(50);
            line = answer.yes ? "yes" : "no";
            break;
        case DialogKind::GraphPrompt:
            answer.yes = !offerDiscard_ || Chance(50);
            line = answer.yes ? "graph keep" : "graph discard";
            break;
        case DialogKind::Form:
            answer = FormAnswerFor(*form_, line);
            break;
        case DialogKind::File:
            answer = FileAnswerFor(file_, line);
            break;
        case DialogKind::Variables:
            answer = VariablesAnswerFor(*variables_, line);
            break;
        case DialogKind::Formula:
            // One of the remembered formulas as it stands, now and then none.
            answer.cancel = Chance(10);
            answer.button = 1 + Below(8);
            line = answer.cancel ? "cancel" : "formula " + std::to_string(answer.button);
            break;
    }
    if (!answer.cancel)
        answer.kind = kind;
    answer.origin = "случайный ответ " + std::to_string(lines_.size() + 1) + " «" + line + "»";
    lines_.push_back(line);
    if (answered)
        answered();
    return answer;
}

std::string RandomDialogs::FieldText(const FormField& field) {
    switch (field.kind) {
        case FormFieldKind::Check:
            return Chance(50) ? "1" : "0";
        case FormFieldKind::Choice: {
            const int n = static_cast<int>(field.items.size());
            if (n == 0 || Chance(5))
                return "-1";
            return std::to_string(Below(n));
        }
        case FormFieldKind::Grid: {
            // A few rows of numbers, now and then one cell short or no number.
            std::string grid;
            const int rows = 1 + Below(3), columns = 1 + Below(4);
            for (int r = 0; r < rows; ++r) {
                if (r > 0)
                    grid += ';';
                for (int c = 0; c < columns - (Chance(10) ? 1 : 0); ++c)
                    grid += (c > 0 ? " " : "") +
                            (Chance(5) ? std::string("x") : std::to_string(Below(7) - 3));
            }
            return grid;
        }
        case FormFieldKind::Text:
            break;
    }
    const int roll = Below(100);
    if (roll < 25)
        return field.value;
    if (roll < 55)
        return std::to_string(Below(16) - 3);
    if (roll < 60)
        return std::to_string(Below(1000)) + "." + std::to_string(Below(1000));
    return HostileTexts[Below(static_cast<int>(std::size(HostileTexts)))];
}

ScriptedAnswer RandomDialogs::FormAnswerFor(const FormDialog& form, std::string& line) {
    ScriptedAnswer answer;
    std::vector<int> buttons;
    for (const FormButton& button : form.buttons)
        if (button.answer != 0 && button.enabled)
            buttons.push_back(button.answer);
    // A person shown the same form again and again stops sooner: a method
    // that repeats its dialog until it is cancelled ends within the budget.
    const int repeats = formsShown_[form.caption]++;
    if (buttons.empty() || Chance(std::min(8 + 3 * repeats, 60))) {
        answer.cancel = true;
        line = "cancel";
        return answer;
    }
    answer.button = buttons[Below(static_cast<int>(buttons.size()))];
    answer.labelled = true;
    // Fields by position; a field left as shown is written as shown, and
    // the ones after the last changed field are not written at all.
    int lastChanged = -1;
    for (int i = 0; i < form.FieldCount(); ++i) {
        const FormField& field = form.FieldAt(i);
        std::string text = Chance(40) ? field.value : FieldText(field);
        // A text with '=' or '"' would read otherwise in a script line.
        if (text.find_first_of("=\"") != std::string::npos)
            text = field.value.find_first_of("=\"") == std::string::npos ? field.value : "1";
        if (text != field.value)
            lastChanged = i;
        answer.texts.push_back(text);
    }
    answer.texts.resize(static_cast<std::size_t>(lastChanged + 1));
    line = "form " + std::to_string(answer.button);
    for (const std::string& text : answer.texts)
        line += " " + ScriptWord(text);
    return answer;
}

ScriptedAnswer RandomDialogs::VariablesAnswerFor(const VariableDialog& dialog, std::string& line) {
    ScriptedAnswer answer;
    std::vector<int> offered;
    if (!dialog.lists().empty())
        for (const std::string& item : dialog.lists()[0].items)
            if (const auto column = ItemColumn(item))
                offered.push_back(*column);
    if (offered.empty() || Chance(7)) {
        answer.cancel = true;
        line = "cancel";
        return answer;
    }
    std::shuffle(offered.begin(), offered.end(), rng_);
    auto pick = [&](int most) {
        const int roll = Below(100);
        int count = roll < 25 ? 1 : roll < 60 ? 2 : 3 + Below(4);
        count = std::min({count, most, static_cast<int>(offered.size())});
        std::vector<std::string> words;
        for (int i = 0; i < count; ++i)
            words.push_back(std::to_string(offered[static_cast<std::size_t>(i)]));
        offered.erase(offered.begin(), offered.begin() + count);
        return words;
    };
    answer.variableKind = dialog.kind();
    switch (dialog.kind()) {
        case VariableDialogKind::Single:
            line = "variable " + std::to_string(offered.front());
            answer.presses = {Press(VariableAction::Include, {std::to_string(offered.front())})};
            return answer;
        case VariableDialogKind::Regression: {
            const std::string y = std::to_string(offered.back());
            offered.pop_back();
            line = "regression";
            if (!offered.empty()) {
                line += " x";
                for (const std::string& x : pick(dialog.capacity() > 0 ? dialog.capacity() : 6)) {
                    line += " " + x;
                    answer.presses.push_back(Press(VariableAction::ChooseX, {x}));
                }
            }
            line += " y " + y;
            answer.presses.push_back(Press(VariableAction::ChooseY, {y}));
            answer.presses.push_back(ConfirmIfOpen());
            return answer;
        }
        case VariableDialogKind::Groups: {
            // Each set needs a group of its own.
            if (offered.size() < 2) {
                answer.cancel = true;
                line = "cancel";
                return answer;
            }
            line = "groups";
            for (const std::string& g : pick(std::min(3, static_cast<int>(offered.size()) - 1))) {
                line += " " + g;
                answer.presses.push_back(Press(VariableAction::ChooseX, {g}));
            }
            line += " -";
            for (const std::string& g : pick(3)) {
                line += " " + g;
                answer.presses.push_back(Press(VariableAction::ChooseY, {g}));
            }
            answer.presses.push_back(ConfirmIfOpen());
            return answer;
        }
        case VariableDialogKind::List:
            break;
    }
    const int roll = Below(100);
    // "Все" over hundreds of variables makes a pairwise method test tens of
    // thousands of pairs: minutes of honest work, a benchmark's matter, that
    // would crowd every other run out of the sweep.
    if (roll < 8 && offered.size() <= AllVariablesAtMost) {
        line = "variables all";
        answer.presses = {Press(VariableAction::All)};
    } else if (roll < 14 && Offers(dialog, VariableAction::ReadPairs)) {
        line = "variables pairs";
        answer.presses = {Press(VariableAction::ReadPairs)};
    } else {
        line = "variables";
        // A dialog that takes only so many refuses the rest: not a finding.
        for (const std::string& word : pick(dialog.capacity() > 0 ? dialog.capacity() : 500)) {
            line += " " + word;
            answer.presses.push_back(Press(VariableAction::Include, {word}));
        }
    }
    answer.presses.push_back(ConfirmIfOpen());
    return answer;
}

ScriptedAnswer RandomDialogs::FileAnswerFor(const FileRequest& request, std::string& line) {
    ScriptedAnswer answer;
    if (Chance(35)) {
        answer.cancel = true;
        line = "cancel";
        return answer;
    }
    std::string name = "out.txt";
    if (request.mode == 0) {
        // A list of pairs, mostly sound, now and then a line no list has.
        name = "pairs" + std::to_string(files_.size() + 1) + ".txt";
        std::string content;
        const int count = Below(6);
        for (int i = 0; i < count; ++i) {
            if (Chance(10))
                content += Chance(50) ? "abc def\r\n" : "7\r\n";
            else
                content += std::to_string(Below(8)) + " " + std::to_string(Below(8)) + "\r\n";
        }
        files_[name] = content;
        std::ofstream(folder_ + name, std::ios::binary) << content;
    }
    answer.path = folder_ + name;
    answer.keepComment = true;
    line = "file " + name;
    return answer;
}

}  // namespace dalvex
