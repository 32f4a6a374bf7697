// The steps the window tests share to drive the real main window without a
// display: a method run from F9, and its graph windows looked at one by one.
// For the suites that link the Qt layer.
#pragma once

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QtTest>

#include "gui/main_window.h"
#include "gui/statistics_menu_view.h"
#include "support/window_shot.h"

namespace dalvex {

// Method `number` from F9: its button in the statistics menu is pressed as
// soon as the menu shows; returns when the method has ended.
inline void RunFromF9(MainWindow& window, int number) {
    QTimer::singleShot(0, [number] {
        auto* menu = qobject_cast<StatisticsMenuView*>(QApplication::activeModalWidget());
        if (menu)
            menu->methodButton(number)->click();
    });
    window.Execute(MainCommand::Statistics);
}

// The titles of the graph windows (every subwindow but the results and the
// sheet). Those past the first `seen` are made active at 800 x 560 and shot
// as `prefix` + their number among all graph windows, counted from 1.
inline QStringList ShootGraphs(MainWindow& window, const QString& prefix, int seen = 0) {
    QStringList titles;
    for (QMdiSubWindow* sub : window.mdiArea()->subWindowList()) {
        if (sub == window.resultsWindow() || sub == window.sheetWindow())
            continue;
        titles << sub->windowTitle();
        if (titles.size() <= seen)
            continue;
        window.mdiArea()->setActiveSubWindow(sub);
        sub->resize(800, 560);
        QTest::qWait(20);
        Shot(*sub, prefix + QString::number(titles.size()));
    }
    return titles;
}

}  // namespace dalvex
