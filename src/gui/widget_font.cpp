// Fonts of the settings applied to widgets.
#include <QPalette>
#include <QWidget>

#include "gui/font_setting.h"

namespace dalvex {

void ApplyFont(QWidget* widget, const FontSetting& setting) {
    widget->setFont(ToQFont(setting));
    QPalette palette = widget->palette();
    const QColor color = TextColor(setting);
    const QColor text = color.isValid() ? color : QPalette().color(QPalette::Text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
}

}  // namespace dalvex
