// A canvas that only remembers what was drawn on it, with the pen and brush
// in use at each step. Tests ask it which labels, markers and lines a graph
// drew and where; its text metrics are fixed so that layouts are exact.
#pragma once

#include <string>
#include <vector>

#include "graphics/canvas.h"

namespace dalvex {

struct DrawOp {
    enum class Kind { Line, Polyline, Polygon, Rectangle, Ellipse, Pie, Arc, Fill, Text, Bitmap };
    Kind kind = Kind::Line;
    std::vector<PixelPoint> points;  // Line: 2, Polyline and Polygon: all
    PixelRect rect;                  // Rectangle, Ellipse, Pie, Arc, Fill; Text: its clip box
    double start = 0.0;              // Pie and Arc, in degrees
    double sweep = 0.0;
    std::string text;
    GraphColor pen = 0;
    int penWidth = 1;
    PenStyle penStyle = PenStyle::Solid;
    GraphColor brush = 0;  // Fill: its colour; Text: the text colour
    FillPattern pattern = FillPattern::Solid;
    Bitmap bitmap;  // Bitmap: the picture, kept only when stretched over `rect`
};

class RecordingCanvas : public Canvas {
  public:
    // Every character is `charWidth` pixels wide, every line `lineHeight` high.
    explicit RecordingCanvas(int width = 640, int height = 480, int charWidth = 7,
                             int lineHeight = 14);

    int width() const override { return width_; }
    int height() const override { return height_; }
    void SetPen(GraphColor color, int width, PenStyle style) override;
    void SetBrush(GraphColor color) override {
        brush_ = color;
        pattern_ = FillPattern::Solid;
    }
    void SetPatternBrush(GraphColor color, FillPattern pattern) override {
        brush_ = color;
        pattern_ = pattern;
    }
    void Line(PixelPoint from, PixelPoint to) override;
    void Polyline(std::span<const PixelPoint> points) override;
    void Polygon(std::span<const PixelPoint> points) override;
    void Rectangle(const PixelRect& rect) override;
    void Ellipse(const PixelRect& rect) override;
    void Pie(const PixelRect& rect, double startDegrees, double sweepDegrees) override;
    void Arc(const PixelRect& rect, double startDegrees, double sweepDegrees) override;
    void FillRect(const PixelRect& rect, GraphColor color) override;
    void Text(int x, int y, std::string_view text, int clipWidth, int clipHeight,
              GraphColor color) override;
    int TextWidth(std::string_view text) const override;
    int TextHeight(std::string_view) const override { return lineHeight_; }
    void DrawBitmap(int x, int y, const Bitmap& bitmap) override;
    void StretchBitmap(const PixelRect& rect, const Bitmap& bitmap) override;

    const std::vector<DrawOp>& ops() const { return ops_; }
    void Clear() { ops_.clear(); }
    // The texts drawn, in order.
    std::vector<std::string> Texts() const;
    // The first text op with exactly this text; nullptr when none.
    const DrawOp* FindText(std::string_view text) const;
    std::vector<DrawOp> OpsOfKind(DrawOp::Kind kind) const;

  private:
    DrawOp Op(DrawOp::Kind kind) const;

    int width_;
    int height_;
    int charWidth_;
    int lineHeight_;
    GraphColor pen_ = 0;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    GraphColor brush_ = 0xFFFFFF;
    FillPattern pattern_ = FillPattern::Solid;
    std::vector<DrawOp> ops_;
};

}  // namespace dalvex
