#include "gui/graph_windows_view.h"

#include <QAction>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>
#include <algorithm>

#include "graphics/graph_desk.h"
#include "graphics/graph_tool_bar.h"
#include "graphics/tgra.h"
#include "gui/graph_view.h"
#include "gui/tool_icons.h"

namespace dalvex {

GraphWindowsView::GraphWindowsView(Workspace& ws, TSMForm& form, GraphDesk& desk, QMdiArea& area,
                                   QWidget* parentWidget, Hooks hooks)
    : QObject(parentWidget),
      ws_(ws),
      form_(form),
      desk_(desk),
      area_(area),
      parentWidget_(parentWidget),
      hooks_(std::move(hooks)) {
    fileChooser_ = [this](bool save, const QString& filter) {
        const QString folder = QString::fromStdString(ws_.settings.DataFolder);
        return save ? QFileDialog::getSaveFileName(parentWidget_, QString(), folder, filter)
                    : QFileDialog::getOpenFileName(parentWidget_, QString(), folder, filter);
    };
}

GraphWindowsView::~GraphWindowsView() {
    // The windows themselves belong to the MDI area; only their ties to us go.
    for (const auto& [number, window] : windows_)
        disconnect(window->widget(), nullptr, this, nullptr);
}

void GraphWindowsView::AddButtons(QToolBar& bar) {
    for (const GraphToolButton& button : GraphToolButtons()) {
        auto* action = new QAction(QString::fromUtf8(button.name), &bar);
        action->setToolTip(QString::fromUtf8(button.tip));
        action->setStatusTip(QString::fromUtf8(button.tip));
        action->setVisible(false);  // shown only while a graph window is active
        bar.addAction(action);
        const int index = static_cast<int>(buttons_.size());
        connect(action, &QAction::triggered, this, [this, index] { RunButton(index); });
        buttons_ << action;
    }
}

QMdiSubWindow* GraphWindowsView::window(int number) const {
    const auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : it->second;
}

GraphView* GraphWindowsView::view(int number) const {
    QMdiSubWindow* w = window(number);
    return w ? static_cast<GraphView*>(w->widget()) : nullptr;
}

GraphView* GraphWindowsView::current() const {
    return view(form_.graphs().current());
}

int GraphWindowsView::NumberOf(const QMdiSubWindow* w) const {
    for (const auto& [number, graphWindow] : windows_)
        if (graphWindow == w)
            return number;
    return 0;
}

void GraphWindowsView::SetFileChooser(FileChooser chooser) {
    fileChooser_ = std::move(chooser);
    for (const auto& [number, w] : windows_)
        view(number)->SetPathChooser(
            [this](const QString& filter) { return fileChooser_(true, filter); });
}

void GraphWindowsView::ApplyFont() {
    for (const auto& [number, w] : windows_)
        view(number)->ApplyFont();
}

// A new window opens in the first cell of the layout, a reused one shows its
// new graph; either comes to the front under the title the method gave.
void GraphWindowsView::Show(int number, bool created) {
    TGra* graph = desk_.window(number);
    if (graph == nullptr)
        return;
    QMdiSubWindow* w = window(number);
    if (created || w == nullptr) {
        auto* graphView = new GraphView(ws_, *graph);
        graphView->SetPathChooser(
            [this](const QString& filter) { return fileChooser_(true, filter); });
        graphView->SetFrozen([this] { return form_.runState == TSMForm::RunState::Closing; });
        w = new QMdiSubWindow;
        w->setWidget(graphView);
        w->setAttribute(Qt::WA_DeleteOnClose);
        area_.addSubWindow(w);
        w->setWindowIcon(ProgramIcon());
        windows_[number] = w;
        connect(graphView, &GraphView::activated, this, [this, w] { area_.setActiveSubWindow(w); });
        connect(graphView, &GraphView::sheetChanged, this, [this] { hooks_.sheetChanged(); });
        connect(graphView, &GraphView::printRequested, this, [this] { hooks_.printRequested(); });
        connect(graphView, &QObject::destroyed, this, [this, number] { Closed(number); });
        const QSize client = area_.viewport()->size();
        const WindowRect place = form_.NewWindowRect(3, client.width(), client.height());
        w->setGeometry(place.left, place.top, place.width, place.height);
        w->show();
    } else {
        view(number)->Refresh();
    }
    const std::string& title = graph->title();
    w->setWindowTitle(title.empty() ? QStringLiteral("Графики") : QString::fromStdString(title));
    w->raise();
    area_.setActiveSubWindow(w);
    hooks_.tabsChanged();
    ShowButtons(number);
}

void GraphWindowsView::Closed(int number) {
    if (windows_.erase(number) == 0)
        return;
    form_.graphs().Close(number);
    desk_.Close(number);
    hooks_.tabsChanged();
    hooks_.closed();
}

void GraphWindowsView::CloseWindows(const std::vector<int>& numbers) {
    for (int number : numbers) {
        QMdiSubWindow* w = window(number);
        if (w == nullptr)
            continue;
        disconnect(w->widget(), nullptr, this, nullptr);
        windows_.erase(number);
        delete w;
    }
    hooks_.tabsChanged();
    hooks_.discardedClosed();
}

void GraphWindowsView::ShowButtons(int number) {
    GraphView* graphView = view(number);
    const std::vector<GraphToolButton>& table = GraphToolButtons();
    for (int i = 0; i < buttons_.size(); ++i) {
        QAction* button = buttons_[i];
        button->setVisible(graphView != nullptr);
        if (graphView == nullptr)
            continue;
        const TGra& graph = graphView->graph();
        button->setEnabled(graph.Acts(table[i].action));
        button->setText(QString::fromStdString(graph.ButtonText(table[i].action)));
    }
}

void GraphWindowsView::RunButton(int index) {
    GraphView* graphView = current();
    if (graphView == nullptr || index < 0 || index >= static_cast<int>(GraphToolButtons().size()))
        return;
    if (graphView->graph().Run(GraphToolButtons()[index].action))
        hooks_.sheetChanged();
    graphView->Refresh();
    ShowButtons(form_.graphs().current());
}

bool GraphWindowsView::Command(MainCommand command) {
    if (form_.Route(command) != CommandTarget::Graph)
        return false;
    GraphView* graphView = current();
    if (graphView == nullptr)
        return true;
    const QString pictures = QStringLiteral("Граф.файлы (*.bmp);;PNG (*.png)");
    switch (command) {
        case MainCommand::Open: {
            const QString path = fileChooser_(false, pictures);
            if (!path.isEmpty())
                graphView->OpenPicture(path);
            break;
        }
        case MainCommand::Save:
            graphView->SaveAs();
            break;
        case MainCommand::Clear:
            window(form_.graphs().current())->close();
            break;
        case MainCommand::Cut:
        case MainCommand::Copy:
            graphView->CopyToClipboard();
            break;
        case MainCommand::Paste:
            graphView->PasteFromClipboard();
            break;
        default:
            return false;
    }
    return true;
}

}  // namespace dalvex
