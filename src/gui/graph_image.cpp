#include "gui/graph_image.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPrinter>

#include "core/workspace.h"
#include "graphics/tgra.h"
#include "gui/font_setting.h"
#include "gui/graph_canvas.h"

namespace dalvex {

QFont GraphQFont(const Workspace& ws) {
    // Sized in pixels, so that the printer draws the letters the layout counted.
    QFont font = ToQFont(ws.settings.GraphFont);
    font.setPixelSize(std::max(1, QFontInfo(font).pixelSize()));
    return font;
}

void SetGraphFont(TGra& graph, const QFont& font) {
    const QFontMetrics metrics(font);
    graph.SetTextMetrics(metrics.horizontalAdvance(QLatin1Char('b')), metrics.height());
}

QImage RenderGraph(const TGra& graph, const QFont& font) {
    const int w = std::max(1, graph.layout().W);
    const int h = std::max(1, graph.layout().H);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(painter, font, w, h);
    graph.DG(canvas);
    return image;
}

bool PrintGraph(const TGra& graph, const QFont& font, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int w = std::max(1, graph.layout().W);
    const int h = std::max(1, graph.layout().H);
    const QRect page = painter.viewport();
    const double scale =
        std::min(static_cast<double>(page.width()) / w, static_cast<double>(page.height()) / h);
    // The same drawing, scaled: lines and texts stay sharp on the page.
    painter.setWindow(0, 0, page.width(), page.height());
    painter.translate((page.width() - w * scale) / 2, 0);
    painter.scale(scale, scale);
    painter.setClipRect(0, 0, w, h);
    QtCanvas canvas(painter, font, w, h, true);
    graph.DG(canvas);
    return painter.end();
}

std::string WriteGraphImage(const QImage& image, const std::string& path) {
    const QString name = QString::fromStdString(path);
    const bool bmp =
        QFileInfo(name).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0;
    QImageWriter writer(name, bmp ? "bmp" : "png");
    if (writer.write(image))
        return {};
    return writer.errorString().toStdString();
}

std::string SaveGraphImage(TGra& graph, const Workspace& ws, const std::string& path, int width,
                           int height) {
    const QFont font = GraphQFont(ws);
    SetGraphFont(graph, font);
    graph.Resize(width, height + std::max(0, ws.settings.reservedGraphHeight));
    return WriteGraphImage(RenderGraph(graph, font), path);
}

}  // namespace dalvex
