// The results window on screen ("Результаты"): shows the lines of a TEditForm,
// monospaced, both scroll bars, editable. Appended report lines are gathered
// and shown in one go when the program next waits for the person, so long
// reports arrive without redrawing line by line.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "core/settings.h"
#include "output/results_text.h"

class QPrinter;

namespace dalvex {

class ResultsView : public QPlainTextEdit, private TEditForm::Listener {
    Q_OBJECT
  public:
    explicit ResultsView(TEditForm& model, QWidget* parent = nullptr);
    ~ResultsView() override;

    void ApplyFont(const FontSetting& font);
    // The file's lines replace the text; the caret goes to the start and the
    // caption becomes the file name. Returns the error text, empty on success.
    std::string OpenFile(const QString& path);
    // Writes the text as lines; the caption becomes the file name.
    std::string SaveFile(const QString& path);
    bool Print(QPrinter& printer);
    std::vector<std::string> Lines();
    // Shows every line the model has appended so far.
    void Flush();

  signals:
    void activated();

  protected:
    void focusInEvent(QFocusEvent* event) override;

  private:
    void LinesAppended(std::size_t firstNewLine) override;
    void TextReplaced() override;
    void ShowModelText();

    TEditForm& model_;
    bool pending_ = false;
    std::size_t pendingFrom_ = 0;
    bool applying_ = false;  // the text is being changed by the program, not the person
};

}  // namespace dalvex
