#include "core/user_dialogs.h"

namespace dalvex {

ScriptedDialogs& ScriptedDialogs::ExpectYesNo(std::string textPart, bool answer) {
    script_.push_back({std::move(textPart), answer});
    return *this;
}

void ScriptedDialogs::Notice(const std::string& text) {
    notices_.push_back(text);
}

bool ScriptedDialogs::YesNo(const std::string& text) {
    questions_.push_back(text);
    if (script_.empty())
        throw ScriptMismatch("script has no answer for the question \"" + text + "\"");
    Step step = script_.front();
    if (!step.textPart.empty() && text.find(step.textPart) == std::string::npos)
        throw ScriptMismatch("script expected a question containing \"" + step.textPart +
                             "\" but was asked \"" + text + "\"");
    script_.pop_front();
    return step.answer;
}

void ScriptedDialogs::ClearLog() {
    notices_.clear();
    questions_.clear();
}

}  // namespace dalvex
