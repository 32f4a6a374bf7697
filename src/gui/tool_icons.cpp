#include "gui/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace dalvex {

namespace {

constexpr int kSize = 32;  // drawn large, scaled down crisply

const QColor kInk(40, 48, 64);
const QColor kPaper(250, 250, 246);
const QColor kFolder(230, 180, 70);
const QColor kBlue(60, 110, 190);

void Sheet(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(kPaper);
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void TextLines(QPainter& p, QRectF r, int count) {
    p.setPen(QPen(QColor(120, 130, 150), 1.4));
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + (i + 1) * r.height() / (count + 1);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void DrawOpen(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(kFolder.darker(115));
    p.drawRect(QRectF(3, 8, 22, 18));
    p.setBrush(kFolder);
    QPolygonF front;
    front << QPointF(3, 26) << QPointF(8, 14) << QPointF(29, 14) << QPointF(25, 26);
    p.drawPolygon(front);
}

void DrawSave(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(8, 18, 16, 10));
}

void DrawCut(QPainter& p) {
    p.setPen(QPen(kInk, 2.0));
    p.drawLine(QPointF(9, 4), QPointF(20, 21));
    p.drawLine(QPointF(23, 4), QPointF(12, 21));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(190, 40, 40), 2.2));
    p.drawEllipse(QPointF(10, 24), 4.5, 4.5);
    p.drawEllipse(QPointF(22, 24), 4.5, 4.5);
}

void DrawCopy(QPainter& p) {
    Sheet(p, QRectF(4, 3, 16, 20));
    Sheet(p, QRectF(12, 9, 16, 20));
    TextLines(p, QRectF(15, 14, 10, 12), 3);
}

void DrawPaste(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(170, 120, 70));
    p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(QRectF(9, 2, 10, 6));
    Sheet(p, QRectF(13, 11, 15, 18));
    TextLines(p, QRectF(15, 15, 10, 12), 3);
}

void DrawPrint(QPainter& p) {
    Sheet(p, QRectF(9, 3, 14, 12));
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(190, 195, 205));
    p.drawRoundedRect(QRectF(3, 13, 26, 11), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 20, 16, 9));
    TextLines(p, QRectF(10, 20, 12, 9), 2);
}

void DrawFont(QPainter& p) {
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(24);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(0, 0, 22, 30), Qt::AlignCenter, QStringLiteral("A"));
    p.setPen(kBlue);
    font.setPixelSize(16);
    p.setFont(font);
    p.drawText(QRectF(14, 8, 18, 24), Qt::AlignCenter, QStringLiteral("a"));
}

}  // namespace

QIcon ToolIcon(MainCommand command) {
    void (*draw)(QPainter&) = nullptr;
    const char* themeName = "";
    switch (command) {
        case MainCommand::Open:
            draw = DrawOpen;
            themeName = "document-open";
            break;
        case MainCommand::Save:
            draw = DrawSave;
            themeName = "document-save";
            break;
        case MainCommand::Cut:
            draw = DrawCut;
            themeName = "edit-cut";
            break;
        case MainCommand::Copy:
            draw = DrawCopy;
            themeName = "edit-copy";
            break;
        case MainCommand::Paste:
            draw = DrawPaste;
            themeName = "edit-paste";
            break;
        case MainCommand::Print:
            draw = DrawPrint;
            themeName = "document-print";
            break;
        case MainCommand::Font:
            draw = DrawFont;
            themeName = "preferences-desktop-font";
            break;
        default:
            return {};
    }
    // The desktop's own pictures when it has them.
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(themeName));
    if (!themed.isNull())
        return themed;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

QIcon ProgramIcon() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(22, 48, 96));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    p.setBrush(QColor(250, 190, 70));
    const QPointF points[] = {{7, 24}, {11, 20}, {14, 21}, {17, 15}, {21, 13}, {25, 8}};
    for (const QPointF& point : points)
        p.drawEllipse(point, 2.2, 2.2);
    p.setPen(QPen(QColor(110, 200, 255), 2));
    p.drawLine(QPointF(5, 26), QPointF(28, 6));
    p.end();
    return QIcon(pixmap);
}

}  // namespace dalvex
