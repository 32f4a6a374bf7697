#include "gui/graph_view.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <new>

#include "core/workspace.h"
#include "graphics/tgra.h"
#include "gui/graph_canvas.h"
#include "gui/graph_image.h"
#include "gui/graph_print.h"

namespace dalvex {

namespace {

constexpr int RotationPanelWidth = 180;
constexpr int CoordinatePanelWidth = 190;

// The planes of the superdiagram's map: every pair of coordinates in turn.
std::vector<std::pair<int, int>> MapPlanes(int coordinates) {
    std::vector<std::pair<int, int>> planes;
    for (int a = 0; a < coordinates; ++a)
        for (int b = a + 1; b < coordinates; ++b)
            planes.push_back({a, b});
    return planes;
}
// The context menu opens this far below the pointer, clear of the spot marked.
constexpr int ContextMenuDrop = 100;

QString GraphFileFilter() {
    return QStringLiteral("Граф.файлы (*.bmp);;PNG (*.png);;SVG (*.svg);;PDF (*.pdf)");
}

QString NumbersFileFilter() {
    return QStringLiteral("CSV (*.csv)");
}

}  // namespace

GraphView::GraphView(Workspace& ws, TGra& graph, QWidget* parent)
    : QWidget(parent), ws_(ws), graph_(graph), font_(GraphQFont(ws)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 90);
    SetGraphFont(graph_, font_);
    choosePath_ = [this](const QString& filter) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить в графич.файле"),
                                            QString::fromStdString(ws_.settings.DataFolder),
                                            filter);
    };
    BuildRotationPanel();
    BuildCoordinatePanel();
}

void GraphView::BuildCoordinatePanel() {
    const bool wanted = graph_.drawingType() == DrawingType::SuperDiagram;
    if (coordinatePanel_ != nullptr && wanted && panelRows_ == graph_.data().rows)
        return;
    if (coordinatePanel_ != nullptr) {
        delete coordinatePanel_;
        coordinatePanel_ = nullptr;
        planeBar_ = nullptr;
        coordinateBars_.clear();
        panelRows_.clear();
        SizeGraph();
    }
    if (!wanted)
        return;
    panelRows_ = graph_.data().rows;
    coordinatePanel_ = new QWidget(this);
    coordinatePanel_->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(coordinatePanel_);
    column->setContentsMargins(6, 6, 6, 6);
    const int coordinates = graph_.MapCoordinates();
    const std::vector<std::pair<int, int>> planes = MapPlanes(coordinates);
    auto* planeCaption =
        new QLabel(QStringLiteral("Управление плоскостью карты"), coordinatePanel_);
    planeCaption->setWordWrap(true);
    column->addWidget(planeCaption);
    planeBar_ = new QScrollBar(Qt::Horizontal, coordinatePanel_);
    planeBar_->setRange(0, std::max(0, static_cast<int>(planes.size()) - 1));
    planeBar_->setPageStep(1);
    planeBar_->setFocusPolicy(Qt::NoFocus);
    column->addWidget(planeBar_);
    connect(planeBar_, &QScrollBar::valueChanged, this, [this, planes](int index) {
        if (index >= 0 && index < static_cast<int>(planes.size()))
            graph_.SetMapPlane(planes[index].first, planes[index].second);
        UpdateCoordinatePanel();
        update();
    });
    auto* caption =
        new QLabel(QStringLiteral("Управление невидимой координатой"), coordinatePanel_);
    caption->setWordWrap(true);
    column->addWidget(caption);
    for (int k = 0; k < coordinates; ++k) {
        const std::vector<std::string>& names = graph_.data().rowNames;
        const std::string name = k < static_cast<int>(names.size()) ? names[k] : std::string();
        column->addWidget(new QLabel(
            QString::fromStdString(name.empty() ? std::to_string(k + 1) : name), coordinatePanel_));
        auto* bar = new QScrollBar(Qt::Horizontal, coordinatePanel_);
        bar->setRange(0, MapSteps);
        bar->setPageStep(5);
        bar->setValue(graph_.InvisiblePosition(k));
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this, k](int position) {
            graph_.SetInvisiblePosition(k, position);
            update();
        });
        column->addWidget(bar);
        coordinateBars_.push_back(bar);
    }
    column->addStretch();
    coordinatePanel_->hide();
    UpdateCoordinatePanel();
}

