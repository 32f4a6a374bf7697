#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QToolBar>
#include <filesystem>

#include <fstream>

#include "batch/session_recorder.h"
#include "core/settings_dialog.h"
#include "gui/calculator_view.h"
#include "gui/colors_dialog_view.h"
#include "gui/dialog_colors.h"
#include "gui/file_dialog_view.h"
#include "gui/font_setting.h"
#include "gui/formula_views.h"
#include "gui/graph_view.h"
#include "gui/graph_windows_view.h"
#include "gui/macro_keyboard.h"
#include "gui/pinned_sub_window.h"
#include "gui/results_view.h"
#include "gui/sheet_view.h"
#include "gui/statistics_menu_view.h"
#include "gui/tool_icons.h"
#include "stats/statistics_methods.h"

#include "graphics/graph_desk.h"

#ifdef DALVEX_HAVE_HELP
#include "gui/help/help_window.h"
#endif

namespace dalvex {

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The results text is read from any file and written as text.
constexpr const char* ResultsOpenFilter = "Текстовые (*.txt)|*.txt|Все (*.*)|*.*|";
constexpr const char* ResultsSaveFilter = "Текстовые (*.txt)|*.txt|";

}  // namespace

MainWindow::MainWindow(Workspace& ws, const std::string& programFolder, QWidget* parent)
    : QMainWindow(parent),
      ws_(ws),
      session_(ws, BuiltStatisticsMethods()),
      form_(session_.form()),
      methods_(session_.methods()),
      settingsFile_(session_.settingsFile()),
      graphDesk_(&session_.graphs()),
      fileDialogModel_(ws),
      printer_(QPrinter::HighResolution) {
    session_.PrepareProgramFolder(programFolder);
    fileDialogView_ = new FileDialogView(fileDialogModel_, this);
    fileDialogView_->SetHelp([this](int context) { HelpTopic(context); });

    setWindowTitle(QStringLiteral("DALVEX"));
    setWindowIcon(ProgramIcon());
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->viewport()->setMouseTracking(true);
    mdiArea_->viewport()->installEventFilter(this);
    setCentralWidget(mdiArea_);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MainWindow::WindowActivated);
    session_.showResults = [this] {
        ChooseTab(1);  // "Rez"
        resultsWindow_->raise();
    };
    session_.graphsDiscarded = [this](const std::vector<int>& numbers) {
        CloseGraphWindows(numbers);
    };
    GraphWindowsView::Hooks hooks;
    hooks.tabsChanged = [this] { RebuildTabs(); };
    hooks.sheetChanged = [this] {
        if (sheetView_)
            sheetView_->Refresh();
    };
    hooks.printRequested = [this] { Execute(MainCommand::Print); };
    hooks.closed = [this] { GraphClosed(); };
    hooks.discardedClosed = [this] { WindowActivated(mdiArea_->activeSubWindow()); };
    graphWindows_ = new GraphWindowsView(ws_, form_, *graphDesk_, *mdiArea_, this, hooks);
    graphDesk_->shown = [this](int number, bool created) { graphWindows_->Show(number, created); };

#ifdef DALVEX_HAVE_HELP
    form_.helpAvailable = true;
#endif
    BuildMenus();
    BuildToolBar();
    BuildStatusLine();
    UpdateCommandStates();
    resize(900, 620);
    // Every dialog of the program wears the dialog colours of the moment.
    dialogColors_ = new DialogColorFilter(ws_.settings, this);
    qApp->installEventFilter(dialogColors_);
    macroKeyboard_ = new MacroKeyboard(ws_, macroIndicator_, macroIndicatorAction_, this);
}

MainWindow::~MainWindow() {
    // The child windows show models this window owns: they go first.
    ws_.report = nullptr;
    ws_.graphs = nullptr;
    delete graphWindows_;
    graphWindows_ = nullptr;
    mdiArea_->viewport()->removeEventFilter(this);
    disconnect(mdiArea_, nullptr, this, nullptr);
    if (sheetView_)
        disconnect(sheetView_, nullptr, this, nullptr);
    if (resultsView_)
        disconnect(resultsView_, nullptr, this, nullptr);
    delete mdiArea_;
    mdiArea_ = nullptr;
    delete fileDialogView_;
    fileDialogView_ = nullptr;
}

