// Data preparation replayed from a script: the sheet's selection, the menu,
// its dialogs, the variable and condition dialogs, then a method on the
// prepared data and the sheet saved.
#include <gtest/gtest.h>

#include <fstream>

#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

class TransformBatchTest : public ::testing::Test {
  protected:
    TransformBatchTest() {
        std::ofstream file(temp_ / "d.txt");
        file << "x y\n1 10\n5 ?\n3 30\n7 40\n";
    }
    BatchOutcome Run(const std::string& script) {
        return RunMethodsScript("open d.txt\n" + script, temp_.WithSlash());
    }
    std::string Saved(const std::string& name) { return FileBytes(temp_ / name); }

    TempFolder temp_{"transform-batch"};
};

TEST_F(TransformBatchTest, ASelectionThenAGeneratedColumnThenAMethod) {
    const BatchOutcome run =
        Run("transform\n"
            "form 9\n"
            "variables x y\n"
            "formula 1 x>2\n"
            "select 3\n"
            "transform\n"
            "form 3\n"
            "form 1 3 1 0.5\n"
            "save out.txt\n");
    ASSERT_EQ(run.status, 0) << run.messages << run.results;
    // x and y keep the rows x > 2 together, the missing y marked; the
    // progression 1, 1.5, 2 went into the selected new column.
    EXPECT_EQ(Saved("out.txt"), "x y x3\r\n5 -?- 1\r\n3 30 1.5\r\n7 40 2\r\n");
    EXPECT_NE(run.results.find("Преобразование \"отбор x>2\": изменены x, y"), std::string::npos)
        << run.results;
    EXPECT_NE(run.results.find("Преобразование \"генератор чисел &1=арифм.прогрессия\""),
              std::string::npos)
        << run.results;
}

TEST_F(TransformBatchTest, AFunctionOverARectangleIsUndoneFromTheMenu) {
    const BatchOutcome run =
        Run("select x 2 y 3\n"
            "transform\n"
            "form 1\n"
            "form 12 \"a=1\" \"b=2\"\n"
            "cancel\n"
            "save changed.txt\n"
            "transform\n"
            "form 14\n"
            "save undone.txt\n");
    ASSERT_EQ(run.status, 0) << run.messages << run.results;
    // a + b*x on grid rows 2..3 of x and y; the missing y stays missing.
    EXPECT_EQ(Saved("changed.txt"), "x y\r\n1 10\r\n11 ?\r\n7 61\r\n7 40\r\n");
    EXPECT_EQ(Saved("undone.txt"), "x y\r\n1 10\r\n5 ?\r\n3 30\r\n7 40\r\n");
}

}  // namespace
}  // namespace dalvex
