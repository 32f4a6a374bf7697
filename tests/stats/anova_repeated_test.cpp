// Repeated-measures designs: every design's table and F tests against R's aov
// with Error strata, the Greenhouse-Geisser and Huynh-Feldt coefficients from
// their definitions (and anova.mlm's "Spherical" test where it applies), the
// corrected tests, the level notices, and method 36 from a script with an
// empty measurement.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "numeric/distributions.h"
#include "stats/anova.h"
#include "stats/anova_repeated.h"
#include "support/batch_run.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

using Cells = std::vector<std::vector<double>>;

// Made in R (set.seed(36)): subject effects, cell effects and noise growing
// with factor 1's level, rounded to tenths; one row per cell, factor 1
// changing fastest, one column per subject of the cell's group.
const Cells WithinOneCells = {{10.2, 11.3, 11.9, 14.9, 7.4, 9.1},
                              {10.7, 9.6, 10.4, 11.3, 8.0, 6.0},
                              {13.4, 9.8, 10.2, 16.7, 4.0, 11.5},
                              {12.3, 10.8, 10.5, 11.8, 10.6, 7.4}};
const Cells WithinOneBetweenOneCells = {{12.3, 7.3, 11.8, 10.3}, {11.5, 8.8, 13.8, 7.6},
                                        {11.5, 6.7, 13.2, 11.8}, {11.0, 8.3, 9.9, 12.4},
                                        {11.0, 7.9, 12.3, 8.8},  {14.1, 9.0, 13.3, 10.7},
                                        {10.7, 5.8, 12.2, 10.1}, {11.9, 6.6, 8.6, 12.6}};
const Cells WithinTwoCells = {
    {9.9, 8.4, 10.5, 9.0, 9.0},     {10.6, 11.4, 13.5, 11.8, 9.3},  {13.5, 12.2, 14.6, 7.7, 13.1},
    {7.1, 9.5, 11.8, 6.0, 12.7},    {10.1, 11.1, 14.1, 11.1, 12.8}, {10.3, 10.6, 10.7, 8.7, 12.1},
    {12.1, 11.8, 18.0, 9.9, 13.5},  {11.6, 8.6, 13.9, 12.6, 14.8},  {12.7, 11.0, 13.8, 12.3, 13.1},
    {12.4, 11.6, 11.5, 10.5, 11.5}, {14.2, 11.2, 13.9, 10.9, 13.9}, {11.2, 12.4, 12.7, 8.4, 10.5},
    {10.7, 9.7, 13.3, 10.7, 12.3},  {9.6, 10.7, 12.2, 9.3, 11.0},   {10.9, 9.8, 12.8, 13.7, 14.5},
    {13.7, 12.8, 13.9, 7.8, 10.7}};
const Cells WithinOneBetweenTwoCells = {{12.3, 12.0, 15.2}, {14.5, 12.6, 19.6}, {13.4, 10.6, 16.1},
                                        {5.8, 4.2, 11.2},   {8.9, 5.2, 12.8},   {4.8, 3.7, 12.4},
                                        {12.2, 11.3, 8.8},  {10.8, 11.1, 9.3},  {14.9, 14.4, 10.8},
                                        {11.2, 10.2, 9.8},  {11.7, 11.0, 10.7}, {14.3, 7.2, 11.0}};
const Cells WithinTwoBetweenOneCells = {
    {10.5, 12.2, 15.4}, {9.1, 8.7, 13.1},  {9.2, 11.2, 12.6},  {6.5, 9.1, 14.3},
    {6.3, 6.8, 10.3},   {7.1, 10.1, 15.5}, {11.4, 10.6, 12.3}, {10.9, 10.6, 13.3},
    {9.7, 9.0, 10.0},   {6.5, 7.2, 9.9},   {11.3, 8.4, 9.2},   {6.2, 3.9, 6.7},
    {8.0, 8.2, 7.8},    {8.9, 9.9, 8.4},   {8.4, 11.2, 7.4},   {7.7, 7.7, 9.6}};