// ---------------------------------------------------------------------------
// Menus, tool bar, status line.

QAction* MainWindow::CommandAction(MainCommand command, const char* caption, const char* hint,
                                   const char* key) {
    auto* action = new QAction(Text(caption), this);
    action->setStatusTip(Text(hint));
    if (*key)
        action->setShortcut(QKeySequence(Text(key)));
    connect(action, &QAction::triggered, this, [this, command] { Execute(command); });
    actions_[command] = action;
    return action;
}

void MainWindow::BuildMenus() {
    for (const MenuBarEntry& entry : MainMenu()) {
        if (entry.items.empty()) {
            menuBar()->addAction(CommandAction(entry.command, entry.title, entry.hint, entry.key));
            continue;
        }
        QMenu* menu = menuBar()->addMenu(Text(entry.title));
        for (const MenuItem& item : entry.items) {
            if (item.command != MainCommand::Layout) {
                menu->addAction(CommandAction(item.command, item.caption, item.hint, item.key));
                continue;
            }
            layoutMenu_ = menu->addMenu(QString::fromStdString(form_.LayoutCaption()));
            layoutMenu_->menuAction()->setStatusTip(Text(item.hint));
            for (int i = 0; i < static_cast<int>(LayoutChoices.size()); ++i) {
                QAction* choice = layoutMenu_->addAction(Text(LayoutChoices[i].caption));
                choice->setStatusTip(Text(item.hint));
                connect(choice, &QAction::triggered, this, [this, i] { ChooseLayout(i); });
            }
        }
        if (QString::fromUtf8(entry.title) == QStringLiteral("Окна")) {
            // The child windows, listed below the commands.
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
        }
    }
    // F1 shows the help page of the active window.
    auto* contextHelp = new QAction(this);
    contextHelp->setShortcut(QKeySequence(Qt::Key_F1));
    connect(contextHelp, &QAction::triggered, this, &MainWindow::ContextHelp);
    addAction(contextHelp);
}

void MainWindow::FillWindowList(QMenu* menu) {
    for (QAction* action : menu->actions())
        if (action->property("windowList").toBool()) {
            menu->removeAction(action);
            action->deleteLater();
        }
    QAction* separator = menu->addSeparator();
    separator->setProperty("windowList", true);
    int n = 1;
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        QAction* item =
            menu->addAction(QStringLiteral("%1 %2").arg(n++).arg(window->windowTitle()));
        item->setProperty("windowList", true);
        item->setCheckable(true);
        item->setChecked(window == mdiArea_->activeSubWindow());
        connect(item, &QAction::triggered, this,
                [this, window] { mdiArea_->setActiveSubWindow(window); });
    }
}

void MainWindow::BuildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("DALVEX"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(22, 22));
    bar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (const ToolButton& button : MainToolButtons()) {
        const HintParts hint = SplitHint(button.hint);
        QAction* menuAction = actions_[button.command];
        auto* action =
            new QAction(ToolIcon(button.command), QString::fromStdString(hint.tip), this);
        action->setToolTip(QString::fromStdString(hint.tip));
        action->setStatusTip(QString::fromStdString(hint.status));
        connect(action, &QAction::triggered, menuAction, &QAction::trigger);
        connect(menuAction, &QAction::enabledChanged, action, &QAction::setEnabled);
        bar->addAction(action);
        if (button.command == MainCommand::Paste || button.command == MainCommand::Open)
            bar->addSeparator();
    }
    graphWindows_->AddButtons(*bar);

    editBox_ = new QLineEdit(bar);
    editBox_->setMinimumWidth(260);
    editBox_->setMaximumWidth(360);
    editBox_->setStatusTip(QStringLiteral("Содержимое текущей ячейки таблицы"));
    editBoxAction_ = bar->addWidget(editBox_);
    connect(editBox_, &QLineEdit::textEdited, this, &MainWindow::EditBoxEdited);
    connect(editBox_, &QLineEdit::returnPressed, this, &MainWindow::EditBoxEnter);

    sheetStatus_ = new QLabel(bar);
    sheetStatus_->setMinimumWidth(220);
    sheetStatus_->setContentsMargins(10, 0, 6, 0);
    sheetStatusAction_ = bar->addWidget(sheetStatus_);

    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);

    macroIndicator_ = new QLabel(QStringLiteral("MACRO"), bar);
    macroIndicator_->setAlignment(Qt::AlignCenter);
    macroIndicatorAction_ = bar->addWidget(macroIndicator_);
    macroIndicatorAction_->setVisible(false);  // shown while a macro records
}