void GraphView::UpdateCoordinatePanel() {
    if (coordinatePanel_ == nullptr)
        return;
    // Coordinates on the map's plane are its axes: their bars rest.
    for (int k = 0; k < static_cast<int>(coordinateBars_.size()); ++k)
        coordinateBars_[k]->setEnabled(k != graph_.mapFirst() && k != graph_.mapSecond());
    // The grid button switches the map view (with the panel) and the plain view.
    // isHidden, not isVisible: before the window is first shown no child is
    // visible, and the panel would never be laid out.
    const bool shown = !graph_.settings().grid;
    if (shown == coordinatePanel_->isHidden()) {
        coordinatePanel_->setVisible(shown);
        SizeGraph();
    }
}

int GraphView::PanelWidth() const {
    if (graph_.settings().rotation)
        return std::min(RotationPanelWidth, width() / 2);
    if (coordinatePanel_ != nullptr && !coordinatePanel_->isHidden())
        return std::min(CoordinatePanelWidth, width() / 2);
    return 0;
}

void GraphView::BuildRotationPanel() {
    rotationPanel_ = new QWidget(this);
    rotationPanel_->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(rotationPanel_);
    column->setContentsMargins(6, 6, 6, 6);
    auto* caption = new QLabel(QStringLiteral("Вращение"), rotationPanel_);
    caption->setAlignment(Qt::AlignCenter);
    column->addWidget(caption);
    struct Turn {
        const char* text;
        RotationPlane plane;
        int direction;
    };
    const Turn turns[] = {
        {"Плоскость XY вправо", RotationPlane::XY, 1},
        {"Плоскость XY влево", RotationPlane::XY, -1},
        {"Плоскость XZ вправо", RotationPlane::XZ, 1},
        {"Плоскость XZ влево", RotationPlane::XZ, -1},
        {"Плоскость YZ вправо", RotationPlane::YZ, 1},
        {"Плоскость YZ влево", RotationPlane::YZ, -1},
    };
    for (const Turn& turn : turns) {
        auto* button = new QPushButton(QString::fromUtf8(turn.text), rotationPanel_);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        connect(button, &QPushButton::clicked, this, [this, turn] {
            graph_.Rotate(turn.plane, turn.direction);
            update();
        });
        column->addWidget(button);
    }
    auto* angleRow = new QHBoxLayout;
    angleRow->addWidget(new QLabel(QStringLiteral("Угол="), rotationPanel_));
    angleEdit_ = new QLineEdit(QStringLiteral("5"), rotationPanel_);
    angleRow->addWidget(angleEdit_);
    column->addLayout(angleRow);
    connect(angleEdit_, &QLineEdit::editingFinished, this,
            [this] { graph_.SetRotationStep(angleEdit_->text().toStdString()); });
    auto* save = new QPushButton(QStringLiteral("Сохранить результат вращения"), rotationPanel_);
    save->setFocusPolicy(Qt::NoFocus);
    connect(save, &QPushButton::clicked, this, [this] {
        graph_.Sv3Dt();
        update();
    });
    column->addWidget(save);
    column->addStretch();
    rotationPanel_->hide();
}

void GraphView::UpdateRotationPanel() {
    const bool shown = graph_.settings().rotation;
    if (shown == rotationPanel_->isVisible())
        return;
    if (shown)
        angleEdit_->setText(QStringLiteral("5"));
    rotationPanel_->setVisible(shown);
    SizeGraph();
}

void GraphView::SizeGraph() {
    const int panelWidth = PanelWidth();
    rotationPanel_->setGeometry(width() - panelWidth, 0, panelWidth, height());
    if (coordinatePanel_ != nullptr)
        coordinatePanel_->setGeometry(width() - panelWidth, 0, panelWidth, height());
    graph_.Resize(width() - panelWidth, height());
}

const QImage& GraphView::image() {
    if (graph_.revision() != drawnRevision_) {
        image_ = RenderGraph(graph_, font_);
        drawnRevision_ = graph_.revision();
    }
    return image_;
}

void GraphView::Refresh() {
    UpdateRotationPanel();
    BuildCoordinatePanel();
    UpdateCoordinatePanel();
    update();
}

void GraphView::ApplyFont() {
    font_ = GraphQFont(ws_);
    SetGraphFont(graph_, font_);
    update();
}

// ---------------------------------------------------------------------------
// Painting and events.

void GraphView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, image());
    // The drag frame and the insertion point are drawn inverted over the
    // picture and are no part of it.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(Qt::white);
    painter.setBrush(Qt::NoBrush);
    if (const auto frame = graph_.DragFrame())
        painter.drawRect(QRect(frame->left, frame->top, frame->width() - 1, frame->height() - 1));
    const InsertionPoint& point = graph_.insertionPoint();
    if (point.marked()) {
        painter.drawPoint(point.x, point.y);
        if (point.width > 1 && point.height > 1) {
            painter.setPen(QPen(Qt::white, 0, Qt::DotLine));
            painter.drawRect(QRect(point.x, point.y, point.width - 1, point.height - 1));
        }
    }
}

