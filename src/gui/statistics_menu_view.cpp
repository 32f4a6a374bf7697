#include "gui/statistics_menu_view.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace dalvex {

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

StatisticsMenuView::StatisticsMenuView(TStMet& menu, QWidget* parent)
    : QDialog(parent), menu_(menu) {
    setWindowTitle(Text(StatisticsMenuCaption));
    auto* grid = new QGridLayout;
    const auto& groups = StatisticsMethods();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        auto* box = new QGroupBox(Text(groups[g].caption));
        auto* column = new QVBoxLayout(box);
        column->setSpacing(2);
        for (const MethodButton& method : groups[g].buttons) {
            // The captions' blanks lined them up in the old font; here the
            // buttons have one width and the text is trimmed.
            QString caption = Text(ShownCaption(method.caption)).trimmed();
            auto* button = new QPushButton(caption);
            button->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 8px;"));
            button->setAutoDefault(false);
            button->setMinimumWidth(button->fontMetrics().horizontalAdvance(caption) + 24);
            button->setToolTip(Text(method.hint));
            button->setStatusTip(Text(method.hint));
            button->setEnabled(menu.enabled(method.method));
            const int number = method.method;
            connect(button, &QPushButton::clicked, this, [this, number] {
                if (menu_.Choose(number))
                    accept();
            });
            column->addWidget(button);
            buttons_[number] = button;
        }
        column->addStretch();
        grid->addWidget(box, static_cast<int>(g / 2), static_cast<int>(g % 2));
    }
    auto* cancel = new QPushButton(Text(MenuCancelCaption));
    cancel->setToolTip(Text(MenuCancelHint));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(cancel, 0, Qt::AlignRight);
}

void StatisticsMenuView::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].unicode() < 128 &&
        menu_.Key(static_cast<char>(typed[0].unicode()))) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

int StatisticsMenuView::Run(TStMet& menu, QWidget* parent) {
    StatisticsMenuView view(menu, parent);
    if (view.exec() != QDialog::Accepted)
        menu.Cancel();
    return menu.answer();
}

}  // namespace dalvex