void MainWindow::BuildStatusLine() {
    QStatusBar* line = statusBar();
    line->setSizeGripEnabled(true);
    tabs_ = new QTabBar(line);
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setDocumentMode(true);
    tabs_->setStatusTip(Text(TabsHint));
    tabs_->setToolTip(Text(TabsHint));
    tabs_->installEventFilter(this);
    line->addWidget(tabs_);
    hintLine_ = new QLabel(line);
    hintLine_->setContentsMargins(12, 0, 0, 0);
    line->addWidget(hintLine_, 1);
    RebuildTabs();
}

void MainWindow::RebuildTabs() {
    const QSignalBlocker block(tabs_);
    while (tabs_->count() > 0)
        tabs_->removeTab(0);
    for (const std::string& caption : form_.TabCaptions())
        tabs_->addTab(QString::fromStdString(caption));
    tabs_->setCurrentIndex(form_.currentTab());
}

// The status line shows the hint of whatever is under the mouse.
bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        if (hintLine_)
            hintLine_->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// ---------------------------------------------------------------------------
// Start-up.

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!started_ && ws_.ActiveWindowKind == 0)
        StartUp();
}

bool MainWindow::StartUp() {
    if (started_)
        return true;
    setWindowTitle(Text(MainCaption));
    CreateChildWindows();
    if (!session_.StartUp())
        return false;
    started_ = true;
    sheetView_->setFocus();
    ApplySettings();
    macroKeyboard_->SetActive(form_.MacroSwitchAtStart());
    sheetView_->Refresh();
    Relayout();
    UpdateCommandStates();
    return true;
}

bool MainWindow::OpenAtStart(const std::string& path) {
    if (!started_)
        return false;
    const bool read = sheetFiles_->Read(path, ws_.sheet.VariableCount() == 0);
    if (read) {
        // As the file dialog does: the next F3 opens where this file lies.
        const std::filesystem::path folder = std::filesystem::absolute(path).parent_path();
        ws_.settings.DataFolder = folder.string() + "/";
        // A session recorded from here on starts by opening this file.
        if (SessionRecorder* recorder = Recorder())
            recorder->DataFileOpened(std::filesystem::absolute(path).string());
        ShowSheetCaption();
    }
    sheetView_->Refresh();
    UpdateCommandStates();
    return read;
}

void MainWindow::CreateChildWindows() {
    if (sheet_)
        return;
    results_ = &session_.results();
    resultsView_ = new ResultsView(*results_);
    auto* results = new PinnedSubWindow(resultsView_);
    mdiArea_->addSubWindow(results);
    results->RemoveCloseButton();
    results->setWindowIcon(ProgramIcon());
    resultsWindow_ = results;
    const QSize client = mdiArea_->viewport()->size();
    const WindowRect place = form_.NewWindowRect(2, client.width(), client.height());
    resultsWindow_->setGeometry(place.left, place.top, place.width, place.height);
    resultsWindow_->show();
    connect(resultsView_, &ResultsView::activated, this,
            [this] { mdiArea_->setActiveSubWindow(resultsWindow_); });

    sheet_ = &session_.sheet();
    sheetFiles_ = &session_.files();
    sheetView_ = new SheetView(ws_, *sheet_);
    auto* sheet = new PinnedSubWindow(sheetView_);
    mdiArea_->addSubWindow(sheet);
    sheet->RemoveCloseButton();
    sheet->setWindowIcon(ProgramIcon());
    sheetWindow_ = sheet;
    sheetWindow_->show();
    connect(sheetView_, &SheetView::changed, this, &MainWindow::SheetChanged);
    connect(sheetView_, &SheetView::deleteRequested, this,
            [this] { Execute(MainCommand::Delete); });
    connect(sheetView_, &SheetView::pressed, this, &MainWindow::SheetPressed);
    connect(sheetView_, &SheetView::pointerMoved, this, &MainWindow::SnapBack);
    connect(sheetView_, &SheetView::activated, this,
            [this] { mdiArea_->setActiveSubWindow(sheetWindow_); });
}

