// Graphs whose points are named after the sheet's rows: a row left out for a
// missing cell must take its name with it. Each graph is drawn twice, from a
// sheet with an incomplete row and from the same sheet with that row deleted,
// and the two drawings must read the same, names and places alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dispatch/dispatcher.h"
#include "graphics/graph_desk.h"
#include "graphics/recording_canvas.h"
#include "output/text_resource.h"
#include "stats/cluster_report.h"
#include "stats/factor_report.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"
#include "support/temp_folder.h"

namespace dalvex {
namespace {

struct NoWindows : RunWindows {};

struct Sample {
    std::vector<std::string> labels;
    std::vector<std::vector<std::string>> columns;
};

// Row labels and three variables; row 3 ("Тверь") misses its second value.
Sample WithIncompleteRow() {
    return {{"Москва", "Казань", "Тверь", "Омск", "Пермь", "Томск", "Тула"},
            {{"1", "2", "3", "7", "8", "4", "6"},
             {"5", "1", "", "6", "2", "9", "3"},
             {"2", "7", "1", "3", "9", "4", "8"}}};
}

Sample WithoutIt() {
    Sample s = WithIncompleteRow();
    s.labels.erase(s.labels.begin() + 2);
    for (auto& column : s.columns)
        column.erase(column.begin() + 2);
    return s;
}

using Texts = std::vector<std::pair<std::string, PixelPoint>>;

Texts TextsOf(const RecordingCanvas& canvas) {
    Texts texts;
    for (const DrawOp& op : canvas.OpsOfKind(DrawOp::Kind::Text))
        texts.emplace_back(op.text, op.points[0]);
    return texts;
}

struct Drawing {
    Texts rowLabels;    // the method's graph, points named by row labels
    Texts columnTexts;  // the same graph, names switched to the first variable's texts
};

// Runs `method` on the sample with `answer` scripting its dialogs up to one
// graph kept, then draws that graph with the row labels and again with the
// names the graph menu takes from sheet column 1.
Drawing Draw(const Sample& sample, int method,
             const std::function<void(ScriptedDialogs&)>& answer) {
    const TempFolder folder("point_names");
    ScriptedDialogs ui;
    Workspace ws{ui};
    EXPECT_TRUE(ws.store.Allocate());
    ReportLines report;
    ws.report = &report;
    ws.resources = &TextResources::Builtin();
    ws.ProgramFolder = folder.WithSlash();
    TSMForm form{ws};
    GraphDesk desk(ws, form);
    ws.graphs = &desk;
    const MethodRegistry registry = BuiltStatisticsMethods();
    NoWindows windows;
    MethodDispatcher dispatcher(ws, form, registry, windows);
    for (std::size_t c = 0; c < sample.columns.size(); ++c) {
        PutSheetText(ws, "v" + std::to_string(c + 1), static_cast<int>(c) + 1, -1);
        for (std::size_t i = 0; i < sample.columns[c].size(); ++i)
            PutSheetText(ws, sample.columns[c][i], static_cast<int>(c) + 1, static_cast<int>(i));
    }
    for (std::size_t i = 0; i < sample.labels.size(); ++i)
        PutSheetText(ws, sample.labels[i], 0, static_cast<int>(i));

    answer(ui);
    dispatcher.FormIni(method);
    EXPECT_TRUE(ui.scriptDone());
    TGra* graph = desk.window(form.graphs().current());
    if (graph == nullptr) {
        ADD_FAILURE() << "no graph drawn";
        return {};
    }
    graph->SetTextMetrics(7, 14);
    graph->Resize(640, 480);
    RecordingCanvas canvas{640, 480, 7, 14};
    graph->DG(canvas);
    Drawing drawing;
    drawing.rowLabels = TextsOf(canvas);

    // "Надписи для графика": names on, taken from the list's entry 2 (v1).
    ui.ExpectForm("Надписи для графика", 1, {"", "", "", "", "2", "0"});
    graph->Subs();
    canvas.Clear();
    graph->DG(canvas);
    drawing.columnTexts = TextsOf(canvas);
    return drawing;
}

bool Drawn(const Texts& texts, const std::string& text) {
    return std::any_of(texts.begin(), texts.end(), [&](const auto& t) { return t.first == text; });
}

TEST(PointNames, EachPointKeepsItsOwnRowsNameAfterAnIncompleteRowLeaves) {
    struct Case {
        const char* name;
        int method;
        std::function<void(ScriptedDialogs&)> answer;
    };
    const std::vector<Case> cases{
        {"cluster scatter", 25,
         [](ScriptedDialogs& ui) {
             ui.ExpectForm(ClusterDataCaption, 1)
                 .ExpectForm(MeasureCaption, 7)
                 .ExpectForm(StrategyCaption, 6, {"-0.25", "2"})
                 .ExpectYesNo("таблицу расстояний", false)
                 .ExpectForm(ClusterProjectionCaption, 1, {"1", "2"})
                 .ExpectGraphPrompt(true)
                 .ExpectForm(ClusterProjectionCaption, 0)
                 .ExpectYesNo("Сохранить номера кластеров", false);
         }},
        {"factor scores", 26,
         [](ScriptedDialogs& ui) {
             ui.ExpectForm(FactorAnalysisCaption, 1)
                 .ExpectYesNo("средние значения", false)
                 .ExpectYesNo("факторные вектора", false)
                 .ExpectGraphPrompt(true)
                 .ExpectYesNo("факторные нагрузки", false)
                 .ExpectForm(ProjectionCaption, 0)
                 .ExpectYesNo("координаты объектов", false)
                 .ExpectForm(ProjectionCaption, 1, {"1", "2"})
                 .ExpectGraphPrompt(true)
                 .ExpectForm(ProjectionCaption, 0)
                 .ExpectForm(RotationCaption, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Drawing incomplete = Draw(WithIncompleteRow(), c.method, c.answer);
        const Drawing reference = Draw(WithoutIt(), c.method, c.answer);
        for (const char* label : {"Москва", "Казань", "Омск", "Пермь", "Томск", "Тула"})
            EXPECT_TRUE(Drawn(reference.rowLabels, label)) << label;
        EXPECT_FALSE(Drawn(incomplete.rowLabels, "Тверь"));
        EXPECT_EQ(incomplete.rowLabels, reference.rowLabels);
        // The first variable's texts: "3" belonged to the row left out.
        EXPECT_TRUE(Drawn(reference.columnTexts, "8"));
        EXPECT_EQ(incomplete.columnTexts, reference.columnTexts);
    }
}

}  // namespace
}  // namespace dalvex
