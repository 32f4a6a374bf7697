#include "gui/text_printing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace dalvex {

bool PrintTextLines(QPrinter& printer, const QFont& font, const std::vector<std::string>& lines) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.lineSpacing();
    const int pageHeight = painter.viewport().height();
    int y = 0;
    for (const std::string& line : lines) {
        if (y > 0 && y + lineHeight > pageHeight) {
            printer.newPage();
            y = 0;
        }
        // Blanks carry the columns, so the text is drawn as it is.
        painter.drawText(0, y + metrics.ascent(), QString::fromStdString(line));
        y += lineHeight;
    }
    return painter.end();
}

}  // namespace dalvex
