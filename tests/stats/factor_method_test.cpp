// Method 26 from the statistics menu's dispatcher and from dalvex-batch:
// its dialogs, the report lines as the program writes them, the graphs, the
// notices for data it cannot analyse, and the faults it must not repeat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "core/text.h"
#include "dispatch/dispatcher.h"
#include "dispatch/loading.h"
#include "output/text_resource.h"
#include "stats/correlation_matrix.h"
#include "stats/factor_report.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

struct Windows : RunWindows {};

// Counts the progress reports and stops the work when told to.
struct StoppingDialogs : ScriptedDialogs {
    bool Progress(const std::string& what, int done, int total) override {
        progress.push_back(what);
        return done >= total || !stop;
    }
    std::vector<std::string> progress;
    bool stop = false;
};

class FactorMethodTest : public ::testing::Test {
  protected:
    FactorMethodTest() : form(ws), dispatcher(ws, form, registry, windows) {
        EXPECT_TRUE(ws.store.Allocate());
        ws.report = &report;
        ws.graphs = &graphs;
        ws.resources = &TextResources::Builtin();
        ws.ProgramFolder = (std::filesystem::temp_directory_path() / "dalvex-factor-").string();
        std::filesystem::remove(ws.ProgramFolder + "q69.ini");
    }

    void Sheet(const std::vector<std::string>& names,
               const std::vector<std::vector<std::string>>& columns) {
        for (std::size_t c = 0; c < names.size(); ++c) {
            PutSheetText(ws, names[c], static_cast<int>(c) + 1, -1);
            for (std::size_t i = 0; i < columns[c].size(); ++i)
                PutSheetText(ws, columns[c][i], static_cast<int>(c) + 1, static_cast<int>(i));
        }
    }
    // Three variables that are exactly uncorrelated.
    void Orthogonal() {
        Sheet({"x1", "x2", "x3"},
              {{"1", "-1", "1", "-1"}, {"1", "1", "-1", "-1"}, {"1", "-1", "-1", "1"}});
    }
    bool Has(const std::string& line) const {
        return std::find(report.lines.begin(), report.lines.end(), line) != report.lines.end();
    }
    std::size_t Index(const std::string& line) const {
        return std::find(report.lines.begin(), report.lines.end(), line) - report.lines.begin();
    }
    bool Finite() const {
        for (const std::string& line : report.lines) {
            const std::string lower = LowerCase(line);
            if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos)
                return false;
        }
        return true;
    }

    StoppingDialogs ui;
    Workspace ws{ui};
    ReportLines report;
    GraphCapture graphs{ws};
    MethodRegistry registry = BuiltStatisticsMethods();
    TSMForm form;
    Windows windows;
    MethodDispatcher dispatcher;
};