const Cells WithinThreeCells = {
    {7.5, 12.7, 9.3, 8.7}, {9.2, 10.3, 9.9, 5.9},  {4.4, 7.3, 6.3, 1.9},   {8.0, 8.5, 11.5, 7.7},
    {5.6, 11.1, 8.6, 5.6}, {6.8, 10.2, 9.4, 4.8},  {7.8, 10.5, 10.7, 5.7}, {9.5, 10.3, 9.4, 3.4},
    {7.1, 9.0, 8.1, 4.8},  {5.2, 10.1, 11.5, 4.4}, {10.0, 9.0, 9.6, 6.3},  {8.1, 10.3, 10.9, 7.5}};

struct Source {
    const char* label;
    double ss, df;
};
struct Test {
    const char* label;
    double f, p;
};
struct Corrected {
    const char* label;
    double df1, df2, p;
};
struct Case {
    const char* what;
    RepeatedDesign design;
    const Cells* cells;
    int levels1, levels2;
    std::vector<Source> sources;
    std::vector<Test> tests;
    std::vector<double> epsilons;  // Greenhouse-Geisser, Huynh-Feldt, for each matrix
    std::vector<Corrected> corrected;
};

// R: with the long data frame d (y, factors A, B, C, subject s numbered
// across groups), summary(aov(y ~ A*B*C + Error(s/(A*B*C)))) with the
// within factors inside Error(). "Групповая" is the whole subject stratum,
// "Общая" every stratum together. Epsilons from the definitions on the
// covariance matrix of factor 1's levels averaged over the other factors'
// levels; the corrected significances pf(F, c df1, c df2, lower = FALSE),
// equal to anova.mlm's "G-G Pr" in the first two designs.
const Case Cases[] = {
    {"one within",
     RepeatedDesign::WithinOne,
     &WithinOneCells,
     0,
     0,
     {{"Групповая", 97.7233333333, 5},
      {"Факт.1   ", 9.65833333333, 3},
      {"Остаточн.", 59.3566666667, 15},
      {"Общая    ", 166.738333333, 23}},
     {{"F(фактор1)=", 0.813584545403, 0.506076462933}},
     {0.435980169173, 0.527947708411},
     {{"F(фактор1)=", 3 * 0.435980169173, 15 * 0.435980169173, 0.432778982}}},
    {"one within, one between",
     RepeatedDesign::WithinOneBetweenOne,
     &WithinOneBetweenOneCells,
     4,
     0,
     {{"Групповая", 98.69375, 7},
      {"Факт.1   ", 4.80125, 3},
      {"Межфакт. ", 6.66625, 3},
      {"Остат.1  ", 48.1675, 18},
      {"Факт.2   ", 0.21125, 1},
      {"Остат.2  ", 98.4825, 6},
      {"Общая    ", 158.32875, 31}},
     {{"F(фактор1)=", 0.598069237556, 0.624472753561},
      {"F(фактор2)=", 0.0128703069073, 0.913376638127},
      {"F(межфатор.)=", 0.830383557378, 0.494410015879}},
     // Huynh-Feldt's 1.0767 is held to 1 (anova.mlm's own variant gives 0.9217).
     {0.634604017578, 1},
     {{"F(фактор1)=", 3 * 0.634604017578, 18 * 0.634604017578, 0.5584199747},
      {"F(фактор2)=", 1, 6, 0.913376638127},
      {"F(межфатор.)=", 3 * 0.634604017578, 18 * 0.634604017578, 0.4551443194}}},
    {"two within",
     RepeatedDesign::WithinTwo,
     &WithinTwoCells,
     4,
     0,
     {{"Групповая", 96.902, 4},
      {"Факт.1   ", 33.9985, 3},
      {"Остат.1  ", 23.259, 12},
      {"Факт.2   ", 25.1605, 3},
      {"Остат.2  ", 16.132, 12},
      {"Межфакт12", 33.3405, 9},
      {"Остат.12 ", 98.067, 36},
      {"Общая    ", 326.8595, 79}},
     {{"F(фактор1)=", 5.84694096909, 0.0106306477642},
      {"F(фактор2)=", 6.23865608728, 0.00849839796708},
      {"F(межфатор.12)=", 1.35990700236, 0.242301238902}},
     {0.724238752858, 0.999336431427, 0.746094319096, 1},
     {{"F(фактор1)=", 3 * 0.724238752858, 12 * 0.724238752858, 0.0230878389722},
      {"F(фактор2)=", 3 * 0.746094319096, 12 * 0.746094319096, 0.0182588614758},
      {"F(межфатор.)=", 9 * 0.724238752858 * 0.746094319096, 36 * 0.724238752858 * 0.746094319096,
       0.282321909369}}},
    {"one within, two between",
     RepeatedDesign::WithinOneBetweenTwo,
     &WithinOneBetweenTwoCells,
     3,
     2,
     {{"Групповая", 354.406666667, 11},
      {"Факт.1   ", 8.48666666667, 2},
      {"Межфакт12", 3.96222222222, 2},
      {"Межфакт13", 17.8066666667, 2},
      {"Межфак123", 4.51555555556, 2},
      {"Остат.1  ", 24.3022222222, 16},
      {"Факт.2   ", 113.067777778, 1},
      {"Межфакт23", 71.6844444444, 1},
      {"Факт.3   ", 0.81, 1},
      {"Остат.2  ", 168.844444444, 8},
      {"Общая    ", 413.48, 35}},
     {{"F(фактор1)=", 2.7937088515, 0.0910655891875},
      {"F(фактор2)=", 5.3572519084, 0.049335569113},
      {"F(фактор3)=", 0.0383785206633, 0.849569656897},
      {"F(межфатор.12)=", 1.30431602048, 0.298706225385},
      {"F(межфатор.13)=", 5.86174103877, 0.0123077210964},
      {"F(межфатор.23)=", 3.39647275599, 0.102579882125},
      {"F(межфатор.123)=", 1.48646671544, 0.255790256698}},
     {},
     {}},
    {"two within, one between",
     RepeatedDesign::WithinTwoBetweenOne,
     &WithinTwoBetweenOneCells,
     4,
     2,
     {{"Групповая", 153.673541667, 5},
      {"Факт.1   ", 11.6472916667, 3},
      {"Межфакт13", 9.53729166667, 3},
      {"Остат.1  ", 20.0766666667, 12},
      {"Межфакт12", 48.0772916667, 3},
      {"Межфак123", 7.41395833333, 3},
      {"Остат.1-3", 21.695, 12},
      {"Факт.2   ", 0.046875, 1},
      {"Межфакт23", 2.95020833333, 1},
      {"Остат.2  ", 10.1616666667, 4},
      {"Факт.3   ", 65.1002083333, 1},
      {"Остат.3  ", 88.5733333333, 4},
      {"Общая    ", 285.279791667, 47}},
     {{"F(фактор1)=", 2.32056284244, 0.12700850638},
      {"F(фактор2)=", 0.0184516975562, 0.898511971864},
      {"F(фактор3)=", 2.93994618395, 0.161562989633},
      {"F(межфатор.12)=", 8.8642160252, 0.00226915748324},
      {"F(межфатор.13)=", 1.90017433173, 0.183438114299},
      {"F(межфатор.23)=", 1.16130884041, 0.341847554746},
      {"F(межфатор.123)=", 1.36694322809, 0.299853166124}},
     {0.648999115115, 1},
     {{"F(фактор1)=", 3 * 0.648999115115, 12 * 0.648999115115, 0.162426567984},
      {"F(фактор2)=", 1, 4, 0.898511971864},
      {"F(фактор3)=", 1, 4, 0.161562989633},
      {"F(межфатор.12)=", 3 * 0.648999115115, 12 * 0.648999115115, 0.0100892630624},
      {"F(межфатор.13)=", 3 * 0.648999115115, 12 * 0.648999115115, 0.212811132001},
      {"F(межфатор.23)=", 1, 4, 0.341847554746},
      {"F(межфатор.123)=", 3 * 0.648999115115, 12 * 0.648999115115, 0.308874515257}}},
    {"three within",
     RepeatedDesign::WithinThree,
     &WithinThreeCells,
     2,
     3,
     {{"Групповая", 150.501666667, 3},
      {"Факт.1   ", 4.81333333333, 1},
      {"Остат.1  ", 5.175, 3},
      {"Факт.2   ", 20.7916666667, 2},
      {"Остат.2  ", 5.30833333333, 6},
      {"Факт.3   ", 1.33333333333, 1},
      {"Остат.3  ", 4.71166666667, 3},
      {"Межфакт12", 17.3016666667, 2},
      {"Остат.12 ", 13.045, 6},
      {"Межфакт13", 2.61333333333, 1},
      {"Остат.13 ", 7.085, 3},
      {"Межфакт23", 8.15166666667, 2},
      {"Остат.23 ", 12.0183333333, 6},
      {"Межфак123", 9.14666666667, 2},
      {"Остат.123", 5.99, 6},
      {"Общая    ", 267.986666667, 47}},
     {{"F(фактор1)=", 2.79033816425, 0.193427022098},
      {"F(фактор2)=", 11.7503924647, 0.0084130416091},
      {"F(фактор3)=", 0.84895649098, 0.424801226175},
      {"F(межфатор.12)=", 3.9789191261, 0.0794326894638},
      {"F(межфатор.13)=", 1.10656316161, 0.370080674148},
      {"F(межфатор.23)=", 2.03480793233, 0.211550979694},
      {"F(межфатор.123)=", 4.58096828047, 0.0619711742847}},
     {},
     {}},
};

