// The results window's text ("Результаты"): monospaced, both scroll bars,
// editable, opened from and saved to cp1251 text files and printed.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "core/settings.h"

class QPrinter;

namespace dalvex {

class ResultsView : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit ResultsView(QWidget* parent = nullptr);

    void ApplyFont(const FontSetting& font);
    // The file's lines replace the text; the caret goes to the start and the
    // caption becomes the file name. Returns the error text, empty on success.
    std::string OpenFile(const QString& path);
    // Writes the text as lines; the caption becomes the file name.
    std::string SaveFile(const QString& path);
    bool Print(QPrinter& printer) const;
    std::vector<std::string> Lines() const;

  signals:
    void activated();

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace dalvex
