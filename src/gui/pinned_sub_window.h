// A child window of the main window that lives until the program ends: the
// data sheet and the results window refuse to be closed.
#pragma once

#include <QMdiSubWindow>

namespace dalvex {

class PinnedSubWindow : public QMdiSubWindow {
  public:
    explicit PinnedSubWindow(QWidget* content, QWidget* parent = nullptr);
    // QMdiArea::addSubWindow resets the window flags; called again after it.
    void RemoveCloseButton();

  protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace dalvex
