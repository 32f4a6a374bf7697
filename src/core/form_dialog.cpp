#include "core/form_dialog.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/arithmetic_fault.h"
#include "core/settings.h"
#include "core/workspace.h"

namespace dalvex {

FormDialog& FormDialog::Group(std::string groupCaption) {
    groups.push_back({std::move(groupCaption), {}});
    return *this;
}

FormDialog& FormDialog::Field(std::string label, std::string value, std::string hint) {
    if (groups.empty())
        groups.emplace_back();
    groups.back().fields.push_back(
        {std::move(label), std::move(value), std::move(hint), FormFieldKind::Text, {}});
    return *this;
}

FormDialog& FormDialog::Check(std::string label, bool ticked, std::string hint) {
    Field(std::move(label), ticked ? "1" : "0", std::move(hint));
    groups.back().fields.back().kind = FormFieldKind::Check;
    return *this;
}

FormDialog& FormDialog::Choice(std::string label, std::vector<std::string> items, int chosen,
                               std::string hint) {
    Field(std::move(label), std::to_string(chosen), std::move(hint));
    groups.back().fields.back().kind = FormFieldKind::Choice;
    groups.back().fields.back().items = std::move(items);
    return *this;
}

FormDialog& FormDialog::Button(std::string text, int answer, std::string hint) {
    buttons.push_back({std::move(text), answer, std::move(hint), {}, {}});
    return *this;
}

FormDialog& FormDialog::GroupButton(std::string groupCaption, std::string text, int answer,
                                    std::string note) {
    FormButton button{std::move(text), answer, {}, std::move(groupCaption), std::move(note)};
    buttons.push_back(std::move(button));
    return *this;
}

FormDialog& FormDialog::RememberIn(std::string fileName) {
    memoryFile = std::move(fileName);
    return *this;
}

FormDialog& FormDialog::Disable(int answer) {
    for (FormButton& button : buttons)
        if (button.answer == answer)
            button.enabled = false;
    return *this;
}

int FormDialog::FieldCount() const {
    int count = 0;
    for (const FormGroup& group : groups)
        count += static_cast<int>(group.fields.size());
    return count;
}

const FormField& FormDialog::FieldAt(int index) const {
    for (const FormGroup& group : groups) {
        if (index < static_cast<int>(group.fields.size()))
            return group.fields[index];
        index -= static_cast<int>(group.fields.size());
    }
    throw std::out_of_range("form \"" + caption + "\" has no field " + std::to_string(index));
}

FormField& FormDialog::FieldAt(int index) {
    return const_cast<FormField&>(std::as_const(*this).FieldAt(index));
}

std::vector<std::string> FormDialog::Values() const {
    std::vector<std::string> values;
    for (const FormGroup& group : groups)
        for (const FormField& field : group.fields)
            values.push_back(field.value);
    return values;
}

void FormDialog::SetValues(const std::vector<std::string>& values) {
    const int count = std::min(FieldCount(), static_cast<int>(values.size()));
    for (int i = 0; i < count; ++i)
        FieldAt(i).value = values[i];
}

FormAnswer ShowForm(Workspace& ws, FormDialog form) {
    const std::string memoryPath =
        form.memoryFile.empty() ? "" : ws.ProgramFolder + form.memoryFile;
    if (!memoryPath.empty()) {
        std::vector<std::string> remembered;
        if (ReadLinesFile(memoryPath, remembered).ok)
            form.SetValues(remembered);
        else
            ws.ui.Beep();
    }
    FormAnswer answer;
    {
        const FloatingFlagsKept kept;  // the window's arithmetic is not the command's
        answer = ws.ui.Form(form);
    }
    ws.LastAnswer = answer.button;
    if (answer.button != 0 && !memoryPath.empty() && !WriteLinesFile(memoryPath, answer.values).ok)
        ws.ui.Beep();
    return answer;
}

}  // namespace dalvex
