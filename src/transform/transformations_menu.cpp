#include "transform/transformations_menu.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "dispatch/command_frame.h"
#include "dispatch/method_kit.h"
#include "dispatch/variable_dialogs.h"
#include "formula/formula_set_dialog.h"
#include "transform/missing_outliers.h"

namespace dalvex {

namespace {

struct MenuEntry {
    const char* group;
    const char* text;
    const char* hint;
};

const MenuEntry MenuEntries[] = {
    {"Одна переменная", "&1=стандартная функция",
     "Преобразование значений выделенной переменной по стандартной функции"},
    {"Одна переменная", "&2=задаваемая функция",
     "Вычисление значений переменной по задаваемой функции от других переменных"},
    {"Одна переменная", "&3=генератор чисел",
     "Порождение последовательности чисел по заданному закону"},
    {"Несколько переменных", "  &4=кодирование=", "Кодирование значений выбранных переменных"},
    {"Несколько переменных", "&5=нормировка ст.откл",
     "Нормировка значений на стандартное отклонение"},
    {"Несколько переменных", "&6=нормировка диапазон", "Нормировка значений на диапазон"},
    {"Несколько переменных", "&7=ранжирование", "Ранжирование выбранных переменных"},
    {"Несколько переменных", "&8=сортировка",
     "Сортировка выбранных переменных по вызрастанию/убыванию значений"},
    {"Несколько переменных", "&9=отбор",
     "Выбрать измерения избранных переменных по заданному условию"},
    {"Несколько переменных",
     "  &A=выборка,длина=", "Случайная выборка элементов избранных переменных указанного объема"},
    {"Все переменные", "&B=транспонирование", "Столбцы матрицы заменяются строками и наоборот"},
    {"Все переменные", "&C=пропуски и выбросы", "Поиск и замена пропущенных значений и выбросов"},
    {"Все переменные", "&D=программа No.", "Вызов пронраммы пользователя с указанным номером"},
    {"Все переменные", "&E=отменить преобразование",
     "Вернуть лист данных к виду до последнего преобразования"},
};

const char* ChoiceName(int choice) {
    static const char* const names[] = {
        "",
        "стандартная функция",
        "задаваемая функция",
        "генератор чисел",
        "кодирование",
        "нормировка ст.откл",
        "нормировка диапазон",
        "ранжирование",
        "сортировка",
        "отбор",
        "выборка",
        "транспонирование",
        "пропуски и выбросы",
    };
    return choice >= 1 && choice <= 12 ? names[choice] : "";
}

bool SameColumn(const SheetGrid& a, const SheetGrid& b, int c) {
    if (a.ColumnLength(c) != b.ColumnLength(c))
        return false;
    const int rows = std::max(a.LongestColumn(), b.LongestColumn()) + 1;
    const int last = c == 0 ? rows : std::max(a.ColumnLength(c), rows);
    for (int r = 0; r <= std::min(last, SheetRows); ++r)
        if (a.Cell(c, r) != b.Cell(c, r))
            return false;
    return true;
}

// A variable of a form's list: its number or its name as the sheet shows it.
int ColumnOfWord(const Workspace& ws, const std::string& word) {
    const ParsedNumber number = ParseNumber(word);
    if (number.ok() && number.value == std::trunc(number.value) && number.value >= 1 &&
        number.value <= ws.sheet.VariableCount())
        return static_cast<int>(number.value);
    for (int k = 0; k < ws.sheet.VariableCount(); ++k)
        if (VariableName(ws, k) == word)
            return k + 1;
    return 0;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char ch : text + " ") {
        if (ch == ' ' || ch == ',' || ch == ';' || ch == '\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += ch;
        }
    }
    return words;
}

}  // namespace

std::string NoUserProgramText(int entry) {
    return "!ПРОГРАММА ПОЛЬЗОВАТЕЛЯ No." + std::to_string(entry) +
           " НЕ ПОДКЛЮЧЕНА - ЛИСТ ДАННЫХ НЕ ИЗМЕНЕН!";
}

std::vector<int> ChangedColumns(const SheetGrid& a, const SheetGrid& b) {
    std::vector<int> changed;
    const int columns = std::max(a.VariableCount(), b.VariableCount());
    for (int c = 0; c <= std::min(columns + 1, SheetColumns); ++c)
        if (!SameColumn(a, b, c))
            changed.push_back(c);
    return changed;
}

