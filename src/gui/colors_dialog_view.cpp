#include "gui/colors_dialog_view.h"

#include <QApplication>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_colors.h"

namespace dalvex {

namespace {

std::optional<QColor> PlatformPicker(const QColor& initial, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

}  // namespace

ColorsDialogView::ColorsDialogView(SettingsValues& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), model_(settings), picker_(PlatformPicker) {
    setWindowTitle(QString::fromUtf8(ColorsCaption));
    auto* outer = new QVBoxLayout(this);

    // The preview: the upper panel with its caption and explanation, the
    // lower panel under it.
    auto* upper = new QFrame(this);
    upper->setFrameShape(QFrame::Panel);
    upper->setFrameShadow(QFrame::Raised);
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->addWidget(new QLabel(QStringLiteral("Панель 2"), upper));
    auto* captions = new QLabel(QStringLiteral("Заголовки"), upper);
    QFont bold = captions->font();
    bold.setBold(true);
    captions->setFont(bold);
    upperLayout->addWidget(captions);
    auto* explanation = new QLabel(QStringLiteral("Пояснение"), upper);
    MarkExplanation(explanation);
    upperLayout->addWidget(explanation);
    outer->addWidget(upper);

    auto* lower = new QFrame(this);
    lower->setFrameShape(QFrame::Panel);
    lower->setFrameShadow(QFrame::Raised);
    MarkLowerPanel(lower);
    auto* lowerLayout = new QGridLayout(lower);
    lowerLayout->addWidget(new QLabel(QStringLiteral("Панель 1"), lower), 0, 0, 1, 4);

    using T = Tqqmcl::Target;
    int column = 0;
    for (T target : {T::LowerPanel, T::UpperPanel, T::Captions, T::Explanations}) {
        auto* button = new QPushButton(QString::fromUtf8(Tqqmcl::ButtonText(target)), lower);
        button->setToolTip(QString::fromUtf8(Tqqmcl::ButtonHint(target)));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, target] { Pick(target); });
        lowerLayout->addWidget(button, 1, column++);
    }
    struct Action {
        const char* text;
        const char* hint;
        std::function<void()> act;
    };
    const Action actions[] = {
        {"Стандарт", "Стандартная цветовая гамма", [this] { model_.Standard(); }},
        {"Серый", "Черно-белая цветовая гамма", [this] { model_.Grey(); }},
        {"Закрыть", "Отменить выбор по данному меню", [this] { accept(); }},
    };
    column = 0;
    for (const Action& action : actions) {
        auto* button = new QPushButton(QString::fromUtf8(action.text), lower);
        button->setToolTip(QString::fromUtf8(action.hint));
        button->setAutoDefault(false);
        const auto act = action.act;
        connect(button, &QPushButton::clicked, this, [this, act] {
            act();
            Repaint();
        });
        lowerLayout->addWidget(button, 2, column++);
    }
    outer->addWidget(lower);
    Repaint();
}

void ColorsDialogView::Press(const QString& text) {
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button->text() == text) {
            button->click();
            return;
        }
}

void ColorsDialogView::Pick(Tqqmcl::Target target) {
    const QColor initial = SettingColor(model_.ColorOf(target), QApplication::palette());
    if (const auto chosen = picker_(initial, this)) {
        model_.Choose(target, SettingColorOf(*chosen));
        Repaint();
    }
}

void ColorsDialogView::Repaint() {
    PaintDialog(this, settings_);
}

}  // namespace dalvex
