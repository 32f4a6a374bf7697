// Two regressions compared (method 19) through the batch runner. The
// references come from R by their definitions: with y, x and the group g of
// both samples, T(паралельность) = |t| of g2:x in lm(y ~ g * x), and
// T(равенство средних) = |estimate / se| of g2 in lm(y ~ x + g) with the
// error rescaled by sigma(lm(y ~ g * x)) / sigma(lm(y ~ x + g)) (the
// residual variance of the two separate lines, N1 + N2 - 4 df).
#include <gtest/gtest.h>

#include <fstream>

#include "core/number.h"
#include "dispatch/loading.h"
#include "numeric/distributions.h"
#include "stats/two_regressions.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

class TwoRegressionsTest : public ::testing::Test {
  protected:
    BatchOutcome Run(const std::string& data) {
        std::ofstream(folder_ / "t.txt", std::ios::binary) << data;
        return RunMethodsScript("open t.txt\ndigits 7\nmethod 19\n", folder_.WithSlash());
    }
    TempFolder folder_{"tworeg"};
};

std::string Line(const std::string& label, double t, int df) {
    return label + FormatNumber(t, 7) + ", Значимость=" + FormatNumber(FisherTail(t, 1, df), 7) +
           ", степ.своб = " + std::to_string(df) + "\n";
}

// Both X have the mean 4.5: the height test is still defined (the
// formulation through (mean y1 - mean y2) / (mean x1 - mean x2) divided by
// zero here). Then a missing cell in Y2 drops that pair only.
TEST_F(TwoRegressionsTest, ParallelAndCoincidentAgainstR) {
    struct Case {
        const char* what;
        std::string y2;
        double parallel, coincide;
        int df;
    };
    const Case cases[] = {
        {"equal means of X", "12.8", 0.131071242929, 12.3131997892, 12},
        {"a missing cell", "?", 0.164569956955, 13.2437305198, 11},
    };
    for (const Case& c : cases) {
        const BatchOutcome run = Run("x1 y1 x2 y2\n1 2.1 2 5.2\n2 3.9 4 9.1\n3 6.2 6 " + c.y2 +
                                     "\n4 7.8 8 17.2\n5 10.1 1 3.1\n6 12.2 3 7.0\n"
                                     "7 13.8 5 10.9\n8 16.1 7 15.1\n");
        ASSERT_EQ(run.status, BatchDone) << c.what << run.messages;
        EXPECT_NE(run.results.find(Line("T(паралельность)=", c.parallel, c.df) +
                                   "   Гипотеза 0: <Регрессии параллельны>\n" +
                                   Line("T(равенство средних)=", c.coincide, c.df) +
                                   "   Гипотеза 1: <Параллельные регрессии не совпадают>\n"),
                  std::string::npos)
            << c.what << "\n"
            << run.results;
        EXPECT_EQ(run.messages.find("Сообщение"), std::string::npos) << c.what << run.messages;
    }
}

TEST_F(TwoRegressionsTest, DataThatAreNotTwoRegressions) {
    struct Case {
        const char* what;
        std::string data, notice;
    };
    const Case cases[] = {
        {"three variables", "x1 y1 x2\n1 2 3\n2 3 4\n3 5 5\n", NotTwoRegressionsNotice},
        {"pair of unequal length", "x1 y1 x2 y2\n1 2 1 2\n2 3 2 4\n3 5 3 5\n4 6 4 7\n5 ? 5 8\n",
         NotTwoRegressionsNotice},
        {"two pairs only in the second line", "x1 y1 x2 y2\n1 2 1 2\n2 3 ? 4\n3 5 ? ?\n4 4 4 7\n",
         TooFewValuesNotice},
        {"constant X", "x1 y1 x2 y2\n1 2 3 2\n2 3 3 4\n3 5 3 5\n4 4 3 7\n",
         "ПОСТОЯННАЯ ПЕРЕМЕННАЯ: x2!"},
    };
    for (const Case& c : cases) {
        const BatchOutcome run = Run(c.data);
        EXPECT_EQ(run.status, BatchDone) << c.what << run.messages;
        EXPECT_NE(run.messages.find(c.notice), std::string::npos) << c.what << run.messages;
        EXPECT_EQ(run.results.find("T("), std::string::npos) << c.what << run.results;
    }
}

}  // namespace
}  // namespace dalvex
