// The data sheet on screen ("Таблица данных"): a table over the sheet's
// cells whose every key and click goes to the sheet's editing model (TSht1);
// the view then shows the cells, selection and scroll position the model
// leaves.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include "sheet/sheet_editor.h"

class QMenu;
class QPrinter;

namespace dalvex {

// The sheet's cells as a Qt model: column 0 of the grid is the vertical
// header, row 0 the horizontal one. Reads the grid on demand and holds nothing
// per cell.
class SheetTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit SheetTableModel(const SheetGrid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The grid changed: everything on screen is read again.
    void RefreshAll();

  private:
    const SheetGrid& grid_;
};

class SheetView : public QTableView {
    Q_OBJECT
  public:
    SheetView(Workspace& ws, TSht1& sheet, QWidget* parent = nullptr);

    TSht1& sheet() { return sheet_; }
    SheetTableModel* sheetModel() const { return model_; }

    // Font, column width and row height from the settings.
    void ApplySettings();
    // After every command: cells, selection, and the changed() signal for the
    // EditBox and the status label.
    void Refresh();

    // SelSht mode 1 (cut) or 2 (copy), the text going to the system clipboard.
    void CopySelection(int mode);
    void PasteClipboard();
    // False when the printer could not be opened.
    bool Print(QPrinter& printer) const;
    bool HasSomethingToPrint() const { return sheet_.HasPrintableData(); }

  signals:
    void changed();
    // The Delete key: the main window's Delete (with its question).
    void deleteRequested();
    // A press on a cell or a header (the EditBox-in-use rule).
    void pressed();
    void activated();
    // The pointer moved over the sheet (snap-back).
    void pointerMoved();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  public slots:
    // The corner button: the corner cell's selection shortcut.
    void selectAll() override;

  private:
    void BuildContextMenu();
    bool NameHeaderEvent(QEvent* event);
    bool LabelHeaderEvent(QEvent* event);
    void SyncSelection();
    void EnforceScrollLimit();
    void ShowCursorCell();
    // Grid column and row under a viewport point, clamped into the view.
    std::pair<int, int> CellAt(QPoint pos) const;
    void TypeCharacters(const QString& text);

    Workspace& ws_;
    TSht1& sheet_;
    SheetTableModel* model_;
    QMenu* contextMenu_ = nullptr;
    bool syncing_ = false;
    bool limiting_ = false;
    bool selecting_ = false;
    // A press on a variable name that may become a column drag.
    int dragSource_ = 0;
    int dragPressX_ = 0;
    bool dragging_ = false;
};

}  // namespace dalvex
