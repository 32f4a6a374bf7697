#include "gui/graph_prompt.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace dalvex {

bool ShowGraphPrompt(QWidget* parent, bool offerDiscard) {
    QDialog dialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    dialog.setWindowTitle(QStringLiteral("ПОСМОТРИТЕ ГРАФИК"));
    dialog.setAutoFillBackground(true);
    dialog.setStyleSheet(QStringLiteral(
        "QDialog { background: #c81010; } QPushButton { min-width: 90px; padding: 4px 10px; }"));
    bool discarded = false;
    auto* row = new QHBoxLayout(&dialog);
    row->setContentsMargins(16, 12, 16, 12);
    row->setSpacing(16);
    auto* keep = new QPushButton(QStringLiteral("Оставить"), &dialog);
    keep->setToolTip(QStringLiteral("Оставить окно графика"));
    keep->setStatusTip(keep->toolTip());
    keep->setDefault(true);
    QObject::connect(keep, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (!offerDiscard)
        row->addStretch();
    row->addWidget(keep);
    if (offerDiscard) {
        auto* discard = new QPushButton(QStringLiteral("Отменить"), &dialog);
        discard->setToolTip(QStringLiteral("Отменить формулу и меню"));
        discard->setStatusTip(discard->toolTip());
        QObject::connect(discard, &QPushButton::clicked, &dialog, [&] {
            discarded = true;
            dialog.reject();
        });
        row->addWidget(discard);
    } else {
        row->addStretch();
    }
    dialog.adjustSize();
    if (parent) {
        const QWidget* top = parent->window();
        const QRect frame = top->geometry();
        dialog.move(frame.right() - dialog.width() - 24, frame.bottom() - dialog.height() - 48);
    }
    // Closing the panel without a button keeps the graph, as "Оставить" would.
    dialog.exec();
    return !discarded;
}

}  // namespace dalvex
