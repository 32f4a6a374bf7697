// The fonts of the settings as Qt fonts and colours.
#pragma once

#include <QColor>
#include <QFont>

#include "core/settings.h"

namespace dalvex {

QFont ToQFont(const FontSetting& setting);
// Name, size and boldness from the font; the colour stays.
void TakeFont(const QFont& font, FontSetting& setting);
// An RGB colour (0x00BBGGRR) as itself; a system colour index as the
// palette's text colour (an invalid QColor).
QColor TextColor(const FontSetting& setting);
// A widget's font and text colour.
void ApplyFont(QWidget* widget, const FontSetting& setting);

}  // namespace dalvex