void ExpectClose(double value, double expected, double relative) {
    EXPECT_NEAR(value, expected, relative * std::fabs(expected) + 1e-9);
}

TEST(RepeatedTest, EveryDesignAgreesWithAovAlsoOnALargeOffset) {
    const ProbabilityModeScope exact(true);
    for (const Case& c : Cases) {
        // Tenths on top of 1e7: the sums of squares a hundredth, the rest the same.
        for (double offset : {0.0, 1e7}) {
            SCOPED_TRACE(c.what);
            SCOPED_TRACE(offset);
            Cells cells = *c.cells;
            if (offset != 0)
                for (auto& cell : cells)
                    for (double& v : cell)
                        v = v / 10 + offset;
            const double unit = offset == 0 ? 1 : 0.01;
            // The tenths on top of 1e7 are stored to about 1e-9: a few parts
            // in 1e8 of sums of squares of hundredths.
            const double digits = offset == 0 ? 1e-8 : 1e-6;
            const RepeatedFigures f = ComputeRepeated(cells, c.design, c.levels1, c.levels2);
            ASSERT_TRUE(f.notice.empty()) << f.notice;
            ASSERT_EQ(f.sources.size(), c.sources.size());
            for (std::size_t i = 0; i < c.sources.size(); ++i) {
                SCOPED_TRACE(c.sources[i].label);
                EXPECT_STREQ(f.sources[i].label, c.sources[i].label);
                ExpectClose(f.sources[i].ss, c.sources[i].ss * unit, digits);
                EXPECT_DOUBLE_EQ(f.sources[i].df, c.sources[i].df);
            }
            ASSERT_EQ(f.fLines.size(), c.tests.size());
            for (std::size_t i = 0; i < c.tests.size(); ++i) {
                SCOPED_TRACE(c.tests[i].label);
                EXPECT_STREQ(f.fLines[i].label, c.tests[i].label);
                ExpectClose(f.fLines[i].f, c.tests[i].f, digits);
                ExpectClose(f.fLines[i].p, c.tests[i].p, 1e-6);
            }
            ASSERT_EQ(f.sphericity.size() * 2, c.epsilons.size());
            for (std::size_t m = 0; m < f.sphericity.size(); ++m) {
                ExpectClose(f.sphericity[m].epsilon, c.epsilons[2 * m], digits);
                ExpectClose(f.sphericity[m].huynhFeldt, c.epsilons[2 * m + 1], digits);
            }
            ASSERT_EQ(f.corrected.size(), c.corrected.size());
            for (std::size_t i = 0; i < c.corrected.size(); ++i) {
                SCOPED_TRACE(c.corrected[i].label);
                EXPECT_STREQ(f.corrected[i].label, c.corrected[i].label);
                ExpectClose(f.corrected[i].df1, c.corrected[i].df1, digits);
                ExpectClose(f.corrected[i].df2, c.corrected[i].df2, digits);
                ExpectClose(f.corrected[i].p, c.corrected[i].p, 1e-6);
            }
        }
    }
}

