#include "core/workspace.h"

#include "core/arithmetic_fault.h"
#include "core/text.h"

namespace dalvex {

void Workspace::SetTextBuffer(const std::string& text) {
    textBuffer_ = CharCut(text, TextBufferChars);
}

void WriteResult(Workspace& ws, const std::string& text) {
    if (ws.watchArithmetic)
        CheckFloatingFlags();
    if (ws.report) {
        const FloatingFlagsKept kept;
        ws.report->WriteResult(text);
    }
}

void ShowNotice(Workspace& ws, const std::string& text) {
    const FloatingFlagsKept kept;
    ws.ui.Notice(text);
}

bool AskYesNo(Workspace& ws, const std::string& text) {
    const FloatingFlagsKept kept;
    const bool yes = ws.ui.YesNo(text);
    ws.LastAnswer = yes ? 1 : 2;
    return yes;
}

bool ShowProgress(Workspace& ws, const std::string& text, int done, int total) {
    const FloatingFlagsKept kept;
    return ws.ui.Progress(text, done, total);
}

}  // namespace dalvex
