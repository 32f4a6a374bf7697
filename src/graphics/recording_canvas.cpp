#include "graphics/recording_canvas.h"

#include "core/text.h"

namespace dalvex {

RecordingCanvas::RecordingCanvas(int width, int height, int charWidth, int lineHeight)
    : width_(width), height_(height), charWidth_(charWidth), lineHeight_(lineHeight) {}

DrawOp RecordingCanvas::Op(DrawOp::Kind kind) const {
    DrawOp op;
    op.kind = kind;
    op.pen = pen_;
    op.penWidth = penWidth_;
    op.penStyle = penStyle_;
    op.brush = brush_;
    op.pattern = pattern_;
    return op;
}

void RecordingCanvas::SetPen(GraphColor color, int width, PenStyle style) {
    pen_ = color;
    penWidth_ = width;
    penStyle_ = style;
}

void RecordingCanvas::Line(PixelPoint from, PixelPoint to) {
    DrawOp op = Op(DrawOp::Kind::Line);
    op.points = {from, to};
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Polyline(std::span<const PixelPoint> points) {
    DrawOp op = Op(DrawOp::Kind::Polyline);
    op.points.assign(points.begin(), points.end());
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Polygon(std::span<const PixelPoint> points) {
    DrawOp op = Op(DrawOp::Kind::Polygon);
    op.points.assign(points.begin(), points.end());
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Rectangle(const PixelRect& rect) {
    DrawOp op = Op(DrawOp::Kind::Rectangle);
    op.rect = rect;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Ellipse(const PixelRect& rect) {
    DrawOp op = Op(DrawOp::Kind::Ellipse);
    op.rect = rect;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Pie(const PixelRect& rect, double startDegrees, double sweepDegrees) {
    DrawOp op = Op(DrawOp::Kind::Pie);
    op.rect = rect;
    op.start = startDegrees;
    op.sweep = sweepDegrees;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Arc(const PixelRect& rect, double startDegrees, double sweepDegrees) {
    DrawOp op = Op(DrawOp::Kind::Arc);
    op.rect = rect;
    op.start = startDegrees;
    op.sweep = sweepDegrees;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::FillRect(const PixelRect& rect, GraphColor color) {
    DrawOp op = Op(DrawOp::Kind::Fill);
    op.rect = rect;
    op.brush = color;
    ops_.push_back(std::move(op));
}

void RecordingCanvas::Text(int x, int y, std::string_view text, int clipWidth, int clipHeight,
                           GraphColor color) {
    DrawOp op = Op(DrawOp::Kind::Text);
    op.points = {{x, y}};
    op.rect = {x, y, x + clipWidth - 1, y + clipHeight - 1};
    op.text = std::string(text);
    op.brush = color;
    ops_.push_back(std::move(op));
}

int RecordingCanvas::TextWidth(std::string_view text) const {
    return static_cast<int>(CharLength(text)) * charWidth_;
}

void RecordingCanvas::DrawBitmap(int x, int y, const Bitmap& bitmap) {
    DrawOp op = Op(DrawOp::Kind::Bitmap);
    op.rect = {x, y, x + bitmap.width - 1, y + bitmap.height - 1};
    ops_.push_back(std::move(op));
}

void RecordingCanvas::StretchBitmap(const PixelRect& rect, const Bitmap& bitmap) {
    DrawOp op = Op(DrawOp::Kind::Bitmap);
    op.rect = rect;
    op.bitmap = bitmap;
    ops_.push_back(std::move(op));
}

std::vector<std::string> RecordingCanvas::Texts() const {
    std::vector<std::string> texts;
    for (const DrawOp& op : ops_)
        if (op.kind == DrawOp::Kind::Text)
            texts.push_back(op.text);
    return texts;
}

const DrawOp* RecordingCanvas::FindText(std::string_view text) const {
    for (const DrawOp& op : ops_)
        if (op.kind == DrawOp::Kind::Text && op.text == text)
            return &op;
    return nullptr;
}

std::vector<DrawOp> RecordingCanvas::OpsOfKind(DrawOp::Kind kind) const {
    std::vector<DrawOp> found;
    for (const DrawOp& op : ops_)
        if (op.kind == kind)
            found.push_back(op);
    return found;
}

}  // namespace dalvex