TEST(RepeatedTest, CoefficientsChooseWhetherAndHowTheTestsAreCorrected) {
    const ProbabilityModeScope exact(true);
    // R (set.seed(3)): epsilon 0.818397355001 and Huynh-Feldt 1.6676, held
    // to 1: no corrected tests.
    const Cells spherical = {{8.5, 10.8, 9.6, 9.3, 9.9, 9.2},
                             {8.0, 10.3, 11.3, 8.0, 10.0, 10.0},
                             {10.2, 10.5, 10.8, 7.7, 11.1, 9.3},
                             {8.8, 9.9, 12.9, 9.9, 11.5, 10.1}};
    const RepeatedFigures none = ComputeRepeated(spherical, RepeatedDesign::WithinOne, 0, 0);
    ASSERT_EQ(none.sphericity.size(), 1u);
    EXPECT_NEAR(none.sphericity[0].epsilon, 0.818397355001, 1e-9);
    EXPECT_EQ(none.sphericity[0].huynhFeldt, 1);
    EXPECT_TRUE(none.corrected.empty());

    // x[k][i] = 10 + i mod 7 + ((i + k²) mod 7)/2 for 30 subjects: epsilon
    // 0.831338121841 and Huynh-Feldt 0.915773415231, which corrects; the
    // significance 0.961078033619 is anova.mlm's "H-F Pr".
    Cells x(4, std::vector<double>(30));
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 30; ++i)
            x[k][i] = 10 + i % 7 + ((i + k * k) % 7) / 2.0;
    const RepeatedFigures hf = ComputeRepeated(x, RepeatedDesign::WithinOne, 0, 0);
    ASSERT_EQ(hf.sphericity.size(), 1u);
    EXPECT_NEAR(hf.sphericity[0].epsilon, 0.831338121841, 1e-9);
    EXPECT_NEAR(hf.sphericity[0].huynhFeldt, 0.915773415231, 1e-9);
    ASSERT_EQ(hf.coefficients, std::vector<double>{hf.sphericity[0].huynhFeldt});
    ASSERT_EQ(hf.corrected.size(), 1u);
    EXPECT_NEAR(hf.corrected[0].p, 0.961078033619, 1e-6);

    // Three levels, or three and five in two within factors: no matrix.
    const Cells three(WithinOneCells.begin(), WithinOneCells.begin() + 3);
    EXPECT_TRUE(ComputeRepeated(three, RepeatedDesign::WithinOne, 0, 0).sphericity.empty());
    Cells fifteen;
    for (int c = 0; c < 15; ++c)
        fifteen.push_back(WithinTwoCells[c]);
    const RepeatedFigures threeByFive = ComputeRepeated(fifteen, RepeatedDesign::WithinTwo, 3, 0);
    ASSERT_TRUE(threeByFive.notice.empty()) << threeByFive.notice;
    EXPECT_TRUE(threeByFive.sphericity.empty());
    EXPECT_TRUE(threeByFive.corrected.empty());
}

