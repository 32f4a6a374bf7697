#include "gui/sheet_view.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "core/main_window_model.h"
#include "gui/font_setting.h"
#include "gui/text_printing.h"

namespace dalvex {

// ---------------------------------------------------------------------------
// SheetTableModel

SheetTableModel::SheetTableModel(const SheetGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

int SheetTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SheetRows;
}

int SheetTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SheetColumns;
}

QVariant SheetTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const std::string& text = grid_.Cell(index.column() + 1, index.row() + 1);
    if (text.empty())
        return {};
    return QString::fromStdString(text);
}

QVariant SheetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const std::string& text =
        orientation == Qt::Horizontal ? grid_.Cell(section + 1, 0) : grid_.Cell(0, section + 1);
    return QString::fromStdString(text);
}

void SheetTableModel::RefreshAll() {
    emit dataChanged(index(0, 0), index(SheetRows - 1, SheetColumns - 1), {Qt::DisplayRole});
    emit headerDataChanged(Qt::Horizontal, 0, SheetColumns - 1);
    emit headerDataChanged(Qt::Vertical, 0, SheetRows - 1);
}

// ---------------------------------------------------------------------------
// SheetView

namespace {

constexpr int kLabelColumnWidth = 40;
// The context menu opens this far from the pointer, clear of the cell.
const QPoint kContextMenuOffset(-20, 40);

}  // namespace

SheetView::SheetView(Workspace& ws, TSht1& sheet, QWidget* parent)
    : QTableView(parent), ws_(ws), sheet_(sheet), model_(new SheetTableModel(ws.sheet, this)) {
    setWindowTitle(QStringLiteral("Таблица данных"));
    setStatusTip(QStringLiteral("Электронная таблица для хранения и редактирования данных"));
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAutoScroll(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(true);
    viewport()->setMouseTracking(true);  // moves without a button snap stray windows back
    setTabKeyNavigation(false);

    QHeaderView* names = horizontalHeader();
    names->setSectionResizeMode(QHeaderView::Fixed);
    names->setSectionsClickable(false);
    names->setHighlightSections(true);
    names->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    names->viewport()->installEventFilter(this);
    names->viewport()->setMouseTracking(true);

    QHeaderView* labels = verticalHeader();
    labels->setSectionResizeMode(QHeaderView::Fixed);
    labels->setSectionsClickable(false);
    labels->setHighlightSections(true);
    labels->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    labels->setFixedWidth(kLabelColumnWidth);
    labels->viewport()->installEventFilter(this);

    // Every scroll, whatever moved it, is held to the data.
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &SheetView::EnforceScrollLimit);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &SheetView::EnforceScrollLimit);

    BuildContextMenu();
    ApplySettings();
}

void SheetView::BuildContextMenu() {
    contextMenu_ = new QMenu(this);
    auto add = [this](const char* caption, const char* key, auto action) {
        QAction* item = contextMenu_->addAction(QString::fromUtf8(caption));
        if (*key)
            item->setShortcut(QKeySequence(QString::fromLatin1(key)));
        connect(item, &QAction::triggered, this, action);
    };
    add("Копировать", "Ctrl+C", [this] { CopySelection(2); });
    add("Вставить", "Ctrl+V", [this] { PasteClipboard(); });
    add("Удалить", "Del", [this] { CopySelection(1); });
    add("Удалить переменную", "", [this] {
        sheet_.DeleteVariable();
        Refresh();
    });
    add("Удалить строку", "", [this] {
        sheet_.DeleteRow();
        Refresh();
    });
}

void SheetView::ApplySettings() {
    const SettingsValues& s = ws_.settings;
    ApplyFont(this, s.sheetFont);
    horizontalHeader()->setFont(font());
    verticalHeader()->setFont(font());
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(s.columnWidth);
    verticalHeader()->setDefaultSectionSize(s.rowHeight);
    horizontalHeader()->setFixedHeight(s.rowHeight + 4);
}

