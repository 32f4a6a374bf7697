// The statistics menu on screen: a group box per method group, a button per
// method (disabled, with its hint, while the method cannot run), and
// "<Esc>=Отменить". The key after "&" chooses a method as typed, case and all.
#pragma once

#include <QDialog>
#include <map>

#include "dispatch/statistics_menu.h"

class QPushButton;

namespace dalvex {

class StatisticsMenuView : public QDialog {
    Q_OBJECT
  public:
    StatisticsMenuView(TStMet& menu, QWidget* parent = nullptr);

    QPushButton* methodButton(int method) const { return buttons_.at(method); }
    // Shows the menu modally; the method chosen, 0 when cancelled.
    static int Run(TStMet& menu, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    TStMet& menu_;
    std::map<int, QPushButton*> buttons_;
};

}  // namespace dalvex
