// The menu-colour dialog ("Установка цветов меню"): a preview of the two
// panels with a caption and an explanation, the four colour buttons that open
// the colour picker, the two schemes and the close button. A chosen colour
// takes effect at once, in the preview and in every dialog shown afterwards.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "core/settings_dialog.h"

class QFrame;
class QLabel;

namespace dalvex {

class ColorsDialogView : public QDialog {
  public:
    // The colour picker: the colour it opens with, the colour chosen or
    // nothing when the person cancelled it.
    using Picker = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    explicit ColorsDialogView(SettingsValues& settings, QWidget* parent = nullptr);

    // The platform's colour dialog unless a test puts its own.
    void SetPicker(Picker picker) { picker_ = std::move(picker); }
    // Presses the button with this text, as a click does.
    void Press(const QString& text);

  private:
    void Pick(Tqqmcl::Target target);
    void Repaint();

    SettingsValues& settings_;
    Tqqmcl model_;
    Picker picker_;
};

}  // namespace dalvex
