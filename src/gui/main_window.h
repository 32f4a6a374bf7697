// The main window on screen: menus, tool bar with the EditBox, the status line
// with the window tabs, and the child windows (data sheet, results). What
// the commands do and where the windows go is decided by TSMForm.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/main_window_model.h"
#include "session/session.h"
#include "sheet/file_dialog_model.h"

class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTabBar;

namespace dalvex {

class DialogColorFilter;
class FileDialogView;
class MacroKeyboard;
class GraphDesk;
class GraphView;
class GraphWindowsView;
class HelpWindow;
class ResultsView;
class SessionRecorder;
class SheetView;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(Workspace& ws, const std::string& programFolder, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The first paint's work, done once: the results window, the data sheet,
    // the store and the settings. False when the store could not be had.
    bool StartUp();
    bool started() const { return started_; }
    // A data file named when the program was started (from a file manager,
    // say) goes into the empty sheet as F3 would put it there; a file that
    // cannot be read gives its notice and the sheet stays empty.
    bool OpenAtStart(const std::string& path);

    // Runs a menu command (whatever way it was chosen).
    void Execute(MainCommand command);
    void ChooseTab(int tab);
    void ChooseLayout(int choice);
    // F9: the statistics menu, then the chosen method's run.
    void Statistics();
    void Transformations();
    void GraphMenu();
    // "Калькулятор=F7" on the sheet's current cell.
    void Calculator();
    // "Установки" and "Цвета".
    void Settings();
    void Colors();
    // The help page of a context number (F1 in the dialogs comes here).
    void HelpTopic(int context);
    // The methods F9 offers; tests put stand-ins in.
    MethodRegistry& methods() { return methods_; }
    // Everything the program holds besides its windows.
    Session& session() { return session_; }

    // TSMForm.RWDlg: prepares the file dialog (created once, reused) and
    // shows it modally. LastAnswer and TextBuffer hold the answer as well.
    FileChoice RWDlg(const FileRequest& request);
    // Tests drive the file dialog instead of the person: the driver gets the
    // dialog shown without its own event loop and presses its buttons.
    using FileDialogDriver = std::function<void(FileDialogView&)>;
    void SetFileDialogDriver(FileDialogDriver driver) { fileDialogDriver_ = std::move(driver); }

    TSMForm& form() { return form_; }
    SettingsFile& settingsFile() { return settingsFile_; }
    SheetView* sheetView() const { return sheetView_; }
    // The keyboard macros (on when the macro switch was kept on at start-up)
    // and the tool bar's "MACRO" indicator.
    MacroKeyboard* macroKeyboard() const { return macroKeyboard_; }
    QLabel* macroIndicator() const { return macroIndicator_; }
    ResultsView* resultsView() const { return resultsView_; }
    TEditForm* results() const { return results_; }
    SheetFiles* sheetFiles() const { return sheetFiles_; }
    FileDialogView* fileDialog() const { return fileDialogView_; }
    QMdiSubWindow* sheetWindow() const { return sheetWindow_; }
    QMdiSubWindow* resultsWindow() const { return resultsWindow_; }
    QMdiArea* mdiArea() const { return mdiArea_; }
    QTabBar* windowTabs() const { return tabs_; }
    QLineEdit* editBox() const { return editBox_; }
    QLabel* sheetStatus() const { return sheetStatus_; }
    // Graph windows by number (1..15); nullptr when the number is not open.
    GraphDesk* graphDesk() const { return graphDesk_; }
    GraphWindowsView* graphWindows() const { return graphWindows_; }
    QMdiSubWindow* graphWindow(int number) const;
    GraphView* graphView(int number) const;
    QList<QAction*> graphButtons() const;
    // After a method has run: closes the graph windows the person discarded
    // at the graph prompt.
    void CloseDiscardedGraphs();
    // How graph pictures are chosen for saving and opening; tests answer
    // without a dialog. An empty name cancels.
    using GraphFileChooser = std::function<QString(bool save, const QString& filter)>;
    void SetGraphFileChooser(GraphFileChooser chooser);

    QAction* commandAction(MainCommand command) const {
        const auto it = actions_.find(command);
        return it == actions_.end() ? nullptr : it->second;
    }

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusLine();
    QAction* CommandAction(MainCommand command, const char* caption, const char* hint,
                           const char* key);
    void CreateChildWindows();
    void ApplySettings();
    void UpdateCommandStates();
    bool CanExecute(MainCommand command) const;
    void WindowActivated(QMdiSubWindow* window);
    void RebuildTabs();
    void Relayout();
    void ApplyPlan(const TilingPlan& plan);
    void SnapBack();
    void SheetChanged();
    void ShowSheetCaption();
    void EditBoxEdited(const QString& text);
    void EditBoxEnter();
    void SheetPressed();
    bool TabBarEvent(QEvent* event);
    void FillWindowList(QMenu* menu);

    void OpenFile();
    void SaveFile();
    void Print();
    void Clear();
    void EditCommand(MainCommand command);
    // The data sheet's undo (true) or redo.
    void UndoRedo(bool undo);
    // "Запись сеанса": starts recording into a script file, or ends it and
    // writes the file. Needs the recorder between the program and the person.
    void RecordSession();
    SessionRecorder* Recorder() const;
    void ChooseFont();
    void Remember();
    void Help(MainCommand command);
    void ContextHelp();
    void RememberWindowState();

    void GraphClosed();
    void CloseGraphWindows(const std::vector<int>& numbers);
    GraphView* CurrentGraphView() const;

    Workspace& ws_;
    Session session_;
    TSMForm& form_;
    MethodRegistry& methods_;
    SettingsFile& settingsFile_;
    GraphDesk* const graphDesk_;
    // The session's sheet and results, shown once the first paint made their windows.
    TSht1* sheet_ = nullptr;
    TEditForm* results_ = nullptr;
    SheetFiles* sheetFiles_ = nullptr;
    TFMn fileDialogModel_;
    FileDialogView* fileDialogView_ = nullptr;
    FileDialogDriver fileDialogDriver_;
    bool started_ = false;
    bool closing_ = false;
    bool editBoxTyping_ = false;

    QMdiArea* mdiArea_ = nullptr;
    QMdiSubWindow* sheetWindow_ = nullptr;
    QMdiSubWindow* resultsWindow_ = nullptr;
    SheetView* sheetView_ = nullptr;
    ResultsView* resultsView_ = nullptr;
    std::map<MainCommand, QAction*> actions_;
    QMenu* layoutMenu_ = nullptr;
    QLineEdit* editBox_ = nullptr;
    std::string scriptPath_;  // where the session being recorded is written
    QAction* editBoxAction_ = nullptr;
    QLabel* sheetStatus_ = nullptr;
    QAction* sheetStatusAction_ = nullptr;
    QLabel* hintLine_ = nullptr;
    QTabBar* tabs_ = nullptr;
    int tabPressIndex_ = -1;
    int tabPressX_ = 0;
    bool tabDragging_ = false;
    HelpWindow* helpWindow_ = nullptr;
    QPrinter printer_;
    GraphWindowsView* graphWindows_ = nullptr;
    QLabel* macroIndicator_ = nullptr;
    QAction* macroIndicatorAction_ = nullptr;
    MacroKeyboard* macroKeyboard_ = nullptr;
    DialogColorFilter* dialogColors_ = nullptr;
};

}  // namespace dalvex