void MainWindow::ApplySettings() {
    const SettingsValues& s = ws_.settings;
    sheetView_->ApplySettings();
    resultsView_->ApplyFont(s.resultsFont);
    if (s.windowWidth > 0 && s.windowHeight > 0)
        resize(s.windowWidth, s.windowHeight);
    if (s.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

// ---------------------------------------------------------------------------
// Active window, command states.

void MainWindow::WindowActivated(QMdiSubWindow* window) {
    if (window == nullptr || closing_)
        return;
    const bool sheet = window == sheetWindow_;
    const int graph = graphWindows_->NumberOf(window);
    form_.WindowActivated(sheet ? 1 : (graph != 0 ? 3 : 2), graph);
    editBoxAction_->setVisible(sheet);
    sheetStatusAction_->setVisible(sheet);
    graphWindows_->ShowButtons(graph);
    UpdateCommandStates();
}

bool MainWindow::CanExecute(MainCommand command) const {
    return form_.CanExecute(command);
}

void MainWindow::UpdateCommandStates() {
    for (const auto& [command, action] : actions_)
        action->setEnabled(CanExecute(command));
}

// ---------------------------------------------------------------------------
// Tabs and tiling.

void MainWindow::ChooseTab(int tab) {
    const QSize client = mdiArea_->viewport()->size();
    const auto plan = form_.ChooseTab(tab, client.width(), client.height());
    if (!plan)
        return;
    ApplyPlan(*plan);
}

void MainWindow::ChooseLayout(int choice) {
    form_.SetLayout(choice);
    layoutMenu_->setTitle(QString::fromStdString(form_.LayoutCaption()));
    Relayout();
}

void MainWindow::Relayout() {
    if (!sheetWindow_)
        return;
    ChooseTab(form_.currentTab());
}

namespace {

void Place(QMdiSubWindow* window, const WindowPlacement& placement) {
    if (window == nullptr || placement.change == WindowPlacement::Change::Keep)
        return;
    if (window->isMaximized() || window->isMinimized())
        window->showNormal();
    const WindowRect& r = placement.rect;
    if (placement.change == WindowPlacement::Change::Resize)
        window->resize(r.width, r.height);
    else
        window->setGeometry(r.left, r.top, r.width, r.height);
}

}  // namespace

void MainWindow::ApplyPlan(const TilingPlan& plan) {
    const auto before = form_.runState;
    form_.runState = TSMForm::RunState::Relayout;
    Place(sheetWindow_, plan.sheet);
    Place(resultsWindow_, plan.results);
    for (const auto& [number, placement] : plan.graphs)
        Place(graphWindow(number), placement);
    form_.runState = before;
    {
        const QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(form_.currentTab());
    }
    if (plan.focusKind == 3 && graphWindow(plan.focusGraph)) {
        graphWindow(plan.focusGraph)->raise();
        mdiArea_->setActiveSubWindow(graphWindow(plan.focusGraph));
        graphView(plan.focusGraph)->setFocus();
    } else if (plan.focusKind == 2) {
        resultsWindow_->raise();
        mdiArea_->setActiveSubWindow(resultsWindow_);
        resultsView_->setFocus();
    } else {
        sheetWindow_->raise();
        mdiArea_->setActiveSubWindow(sheetWindow_);
        sheetView_->setFocus();
    }
    WindowActivated(mdiArea_->activeSubWindow());
}

void MainWindow::SnapBack() {
    if (!sheetWindow_)
        return;
    const auto moves = form_.SnapBack(sheetWindow_->x(), sheetWindow_->y(), resultsWindow_->x(),
                                      resultsWindow_->y());
    if (moves.sheet)
        sheetWindow_->move(moves.sheet->left, moves.sheet->top);
    if (moves.results)
        resultsWindow_->move(moves.results->left, moves.results->top);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabs_)
        return TabBarEvent(event);
    if (mdiArea_ && watched == mdiArea_->viewport()) {
        if (event->type() == QEvent::MouseMove)
            SnapBack();
        if (event->type() == QEvent::Resize)
            Relayout();
    }
    return QMainWindow::eventFilter(watched, event);
}

// A click chooses a tab; a graph tab pulled sideways onto another graph tab
// moves there.
bool MainWindow::TabBarEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return true;
            tabPressIndex_ = tabs_->tabAt(mouse->position().toPoint());
            tabPressX_ = mouse->position().toPoint().x();
            tabDragging_ = false;
            if (tabPressIndex_ >= 0)
                ChooseTab(tabPressIndex_);
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (tabPressIndex_ >= 2 && (mouse->buttons() & Qt::LeftButton) &&
                SidewaysDragStarts(tabPressX_, mouse->position().toPoint().x()))
                tabDragging_ = true;
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (tabDragging_ &&
                form_.DropGraphTab(tabPressIndex_, tabs_->tabAt(mouse->position().toPoint()))) {
                RebuildTabs();
                Relayout();
            }
            tabPressIndex_ = -1;
            tabDragging_ = false;
            return true;
        }
        default:
            return false;
    }
}