FormDialog TransformMenuForm() {
    FormDialog form;
    form.caption = "Преобразования";
    int choice = 0;
    for (const MenuEntry& entry : MenuEntries) {
        ++choice;
        form.GroupButton(entry.group, entry.text, choice);
        form.buttons.back().hint = entry.hint;
    }
    form.Button("<Esc>=Отменить", 0, "Отменить выбор по данному меню");
    form.Group("")
        .Field("Длина выборки=", "10", "Укажите размер выборки")
        .Field("Подставляемое значение=", "0", "Укажите подставляемое значение")
        .Field("Номер входа=", "0", "Номер входа в программу пользователя");
    form.RememberIn(TransformMenuMemory);
    return form;
}

FormDialog StandardFunctionsForm() {
    FormDialog form;
    form.caption = "Стандартные функции";
    form.Field("a=", "1", "Укажите значение параметра  а  для преобразования").Field("b=", "0");
    // Three columns of buttons, so the dialog stays as wide as a screen.
    for (int f = 1; f <= StandardFunctionCount; ++f)
        form.GroupButton(f <= 12   ? "Функции x"
                         : f <= 18 ? "Тригонометрические"
                                   : "По строкам блока",
                         StandardFunctionButton(f), f);
    form.Button("Закрыть", 0);
    form.RememberIn(StandardFunctionsMemory);
    return form;
}

FormDialog GeneratorForm() {
    FormDialog form;
    form.caption = "Генератор чисел";
    form.Field("Всего чисел=", "10").Field("a=", "1").Field("b=", "1");
    for (int law = 1; law <= GeneratorLawCount; ++law)
        form.GroupButton(law <= 2 ? "Последовательности" : "Случайные числа",
                         GeneratorLawButton(law), law);
    form.Button("Отменить", 0);
    form.RememberIn(GeneratorMemory);
    return form;
}

FormDialog SortForm() {
    FormDialog form;
    form.caption = "Сортировка";
    form.Field("Сортирующие=", "", "Не более трех переменных: номера или имена через пробел")
        .Field("Сортируемые=", "", "Переменные, строки которых переставляются")
        .Choice("Порядок", {"по возрастанию значений", "по убыванию значений"}, 0);
    form.Button("Утвердить", 1).Button("Отменить", 0);
    form.RememberIn(SortMemory);
    return form;
}

FormDialog MissingForm() {
    FormDialog form;
    form.caption = "Пропуски и выбросы";
    form.Field("Ст.отклонение=", "2")
        .Choice("Что искать", {"пропуски", "выбросы", "все"}, 2)
        .Choice("Заменить", {"средними", "регрессией", "удалить"}, 0);
    form.Button("&1=Поиск", 1).Button("&2=Замена", 2).Button("Отменить", 0);
    form.RememberIn(MissingMemory);
    return form;
}

TTrMet::TTrMet(Workspace& ws, TSMForm& form, TransformUndo& undo, SheetBlock block)
    : ws_(ws), form_(form), undo_(undo), block_(block) {}

int TTrMet::Run() {
    for (;;) {
        const FormAnswer answer = ShowForm(ws_, TransformMenuForm());
        if (answer.values.size() >= 3) {
            sampleSize = ParseInteger(answer.values[0]);
            codeValue = answer.values[1];
            entry = ParseInteger(answer.values[2]);
        }
        if (answer.button == UserProgramChoice) {
            // No user program can be attached: the menu stays, the sheet too.
            ShowNotice(ws_, NoUserProgramText(entry));
            continue;
        }
        if (answer.button == UndoChoice) {
            Undo();
            return UndoChoice;
        }
        if (answer.button >= 1 && answer.button <= 12) {
            if (answer.button == 4)
                ws_.SetTextBuffer(codeValue);
            TrMt(answer.button);
        }
        return answer.button;
    }
}

void TTrMet::Undo() {
    if (!undo_.available) {
        ShowNotice(ws_, NothingToUndoText);
        return;
    }
    if (!ChangedColumns(undo_.after, ws_.sheet).empty()) {
        ShowNotice(ws_, SheetChangedSinceText);
        return;
    }
    ws_.sheet = undo_.before;
    undo_.available = false;
    WriteResult(ws_, "Преобразование \"" + undo_.name + "\" отменено.");
}