TEST_F(FactorMethodTest, UncorrelatedVariablesFromMatrixToRotationAndPrediction) {
    ASSERT_TRUE(dispatcher.available(26));
    Orthogonal();
    ui.ExpectForm(FactorAnalysisCaption, 1)
        .ExpectYesNo("средние значения", true)
        .ExpectYesNo("факторные вектора", true)
        .ExpectYesNo("факторные нагрузки", true)
        .ExpectForm(ProjectionCaption, 1, {"2", "3"})
        .ExpectForm(ProjectionCaption, 0)
        .ExpectYesNo("координаты объектов", true)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(RotationCaption, 1)
        .ExpectYesNo("Кайзера", false)
        .ExpectYesNo("после вращения", false)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectYesNo("после вращения", false)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(RotationCaption, 6)
        .ExpectForm(PredictionCaption, 1, {"1", "1 0 0\n0 1 0"})
        .ExpectForm(RotationCaption, 0);
    dispatcher.FormIni(26);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty()) << ui.notices()[0];

    // The means and deviations, then the matrix: all coefficients 0.
    const std::size_t means = Index("Переменная   Среднее  Ст.отклон.");
    ASSERT_LT(means + 3, report.lines.size());
    EXPECT_EQ(report.lines[means + 1], "       x1        0    1.155");
    EXPECT_EQ(report.lines[means + 5], "                    Корреляционная матрица");
    EXPECT_EQ(report.lines[means + 6], "                x1       x2       x3");
    // Coefficients not above the threshold 0 are left blank.
    EXPECT_EQ(report.lines[means + 7], "       x2         ");
    EXPECT_EQ(report.lines[means + 8], "       x3                  ");
    EXPECT_EQ(report.lines[means + 9], " ");
    EXPECT_TRUE(Has(" Число значимых коэффициентов=0 (0%)"));

    // Jacobi makes no rotation; all three factors are kept.
    const std::vector<std::string> eigen = {
        "      Собственные значения и процент объясняемой дисперсии факторов",
        "Фактор:          1        2        3",
        "Собств.зн        1        1        1",
        " Дисперс%    33.33    33.33    33.33",
        "Накоплен%    33.33    66.67      100",
    };
    const std::size_t at = Index(eigen[0]);
    ASSERT_LT(at + 5, report.lines.size());
    EXPECT_EQ(std::vector<std::string>(report.lines.begin() + at, report.lines.begin() + at + 5),
              eigen);
    EXPECT_TRUE(Has("  Фактор:        1        2        3"));
    EXPECT_TRUE(Has("       x2        0        1        0"));
    // Loadings at the threshold 0 leave the zeros blank.
    EXPECT_TRUE(Has("       x2                 1         "));
    // Scores of observation 1: each variable standardised.
    EXPECT_TRUE(Has("        1    0.866    0.866    0.866"));

    EXPECT_TRUE(Has("          Вращение: варимакс, число факторов=3"));
    EXPECT_TRUE(Has("Переменная  Общность  Специфичность"));
    EXPECT_TRUE(Has("       x1        1        0"));
    EXPECT_TRUE(Has("Нов.факторы:     1        2        3"));
    EXPECT_TRUE(Has("        1        1        0        0"));
    EXPECT_TRUE(Has("  Накопл%    33.33    66.67      100"));

    // The prediction: mean 0 + sd 1.1547 * loading 1 * F_1.
    const std::size_t prediction = Index("Факторный прогноз переменной x1");
    ASSERT_LT(prediction + 2, report.lines.size());
    EXPECT_EQ(report.lines[prediction + 1], "1.1547");
    EXPECT_EQ(report.lines[prediction + 2], "0");
    EXPECT_EQ(ws.FactorPredictionGrid, "1 0 0\n0 1 0");

    // The eigenvalue graph, then the loadings of factors 2 and 3 as rays
    // from the origin, named by the variables.
    EXPECT_EQ(graphs.requests, 2);
    EXPECT_EQ(graphs.prompts, 2);
    EXPECT_EQ(graphs.request, RequestDescribed);
    EXPECT_EQ(graphs.title, "Факторные нагрузки: 2,3,0");
    EXPECT_EQ(graphs.rows[0], (std::vector<double>{0, 1, 0, 0}));
    EXPECT_EQ(graphs.rows[1], (std::vector<double>{0, 0, 1, 0}));
    EXPECT_EQ(ws.graphTables.SeriesDescriptions[0].style, 4);
    EXPECT_EQ(std::count(ui.progress.begin(), ui.progress.end(), "Вращение факторов"), 1);
}

TEST_F(FactorMethodTest, DataItCannotAnalyseIsRefusedBeforeAnythingIsComputed) {
    struct Case {
        std::vector<std::string> names;
        std::vector<std::vector<std::string>> columns;
        int button;
        std::string notice;
    };
    const std::vector<Case> cases = {
        {{"a", "b"}, {{"1", "2", "3"}, {"3", "1", "2"}}, 1, TooManyVariablesNotice},
        {{"a", "b", "c"}, {{"1", "2"}, {"2", "1"}, {"5", "4"}}, 1, FewMeasurementsNotice},
        // Two complete observations are left after the missing cell.
        {{"a", "b", "c"},
         {{"1", "2", "3"}, {"2", "", "1"}, {"5", "4", "6"}},
         3,
         FewMeasurementsNotice},
        {{"a", "b", "c"},
         {{"1", "2", "3"}, {"7", "7", "7"}, {"5", "4", "6"}},
         2,
         ConstantVariableNotice("b")},
        {{"a", "b", "c"}, {{"1", ".5"}, {"0", "1"}, {"0", "0"}}, 7, NotSquareNotice},
    };
    dispatcher.FormIni(26);  // an empty sheet: no dialog
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooFewValuesNotice});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        ws.sheet.Reset();
        report.lines.clear();
        ui.ClearLog();
        graphs.requests = 0;
        Sheet(c.names, c.columns);
        ui.ExpectForm(FactorAnalysisCaption, c.button);
        dispatcher.FormIni(26);
        EXPECT_EQ(ui.notices(), std::vector<std::string>{c.notice});
        EXPECT_EQ(report.lines, (std::vector<std::string>{dispatcher.HeaderLine(26), "", ""}));
        EXPECT_EQ(graphs.requests, 0);
    }
}