// ---------------------------------------------------------------------------
// Sheet and EditBox.

void MainWindow::SheetChanged() {
    if (!editBoxTyping_)
        editBox_->setText(QString::fromStdString(sheet_->EditBoxText()));
    sheetStatus_->setText(QString::fromStdString(sheet_->StatusText()));
}

void MainWindow::EditBoxEdited(const QString& text) {
    if (!sheet_)
        return;
    form_.EditBoxUsed();
    editBoxTyping_ = true;
    sheet_->EditBoxChanged(text.toStdString());
    sheetView_->Refresh();
    editBoxTyping_ = false;
}

void MainWindow::EditBoxEnter() {
    if (!sheetWindow_)
        return;
    resultsWindow_->raise();
    sheetWindow_->raise();
    mdiArea_->setActiveSubWindow(sheetWindow_);
    sheetView_->setFocus();
}

void MainWindow::SheetPressed() {
    if (!form_.SheetClicked())
        return;
    resultsWindow_->raise();
    sheetWindow_->raise();
}

// ---------------------------------------------------------------------------
// Commands.

void MainWindow::Execute(MainCommand command) {
    if (!CanExecute(command))
        return;
    switch (command) {
        case MainCommand::Open:
            OpenFile();
            break;
        case MainCommand::Save:
            SaveFile();
            break;
        case MainCommand::Clear:
            Clear();
            break;
        case MainCommand::Print:
            Print();
            break;
        case MainCommand::PrinterSetup: {
            QPageSetupDialog dialog(&printer_, this);
            dialog.exec();
            break;
        }
        case MainCommand::Exit:
            close();
            break;
        case MainCommand::Cut:
        case MainCommand::Copy:
        case MainCommand::Paste:
        case MainCommand::Delete:
            EditCommand(command);
            break;
        case MainCommand::Undo:
        case MainCommand::Redo:
            UndoRedo(command == MainCommand::Undo);
            break;
        case MainCommand::RecordSession:
            RecordSession();
            break;
        case MainCommand::Font:
            ChooseFont();
            break;
        case MainCommand::Settings:
            Settings();
            break;
        case MainCommand::Colors:
            Colors();
            break;
        case MainCommand::Remember:
            Remember();
            break;
        case MainCommand::Statistics:
            Statistics();
            break;
        case MainCommand::Transformations:
            Transformations();
            break;
        case MainCommand::Graphs:
            GraphMenu();
            break;
        case MainCommand::Calculator:
            Calculator();
            break;
        case MainCommand::HelpContents:
        case MainCommand::HelpSearch:
        case MainCommand::HelpMethod:
        case MainCommand::HelpOnHelp:
        case MainCommand::About:
            Help(command);
            break;
        default:
            break;
    }
}

FileChoice MainWindow::RWDlg(const FileRequest& request) {
    fileDialogModel_.Ini(request);
    fileDialogModel_.Show();
    fileDialogView_->ShowModel();
    if (fileDialogDriver_) {
        fileDialogView_->show();
        fileDialogDriver_(*fileDialogView_);
        if (fileDialogView_->isVisible())
            fileDialogView_->reject();
    } else {
        fileDialogView_->exec();
    }
    return fileDialogModel_.choice();
}

