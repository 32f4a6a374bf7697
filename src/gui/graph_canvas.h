// The graph canvas on a QPainter: on an image for the window, the clipboard
// and files, and scaled onto the printer page for print.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "graphics/canvas.h"

namespace dalvex {

class QtCanvas : public Canvas {
  public:
    // `painter` is active on a device of width x height canvas pixels (after
    // its own scaling); `scaled` keeps one-pixel lines one canvas pixel wide
    // under a scaling transform.
    QtCanvas(QPainter& painter, const QFont& font, int width, int height, bool scaled = false);

    int width() const override { return width_; }
    int height() const override { return height_; }
    void SetPen(GraphColor color, int width, PenStyle style) override;
    void SetBrush(GraphColor color) override;
    void SetPatternBrush(GraphColor color, FillPattern pattern) override;
    void Line(PixelPoint from, PixelPoint to) override;
    void Polyline(std::span<const PixelPoint> points) override;
    void Polygon(std::span<const PixelPoint> points) override;
    void Rectangle(const PixelRect& rect) override;
    void Rectangles(std::span<const PixelRect> rects) override;
    void Ellipse(const PixelRect& rect) override;
    void Pie(const PixelRect& rect, double startDegrees, double sweepDegrees) override;
    void Arc(const PixelRect& rect, double startDegrees, double sweepDegrees) override;
    void FillRect(const PixelRect& rect, GraphColor color) override;
    void Text(int x, int y, std::string_view text, int clipWidth, int clipHeight,
              GraphColor color) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view text) const override;
    void DrawBitmap(int x, int y, const Bitmap& bitmap) override;
    void StretchBitmap(const PixelRect& rect, const Bitmap& bitmap) override;

  private:
    QPainter& painter_;
    QFontMetrics metrics_;
    int width_;
    int height_;
    bool scaled_;
    QPolygon scratch_;
    QList<QRect> rects_;
    // What the painter holds, so that a marker per point does not set the
    // same pen and brush again and again.
    GraphColor penColour_ = 0;
    int penWidth_ = -1;
    PenStyle penStyle_ = PenStyle::Solid;
    GraphColor brushColour_ = 0;
    bool solidBrush_ = false;
};

QColor ToQColor(GraphColor color);
QImage ToQImage(const Bitmap& bitmap);
Bitmap ToBitmap(const QImage& image);

}  // namespace dalvex
