#include "gui/results_view.h"

#include <QFileInfo>
#include <QTextBlock>

#include "core/text.h"
#include "gui/font_setting.h"
#include "gui/text_printing.h"

namespace dalvex {

ResultsView::ResultsView(QWidget* parent) : QPlainTextEdit(parent) {
    setWindowTitle(QStringLiteral("Результаты"));
    setStatusTip(QStringLiteral("Выдача результатов статистического анализа"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    document()->setDocumentMargin(3);
    ApplyFont(FontSetting{});
}

void ResultsView::ApplyFont(const FontSetting& font) {
    QFont qfont = ToQFont(font);
    qfont.setStyleHint(QFont::Monospace);
    dalvex::ApplyFont(this, font);
    setFont(qfont);
}

std::string ResultsView::OpenFile(const QString& path) {
    std::vector<std::string> lines;
    const SettingsFileResult result = ReadLinesFile(path.toStdString(), lines);
    if (!result.ok)
        return result.error;
    QStringList text;
    for (const auto& line : lines)
        text << QString::fromStdString(line);
    setPlainText(text.join(QLatin1Char('\n')));
    moveCursor(QTextCursor::Start);
    setWindowTitle(QFileInfo(path).fileName());
    document()->setModified(false);
    return {};
}

std::vector<std::string> ResultsView::Lines() const {
    std::vector<std::string> lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toStdString());
    return lines;
}

std::string ResultsView::SaveFile(const QString& path) {
    const SettingsFileResult result = WriteLinesFile(path.toStdString(), Lines());
    if (!result.ok)
        return result.error;
    setWindowTitle(QFileInfo(path).fileName());
    document()->setModified(false);
    return {};
}

bool ResultsView::Print(QPrinter& printer) const {
    return PrintTextLines(printer, font(), Lines());
}

void ResultsView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    emit activated();
}

}  // namespace dalvex