// Observations with a missing cell leave every variable, so an
// observation's later values never shift against the other variables'.
TEST_F(FactorMethodTest, VariablesAreLoadedListwise) {
    Sheet({"a", "b", "c"}, {{"1", "2", "3", "4"}, {"10", "", "30", "40"}, {"5", "6", "x", "8"}});
    const MatrixInput input = LoadAllVariables(ws, MatrixKind::Pearson);
    EXPECT_EQ(input.rows, (std::vector<int>{1, 4}));
    EXPECT_EQ(input.values[0], (std::vector<double>{1, 4}));
    EXPECT_EQ(input.values[1], (std::vector<double>{10, 40}));
    EXPECT_EQ(input.values[2], (std::vector<double>{5, 8}));
    // Nominal data: only empty cells are missing.
    const MatrixInput texts = LoadAllVariables(ws, MatrixKind::Cramer);
    EXPECT_EQ(texts.rows, (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(texts.texts[2], (std::vector<std::string>{"5", "x", "8"}));
}

// A given matrix has no data: the prediction is in standard units (mean 0,
// deviation 1) rather than read from cells never set; it takes exactly as
// many factor values as factors were kept.
TEST_F(FactorMethodTest, PredictionFromAGivenMatrixAndItsRefusals) {
    Sheet({"a", "b", "c"}, {{"1", ".8", ".1"}, {"", "1", ".2"}, {"", "", "1"}});
    ui.ExpectForm(FactorAnalysisCaption, 7)
        .ExpectYesNo("факторные вектора", false)
        .ExpectYesNo("факторные нагрузки", false)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(RotationCaption, 6)
        .ExpectForm(PredictionCaption, 1, {"2", "1 1"})
        .ExpectForm(RotationCaption, 6)
        .ExpectForm(PredictionCaption, 1, {"2", "1 1 1\n2"})
        .ExpectForm(RotationCaption, 6)
        .ExpectForm(PredictionCaption, 1, {"2", "1 x 1"})
        .ExpectForm(RotationCaption, 6)
        .ExpectForm(PredictionCaption, 1, {"4", "1 1 1"})
        .ExpectForm(RotationCaption, 6)
        .ExpectForm(PredictionCaption, 1, {"2", "1\t0\t0\n0\t\t1\t0"})
        .ExpectForm(RotationCaption, 0);
    dispatcher.FormIni(26);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_EQ(ui.notices(),
              (std::vector<std::string>{FactorCountNotice(3), RowCountNotice, FactorValueNotice,
                                        PredictionVariableNotice}));
    // R: e <- eigen(matrix(c(1,.8,.1, .8,1,.2, .1,.2,1), 3)); e$vectors[2, ]
    //    = 0.6933483786 -0.1070694645 -0.71260378585: the prediction of b
    //    from F = (1, 0, 0) is the first component, from (0, 1, 0) the
    //    second, up to the signs of the factors.
    const auto last =
        std::find(report.lines.rbegin(), report.lines.rend(), "Факторный прогноз переменной b");
    ASSERT_GE(last - report.lines.rbegin(), 2);
    EXPECT_EQ(std::fabs(std::stod(*(last - 1))), 0.69335);
    EXPECT_EQ(std::fabs(std::stod(*(last - 2))), 0.10707);
    EXPECT_TRUE(Finite());
}

// Two identical variables among three: one eigenvalue is 0 and ends the
// factors; scores, rotations and predictions stay finite.
TEST_F(FactorMethodTest, ASingularMatrixStaysFiniteThroughTheWholeRun) {
    Sheet({"a", "b", "c"},
          {{"1", "2", "3", "4", "6"}, {"1", "2", "3", "4", "6"}, {"2", "1", "4", "3", "5"}});
    ui.ExpectForm(FactorAnalysisCaption, 1)
        .ExpectYesNo("средние значения", false)
        .ExpectYesNo("факторные вектора", true)
        .ExpectYesNo("факторные нагрузки", true)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectYesNo("координаты объектов", true)
        .ExpectForm(ProjectionCaption, 0);
    for (int rotation = 1; rotation <= 5; ++rotation)
        ui.ExpectForm(RotationCaption, rotation)
            .ExpectYesNo("Кайзера", rotation % 2 == 1)
            .ExpectYesNo("после вращения", true)
            .ExpectForm(ProjectionCaption, 0)
            .ExpectYesNo("после вращения", true)
            .ExpectForm(ProjectionCaption, 0);
    ui.ExpectForm(RotationCaption, 0);
    dispatcher.FormIni(26);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty()) << ui.notices()[0];
    EXPECT_TRUE(Has("Фактор:          1        2"));
    EXPECT_TRUE(Has("                         Корреляции факторов"));
    EXPECT_TRUE(Finite());
}

// One factor kept and rotated: there is no plane to draw, so no projection
// dialog is shown for it (a plane of factors 1 and 2 would read past the
// rotated factor).
TEST_F(FactorMethodTest, ASingleRotatedFactorHasNoProjections) {
    Sheet({"a", "b", "c"},
          {{"1", "2", "3", "4", "5"}, {"1.01", "2", "3", "4", "5"}, {"1", "2", "3.01", "4", "5"}});
    ui.ExpectForm(FactorAnalysisCaption, 1)
        .ExpectYesNo("средние значения", false)
        .ExpectYesNo("факторные вектора", false)
        .ExpectYesNo("факторные нагрузки", false)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectYesNo("координаты объектов", false)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(RotationCaption, 5)
        .ExpectYesNo("Кайзера", true)
        .ExpectYesNo("нагрузки после вращения", true)
        .ExpectYesNo("координаты объектов после вращения", true)
        .ExpectForm(RotationCaption, 0);
    dispatcher.FormIni(26);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty()) << ui.notices()[0];
    EXPECT_TRUE(Has("          Вращение: обликью, число факторов=1"));
    EXPECT_TRUE(Finite());
}

