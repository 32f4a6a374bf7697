#include "gui/pinned_sub_window.h"

#include <QCloseEvent>

namespace dalvex {

PinnedSubWindow::PinnedSubWindow(QWidget* content, QWidget* parent) : QMdiSubWindow(parent) {
    setWidget(content);
    setWindowTitle(content->windowTitle());
    setAttribute(Qt::WA_DeleteOnClose, false);
    RemoveCloseButton();
}

void PinnedSubWindow::RemoveCloseButton() {
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinMaxButtonsHint);
    // The system menu would offer "Close" as well.
    setSystemMenu(nullptr);
}

void PinnedSubWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace dalvex
