// The calculator on screen: the drop-down of ten expressions (editable: its
// text is the expression line), the result, the pad and the two lists.
// Closing it in any way writes the expressions to "qcalc.ini".
#pragma once

#include <QDialog>

#include "formula/calculator.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace dalvex {

class CalculatorView : public QDialog {
    Q_OBJECT
  public:
    // `column` and `row` are the sheet's current cell (i and j).
    CalculatorView(Tqclc& calculator, int column, int row, QWidget* parent = nullptr);

    QComboBox* expressions() const { return expressions_; }
    QLineEdit* result() const { return result_; }
    // "Вычислить".
    void Compute();
    void PressPad(int index);

  protected:
    void done(int result) override;

  private:
    void Take();
    void Show();

    Tqclc& calc_;
    int column_;
    int row_;
    QComboBox* expressions_ = nullptr;
    QLineEdit* result_ = nullptr;
    QListWidget* variables_ = nullptr;
    QListWidget* functions_ = nullptr;
};

}  // namespace dalvex
