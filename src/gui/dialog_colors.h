// The five dialog colours of the settings on screen. Every dialog of the
// program is painted when it shows: its background and upper panels in
// colour 2, its captions (labels, group-box titles, check-box texts) in
// colour 3, the panels a view marks as lower panels in colour 1 and the texts
// it marks as explanations in colour 5. The platform's own dialogs (message
// boxes, the colour, font, file and printer dialogs) keep their look.
#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <cstdint>

#include "core/settings.h"

class QWidget;

namespace dalvex {

// A settings colour: 0x00BBGGRR as itself, 0x80000000 + a system colour
// index as the matching role of `system` (the application's palette).
QColor SettingColor(std::int32_t value, const QPalette& system);
// The other way: an RGB colour in the settings' layout.
std::int32_t SettingColorOf(const QColor& color);

// What a view marks in its dialog.
void MarkLowerPanel(QWidget* panel);
void MarkExplanation(QWidget* text);

// Paints the dialog (and the marked widgets in it) with the colours now.
void PaintDialog(QWidget* dialog, const SettingsValues& settings);

// Installed on the application: paints every program dialog as it shows,
// with the colours in effect at that moment.
class DialogColorFilter : public QObject {
  public:
    explicit DialogColorFilter(const SettingsValues& settings, QObject* parent = nullptr)
        : QObject(parent), settings_(settings) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const SettingsValues& settings_;
};

}  // namespace dalvex