void SheetView::Refresh() {
    // Whatever changed the grid since the last command (a file opened, a
    // method's results) becomes an undo step of its own.
    sheet_.RecordStep();
    model_->RefreshAll();
    SyncSelection();
    EnforceScrollLimit();
    emit changed();
}

void SheetView::SyncSelection() {
    if (syncing_)
        return;
    syncing_ = true;
    const SheetSelection& s = sheet_.selection();
    // Names and labels are headers here; a selection reaching into them shows
    // from the first data row or column.
    auto at = [this](int col, int row) {
        return model_->index(std::clamp(row, 1, SheetRows) - 1,
                             std::clamp(col, 1, SheetColumns) - 1);
    };
    selectionModel()->select(QItemSelection(at(s.left, s.top), at(s.right, s.bottom)),
                             QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(at(sheet_.cursorColumn(), sheet_.cursorRow()),
                                      QItemSelectionModel::NoUpdate);
    syncing_ = false;
}

void SheetView::EnforceScrollLimit() {
    if (limiting_)
        return;
    limiting_ = true;
    const SheetScroll at{horizontalScrollBar()->value() + 1, verticalScrollBar()->value() + 1};
    const SheetScroll limited =
        sheet_.LimitScroll(at, viewport()->width() + verticalHeader()->width());
    if (limited.leftColumn != at.leftColumn)
        horizontalScrollBar()->setValue(limited.leftColumn - 1);
    if (limited.topRow != at.topRow)
        verticalScrollBar()->setValue(limited.topRow - 1);
    limiting_ = false;
}

void SheetView::ShowCursorCell() {
    scrollTo(model_->index(sheet_.cursorRow() - 1, sheet_.cursorColumn() - 1));
}

std::pair<int, int> SheetView::CellAt(QPoint pos) const {
    const int x = std::clamp(pos.x(), 0, std::max(viewport()->width() - 1, 0));
    const int y = std::clamp(pos.y(), 0, std::max(viewport()->height() - 1, 0));
    const int col = columnAt(x);
    const int row = rowAt(y);
    return {col < 0 ? SheetColumns : col + 1, row < 0 ? SheetRows : row + 1};
}

void SheetView::CopySelection(int mode) {
    sheet_.SelSht(mode);
    QApplication::clipboard()->setText(QString::fromStdString(sheet_.clipboardText()));
    Refresh();
}

void SheetView::PasteClipboard() {
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    sheet_.Paste(text.toStdString());
    Refresh();
}

bool SheetView::Print(QPrinter& printer) const {
    return PrintTextLines(printer, font(), sheet_.PrintLines());
}

// --- mouse ----------------------------------------------------------------------

void SheetView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    emit pressed();
    if (event->button() == Qt::RightButton) {
        contextMenu_->popup(event->globalPosition().toPoint() + kContextMenuOffset);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (event->modifiers() & Qt::ShiftModifier)
        sheet_.ExtendTo(index.column() + 1, index.row() + 1);
    else
        sheet_.PressCell(index.column() + 1, index.row() + 1);
    selecting_ = true;
    Refresh();
}

// The second click of a quick pair comes as a double click; to the sheet it
// is just another press.
void SheetView::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void SheetView::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved();
    if (!selecting_ || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pos = event->position().toPoint();
    // Dragging past an edge pulls the view along one row or column at a time.
    if (pos.y() >= viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
    else if (pos.y() < 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
    if (pos.x() >= viewport()->width())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + 1);
    else if (pos.x() < 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - 1);
    const auto [col, row] = CellAt(pos);
    sheet_.ExtendTo(col, row);
    Refresh();
}

void SheetView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !selecting_)
        return;
    selecting_ = false;
    sheet_.Release();
    Refresh();
}

bool SheetView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport())
        return NameHeaderEvent(event);
    if (watched == verticalHeader()->viewport())
        return LabelHeaderEvent(event);
    return QTableView::eventFilter(watched, event);
}

