#include "gui/graph_canvas.h"

namespace dalvex {

QColor ToQColor(GraphColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

QtCanvas::QtCanvas(QPainter& painter, const QFont& font, int width, int height, bool scaled)
    : painter_(painter), metrics_(font), width_(width), height_(height), scaled_(scaled) {
    painter_.setFont(font);
    // Pixel-exact lines and markers, as the layout counts them.
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

void QtCanvas::SetPen(GraphColor color, int width, PenStyle style) {
    if (color == penColour_ && width == penWidth_ && style == penStyle_)
        return;
    penColour_ = color;
    penWidth_ = width;
    penStyle_ = style;
    QPen pen(ToQColor(color));
    // 0: the one-pixel cosmetic pen of the screen.
    pen.setWidth(width <= 1 && !scaled_ ? 0 : std::max(width, 1));
    pen.setStyle(style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(width <= 1 ? Qt::SquareCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
}

void QtCanvas::SetBrush(GraphColor color) {
    if (solidBrush_ && color == brushColour_)
        return;
    solidBrush_ = true;
    brushColour_ = color;
    painter_.setBrush(ToQColor(color));
    painter_.setBackgroundMode(Qt::TransparentMode);
}

void QtCanvas::SetPatternBrush(GraphColor color, FillPattern pattern) {
    Qt::BrushStyle style = Qt::SolidPattern;
    switch (pattern) {
        case FillPattern::Solid:
            SetBrush(color);
            return;
        case FillPattern::Hollow:
            SetBrush(0xFFFFFF);
            return;
        case FillPattern::DiagonalUp:
            style = Qt::BDiagPattern;
            break;
        case FillPattern::Cross:
            style = Qt::CrossPattern;
            break;
        case FillPattern::DiagonalDown:
            style = Qt::FDiagPattern;
            break;
        case FillPattern::Horizontal:
            style = Qt::HorPattern;
            break;
        case FillPattern::DiagonalCross:
            style = Qt::DiagCrossPattern;
            break;
        case FillPattern::Vertical:
            style = Qt::VerPattern;
            break;
    }
    // Hatches on white, whatever lies below.
    solidBrush_ = false;
    painter_.setBrush(QBrush(ToQColor(color), style));
    painter_.setBackground(Qt::white);
    painter_.setBackgroundMode(Qt::OpaqueMode);
}

void QtCanvas::Line(PixelPoint from, PixelPoint to) {
    painter_.drawLine(from.x, from.y, to.x, to.y);
}

void QtCanvas::Polyline(std::span<const PixelPoint> points) {
    scratch_.resize(static_cast<int>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        scratch_.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    painter_.drawPolyline(scratch_);
}

void QtCanvas::Polygon(std::span<const PixelPoint> points) {
    scratch_.resize(static_cast<int>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        scratch_.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    painter_.drawPolygon(scratch_);
}

// With the one-pixel pen Qt covers left..left + width: the inclusive rectangle.
void QtCanvas::Rectangle(const PixelRect& r) {
    painter_.drawRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

void QtCanvas::Rectangles(std::span<const PixelRect> rects) {
    rects_.clear();
    rects_.reserve(static_cast<qsizetype>(rects.size()));
    for (const PixelRect& r : rects)
        rects_.append(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
    painter_.drawRects(rects_);
}

void QtCanvas::Ellipse(const PixelRect& r) {
    painter_.drawEllipse(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

void QtCanvas::Pie(const PixelRect& r, double startDegrees, double sweepDegrees) {
    painter_.drawPie(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top),
                     qRound(startDegrees * 16), qRound(sweepDegrees * 16));
}

void QtCanvas::Arc(const PixelRect& r, double startDegrees, double sweepDegrees) {
    painter_.drawArc(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top),
                     qRound(startDegrees * 16), qRound(sweepDegrees * 16));
}

void QtCanvas::FillRect(const PixelRect& r, GraphColor color) {
    painter_.fillRect(QRect(r.left, r.top, r.width(), r.height()), ToQColor(color));
}

void QtCanvas::Text(int x, int y, std::string_view text, int clipWidth, int clipHeight,
                    GraphColor color) {
    if (text.empty() || clipWidth <= 0 || clipHeight <= 0)
        return;
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QPen pen = painter_.pen();
    painter_.setPen(ToQColor(color));
    const Qt::BGMode mode = painter_.backgroundMode();
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setClipRect(x, y, clipWidth, clipHeight);
    painter_.drawText(x, y + metrics_.ascent(), s);
    painter_.setClipping(false);
    painter_.setBackgroundMode(mode);
    painter_.setPen(pen);
}

int QtCanvas::TextWidth(std::string_view text) const {
    return metrics_.horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int QtCanvas::TextHeight(std::string_view) const {
    return metrics_.height();
}

void QtCanvas::DrawBitmap(int x, int y, const Bitmap& bitmap) {
    if (!bitmap.empty())
        painter_.drawImage(x, y, ToQImage(bitmap));
}

void QtCanvas::StretchBitmap(const PixelRect& rect, const Bitmap& bitmap) {
    if (bitmap.empty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    // Blocks, not blurred: every grid cell keeps its one colour.
    const bool smooth = painter_.testRenderHint(QPainter::SmoothPixmapTransform);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.drawImage(QRect(rect.left, rect.top, rect.width(), rect.height()), ToQImage(bitmap));
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

QImage ToQImage(const Bitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width; ++x) {
            const GraphColor c = bitmap.at(x, y);
            line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        }
    }
    return image;
}

Bitmap ToBitmap(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    Bitmap bitmap{image.width(), image.height(), {}};
    bitmap.pixels.resize(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            bitmap.pixels[static_cast<std::size_t>(y) * image.width() + x] =
                RgbColor(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
    }
    return bitmap;
}

}  // namespace dalvex