TEST(RepeatedTest, DesignsThatDoNotFitTheDataEndInANotice) {
    struct Bad {
        const char* what;
        Cells cells;
        RepeatedDesign design;
        int levels1, levels2;
        const char* notice;
    };
    const Cells seven(WithinTwoCells.begin(), WithinTwoCells.begin() + 7);
    const Cells twelve(WithinTwoCells.begin(), WithinTwoCells.begin() + 12);
    const Cells oneSubject(8, std::vector<double>{1.0});
    const Bad cases[] = {
        {"7 cells, 2 levels", seven, RepeatedDesign::WithinOneBetweenOne, 2, 0,
         RepeatedLevelsNotice},
        {"12 cells of 3 x 3", twelve, RepeatedDesign::WithinTwoBetweenOne, 3, 3,
         RepeatedLevelsNotice},
        {"one group only", twelve, RepeatedDesign::WithinOneBetweenOne, 12, 0,
         RepeatedLevelsNotice},
        {"one subject", oneSubject, RepeatedDesign::WithinTwo, 2, 0, RepeatedLevelsNotice},
        {"one cell", {{1, 2, 3}}, RepeatedDesign::WithinOne, 0, 0, "!МАЛО ЗНАЧЕНИЙ ПЕРЕМЕННЫХ!"},
        {"constant", Cells(4, std::vector<double>(5, 7.0)), RepeatedDesign::WithinOne, 0, 0,
         ConstantDataNotice},
        // Every subject the same apart from its own level: nothing left over.
        {"additive",
         {{1, 2, 3}, {2, 3, 4}, {4, 5, 6}},
         RepeatedDesign::WithinOne,
         0,
         0,
         ZeroErrorNotice},
    };
    for (const Bad& c : cases) {
        const RepeatedFigures f = ComputeRepeated(c.cells, c.design, c.levels1, c.levels2);
        EXPECT_EQ(f.notice, c.notice) << c.what;
        EXPECT_TRUE(f.sources.empty()) << c.what;
    }
}

