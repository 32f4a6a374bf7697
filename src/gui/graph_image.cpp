#include "gui/graph_image.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>

#include "core/workspace.h"
#include "graphics/graph_numbers.h"
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

namespace {

std::string WriteBytes(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString().toStdString();
    return {};
}

// The graph drawn through the same canvas as on screen, onto a painter of a
// vector device: lines, shapes and text go out as drawing commands.
void PaintGraph(const TGra& graph, const QFont& font, QPaintDevice& device, int w, int h) {
    QPainter painter(&device);
    QtCanvas canvas(painter, font, w, h);
    graph.DG(canvas);
}

QByteArray SvgOf(const TGra& graph, const QFont& font, int w, int h) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(w, h));
    svg.setViewBox(QRect(0, 0, w, h));
    svg.setResolution(96);
    svg.setTitle(QString::fromStdString(graph.title()));
    PaintGraph(graph, font, svg, w, h);
    // The generator gives the size in millimetres, which viewers turn into
    // pixels each at its own resolution; the drawing is W x H pixels.
    QByteArray bytes = buffer.data();
    const qsizetype from = bytes.indexOf("<svg width=\"");
    const qsizetype to = bytes.indexOf("viewBox=", from);
    if (from >= 0 && to > from)
        bytes.replace(from, to - from,
                      QStringLiteral("<svg width=\"%1\" height=\"%2\"\n ").arg(w).arg(h).toUtf8());
    return bytes;
}

QByteArray PdfOf(const TGra& graph, const QFont& font, int w, int h) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    // One pixel of the window is one point of the page, the page the graph.
    pdf.setResolution(72);
    pdf.setPageSize(QPageSize(QSizeF(w, h), QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QString::fromStdString(graph.title()));
    pdf.setCreator(QStringLiteral("DALVEX"));
    PaintGraph(graph, font, pdf, w, h);
    return buffer.data();
}

}  // namespace

std::string WriteGraphFile(const TGra& graph, const QFont& font, const std::string& path) {
    const QString name = QString::fromStdString(path);
    const QString suffix = QFileInfo(name).suffix().toLower();
    const int w = std::max(1, graph.layout().W);
    const int h = std::max(1, graph.layout().H);
    if (suffix == QStringLiteral("svg"))
        return WriteBytes(SvgOf(graph, font, w, h), name);
    if (suffix == QStringLiteral("pdf"))
        return WriteBytes(PdfOf(graph, font, w, h), name);
    if (suffix == QStringLiteral("csv"))
        return WriteBytes(QByteArray::fromStdString(GraphNumbersCsv(graph.data())), name);
    return WriteGraphImage(RenderGraph(graph, font), path);
}

std::string SaveGraphImage(TGra& graph, const Workspace& ws, const std::string& path, int width,
                           int height) {
    const QFont font = GraphQFont(ws);
    SetGraphFont(graph, font);
    graph.Resize(width, height + std::max(0, ws.settings.reservedGraphHeight));
    return WriteGraphFile(graph, font, path);
}

}  // namespace dalvex
