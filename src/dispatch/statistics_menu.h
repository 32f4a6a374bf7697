// The statistics menu ("Статистические методы", TStMet): 37 method buttons
// in seven groups. A button closes the menu with its method number in
// LastAnswer; "<Esc>=Отменить" closes it with 0. Buttons of methods the
// program cannot run yet are shown disabled with their hint.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/workspace.h"

namespace dalvex {

inline constexpr int MethodCount = 37;
inline constexpr const char* StatisticsMenuCaption = "Статистические методы";
inline constexpr const char* MenuCancelCaption = "<Esc>=Отменить";
inline constexpr const char* MenuCancelHint = "Отменить выбор по данному меню";

struct MethodButton {
    int method;           // 1..37
    const char* caption;  // the key after "&" is the accelerator
    const char* hint;     // "" when the method has none
};

struct MethodGroup {
    const char* caption;
    std::vector<MethodButton> buttons;
};

// The seven groups in menu order, each with its buttons in order.
const std::vector<MethodGroup>& StatisticsMethods();

// The character after "&" in a caption ('1', 'C', 'c' ...); 0 when none.
// Case counts: "&C" and "&c" are different methods.
char Accelerator(const char* caption);
// The caption as shown: without the "&".
std::string ShownCaption(const char* caption);

class TStMet {
  public:
    // `available` tells which methods can run; the others are disabled.
    TStMet(Workspace& ws, std::function<bool(int)> available);

    bool enabled(int method) const;
    // Whether a method works on the sheet's variables; the probability
    // calculator (28) needs none.
    static bool NeedsData(int method);
    // F9 on an empty sheet says there are no data ("!МАЛО ЗНАЧЕНИЙ
    // ПЕРЕМЕННЫХ!") before any dialog: before the menu when every method
    // that can run needs data, otherwise as soon as such a method is chosen,
    // before its header and its dialogs. False after the notice.
    bool MayOpen();
    bool MayRun(int method);
    // A button (or its accelerator): LastAnswer = the method, the menu
    // closes. A disabled button does nothing and returns false.
    bool Choose(int method);
    // A typed key: the enabled method whose accelerator it is.
    bool Key(char key);
    // "<Esc>=Отменить".
    void Cancel();
    bool closed() const { return closed_; }
    // The method chosen, 0 when cancelled.
    int answer() const { return ws_.LastAnswer; }

  private:
    Workspace& ws_;
    std::function<bool(int)> available_;
    bool closed_ = false;
};

}  // namespace dalvex
