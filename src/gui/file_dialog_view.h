// The file dialog on screen ("Чтение файла" / "Запись файла"): the file list
// with the titles beside it in comments mode, the folder tree and the drive
// tabs, the type box, the comment and name fields and the search panel.
// Every action goes to the dialog's model (TFMn); the view shows what it
// leaves.
#pragma once

#include <QDialog>
#include <functional>

#include "sheet/file_dialog_model.h"

class QComboBox;
class QFileSystemModel;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabBar;
class QTreeView;
class QWidget;

namespace dalvex {

class FileDialogView : public QDialog {
    Q_OBJECT
  public:
    explicit FileDialogView(TFMn& model, QWidget* parent = nullptr);

    // After the model's Ini and Show: every control shows the model.
    void ShowModel();
    // F1 in the dialog shows this help topic.
    void SetHelp(std::function<void(int)> help) { help_ = std::move(help); }

    QListWidget* fileList() const { return files_; }
    QListWidget* titleList() const { return titles_; }
    QComboBox* typeBox() const { return types_; }
    QLineEdit* nameField() const { return name_; }
    QLineEdit* commentField() const { return comment_; }
    QLabel* currentFileLabel() const { return current_; }
    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* writeButton() const { return write_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* treeButton() const { return tree_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* menuButton() const { return menu_; }
    QPushButton* searchButton() const { return search_; }
    QPushButton* commentsButton() const { return comments_; }
    QComboBox* patternBox() const { return patterns_; }
    QTreeView* folderTree() const { return folders_; }
    QTabBar* driveTabs() const { return drives_; }
    QWidget* searchPanel() const { return searchPanel_; }

  public slots:
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Build();
    void ShowFiles();
    void ShowPanels();
    void ShowCurrentFile();
    void ShowFolder();
    void SetColumnWidth();
    void Finish();
    void FileClicked(int row);
    void FolderChosen(const QModelIndex& index);

    TFMn& model_;
    std::function<void(int)> help_;
    bool filling_ = false;  // the program, not the person, changes the controls
    int columns_ = 1;
    int rowHeight_ = 0;

    QTabBar* drives_ = nullptr;
    QTreeView* folders_ = nullptr;
    QFileSystemModel* folderModel_ = nullptr;
    QHBoxLayout* lists_ = nullptr;
    QListWidget* files_ = nullptr;
    QListWidget* titles_ = nullptr;
    QComboBox* types_ = nullptr;
    QLabel* current_ = nullptr;
    QLabel* commentLabel_ = nullptr;
    QLineEdit* comment_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* write_ = nullptr;
    QPushButton* confirm_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* tree_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* menu_ = nullptr;
    QWidget* searchPanel_ = nullptr;
    QPushButton* search_ = nullptr;
    QComboBox* patterns_ = nullptr;
    QPushButton* comments_ = nullptr;
    QPushButton* refresh_ = nullptr;
};

}  // namespace dalvex
