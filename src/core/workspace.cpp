#include "core/workspace.h"

#include "core/text.h"

namespace dalvex {

void Workspace::SetTextBuffer(const std::string& text) {
    textBuffer_ = CharCut(text, TextBufferChars);
}

void WriteResult(Workspace& ws, const std::string& text) {
    if (ws.report)
        ws.report->WriteResult(text);
}

void ShowNotice(Workspace& ws, const std::string& text) {
    ws.ui.Notice(text);
}

bool AskYesNo(Workspace& ws, const std::string& text) {
    const bool yes = ws.ui.YesNo(text);
    ws.LastAnswer = yes ? 1 : 2;
    return yes;
}

}  // namespace dalvex
