#include "core/user_dialogs.h"

#include <algorithm>

namespace dalvex {

ScriptedDialogs& ScriptedDialogs::ExpectYesNo(std::string textPart, bool answer) {
    Step step;
    step.textPart = std::move(textPart);
    step.answer = answer;
    script_.push_back(std::move(step));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectForm(std::string caption, int button,
                                             std::vector<std::string> values) {
    Step step;
    step.isForm = true;
    step.textPart = std::move(caption);
    step.button = button;
    step.values = std::move(values);
    script_.push_back(std::move(step));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectFile(int mode, std::string path, std::string comment,
                                             int filterIndex) {
    Step step;
    step.isFile = true;
    step.mode = mode;
    step.textPart = std::move(path);
    step.values = {std::move(comment)};
    step.filterIndex = filterIndex;
    script_.push_back(std::move(step));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectGraphPrompt(bool keep) {
    Step step;
    step.isGraphPrompt = true;
    step.answer = keep;
    script_.push_back(std::move(step));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectVariables(std::string caption,
                                                  std::vector<VariableStep> steps) {
    Step step;
    step.isVariables = true;
    step.textPart = std::move(caption);
    step.presses = std::move(steps);
    script_.push_back(std::move(step));
    return *this;
}

std::string ScriptedDialogs::Describe(const Step& step) const {
    if (step.isVariables)
        return "the variable dialog \"" + step.textPart + "\"";
    if (step.isGraphPrompt)
        return "the graph prompt";
    if (step.isFile)
        return "the file dialog in mode " + std::to_string(step.mode);
    return step.isForm ? "the form \"" + step.textPart + "\""
                       : "a question containing \"" + step.textPart + "\"";
}

void ScriptedDialogs::Notice(const std::string& text) {
    notices_.push_back(text);
}

bool ScriptedDialogs::YesNo(const std::string& text) {
    questions_.push_back(text);
    if (script_.empty())
        throw ScriptMismatch("script has no answer for the question \"" + text + "\"");
    Step step = script_.front();
    if (step.isForm || step.isFile || step.isGraphPrompt || step.isVariables ||
        (!step.textPart.empty() && text.find(step.textPart) == std::string::npos))
        throw ScriptMismatch("script expected " + Describe(step) + " but was asked \"" + text +
                             "\"");
    script_.pop_front();
    return step.answer;
}

FormAnswer ScriptedDialogs::Form(const FormDialog& form) {
    forms_.push_back(form);
    const std::string asked = "the form \"" + form.caption + "\"";
    if (script_.empty())
        throw ScriptMismatch("script has no answer for " + asked);
    const Step& step = script_.front();
    if (!step.isForm || step.textPart != form.caption)
        throw ScriptMismatch("script expected " + Describe(step) + " but was shown " + asked);
    if (static_cast<int>(step.values.size()) > form.FieldCount())
        throw ScriptMismatch("script gives " + std::to_string(step.values.size()) + " texts but " +
                             asked + " has " + std::to_string(form.FieldCount()) + " fields");
    bool known = step.button == 0;
    for (const FormButton& button : form.buttons)
        known = known || button.answer == step.button;
    if (!known)
        throw ScriptMismatch("script presses button " + std::to_string(step.button) + " but " +
                             asked + " has no such button");
    FormDialog answered = form;
    answered.SetValues(step.values);
    FormAnswer answer{step.button, answered.Values()};
    script_.pop_front();
    return answer;
}

FileChoice ScriptedDialogs::ChooseFile(const FileRequest& request) {
    fileRequests_.push_back(request);
    const std::string asked = "the file dialog in mode " + std::to_string(request.mode);
    if (script_.empty())
        throw ScriptMismatch("script has no answer for " + asked);
    const Step step = script_.front();
    if (!step.isFile || step.mode != request.mode)
        throw ScriptMismatch("script expected " + Describe(step) + " but was shown " + asked);
    script_.pop_front();
    FileChoice choice;
    choice.chosen = !step.textPart.empty();
    choice.path = step.textPart;
    choice.comment = step.values.front();
    choice.filterIndex = step.filterIndex >= 0 ? step.filterIndex : request.filterIndex;
    return choice;
}

void ScriptedDialogs::ClearLog() {
    notices_.clear();
    questions_.clear();
    forms_.clear();
    fileRequests_.clear();
    graphPrompts_ = 0;
}

bool ScriptedDialogs::GraphPrompt(bool offerDiscard) {
    ++graphPrompts_;
    if (script_.empty())
        throw ScriptMismatch("script has no answer for the graph prompt");
    const Step step = script_.front();
    if (!step.isGraphPrompt)
        throw ScriptMismatch("script expected " + Describe(step) +
                             " but was shown the graph prompt");
    if (!step.answer && !offerDiscard)
        throw ScriptMismatch("script discards the graph but the prompt offers only \"Оставить\"");
    script_.pop_front();
    return step.answer;
}

void UserDialogs::Variables(VariableDialog& dialog) {
    dialog.Press(VariableAction::Cancel, {});
}

namespace {

// The selection a press takes its items from: the first list for the presses
// that choose, the chosen lists for the one that gives back.
std::vector<std::vector<int>> SelectColumns(const VariableDialog& dialog, const VariableStep& press,
                                            const std::string& asked) {
    const auto& lists = dialog.lists();
    std::vector<std::vector<int>> selected(lists.size());
    const bool fromChosen = press.action == VariableAction::Exclude;
    const std::size_t first = fromChosen ? 1 : 0;
    const std::size_t end = fromChosen ? lists.size() : std::min<std::size_t>(1, lists.size());
    for (int column : press.columns) {
        bool found = false;
        for (std::size_t l = first; l < end && !found; ++l) {
            for (std::size_t i = 0; i < lists[l].items.size() && !found; ++i) {
                if (ItemColumn(lists[l].items[i]) == column) {
                    selected[l].push_back(static_cast<int>(i));
                    found = true;
                }
            }
        }
        if (!found)
            throw ScriptMismatch("script selects variable " + std::to_string(column) +
                                 " but it is not in the " + (fromChosen ? "chosen" : "offered") +
                                 " list of " + asked);
    }
    return selected;
}

}  // namespace

void ScriptedDialogs::Variables(VariableDialog& dialog) {
    const std::string asked = "the variable dialog \"" + dialog.caption() + "\"";
    if (script_.empty())
        throw ScriptMismatch("script has no answer for " + asked);
    const Step step = script_.front();
    if (!step.isVariables || step.textPart != dialog.caption())
        throw ScriptMismatch("script expected " + Describe(step) + " but was shown " + asked);
    script_.pop_front();
    for (const VariableStep& press : step.presses) {
        if (dialog.closed())
            throw ScriptMismatch("script presses on after " + asked + " has closed");
        dialog.Press(press.action, SelectColumns(dialog, press, asked));
    }
    if (!dialog.closed())
        throw ScriptMismatch("script leaves " + asked + " open");
}

}  // namespace dalvex