void MainWindow::OpenFile() {
    if (graphWindows_->Command(MainCommand::Open))
        return;
    switch (form_.Route(MainCommand::Open)) {
        case CommandTarget::Sheet: {
            SessionRecorder* recorder = Recorder();
            bool opened = false;
            {
                // The script's "open" asks none of F3's questions.
                const SessionRecorder::Quiet quiet(recorder);
                opened = sheetFiles_->Open();
            }
            if (opened) {
                if (recorder != nullptr)
                    recorder->DataFileOpened(recorder->lastChosenPath());
                sheetView_->horizontalScrollBar()->setValue(0);
                sheetView_->verticalScrollBar()->setValue(0);
                ShowSheetCaption();
            }
            sheetView_->Refresh();
            break;
        }
        case CommandTarget::Results: {
            FileRequest request;
            request.filter = ResultsOpenFilter;
            const FileChoice choice = RWDlg(request);
            if (!choice.chosen)
                return;
            const std::string error = resultsView_->OpenFile(QString::fromStdString(choice.path));
            if (!error.empty())
                ShowNotice(ws_, error);
            break;
        }
        default:
            break;
    }
}

void MainWindow::SaveFile() {
    if (graphWindows_->Command(MainCommand::Save))
        return;
    switch (form_.Route(MainCommand::Save)) {
        case CommandTarget::Sheet: {
            SessionRecorder* recorder = Recorder();
            bool saved = false;
            {
                const SessionRecorder::Quiet quiet(recorder);
                saved = sheetFiles_->Save();
            }
            if (saved) {
                if (recorder != nullptr)
                    recorder->Command("save " + SessionRecorder::Word(recorder->lastChosenPath()));
                ShowSheetCaption();
            }
            sheetView_->Refresh();
            break;
        }
        case CommandTarget::Results: {
            FileRequest request;
            request.mode = 1;
            request.filter = ResultsSaveFilter;
            const FileChoice choice = RWDlg(request);
            if (!choice.chosen)
                return;
            const std::string error = resultsView_->SaveFile(QString::fromStdString(choice.path));
            if (!error.empty())
                ShowNotice(ws_, error);
            break;
        }
        default:
            break;
    }
}

void MainWindow::ShowSheetCaption() {
    const QString caption = QString::fromStdString(sheetFiles_->Caption());
    sheetView_->setWindowTitle(caption);
    sheetWindow_->setWindowTitle(caption);
}

void MainWindow::Clear() {
    if (graphWindows_->Command(MainCommand::Clear))
        return;
    switch (form_.Route(MainCommand::Clear)) {
        case CommandTarget::Sheet:
            sheetFiles_->Clear();
            ShowSheetCaption();
            sheetView_->Refresh();
            break;
        case CommandTarget::Results:
            results_->Clear();
            break;
        default:
            break;
    }
}

void MainWindow::Print() {
    const CommandTarget target = form_.Route(MainCommand::Print);
    if (target == CommandTarget::Sheet && !sheetView_->HasSomethingToPrint())
        return;
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (target == CommandTarget::Sheet)
        sheetView_->Print(printer_);
    else if (target == CommandTarget::Results)
        resultsView_->Print(printer_);
    else if (target == CommandTarget::Graph && CurrentGraphView())
        CurrentGraphView()->Print(printer_);
}

void MainWindow::EditCommand(MainCommand command) {
    if (graphWindows_->Command(command))
        return;
    const CommandTarget target = form_.Route(command);
    if (target == CommandTarget::Sheet) {
        switch (command) {
            case MainCommand::Cut:
                sheetView_->CopySelection(1);
                break;
            case MainCommand::Copy:
                sheetView_->CopySelection(2);
                break;
            case MainCommand::Paste:
                sheetView_->PasteClipboard();
                break;
            default:
                sheet_->DeleteCommand(editBox_->hasFocus());
                sheetView_->Refresh();
                break;
        }
    } else if (target == CommandTarget::Results) {
        switch (command) {
            case MainCommand::Cut:
                resultsView_->cut();
                break;
            case MainCommand::Copy:
                resultsView_->copy();
                break;
            case MainCommand::Paste:
                resultsView_->paste();
                break;
            default:
                resultsView_->textCursor().removeSelectedText();
                break;
        }
    }
}

