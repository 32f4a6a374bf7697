// "draw": any graph kind from sheet variables, laid out as the graph menu
// lays it out, and the function surface of a formula.
#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_runner.h"
#include "dispatch/sheet_graph.h"
#include "graphics/function_surface.h"
#include "graphics/tgra.h"
#include "stats/statistics_methods.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

const std::string Data = std::string(DALVEX_BATCH_DATA) + "/";

// What one saved graph was.
struct Drawn {
    int kind;
    DrawingType type;
    std::string title;
    int series;
    std::vector<std::vector<double>> rows;
    ColourMode colour;
};

struct DrawRun {
    std::vector<Drawn> graphs;
    std::string messages;
    int status = 0;
};

// four.txt: a 1..6, b 10 20 15 12 30 25, c 5 ? 7 8 6 9, w 2 4 1 3 5 6.
// "{DIR}" in the lines is a folder of the test's own.
DrawRun RunDraw(std::string lines) {
    const TempFolder temp("batch-draw");
    const std::string dir = temp.WithSlash() + "pictures";
    for (std::size_t at = lines.find("{DIR}"); at != std::string::npos; at = lines.find("{DIR}"))
        lines.replace(at, 5, dir);
    DrawRun run;
    const GraphImageWriter writer = [&](TGra& g, const Workspace&, const std::string&) {
        run.graphs.push_back({g.kind(), g.drawingType(), g.title(), g.data().seriesCount,
                              g.data().rows, g.settings().colourMode});
        return std::string();
    };
    std::ostringstream results, messages;
    run.status = RunBatchScript("open four.txt\nimages " + dir + "\n" + lines, Data,
                                BuiltStatisticsMethods(), results, messages, writer);
    run.messages = messages.str();
    return run;
}

TEST(BatchDraw, KindsFromNamedVariables) {
    const DrawRun run = RunDraw(
        "draw 5 a 2\n"                 // names or column numbers
        "draw 1 b\n"                   // one variable: against 0, 1, 2, ...
        "draw 13 a b w smoothing=2\n"  // the first two change places
        "draw 14 w a b c\n"            // the value first, mapped from its last row
        "draw 17 a c\n");              // Y series, as described series
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    ASSERT_EQ(run.graphs.size(), 5u);

    EXPECT_EQ(run.graphs[0].kind, KindBoxPlots);
    EXPECT_EQ(run.graphs[0].title, "Ящик с усами: a, b");
    EXPECT_EQ(run.graphs[0].series, 2);

    EXPECT_EQ(run.graphs[1].rows[0], (std::vector<double>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(run.graphs[1].rows[1], (std::vector<double>{10, 20, 15, 12, 30, 25}));

    EXPECT_EQ(run.graphs[2].kind, KindMap3D);
    EXPECT_EQ(run.graphs[2].rows[0][1], 20.0) << "b is the map's first coordinate";
    EXPECT_EQ(run.graphs[2].rows[1][1], 2.0);

    // Listwise: the observation with c missing leaves every row.
    EXPECT_EQ(run.graphs[3].kind, KindSuperDiagram);
    ASSERT_EQ(run.graphs[3].rows.size(), 4u);
    EXPECT_EQ(run.graphs[3].rows[3], (std::vector<double>{2, 1, 3, 5, 6}));
    EXPECT_EQ(run.graphs[3].rows[0], (std::vector<double>{1, 3, 4, 5, 6}));

    // Y-series: each variable against the numbers of the observations it has.
    EXPECT_EQ(run.graphs[4].kind, KindDescribed);
    EXPECT_EQ(run.graphs[4].title, "Y-ряды: a, c");
    EXPECT_EQ(run.graphs[4].rows[0], (std::vector<double>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(run.graphs[4].rows[2], (std::vector<double>{0, 2, 3, 4, 5}));
    EXPECT_EQ(run.graphs[4].rows[3], (std::vector<double>{5, 7, 8, 6, 9}));
}

// The menu itself, answered line by line, and its options as words of "draw".
TEST(BatchDraw, GraphMenuAndSplineOptions) {
    const DrawRun run = RunDraw(
        "graphs\n"
        "form 16 \"Шагов=20\" \"Коэф=0.3\"\n"
        "variables b a\n"
        "draw 15 a b steps=10\n"
        "draw 7 b w bars=0 3d=1\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    ASSERT_EQ(run.graphs.size(), 3u);
    EXPECT_EQ(run.graphs[0].kind, KindSplineSmoothing);
    EXPECT_EQ(run.graphs[0].title, "Сплайны: b, a");
    EXPECT_EQ(run.graphs[0].rows[0], (std::vector<double>{10, 12, 15, 20, 25, 30}));
    EXPECT_EQ(run.graphs[0].rows[1], (std::vector<double>{1, 4, 3, 2, 6, 5}));
    EXPECT_EQ(run.graphs[0].rows[2].size(), 21u);
    // Ten steps for six points: the five intervals asked for are fewer.
    EXPECT_EQ(run.graphs[1].rows[2].size(), 11u);
    EXPECT_EQ(run.graphs[2].type, DrawingType::Lines);
}

TEST(BatchDraw, IncompleteSetsAreTrimmedOrRefusedWithTheNotice) {
    const DrawRun run = RunDraw("draw 1 a b c\ndraw 2 a b\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    ASSERT_EQ(run.graphs.size(), 1u) << "two variables make no graph with deviations";
    EXPECT_EQ(run.graphs[0].series, 1);
    std::size_t notices = 0;
    for (std::size_t at = run.messages.find(IncompleteGraphNotice); at != std::string::npos;
         at = run.messages.find(IncompleteGraphNotice, at + 1))
        ++notices;
    EXPECT_EQ(notices, 2u);
}

TEST(BatchDraw, FunctionSurfaceWithGapsAndMonochromePictures) {
    const DrawRun run = RunDraw(
        "images {DIR} png mono\n"
        "draw 11 \"x*10+y\" 0 1 0 1 500\n"
        "draw 11 \"1/x\" -1 1 -1 1 5\n");
    ASSERT_EQ(run.status, BatchDone) << run.messages;
    ASSERT_EQ(run.graphs.size(), 2u);
    EXPECT_EQ(run.graphs[0].kind, KindFunctionSurface);
    EXPECT_EQ(run.graphs[0].rows[2].size(), 147u * 147u);
    EXPECT_EQ(run.graphs[0].colour, ColourMode::Monochrome);
    EXPECT_NE(run.messages.find(GridLimitedText(147)), std::string::npos) << run.messages;
    EXPECT_NE(run.messages.find(SurfaceGapsText(5, "Деление на ноль")), std::string::npos)
        << run.messages;
}

TEST(BatchDraw, WronglyWrittenCommandsStopTheScript) {
    const char* wrong[] = {"draw 19 a\n",           "draw 0 a\n",
                           "draw 1 nosuch\n",       "draw 13 a b w smoothing=4\n",
                           "draw 11 \"x\" 0 1 0\n", "draw 1\n",
                           "draw 15 a b steps=0\n", "draw 16 a b coef=1\n",
                           "draw 6 a b bars=2\n"};
    for (const char* line : wrong) {
        const DrawRun run = RunDraw(line);
        EXPECT_EQ(run.status, BatchScriptFault) << line;
        EXPECT_NE(run.messages.find("строка 3"), std::string::npos) << line << run.messages;
        EXPECT_TRUE(run.graphs.empty()) << line;
    }
}

}  // namespace
}  // namespace dalvex