void GraphView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (frozen_ && frozen_())
        return;
    SizeGraph();
}

void GraphView::mousePressEvent(QMouseEvent* event) {
    emit activated();
    setFocus();
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        ShowContextMenu(at + QPoint(0, ContextMenuDrop));
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    graph_.PointerPressed(at.x(), at.y());
    update();
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        graph_.PointerDragged(at.x(), at.y());
        update();
    }
    switch (graph_.ShapeAt(at.x(), at.y())) {
        case PointerShape::SizeHorizontal:
            setCursor(Qt::SizeHorCursor);
            break;
        case PointerShape::SizeVertical:
            setCursor(Qt::SizeVerCursor);
            break;
        default:
            unsetCursor();
            break;
    }
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    graph_.PointerReleased(at.x(), at.y());
    update();
}

void GraphView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->key() == Qt::Key_Space && mods == Qt::NoModifier) {
        graph_.CaptionAtPoint(false);
        update();
        return;
    }
    if (event->key() == Qt::Key_Insert && (mods & Qt::ShiftModifier)) {
        CopyToClipboard();
        return;
    }
    if (event->key() == Qt::Key_Insert && (mods & Qt::ControlModifier)) {
        PasteFromClipboard();
        return;
    }
    QWidget::keyPressEvent(event);
}

void GraphView::ShowContextMenu(const QPoint& at) {
    QMenu menu(this);
    for (const TGra::MenuItem& item : graph_.ContextMenu()) {
        QString text = QString::fromUtf8(item.caption);
        if (*item.key)
            text += QLatin1Char('\t') + QString::fromUtf8(item.key);
        QAction* action = menu.addAction(text);
        const TGra::MenuAction what = item.action;
        connect(action, &QAction::triggered, this, [this, what] {
            switch (what) {
                case TGra::MenuAction::SaveImage:
                    SaveAs();
                    break;
                case TGra::MenuAction::SaveNumbers:
                    SaveNumbersAs();
                    break;
                case TGra::MenuAction::Print:
                    emit printRequested();
                    break;
                case TGra::MenuAction::SaveIntoSheet:
                    graph_.ContextCommand(what);
                    emit sheetChanged();
                    break;
                default:
                    graph_.ContextCommand(what);
                    break;
            }
            update();
        });
    }
    menu.exec(mapToGlobal(at));
}

// ---------------------------------------------------------------------------
// Clipboard, files, printer.

void GraphView::Notice(const std::string& text) {
    ShowNotice(ws_, text);
}

void GraphView::CopyToClipboard() {
    const PixelRect r = graph_.CopyRect();
    QApplication::clipboard()->setImage(image().copy(QRect(r.left, r.top, r.width(), r.height())));
}

void GraphView::PasteFromClipboard() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasImage())
        return;
    try {
        const QImage picture = qvariant_cast<QImage>(data->imageData());
        if (picture.isNull())
            return;
        graph_.PasteBitmap(ToBitmap(picture));
    } catch (const std::bad_alloc& e) {
        Notice(std::string("Прерывание: ") + e.what());
    }
    update();
}

void GraphView::OpenPicture(const QString& path) {
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        Notice("Прерывание: " + reader.errorString().toStdString());
        return;
    }
    graph_.PasteBitmap(ToBitmap(picture));
    update();
}

std::string GraphView::SaveImage(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    // Drawings and numbers are made from the graph itself; pictures are what
    // the window shows.
    if (suffix == QStringLiteral("svg") || suffix == QStringLiteral("pdf") ||
        suffix == QStringLiteral("csv"))
        return WriteGraphFile(graph_, font_, path.toStdString());
    return WriteGraphImage(image(), path.toStdString());
}

void GraphView::SaveAs() {
    SaveChosen(GraphFileFilter(), QStringLiteral(".bmp"));
}

void GraphView::SaveNumbersAs() {
    SaveChosen(NumbersFileFilter(), QStringLiteral(".csv"));
}

void GraphView::SaveChosen(const QString& filter, const QString& defaultSuffix) {
    QString path = choosePath_ ? choosePath_(filter) : QString();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += defaultSuffix;
    const std::string error = SaveImage(path);
    if (!error.empty())
        Notice("Прерывание: " + error);
    else
        ws_.settings.DataFolder = QFileInfo(path).absolutePath().toStdString() + "/";
}

bool GraphView::Print(QPrinter& printer) {
    return PrintGraph(graph_, font_, printer);
}

}  // namespace dalvex