void MainWindow::UndoRedo(bool undo) {
    if (!sheet_)
        return;
    // The sheet's history, whichever window is in front.
    if (undo)
        sheet_->Undo();
    else
        sheet_->Redo();
    sheetView_->Refresh();
    UpdateCommandStates();
}

// ---------------------------------------------------------------------------
// Session recording.

SessionRecorder* MainWindow::Recorder() const {
    return dynamic_cast<SessionRecorder*>(&ws_.ui);
}

void MainWindow::RecordSession() {
    SessionRecorder* recorder = Recorder();
    if (recorder == nullptr)
        return;
    QAction* action = commandAction(MainCommand::RecordSession);
    if (recorder->recording()) {
        const std::string script = recorder->Stop();
        std::ofstream out(scriptPath_, std::ios::binary | std::ios::trunc);
        out.write(script.data(), static_cast<std::streamsize>(script.size()));
        out.flush();
        if (!out)
            ShowNotice(ws_, "Прерывание: сценарий " + scriptPath_ + " не записан");
        else
            WriteResult(ws_, "Запись сеанса закончена: сценарий " + scriptPath_);
        if (action != nullptr)
            action->setText(QStringLiteral("Запись сеанса"));
        return;
    }
    // The sheet's data come from the file last opened or saved, when the
    // sheet still names it.
    std::string dataFile = recorder->lastChosenPath();
    FileRequest request;
    request.mode = 1;
    request.filter = "Сценарии (*.txt)|*.txt|";
    request.defaultName = "сеанс.txt";
    const FileChoice choice = ws_.ui.ChooseFile(request);
    if (!choice.chosen)
        return;
    scriptPath_ = choice.path;
    const std::string& shown = sheetFiles_->fileName();
    if (shown.empty() || dataFile.size() < shown.size() ||
        dataFile.compare(dataFile.size() - shown.size(), shown.size(), shown) != 0)
        dataFile.clear();
    recorder->Start(ws_, dataFile);
    if (dataFile.empty() && ws_.sheet.VariableCount() > 0)
        recorder->Comment("таблица данных на начало записи не из файла: сценарий её не откроет");
    if (action != nullptr)
        action->setText(QStringLiteral("Закончить запись сеанса"));
}

void MainWindow::ChooseFont() {
    const CommandTarget target = form_.Route(MainCommand::Font);
    FontSetting* setting = target == CommandTarget::Sheet     ? &ws_.settings.sheetFont
                           : target == CommandTarget::Results ? &ws_.settings.resultsFont
                           : target == CommandTarget::Graph   ? &ws_.settings.GraphFont
                                                              : nullptr;
    if (setting == nullptr)
        return;
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, ToQFont(*setting), this);
    if (!ok)
        return;
    TakeFont(font, *setting);
    if (target == CommandTarget::Graph) {
        // Every graph drawn from now on takes the new font.
        graphWindows_->ApplyFont();
        return;
    }
    if (target == CommandTarget::Sheet)
        sheetView_->ApplySettings();
    else
        resultsView_->ApplyFont(*setting);
}

void MainWindow::RememberWindowState() {
    ws_.settings.maximized = isMaximized();
    const QSize size = isMaximized() ? normalGeometry().size() : this->size();
    ws_.settings.windowWidth = size.width();
    ws_.settings.windowHeight = size.height();
}

void MainWindow::Remember() {
    RememberWindowState();
    settingsFile_.Remember(ws_);
}

void MainWindow::Help(MainCommand command) {
#ifdef DALVEX_HAVE_HELP
    if (command == MainCommand::About) {
        ShowAboutBox(this);
        return;
    }
    if (!helpWindow_)
        helpWindow_ = new HelpWindow(this);
    switch (command) {
        case MainCommand::HelpContents:
            helpWindow_->ShowContents();
            break;
        case MainCommand::HelpSearch:
            helpWindow_->ShowSearch();
            break;
        case MainCommand::HelpMethod:
            helpWindow_->ShowContext(1);
            break;
        default:
            helpWindow_->ShowHelpOnHelp();
            break;
    }
#else
    (void)command;
#endif
}