bool SheetView::NameHeaderEvent(QEvent* event) {
    QHeaderView* header = horizontalHeader();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const int section = header->logicalIndexAt(mouse->position().toPoint());
            if (mouse->button() != Qt::LeftButton || section < 0)
                return true;
            emit pressed();
            sheet_.ClickColumnName(section + 1);
            dragSource_ = section + 1;
            dragPressX_ = mouse->position().toPoint().x();
            dragging_ = false;
            Refresh();
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            emit pointerMoved();
            if (dragSource_ > 0 && (mouse->buttons() & Qt::LeftButton) && !dragging_ &&
                SidewaysDragStarts(dragPressX_, mouse->position().toPoint().x())) {
                dragging_ = true;
                header->viewport()->setCursor(Qt::DragCopyCursor);
            }
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (dragging_) {
                header->viewport()->unsetCursor();
                const int section = header->logicalIndexAt(mouse->position().toPoint());
                if (section >= 0 && section + 1 != dragSource_) {
                    sheet_.DragColumn(dragSource_, section + 1);
                    Refresh();
                }
            }
            dragging_ = false;
            dragSource_ = 0;
            return true;
        }
        default:
            return false;
    }
}

bool SheetView::LabelHeaderEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const int section = verticalHeader()->logicalIndexAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && section >= 0) {
                emit pressed();
                sheet_.ClickRowLabel(section + 1);
                Refresh();
            }
            return true;
        }
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            return true;
        default:
            return false;
    }
}

void SheetView::selectAll() {
    emit pressed();
    sheet_.ClickCorner();
    Refresh();
}

// --- keys -----------------------------------------------------------------------

void SheetView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool shift = mods == Qt::ShiftModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    const bool plain = mods == Qt::NoModifier;
    const int pageRows = std::max(viewport()->height() / std::max(rowHeight(0), 1) - 1, 1);
    bool moved = false;

    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (sheet_.Enter(verticalScrollBar()->value() + 1))
                verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
            break;
        case Qt::Key_Insert:
            if (shift) {
                PasteClipboard();
                return;
            }
            if (ctrl) {
                CopySelection(2);
                return;
            }
            if (!plain)
                return event->ignore();
            sheet_.InsertZero();
            break;
        case Qt::Key_Delete:
            if (shift) {
                CopySelection(1);
                return;
            }
            if (ctrl) {
                CopySelection(2);
                return;
            }
            emit deleteRequested();
            return;
        case Qt::Key_Backspace:
            sheet_.Backspace();
            break;
        case Qt::Key_Left:
            sheet_.MoveCursor(-1, 0, shift);
            moved = true;
            break;
        case Qt::Key_Right:
            sheet_.MoveCursor(1, 0, shift);
            moved = true;
            break;
        case Qt::Key_Up:
            sheet_.MoveCursor(0, -1, shift);
            moved = true;
            break;
        case Qt::Key_Down:
            sheet_.MoveCursor(0, 1, shift);
            moved = true;
            break;
        case Qt::Key_PageUp:
            sheet_.MoveCursor(0, -pageRows, shift);
            moved = true;
            break;
        case Qt::Key_PageDown:
            sheet_.MoveCursor(0, pageRows, shift);
            moved = true;
            break;
        case Qt::Key_Home:
            sheet_.MoveCursor(-SheetColumns, ctrl ? -SheetRows : 0, false);
            moved = true;
            break;
        case Qt::Key_End:
            sheet_.MoveCursor(SheetColumns, ctrl ? SheetRows : 0, false);
            moved = true;
            break;
        default:
            if ((mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
                event->text().isEmpty() || !event->text().at(0).isPrint()) {
                event->ignore();
                return;
            }
            TypeCharacters(event->text());
            break;
    }
    Refresh();
    if (moved)
        ShowCursorCell();
}

void SheetView::TypeCharacters(const QString& text) {
    for (const char32_t codePoint : text.toUcs4()) {
        const QString one = QString::fromUcs4(&codePoint, 1);
        if (one.at(0).isPrint())
            sheet_.TypeText(one.toStdString());
    }
}

void SheetView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    emit activated();
}

}  // namespace dalvex
