#include "gui/dialog_colors.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QWidget>

namespace dalvex {

namespace {

constexpr const char* kRole = "dalvexDialogRole";

QColor SystemColor(int index, const QPalette& p) {
    // The platform's system colour indices the settings may hold.
    switch (index) {
        case 0x05:  // window
            return p.color(QPalette::Base);
        case 0x06:  // window frame
            return p.color(QPalette::Shadow);
        case 0x07:  // menu text
        case 0x08:  // window text
            return p.color(QPalette::WindowText);
        case 0x0D:  // highlight
        case 0x02:  // active caption
            return p.color(QPalette::Highlight);
        case 0x0E:  // highlighted text
        case 0x09:  // caption text
            return p.color(QPalette::HighlightedText);
        case 0x0F:  // button face
            return p.color(QPalette::Button);
        case 0x10:  // button shadow
            return p.color(QPalette::Mid);
        case 0x11:  // grey text
            return p.color(QPalette::Disabled, QPalette::Text);
        case 0x12:  // button text
            return p.color(QPalette::ButtonText);
        case 0x14:  // button highlight
            return p.color(QPalette::Light);
        case 0x15:  // dark shadow
            return p.color(QPalette::Shadow);
        case 0x17:  // tip text
            return p.color(QPalette::ToolTipText);
        case 0x18:  // tip background
            return p.color(QPalette::ToolTipBase);
        default:
            return p.color(QPalette::Window);
    }
}

void SetBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetText(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

bool IsPlatformDialog(QObject* object) {
    return qobject_cast<QMessageBox*>(object) || qobject_cast<QColorDialog*>(object) ||
           qobject_cast<QFontDialog*>(object) || qobject_cast<QFileDialog*>(object) ||
           qobject_cast<QAbstractPrintDialog*>(object) || qobject_cast<QPageSetupDialog*>(object);
}

}  // namespace

QColor SettingColor(std::int32_t value, const QPalette& system) {
    const auto bits = static_cast<std::uint32_t>(value);
    if (bits & 0x80000000u)
        return SystemColor(static_cast<int>(bits & 0xFFu), system);
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

std::int32_t SettingColorOf(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

void MarkLowerPanel(QWidget* panel) {
    panel->setProperty(kRole, QStringLiteral("lower"));
}

void MarkExplanation(QWidget* text) {
    text->setProperty(kRole, QStringLiteral("explanation"));
}

void PaintDialog(QWidget* dialog, const SettingsValues& s) {
    const QPalette system = QApplication::palette();
    const auto color = [&](int k) { return SettingColor(s.dialogColors[k], system); };
    SetBackground(dialog, color(1));
    SetText(dialog, color(2));
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        const QString role = child->property(kRole).toString();
        if (role == QLatin1String("lower"))
            SetBackground(child, color(0));
        else if (role == QLatin1String("explanation"))
            SetText(child, color(4));
    }
}

bool DialogColorFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType() &&
        qobject_cast<QDialog*>(watched) && !IsPlatformDialog(watched))
        PaintDialog(static_cast<QWidget*>(watched), settings_);
    return QObject::eventFilter(watched, event);
}

}  // namespace dalvex