void MainWindow::ContextHelp() {
    HelpTopic(form_.HelpContext());
}

void MainWindow::HelpTopic(int context) {
#ifdef DALVEX_HAVE_HELP
    if (!helpWindow_)
        helpWindow_ = new HelpWindow(this);
    helpWindow_->ShowContext(context);
#else
    (void)context;
#endif
}

// ---------------------------------------------------------------------------
// Close.

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!AskYesNo(ws_, CloseQuestion)) {
        event->ignore();
        return;
    }
    closing_ = true;
    form_.runState = TSMForm::RunState::Closing;
    if (started_) {
        RememberWindowState();
        settingsFile_.SaveAtClose(ws_);
    }
    if (helpWindow_)
        helpWindow_->close();
    event->accept();
}

// ---------------------------------------------------------------------------
// Graph windows: their own file; here only what the main window asks of them.

QMdiSubWindow* MainWindow::graphWindow(int number) const {
    return graphWindows_->window(number);
}

GraphView* MainWindow::graphView(int number) const {
    return graphWindows_->view(number);
}

QList<QAction*> MainWindow::graphButtons() const {
    return graphWindows_->buttons();
}

GraphView* MainWindow::CurrentGraphView() const {
    return graphWindows_->current();
}

void MainWindow::SetGraphFileChooser(GraphFileChooser chooser) {
    graphWindows_->SetFileChooser(std::move(chooser));
}

void MainWindow::CloseDiscardedGraphs() {
    session_.CloseDiscardedGraphs();
}

// The models of these graph windows are gone: their windows close.
void MainWindow::CloseGraphWindows(const std::vector<int>& numbers) {
    graphWindows_->CloseWindows(numbers);
}

// A graph window closed (by the person or by Clear).
void MainWindow::GraphClosed() {
    if (graphWindows_->empty() && ws_.ActiveWindowKind == 3)
        form_.WindowActivated(mdiArea_->activeSubWindow() == resultsWindow_ ? 2 : 1);
    UpdateCommandStates();
}

// ---------------------------------------------------------------------------
// Statistics.

void MainWindow::Statistics() {
    TStMet menu(ws_, [this](int method) { return methods_.Has(method); });
    if (!menu.MayOpen())
        return;
    const int method = StatisticsMenuView::Run(menu, this);
    if (method == 0 || !menu.MayRun(method))
        return;
    if (SessionRecorder* recorder = Recorder())
        recorder->Command("method " + std::to_string(method));
    session_.RunMethod(method);
    if (sheetView_)
        sheetView_->Refresh();
}

void MainWindow::Settings() {
    if (Tqset(ws_).accepted && sheetView_) {
        sheetView_->ApplySettings();
        sheetView_->Refresh();
    }
}

void MainWindow::Colors() {
    ColorsDialogView view(ws_.settings, this);
    view.exec();
}

// ---------------------------------------------------------------------------
// Transformations.

void MainWindow::Transformations() {
    if (SessionRecorder* recorder = Recorder()) {
        // The menu works on the sheet's selection: the script selects it first.
        const SheetSelection& s = session_.sheet().selection();
        recorder->Command("select " + std::to_string(std::max(s.left, 1)) + " " +
                          std::to_string(std::max(s.top, 1)) + " " + std::to_string(s.right) + " " +
                          std::to_string(s.bottom));
        recorder->Command("transform");
    }
    session_.RunTransformations();
    if (sheetView_)
        sheetView_->Refresh();
}

// ---------------------------------------------------------------------------
// Graphs of the sheet's variables.

void MainWindow::GraphMenu() {
    if (SessionRecorder* recorder = Recorder())
        recorder->Command("graphs");
    session_.RunGraphMenu();
}

void MainWindow::Calculator() {
    Tqclc calculator(ws_);
    calculator.Open();
    const TSht1& sheet = session_.sheet();
    CalculatorView view(calculator, sheet.cursorColumn(), sheet.cursorRow(), this);
    BindHelpKey(
        view, [this](int context) { HelpTopic(context); }, Tqclc::HelpContext);
    view.exec();
}

}  // namespace dalvex
