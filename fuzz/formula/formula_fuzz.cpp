// libFuzzer target for the formula language: the first byte picks the
// context, the rest is the formula text. Every input is compiled; an
// accepted program is evaluated. Besides what the sanitizers see, the
// target aborts when a compilation's result and its messages disagree, when
// an accepted program breaks a capacity, or when a value is not finite.

#include <stdlib.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "core/arithmetic_fault.h"
#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "formula/formula.h"
#include "formula/function_list.h"
#include "formula/value_number.h"

namespace {

using namespace dalvex;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

struct Fixture {
    ScriptedDialogs ui;
    Workspace ws{ui};
    ActiveFormula formula;

    std::string folder;

    // The function list lives in a folder of this run's own, gone at exit.
    Fixture() {
        folder = (std::filesystem::temp_directory_path() / "dalvex-formula-fuzz-XXXXXX").string();
        Check(::mkdtemp(folder.data()) != nullptr);
        ws.ProgramFolder = folder + "/";
        WriteFunctionListIfMissing(ws.ProgramFolder);
        // A small sheet with numbers, a text and a Cyrillic name.
        for (int obs = 0; obs < 5; ++obs) {
            PutSheetText(ws, std::to_string(obs * 3 - 4), 1, obs);
            PutSheetText(ws, std::to_string(obs) + ",25", 2, obs);
        }
        PutSheetText(ws, "вес", 2, -1);
        PutSheetText(ws, "abc", 3, 0);
        PutSheetText(ws, "MODEL", 4, -1);
        PutSheetText(ws, "1e300", 4, 0);
    }
    ~Fixture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture f;
    if (size == 0)
        return 0;
    static constexpr int kContexts[] = {0, 1, 2, 4, 5, 6};
    const auto context = static_cast<FormulaContext>(kContexts[data[0] % 6]);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    // The value table's quick number reading must agree with ParseNumber.
    const ParsedNumber quick = ParseValueNumber(text);
    const ParsedNumber full = ParseNumber(text);
    Check(quick.errorPosition == full.errorPosition &&
          std::bit_cast<std::uint64_t>(quick.value) == std::bit_cast<std::uint64_t>(full.value));

    // A value-table text is a prefix of what was given, within its buffer.
    const ValueText cut(text);
    Check(text.starts_with(cut.view()) && cut.view().size() <= 4 * ValueTextChars);

    f.ui.ClearLog();
    const int result = CompileFormula(f.ws, f.formula, text, context);
    Check((result == 0) == f.ui.notices().empty());
    if (result != 0)
        return 0;

    const FormulaProgram& program = f.formula.program();
    Check(program.cells.size() <= ProgramCapacity);
    Check(program.constants.size() <= ConstantCapacity);
    Check(program.texts.size() <= TextConstantCapacity);
    Check(program.intermediates <= IntermediateCapacity);
    Check(program.variables.size() <= MaxFormulaVariables);
    Check(program.highestCoefficient < CoefficientSlots);

    // Inputs of every kind the callers pass: numbers, texts, empty slots.
    static const char* const kTexts[] = {"2", "-1,5", "abc", "", "1e308", "0"};
    for (int k = 1; k <= f.formula.variableCount(); ++k)
        f.formula.SetVariableText(k, kTexts[(k + data[0]) % 6]);
    f.formula.SetCellText(kTexts[data[0] % 6]);
    f.formula.SetObservation(data[0] % 7 - 1);
    f.formula.SetColumn(data[0] % 5);
    for (int k = 0; k < CoefficientSlots; ++k)
        f.formula.CoefficientTable[k] = (k % 3 == 0) ? 0.0 : k * 0.5 - 3;
    f.formula.Counts = {1, 0, 2, 3};
    try {
        Check(std::isfinite(EvaluateFormula(f.ws, f.formula)));
    } catch (const ArithmeticFault&) {
    }
    return 0;
}
