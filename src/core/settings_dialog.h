// The settings dialog ("Tqset", caption "Установки") and the menu-colour
// dialog ("Tqqmcl", caption "Установка цветов меню"): what they show and what
// their buttons do to the settings in memory. "Запомнить" keeps the result in
// "Dvx.ini"; until then the changes last while the program runs.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/form_dialog.h"
#include "core/settings.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* SettingsCaption = "Установки";
inline constexpr const char* ExactProbabilitiesLabel = "Точные вероятности";

// The form with the current values: the level and the column width through
// FormatNumber, the digits and the row height as whole numbers.
FormDialog SettingsForm(const SettingsValues& values);

// What "Утвердить" changed.
struct SettingsChange {
    bool accepted = false;  // false: "Отменить", nothing changed
    bool sheetChanged = false;
};

// Takes an answer of the form: a level only when 0 < level < 0.2 (a comma
// counts as the point), digits only from 3 to 9, a column width and a row
// height only within the ranges the settings file accepts (a width of 0 hid
// the grid); anything else is dropped and the value stays.
SettingsChange ApplySettingsForm(const FormAnswer& answer, SettingsValues& values);

// Shows the form through the workspace's dialogs and applies the answer.
SettingsChange Tqset(Workspace& ws);

// ---------------------------------------------------------------------------

class Tqqmcl {
  public:
    // The colour buttons: "Панель1", "Панель2", "Заголовок", "Пояснение"
    // set dialog colours 1, 2, 3 and 5.
    enum class Target { LowerPanel, UpperPanel, Captions, Explanations };

    explicit Tqqmcl(SettingsValues& values) : values_(values) {}

    // The colour a picker opens with, and a picked colour taking effect at once.
    std::int32_t ColorOf(Target target) const;
    void Choose(Target target, std::int32_t color);
    // "Стандарт": blue, green, red, navy; "Серый": the platform's button face
    // for the panels and its window text for the texts.
    void Standard();
    void Grey();

    static const char* ButtonText(Target target);
    static const char* ButtonHint(Target target);

  private:
    static int SlotOf(Target target);
    SettingsValues& values_;
};

inline constexpr const char* ColorsCaption = "Установка цветов меню";

}  // namespace dalvex