void TTrMet::Recorded(const std::string& name, const std::function<void()>& body) {
    SheetGrid before = ws_.sheet;
    CommandFrame frame(ws_, form_);
    frame.Run([&] {
        body();
        return true;
    });
    const std::vector<int> changed = ChangedColumns(before, ws_.sheet);
    if (changed.empty())
        return;
    std::string names;
    for (int c : changed) {
        if (!names.empty())
            names += ", ";
        names += c == 0 ? std::string("метки строк") : VariableName(ws_, c - 1);
    }
    undo_.available = true;
    undo_.name = name;
    undo_.before = std::move(before);
    undo_.after = ws_.sheet;
    WriteResult(ws_, "Преобразование \"" + name + "\": изменены " + names + ".");
}

void TTrMet::TrMt(int choice) {
    const int helpBefore = ws_.RunHelpContext;
    ws_.RunHelpContext = choice + 50;
    switch (choice) {
        case 1:
            StandardFunctions();
            break;
        case 2:
            FormulaOverBlock();
            break;
        case 3:
            Generator();
            break;
        case 4:
        case 9:
            ByCondition(choice);
            break;
        case 5:
        case 6:
        case 7:
        case 10: {
            std::vector<int> columns;
            if (!ChooseVariables(columns))
                break;
            Recorded(ChoiceName(choice), [&] {
                if (choice == 5)
                    NormaliseByDeviation(ws_, columns);
                else if (choice == 6)
                    NormaliseByRange(ws_, columns);
                else if (choice == 7)
                    RankVariables(ws_, columns);
                else if (sampleSize < 1)
                    ShowNotice(ws_, "!ДЛИНА ВЫБОРКИ ДОЛЖНА БЫТЬ НЕ МЕНЬШЕ 1!");
                else
                    SampleObservations(ws_, columns, sampleSize);
            });
            break;
        }
        case 8:
            Sort();
            break;
        case 11:
            Recorded(ChoiceName(choice), [&] { Transpose(ws_); });
            break;
        case 12:
            MissingValues();
            break;
        default:
            break;
    }
    ws_.RunHelpContext = helpBefore;
}

bool TTrMet::ChooseVariables(std::vector<int>& columns) {
    if (pq30(ws_) == 0)
        return false;
    columns.assign(ws_.SelectedColumns.begin() + 1,
                   ws_.SelectedColumns.begin() + 1 + ws_.SelectedColumns[0]);
    return !columns.empty();
}

void TTrMet::StandardFunctions() {
    for (;;) {
        FormReader reader(ws_, StandardFunctionsForm());
        if (!reader.answered())
            return;
        const double a = reader.Number(0, "!ПАРАМЕТР a НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!");
        const double b = reader.Number(1, "!ПАРАМЕТР b НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!");
        if (!reader.ok())
            return;
        const int f = reader.button();
        Recorded(ChoiceName(1) + std::string(" ") + Trim(StandardFunctionButton(f)), [&] {
            ApplyStandardFunction(ws_, block_, static_cast<StandardFunction>(f), a, b);
        });
    }
}

void TTrMet::FormulaOverBlock() {
    ActiveFormula formula;
    if (ChooseFormula(ws_, 1, formula) != 1)
        return;
    const std::string text = ws_.TextBuffer();
    if (CompileFormula(ws_, formula, text, FormulaContext::Block) != 0)
        return;
    Recorded(ChoiceName(2) + std::string(" ") + text,
             [&] { ApplyFormulaToBlock(ws_, formula, block_); });
}

