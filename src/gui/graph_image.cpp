#include "gui/graph_image.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>

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
