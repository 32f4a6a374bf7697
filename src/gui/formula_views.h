// The formula dialogs on screen: the formula-set dialog, the three editors
// and the surface dialog. Each shows its model (src/formula) and forwards the
// person's presses to it; the edit lines hand their text and caret to the
// model before a pad or list inserts, and show the model's line after.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "formula/edit_line.h"
#include "formula/formula_editors.h"
#include "formula/formula_set_dialog.h"
#include "formula/surface_dialog.h"

class QGridLayout;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace dalvex {

// The edit line's text and caret into the model's line, and back.
void TakeLine(const QLineEdit& edit, EditLine& line);
void ShowLine(const EditLine& line, QLineEdit& edit);
// A grid of pad buttons, six a row, each pressing its index.
QGridLayout* PadGrid(const std::vector<std::string>& labels, QWidget* owner,
                     const std::function<void(int)>& press);

class FormulaEditorView : public QDialog {
    Q_OBJECT
  public:
    FormulaEditorView(FormulaEditor& editor, QWidget* parent = nullptr);
    QLineEdit* line() const { return line_; }
    QLineEdit* response() const { return response_; }
    QListWidget* variables() const { return variables_; }
    QListWidget* functions() const { return functions_; }
    void PressPad(int index);

  protected:
    void accept() override;
    void reject() override;

  private:
    void Apply(const std::function<void()>& action);

    FormulaEditor& editor_;
    QLineEdit* line_ = nullptr;
    QLineEdit* response_ = nullptr;
    QListWidget* variables_ = nullptr;
    QListWidget* functions_ = nullptr;
    QListWidget* coefficients_ = nullptr;
};

class FormulaSetView : public QDialog {
    Q_OBJECT
  public:
    FormulaSetView(Tqq10& dialog, QWidget* parent = nullptr);
    QLineEdit* line(int index) const { return lines_.at(static_cast<std::size_t>(index)); }
    // "Редактор".
    void Edit();

  protected:
    void accept() override;
    void reject() override;
    // A double click in a line selects and confirms it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void TakeLines();
    void ShowLines();
    void Select(int index);

    Tqq10& dialog_;
    std::vector<QLineEdit*> lines_;
    std::vector<QRadioButton*> radios_;
    bool showing_ = false;  // lines being filled do not select themselves
};

class SurfaceView : public QDialog {
    Q_OBJECT
  public:
    SurfaceView(Tqq14& dialog, QWidget* parent = nullptr);
    QLineEdit* formula() const { return formula_; }
    QLineEdit* field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }

  protected:
    void accept() override;
    void reject() override;

  private:
    void Take();
    void Show();
    void Apply(const std::function<void()>& action);

    Tqq14& dialog_;
    QLineEdit* formula_ = nullptr;
    std::vector<QLineEdit*> fields_;
    QListWidget* variables_ = nullptr;
    QListWidget* functions_ = nullptr;
};

// Shows the view of a formula dialog modally until its model closes; F1 in
// it calls `help` with the dialog's help page.
void RunFormulaDialog(FormulaDialog& dialog, QWidget* parent,
                      const std::function<void(int)>& help = {});
// F1 in `dialog` calls `help` with `context` (a modal dialog does not pass
// its keys on to the main window's F1).
void BindHelpKey(QDialog& dialog, const std::function<void(int)>& help, int context);

}  // namespace dalvex