class GroupMethodTest : public ::testing::Test {
  protected:
    BatchOutcome Run(const std::string& text, const std::string& script) {
        std::ofstream(folder_ / "g.txt", std::ios::binary) << text;
        return RunMethodsScript("open g.txt\n" + script, folder_.WithSlash());
    }
    TempFolder folder_{"anovarepeated"};
};

TEST_F(GroupMethodTest, AnEmptyMeasurementLeavesItsSubjectOutOfEveryCell) {
    // The design "one within, one between" above with one more observation
    // (a subject of each group) whose third cell is empty: both subjects
    // leave, and the figures are R's.
    std::string text = "a1 a2 a3 a4 b1 b2 b3 b4\n";
    const Cells& cells = WithinOneBetweenOneCells;
    for (int i = 0; i < 4; ++i) {
        if (i == 2)
            text += "20 21 ? 25 30 31 32 33\n";
        for (int c = 0; c < 8; ++c)
            text += std::to_string(cells[c][i]) + (c < 7 ? " " : "\n");
    }
    const BatchOutcome run =
        Run(text, "method 36\nvariables all\nform 2 \"Градаций фактора1=4\"\ngraph keep\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    for (const char* line :
         {"ГРУППОВОЙ 1+1-ФАКТОРНЫЙ АНАЛИЗ.  Файл: g.txt\n",
          "\nИсточник  Сум.квадр  Ст.своб Ср.квадр\n", "\nГрупповая    98.69        7\n",
          "\nМежфакт.     6.666        3    2.222\n", "\nОстат.2      98.48        6    16.41\n",
          "\nОбщая        158.3       31\n", "\nF(фактор1)=0.5981, ", "\nF(фактор2)=0.01287, ",
          "\nF(межфатор.)=0.8304, ", "\n  Матрица ковариаций\n",
          "\nПоправочные коэффициенты: e=0.6346  e\"=1\n",
          "\n  С учетом поправочного коэффициента=0.6346\n"})
        EXPECT_NE(run.results.find(line), std::string::npos) << line << run.results;
    EXPECT_EQ(run.messages.find("Сообщение"), std::string::npos) << run.messages;
}

TEST_F(GroupMethodTest, TypedLevelsAndGraphRowsAreHeldToWhatFits) {
    // 130 cells of 2 levels make 65 groups: the graph shows the first 64.
    std::string text;
    for (int c = 0; c < 130; ++c)
        text += "v" + std::to_string(c + 1) + (c < 129 ? " " : "\n");
    for (int i = 0; i < 3; ++i)
        for (int c = 0; c < 130; ++c)
            text += std::to_string((c * 7 + i * 3) % 11 + i) + (c < 129 ? " " : "\n");
    const BatchOutcome wide =
        Run(text, "method 36\nvariables all\nform 2 \"Градаций фактора1=2\"\ngraph keep\n");
    EXPECT_EQ(wide.status, BatchDone) << wide.messages;
    EXPECT_NE(wide.messages.find(CellMeanSeriesNotice(64, 65)), std::string::npos) << wide.messages;
    // A count of 64 would run into the second in L1 + 64 L2.
    const BatchOutcome big =
        Run(text, "method 36\nvariables all\nform 4 \"Градаций фактора1=64\"\n");
    EXPECT_NE(big.messages.find(RepeatedLevelsNotice), std::string::npos) << big.messages;
    EXPECT_EQ(big.results.find("Источник"), std::string::npos) << big.results;
}

}  // namespace
}  // namespace dalvex
