// The two macro dialogs as forms: "Формирование макрокоманд" (Tqqmac0), which
// names the ten macros and chooses the one to record, and "Исполнение
// макрокоманд" (Tqqmac1), which chooses the one to play or repeats the last.
// Both keep their texts in "StMc.ini".
#pragma once

#include <string>

#include "core/form_dialog.h"
#include "macros/macro_file.h"
#include "macros/macro_machine.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* DefinitionCaption = "Макрокоманды";
inline constexpr const char* DefinitionGroup = "Формирование макрокоманд";
inline constexpr const char* ExecutionGroup = "Исполнение макрокоманд";

// "&1=" … "&9=", "&0=".
std::string MacroKeyLabel(int number);

// Ten name fields and the number to record; "Утвердить" answers 1.
FormDialog DefinitionForm(const MacroNames& names);
// The answer: the names typed and the number chosen (0 when cancelled). The
// number is the one chosen in the list (which starts with none chosen);
// when the list was left alone, the first macro whose name was edited;
// otherwise 1.
int DefinitionAnswer(const FormAnswer& answer, const MacroNames& shown, MacroNames& names);

// Ten buttons "&1=name" answering 1..10, "Повторить=" with the count field
// "раз" answering 11, "Отменить" answering 0.
FormDialog ExecutionForm(const MacroNames& names);

// Both dialogs shown through the workspace's dialogs, with "StMc.ini" in
// `folder` read before and written after ("Утвердить" writes the names, the
// execution dialog its count whenever it closes). An unreadable file beeps.
int ShowDefinitionDialog(Workspace& ws, const std::string& folder);
ExecutionAnswer ShowExecutionDialog(Workspace& ws, const std::string& folder);

}  // namespace dalvex
