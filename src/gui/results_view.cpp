#include "gui/results_view.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTimer>

#include "core/text.h"
#include "gui/font_setting.h"
#include "gui/text_printing.h"

namespace dalvex {

ResultsView::ResultsView(TEditForm& model, QWidget* parent)
    : QPlainTextEdit(parent), model_(model) {
    setWindowTitle(QString::fromStdString(model_.caption()));
    setStatusTip(QStringLiteral("Выдача результатов статистического анализа"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The text sits 3 pixels from the sides and 2 from top and bottom.
    document()->setDocumentMargin(0);
    setViewportMargins(3, 2, 3, 2);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    ApplyFont(FontSetting{});

    model_.SetListener(this);
    model_.SetUserTextSource([this] {
        Flush();
        return toPlainText().toStdString();
    });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!applying_)
            model_.NoteUserEdit();
    });
    ShowModelText();
}

ResultsView::~ResultsView() {
    model_.SetListener(nullptr);
    model_.SetUserTextSource({});
}

void ResultsView::ApplyFont(const FontSetting& font) {
    QFont qfont = ToQFont(font);
    qfont.setStyleHint(QFont::Monospace);
    dalvex::ApplyFont(this, font);
    setFont(qfont);
}

void ResultsView::LinesAppended(std::size_t firstNewLine) {
    if (pending_)
        return;
    pending_ = true;
    pendingFrom_ = firstNewLine;
    QTimer::singleShot(0, this, &ResultsView::Flush);
}

void ResultsView::Flush() {
    if (!pending_)
        return;
    pending_ = false;
    const auto& lines = model_.shownLines();
    QString text;
    for (std::size_t i = pendingFrom_; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += QString::fromStdString(lines[i]);
    }
    applying_ = true;
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    applying_ = false;
    // The newest report line is in view, as each method's report arrives.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ResultsView::TextReplaced() {
    pending_ = false;
    ShowModelText();
}

void ResultsView::ShowModelText() {
    QString text;
    const auto& lines = model_.shownLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += QString::fromStdString(lines[i]);
    }
    applying_ = true;
    setPlainText(text);
    applying_ = false;
    setWindowTitle(QString::fromStdString(model_.caption()));
}

std::string ResultsView::OpenFile(const QString& path) {
    const FileStatus status = model_.Open(path.toStdString());
    if (!status.ok)
        return status.error;
    setWindowTitle(QString::fromStdString(model_.caption()));
    moveCursor(QTextCursor::Start);
    return {};
}

std::vector<std::string> ResultsView::Lines() {
    return model_.lines();
}

std::string ResultsView::SaveFile(const QString& path) {
    const FileStatus status = model_.Save(path.toStdString());
    if (!status.ok)
        return status.error;
    setWindowTitle(QString::fromStdString(model_.caption()));
    return {};
}

bool ResultsView::Print(QPrinter& printer) {
    return PrintTextLines(printer, font(), Lines());
}

void ResultsView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    emit activated();
}

}  // namespace dalvex