TEST_F(FactorMethodTest, SpearmanScoresAreCentredAndScaledByTheRanks) {
    Sheet({"a", "b", "c"},
          {{"10", "200", "30", "4000", "5"}, {"1", "3", "2", "5", "4"}, {"9", "7", "8", "1", "3"}});
    const MatrixInput input = LoadAllVariables(ws, MatrixKind::Spearman);
    const MatrixOutcome m = BuildCorrelationMatrix(MatrixKind::Spearman, input, .05);
    ASSERT_TRUE(m.figures);
    const FactorExtraction e = ExtractFactors(m.figures->matrix, 3);
    const std::vector<std::vector<double>> scores = FactorScores(*m.figures, e, true);
    // Of standardised ranks the scores of factor j have mean 0 and variance
    // lambda_j.
    for (int j = 0; j < 3; ++j) {
        double sum = 0, squares = 0;
        for (double f : scores[j]) {
            sum += f;
            squares += f * f;
        }
        EXPECT_NEAR(sum, 0, 1e-12);
        EXPECT_NEAR(squares / 4, e.eigenvalues[j], 1e-12);
    }
}

TEST_F(FactorMethodTest, ARotationCanBeStoppedAndTheDialogComesBack) {
    Sheet({"a", "b", "c"}, {{"1", "2", "3", "4", "5", "7"},
                            {"2", "1", "4", "3", "6", "5"},
                            {"1", "3", "2", "6", "5", "4"}});
    ui.ExpectForm(FactorAnalysisCaption, 1)
        .ExpectYesNo("средние значения", false)
        .ExpectYesNo("факторные вектора", false)
        .ExpectYesNo("факторные нагрузки", false)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectYesNo("координаты объектов", false)
        .ExpectForm(ProjectionCaption, 0)
        .ExpectForm(RotationCaption, 2, {"2"})
        .ExpectYesNo("Кайзера", false)
        .ExpectForm(RotationCaption, 0);
    ui.stop = true;
    dispatcher.FormIni(26);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_EQ(ui.notices(), std::vector<std::string>{RotationStoppedNotice});
    EXPECT_TRUE(Has("          Вращение: квартимакс, число факторов=2"));
    EXPECT_FALSE(Has("Переменная  Общность  Специфичность"));
    EXPECT_EQ(report.lines.back(), "");
}

TEST(FactorBatchTest, RunsFromDalvexBatchWithItsDialogsAnswered) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "dalvex-factor-batch";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "f.txt") << "a b c\n1 2 1\n2 1 3\n3 4 2\n4 3 6\n6 5 5\n7 7 4\n";
    const std::string script =
        "open f.txt\nmethod 26\nform 1 \"Выдавать нагрузки >=0,2\"\nyes\nyes\ngraph keep\n"
        "yes\nform 1 1 2\ngraph keep\ncancel\nyes\ncancel\n"
        "form 1 \"Вращать факторов=2\"\nno\nyes\ncancel\nno\ncancel\n"
        "form 6\nform 1 \"Прогноз для переменной №=3\" \"Значения факторов=1 0;0 1\"\n"
        "cancel\n";
    std::ostringstream results, messages;
    const int status =
        RunBatchScript(script, folder.string() + "/", BuiltStatisticsMethods(), results, messages);
    EXPECT_EQ(status, BatchDone) << messages.str() << results.str();
    const std::string text = results.str();
    EXPECT_NE(text.find("Факторные нагрузки после вращения"), std::string::npos) << text;
    EXPECT_NE(text.find("Факторный прогноз переменной c"), std::string::npos) << text;
    EXPECT_EQ(LowerCase(text).find("nan"), std::string::npos);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace dalvex
