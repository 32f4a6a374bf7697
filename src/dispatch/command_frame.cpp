#include "dispatch/command_frame.h"

#include <exception>
#include <string>

#include "core/arithmetic_fault.h"
#include "core/user_dialogs.h"

namespace dalvex {

CommandFrame::CommandFrame(Workspace& ws, TSMForm& form, TSMForm::RunState state)
    : ws_(ws),
      form_(form),
      before_(form.runState),
      watchedBefore_(ws.watchArithmetic),
      probabilities_(ws.settings.exactProbabilities) {
    form_.runState = state;
    ws_.runNotices.Begin();
    // Observations a previous command loaded name no point of this one.
    ws_.graphTables.ObservationRows.clear();
    ClearFloatingFlags();
    ws_.watchArithmetic = true;
}

CommandFrame::~CommandFrame() {
    ClearFloatingFlags();
    ws_.watchArithmetic = watchedBefore_;
    form_.runState = before_;
}

bool CommandFrame::Run(const std::function<bool()>& body) {
    bool result = true;
    try {
        result = body();
    } catch (const ArithmeticFault& fault) {
        ClearFloatingFlags();
        ShowNotice(ws_, InterruptionText(fault));
    } catch (const ScriptMismatch&) {
        throw;
    } catch (const std::exception& error) {
        ClearFloatingFlags();
        ShowNotice(ws_, std::string("Прерывание: ") + error.what());
    }
    // What the run could not use is said once, after whatever it wrote.
    ws_.runNotices.Flush(ws_);
    ClearFloatingFlags();
    return result;
}

}  // namespace dalvex
