#include "gui/variable_dialog_view.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace dalvex {

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QWidget* Titled(const VariableList& list, QListWidget* widget) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(Text(list.title));
    title->setToolTip(Text(list.hint));
    layout->addWidget(title);
    layout->addWidget(widget, 1);
    return box;
}

}  // namespace

VariableDialogView::VariableDialogView(VariableDialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog) {
    setWindowTitle(Text(dialog.caption()));
    // Items are a name padded to 25 characters and the column number: a
    // fixed-width font keeps the numbers in one column.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const VariableList& list : dialog.lists()) {
        auto* widget = new QListWidget;
        widget->setSelectionMode(QAbstractItemView::ExtendedSelection);
        widget->setFont(fixed);
        widget->setToolTip(Text(list.hint));
        widget->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(30, 'x')));
        const int index = static_cast<int>(lists_.size());
        connect(widget, &QListWidget::itemDoubleClicked, this, [this, index, widget] {
            dialog_.DoubleClick(index, widget->currentRow());
            Refresh();
            CloseWhenDone();
        });
        lists_.push_back(widget);
    }

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (const VariableButton& b : dialog.buttons()) {
        auto* button = new QPushButton(Text(b.text));
        button->setToolTip(Text(b.hint));
        button->setStatusTip(Text(b.hint));
        button->setAutoDefault(false);
        const VariableAction action = b.action;
        connect(button, &QPushButton::clicked, this, [this, action] { Press(action); });
        buttons->addWidget(button);
        buttons_.emplace_back(action, button);
    }
    buttons->addStretch();

    auto* chosen = new QVBoxLayout;
    for (std::size_t i = 1; i < lists_.size(); ++i)
        chosen->addWidget(Titled(dialog.lists()[i], lists_[i]), 1);

    auto* body = new QHBoxLayout;
    body->addWidget(Titled(dialog.lists()[0], lists_[0]), 1);
    body->addLayout(buttons);
    body->addLayout(chosen, 1);

    auto* layout = new QVBoxLayout(this);
    for (const std::string& text : dialog.texts())
        layout->addWidget(new QLabel(Text(text)));
    layout->addLayout(body, 1);
    resize(640, 380);
    Refresh();
}

QPushButton* VariableDialogView::button(VariableAction action) const {
    for (const auto& [a, button] : buttons_)
        if (a == action)
            return button;
    return nullptr;
}

void VariableDialogView::Press(VariableAction action) {
    std::vector<std::vector<int>> selected(lists_.size());
    for (std::size_t l = 0; l < lists_.size(); ++l)
        for (int row = 0; row < lists_[l]->count(); ++row)
            if (lists_[l]->item(row)->isSelected())
                selected[l].push_back(row);
    dialog_.Press(action, selected);
    Refresh();
    CloseWhenDone();
}

void VariableDialogView::Refresh() {
    for (std::size_t l = 0; l < lists_.size(); ++l) {
        lists_[l]->clear();
        // A position that stands for something shows it before the item.
        const std::vector<std::string> roles = dialog_.roles(static_cast<int>(l));
        const std::vector<std::string>& items = dialog_.lists()[l].items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (roles.empty()) {
                lists_[l]->addItem(Text(items[i]));
                continue;
            }
            const QString role = i < roles.size() ? Text(roles[i]) : QString();
            lists_[l]->addItem(role.leftJustified(2) + QStringLiteral("│ ") + Text(items[i]));
        }
    }
}

void VariableDialogView::CloseWhenDone() {
    if (dialog_.closed())
        accept();
}

void VariableDialogView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Press(VariableAction::Enter);
        return;
    }
    QDialog::keyPressEvent(event);
}

void VariableDialogView::reject() {
    if (!dialog_.closed())
        dialog_.Press(VariableAction::Cancel, {});
    QDialog::reject();
}

}  // namespace dalvex