void TTrMet::Generator() {
    FormReader reader(ws_, GeneratorForm());
    if (!reader.answered())
        return;
    const int count = reader.Integer(
        0, -SheetRows, SheetRows,
        "!ВСЕГО ЧИСЕЛ - ЦЕЛОЕ ЧИСЛО НЕ БОЛЕЕ " + std::to_string(SheetRows) + " ПО МОДУЛЮ!");
    const double a = reader.Number(1, "!ПАРАМЕТР a НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!");
    const double b = reader.Number(2, "!ПАРАМЕТР b НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!");
    if (!reader.ok())
        return;
    const int n = std::abs(count);
    const auto law = static_cast<GeneratorLaw>(reader.button());
    ActiveFormula formula;
    if (law == GeneratorLaw::Formula) {
        if (ChooseFormula(ws_, 4, formula) != 1)
            return;
        if (CompileFormula(ws_, formula, ws_.TextBuffer(), FormulaContext::XY) != 0)
            return;
    }
    const int column = block_.left;
    Recorded(ChoiceName(3) + std::string(" ") + GeneratorLawButton(reader.button()), [&] {
        std::vector<double> values = GenerateValues(ws_, law, n, a, b);
        if (law == GeneratorLaw::Formula)
            for (double& v : values) {
                formula.CoefficientTable[0] = v;
                v = EvaluateFormula(ws_, formula);
            }
        WriteGenerated(ws_, column, values);
    });
}

void TTrMet::Sort() {
    FormReader reader(ws_, SortForm());
    if (!reader.answered())
        return;
    const bool descending = reader.Choice(2, 2, "!ПОРЯДОК СОРТИРОВКИ НЕ ВЫБРАН!") == 1;
    std::vector<int> lists[2];
    for (int field = 0; field < 2 && reader.ok(); ++field)
        for (const std::string& word :
             Words(reader.answer().values[static_cast<std::size_t>(field)])) {
            const int column = ColumnOfWord(ws_, word);
            if (column == 0) {
                reader.Refuse(field, "!НЕТ ТАКОЙ ПЕРЕМЕННОЙ: " + word + "!");
                break;
            }
            lists[field].push_back(column);
        }
    if (!reader.ok() || (lists[0].empty() && lists[1].empty()))
        return;
    if (lists[0].empty() || lists[1].empty()) {
        ShowNotice(ws_, lists[0].empty() ? "!НЕ ЗАДАНЫ СОРТИРУЮЩИЕ ПЕРЕМЕННЫЕ!"
                                         : "!НЕ ЗАДАНЫ СОРТИРУЕМЫЕ ПЕРЕМЕННЫЕ!");
        return;
    }
    if (lists[0].size() > 3)
        lists[0].resize(3);
    Recorded(ChoiceName(8), [&] { SortRows(ws_, lists[0], lists[1], descending); });
}

void TTrMet::MissingValues() {
    FormReader reader(ws_, MissingForm());
    if (!reader.answered())
        return;
    const double threshold = reader.Number(0, "!ПОРОГ ВЫБРОСОВ - НЕОТРИЦАТЕЛЬНОЕ ЧИСЛО!", 0.0);
    const int what = reader.Choice(1, 3, "!НЕ ВЫБРАНО, ЧТО ИСКАТЬ!");
    const int by = reader.Choice(2, 3, "!НЕ ВЫБРАНО, ЧЕМ ЗАМЕНИТЬ!");
    if (!reader.ok())
        return;
    const bool replace = reader.button() == 2;
    Recorded(ChoiceName(12), [&] {
        const MissingSearch search =
            FindMissingAndOutliers(ws_, threshold, static_cast<LookFor>(what));
        if (replace)
            ReplaceFindings(ws_, search, static_cast<ReplaceBy>(by));
        else
            WriteMissingReport(ws_, search);
    });
}

void TTrMet::ByCondition(int choice) {
    const std::string code = ws_.TextBuffer();
    std::vector<int> columns;
    if (!ChooseVariables(columns))
        return;
    ActiveFormula condition;
    if (ChooseFormula(ws_, 5, condition) != 1)
        return;
    const std::string text = ws_.TextBuffer();
    const int compiled = CompileFormula(ws_, condition, text, FormulaContext::Condition);
    // The condition's own variables are its business; the chosen list stays.
    ws_.SelectedColumns[0] = static_cast<int>(columns.size());
    std::copy(columns.begin(), columns.end(), ws_.SelectedColumns.begin() + 1);
    if (compiled != 0)
        return;
    Recorded(ChoiceName(choice) + std::string(" ") + text, [&] {
        if (choice == 4)
            CodeVariables(ws_, condition, columns, code);
        else
            SelectObservations(ws_, condition, columns);
    });
}

}  // namespace dalvex
