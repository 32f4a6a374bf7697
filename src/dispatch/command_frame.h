// The frame every command runs in: statistics methods, graph commands and
// transformations alike. While it stands, the main window knows a command is
// running (window tabs do not switch), the distribution routines follow the
// laws the settings chose (approximate or exact), the floating-point flags start clear
// and every output point checks them, and notices a run shows once start
// afresh. A fault inside ends the command with "Прерывание: " + its text;
// what the command wrote before stays.
#pragma once

#include <functional>

#include "core/main_window_model.h"
#include "core/workspace.h"
#include "numeric/distributions.h"

namespace dalvex {

class CommandFrame {
  public:
    CommandFrame(Workspace& ws, TSMForm& form,
                 TSMForm::RunState state = TSMForm::RunState::MethodRunning);
    ~CommandFrame();
    CommandFrame(const CommandFrame&) = delete;
    CommandFrame& operator=(const CommandFrame&) = delete;

    // Runs the command's body. An arithmetic fault or another runtime error
    // shows "Прерывание: " + its text and ends the body; the batch runner's
    // ScriptMismatch passes through (the frame still closes). Afterwards the
    // gathered notices about unusable variables are shown. Returns what the
    // body returned, true when a fault ended it.
    bool Run(const std::function<bool()>& body);

  private:
    Workspace& ws_;
    TSMForm& form_;
    TSMForm::RunState before_;
    bool watchedBefore_;
    // The distribution laws the person chose, for this command only.
    ProbabilityModeScope probabilities_;
};

}  // namespace dalvex
