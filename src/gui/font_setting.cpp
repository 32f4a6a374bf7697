#include "gui/font_setting.h"

namespace dalvex {

QFont ToQFont(const FontSetting& setting) {
    QFont font(QString::fromStdString(setting.name), setting.size);
    font.setBold(setting.bold);
    if (setting.name.find("Mono") != std::string::npos ||
        setting.name.find("Courier") != std::string::npos)
        font.setStyleHint(QFont::Monospace);
    return font;
}

void TakeFont(const QFont& font, FontSetting& setting) {
    setting.name = font.family().toStdString();
    if (font.pointSize() > 0)
        setting.size = font.pointSize();
    setting.bold = font.bold();
}

QColor TextColor(const FontSetting& setting) {
    const auto value = static_cast<std::uint32_t>(setting.color);
    if (value & 0x80000000u)
        return {};
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace dalvex
