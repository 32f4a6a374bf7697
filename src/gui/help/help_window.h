// The help viewer: the program's pages with a contents pane, a keyword search
// pane and back/forward. What to show is decided by the help index (core);
// this window only shows it.
#pragma once

#include <QMainWindow>
#include <QString>

#include "core/help_index.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QUrl;

namespace dalvex {

class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void ShowContents();
    // Opens the search pane with the key typed in and the focus on it; an
    // empty key lists every keyword.
    void ShowSearch(const QString& key = {});
    // The page of a context number; an unknown number shows the contents.
    void ShowContext(int contextNumber);
    void ShowHelpOnHelp();

  private:
    void BuildPanes();
    void BuildToolBar();
    void ShowTopic(const HelpTopic* topic);
    void FillSearchResults(const QString& key);
    void OpenTopicOfItem(QListWidgetItem* item);
    void OpenFirstSearchResult();
    void MarkCurrentTopic(const QUrl& source);
    void BringToFront();

    HelpIndex index_;
    QTabWidget* panes_ = nullptr;
    QListWidget* contentsList_ = nullptr;
    QWidget* searchPane_ = nullptr;
    QLineEdit* searchEdit_ = nullptr;
    QListWidget* searchList_ = nullptr;
    QTextBrowser* browser_ = nullptr;
};

// "Кое-что о пакете DALVEX": a modeless note about the package that stays
// until the user closes it. A second call brings the open one to the front.
void ShowAboutBox(QWidget* parent);

}  // namespace dalvex
