// Keyboard macros on screen: an event filter on the application that hands
// every key press of the program's own windows to the macro machine (and
// swallows what the machine swallows), the 100 ms player timer, the "MACRO"
// indicator and the two macro dialogs. Played keys go, one at a time, to the
// program's window that has the focus, through the same path as typed keys,
// so menus and shortcuts answer them too; no other application receives them.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "macros/macro_machine.h"

class QAction;
class QKeyEvent;
class QLabel;

namespace dalvex {

struct Workspace;

// The virtual-key code and key data of a Qt key press; key 0 when the key
// has no code (a key the macros cannot keep).
KeyRecord KeyRecordOf(const QKeyEvent& event);

class MacroKeyboard : public QObject, private MacroHost {
  public:
    // `indicator` is the tool bar's "MACRO" label and `shown` the tool-bar
    // action that shows it (hidden until a recording starts).
    MacroKeyboard(Workspace& ws, QLabel* indicator, QAction* shown, QObject* parent = nullptr);
    ~MacroKeyboard() override;

    // Installs the filter on the application (the macro switch was on at
    // start-up) or removes it.
    void SetActive(bool active);
    bool active() const { return active_; }

    MacroMachine& machine() { return machine_; }
    // The indicator's colour now (for tests and screenshots).
    MacroIndicator indicator() const { return indicator_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int DefinitionDialog() override;
    ExecutionAnswer ExecutionDialog() override;
    void ShowIndicator(MacroIndicator indicator) override;
    void StartTimer(int milliseconds) override;
    void StopTimer() override;
    void PlayKey(const KeyRecord& record, bool asRelease) override;
    void Beep() override;
    void Notice(const std::string& text) override;

    Workspace& ws_;
    QPointer<QLabel> indicatorLabel_;
    QPointer<QAction> indicatorShown_;
    MacroIndicator indicator_ = MacroIndicator::Hidden;
    QTimer timer_;
    MacroMachine machine_;
    bool active_ = false;
    // The key whose shortcut question the machine answered, and whether its
    // press is swallowed.
    int pendingKey_ = 0;
    bool pendingSwallow_ = false;
};

}  // namespace dalvex
