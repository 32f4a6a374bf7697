#include "gui/graph_print.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "graphics/tgra.h"
#include "gui/graph_canvas.h"
namespace dalvex {

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

}  // namespace dalvex
