// The main window's graph windows on screen: one sub-window per open graph
// (numbers 1..15, kept by the graph desk and TSMForm's GraphWindows), the
// graph buttons of the tool bar, and the File and Edit commands while a graph
// window is active. What a button does is the graph's business (TGra::Run).
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "core/main_window_model.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace dalvex {

class GraphDesk;
class GraphView;
struct Workspace;

class GraphWindowsView : public QObject {
    Q_OBJECT
  public:
    // What the main window does when graph windows come and go.
    struct Hooks {
        std::function<void()> tabsChanged;      // the window tabs need rebuilding
        std::function<void()> sheetChanged;     // a graph wrote into the sheet
        std::function<void()> printRequested;   // the context menu's "Печать"
        std::function<void()> closed;           // a window closed (person or Clear)
        std::function<void()> discardedClosed;  // the discarded graphs are gone
    };

    GraphWindowsView(Workspace& ws, TSMForm& form, GraphDesk& desk, QMdiArea& area,
                     QWidget* parentWidget, Hooks hooks);
    ~GraphWindowsView() override;

    // Puts the graph buttons on the bar, hidden until a graph window is active.
    void AddButtons(QToolBar& bar);
    QList<QAction*> buttons() const { return buttons_; }

    // By number (1..15); nullptr when the number is not open.
    QMdiSubWindow* window(int number) const;
    GraphView* view(int number) const;
    GraphView* current() const;
    // The graph number of a sub-window; 0 when it shows no graph.
    int NumberOf(const QMdiSubWindow* window) const;
    bool empty() const { return windows_.empty(); }

    // A request drew into graph window `number`.
    void Show(int number, bool created);
    // The models of these graph windows are gone (discarded at the graph
    // prompt): their windows close.
    void CloseWindows(const std::vector<int>& numbers);
    // Shows the graph buttons for window `number` (0: none active), each
    // enabled where it acts on that graph's kind.
    void ShowButtons(int number);
    // File and Edit commands while a graph window is active; false when the
    // command goes elsewhere.
    bool Command(MainCommand command);
    // Every open graph takes the graph font again.
    void ApplyFont();

    // How graph pictures are chosen for saving and opening; tests answer
    // without a dialog. An empty name cancels.
    using FileChooser = std::function<QString(bool save, const QString& filter)>;
    void SetFileChooser(FileChooser chooser);

  private:
    void Closed(int number);
    void RunButton(int index);

    Workspace& ws_;
    TSMForm& form_;
    GraphDesk& desk_;
    QMdiArea& area_;
    QWidget* parentWidget_;
    Hooks hooks_;
    std::map<int, QMdiSubWindow*> windows_;
    QList<QAction*> buttons_;
    FileChooser fileChooser_;
};

}  // namespace dalvex
