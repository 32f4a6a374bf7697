// Inputs the fuzzer found interesting, kept so that they are run on every
// build: each file is compiled in every context and, when accepted,
// evaluated; nothing may crash, and a value is always a finite number.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/arithmetic_fault.h"
#include "formula_fixture.h"

namespace dalvex {
namespace {

TEST_F(FormulaTest, FuzzFindingsCompileAndEvaluateSafely) {
    const std::filesystem::path dir(DALVEX_FORMULA_FUZZ_DATA);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file() || entry.path().filename() == "README.md")
            continue;
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        for (const int context : {0, 1, 2, 4, 5, 6}) {
            const int result = CompileFormula(ws, formula, bytes.str(), FormulaContext(context));
            EXPECT_EQ(result == 0, ui.notices().empty()) << entry.path();
            ui.ClearLog();
            if (result != 0)
                continue;
            formula.SetObservation(1);
            formula.SetColumn(2);
            try {
                EXPECT_TRUE(std::isfinite(EvaluateFormula(ws, formula))) << entry.path();
            } catch (const ArithmeticFault&) {
            }
        }
    }
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace dalvex
