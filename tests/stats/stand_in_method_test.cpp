// A new method takes one file and one registry line: the stand-in below has a
// form, a variable dialog, a report table, a sheet variable and a graph, and
// runs from the statistics menu's dispatcher and from dalvex-batch with no
// other change. It also does arithmetic nobody checks, to show that every
// output point stops a fault before a NaN or an infinity reaches the report,
// the sheet or the graph.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_runner.h"
#include "core/arithmetic_fault.h"
#include "core/text.h"
#include "dispatch/method_kit.h"
#include "output/text_resource.h"
#include "stats/statistics_methods.h"
#include "stats_fixture.h"

namespace dalvex {
namespace {

// ---------------------------------------------------------------------------
// The stand-in method: everything it needs is in this block.

enum class Operation { None, ZeroByZero, LogOfNegative, RootOfNegative, Overflow, ByZero };
enum class FirstOutput { Report, Sheet, Graph };

FormDialog StandInForm() {
    FormDialog form;
    form.caption = "Пробный метод";
    form.Field("Множитель=", "2")
        .Choice("Операция=", {"нет", "0/0", "ln(-1)", "√-1", "переполнение", "1/0"}, 0)
        .Choice("Сначала=", {"отчёт", "таблица", "график"}, 0)
        .Button("Утвердить", 1);
    return form;
}

struct StandInFigures {
    struct Line {
        std::string name;
        std::vector<double> figures;  // count, factor × sum, the operation's figure
    };
    std::vector<Line> lines;
};

// Values: 0, -1, 1e200 ... The operations are written without any check and
// their results pass through functions that make them finite again, so only
// the processor's flags remember what happened.
double OperationFigure(Operation op, const std::vector<double>& v) {
    switch (op) {
        case Operation::None:
            return 0;
        case Operation::ZeroByZero:
            return std::fmax(1.0, v[0] / v[0]);
        case Operation::LogOfNegative:
            return std::fmax(1.0, std::log(v[1]));
        case Operation::RootOfNegative:
            return std::fmax(1.0, std::sqrt(v[1]));
        case Operation::Overflow:
            return std::atan(v[2] * v[2]);
        case Operation::ByZero:
            return std::atan(1 / v[0]);
    }
    return 0;
}

StandInFigures ComputeStandIn(const std::vector<LoadedRow>& rows, double factor, Operation op) {
    StandInFigures result;
    for (const LoadedRow& row : rows) {
        double sum = 0;
        for (double x : row.values)
            sum += x;
        result.lines.push_back(
            {row.name, {double(row.count()), factor * sum, OperationFigure(op, row.values)}});
    }
    return result;
}

void WriteStandIn(Workspace& ws, const StandInFigures& f, FirstOutput first) {
    auto report = [&] {
        WriteResult(ws, "Переменная   Размер    Сумма   Фигура");
        for (const auto& line : f.lines)
            WriteFigureRow(ws, line.name, line.figures);
    };
    auto sheet = [&] {
        std::vector<double> sums;
        for (const auto& line : f.lines)
            sums.push_back(line.figures[1]);
        AppendSheetVariable(ws, sums);
    };
    auto graph = [&] {
        std::vector<double> x, y;
        for (const auto& line : f.lines) {
            x.push_back(line.figures[0]);
            y.push_back(line.figures[2]);
        }
        GraphOrder(ws).Series(x, y, SeriesStyle::Markers).Title("Пробный график").Show();
    };
    if (first == FirstOutput::Sheet)
        sheet();
    if (first == FirstOutput::Graph)
        graph();
    report();
    if (first != FirstOutput::Sheet)
        sheet();
    if (first != FirstOutput::Graph)
        graph();
}

void StandInMethod(MethodRun& run) {
    Workspace& ws = run.ws;
    FormReader read(ws, StandInForm());
    if (!read.answered())
        return;
    const double factor = read.Number(0, "!МНОЖИТЕЛЬ НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!");
    const int op = read.Choice(1, 6, "!НЕТ ТАКОЙ ОПЕРАЦИИ!");
    const int first = read.Choice(2, 3, "!НЕТ ТАКОГО ВЫВОДА!");
    if (!read.ok())
        return;
    const std::vector<LoadedRow> rows = ChooseAndLoad(ws, Choose::List, 0, Missing::PerRow);
    if (rows.empty())
        return;
    WriteStandIn(ws, ComputeStandIn(rows, factor, static_cast<Operation>(op)),
                 static_cast<FirstOutput>(first));
}

// The registry line.
MethodRegistry WithStandIn() {
    MethodRegistry registry = BuiltStatisticsMethods();
    registry.Add(23, StandInMethod);
    return registry;
}

// ---------------------------------------------------------------------------

struct Windows : RunWindows {
    std::string DataFileName() const override { return "probe.txt"; }
};

class StandInTest : public StatsTest {
  protected:
    StandInTest() : form(ws), dispatcher(ws, form, registry, windows) {
        ws.resources = &TextResources::Builtin();
        ws.ProgramFolder = (std::filesystem::temp_directory_path() / "dalvex-stand-in-").string();
        PutSheetText(ws, "x", 1, -1);
        PutSheetText(ws, "y", 2, -1);
        for (int i = 0; i < 3; ++i) {
            PutSheetText(ws, std::vector<std::string>{"0", "-1", "1e200"}[i], 1, i);
            PutSheetText(ws, std::to_string(i + 1), 2, i);
        }
    }
    void Answer(Operation op, FirstOutput first) {
        ui.ExpectForm("Пробный метод", 1,
                      {"2", std::to_string(int(op)), std::to_string(int(first))})
            .ExpectVariables("Анализ переменных",
                             {{VariableAction::All, {}}, {VariableAction::Confirm, {}}});
    }

    MethodRegistry registry = WithStandIn();
    TSMForm form;
    Windows windows;
    MethodDispatcher dispatcher;
};

TEST_F(StandInTest, RunsFromTheDispatcherWithFormVariablesTableSheetAndGraph) {
    ASSERT_TRUE(dispatcher.available(23));
    Answer(Operation::None, FirstOutput::Report);
    dispatcher.FormIni(23);
    EXPECT_TRUE(ui.scriptDone());
    EXPECT_TRUE(ui.notices().empty());
    const std::vector<std::string> expected = {
        dispatcher.HeaderLine(23),
        "Переменная   Размер    Сумма   Фигура",
        "        x        3    2E200        0",
        "        y        3       12        0",
        "",
        "",
    };
    EXPECT_EQ(report.lines, expected);
    EXPECT_EQ(SheetColumn(3), (std::vector<std::string>{"   2E200", "      12"}));
    EXPECT_EQ(graphs.requests, 1);
    EXPECT_EQ(graphs.prompts, 1);
    EXPECT_EQ(graphs.title, "Пробный график");
    EXPECT_EQ(graphs.rows[0], (std::vector<double>{3, 3}));
}

// Each unchecked fault, caught by whichever output comes first.
TEST_F(StandInTest, UncheckedFaultsStopAtTheFirstOutputWithNothingNonFiniteShown) {
    struct Case {
        Operation op;
        FaultKind kind;
    };
    const Case cases[] = {
        {Operation::ZeroByZero, FaultKind::InvalidOperation},
        {Operation::LogOfNegative, FaultKind::InvalidOperation},
        {Operation::RootOfNegative, FaultKind::InvalidOperation},
        {Operation::Overflow, FaultKind::Overflow},
        {Operation::ByZero, FaultKind::DivisionByZero},
    };
    for (const Case& c : cases) {
        for (FirstOutput first : {FirstOutput::Report, FirstOutput::Sheet, FirstOutput::Graph}) {
            SCOPED_TRACE(std::to_string(int(c.op)) + " " + std::to_string(int(first)));
            report.lines.clear();
            ui.ClearLog();
            graphs.requests = 0;
            Answer(c.op, first);
            dispatcher.FormIni(23);
            EXPECT_EQ(ui.notices(),
                      std::vector<std::string>{InterruptionText(ArithmeticFault(c.kind))});
            // The header and the closing lines; nothing of the method.
            EXPECT_EQ(report.lines, (std::vector<std::string>{dispatcher.HeaderLine(23), "", ""}));
            EXPECT_EQ(ws.sheet.VariableCount(), 2);
            EXPECT_EQ(graphs.requests, 0);
            EXPECT_EQ(form.runState, TSMForm::RunState::Idle);
        }
    }
    // The next run starts with clear flags.
    ui.ClearLog();
    Answer(Operation::None, FirstOutput::Report);
    dispatcher.FormIni(23);
    EXPECT_TRUE(ui.notices().empty()) << ui.notices()[0];
    EXPECT_EQ(graphs.requests, 1);
}

TEST(StandInBatchTest, RunsFromDalvexBatchWithNoOtherChange) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "dalvex-stand-in-batch";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "probe.txt") << "x y\n0 1\n-1 2\n1e200 3\n";
    auto run = [&](const std::string& op, const std::string& graph) {
        std::ostringstream results, messages;
        const int status = RunBatchScript(
            "open probe.txt\nmethod 23\nform 1 2 " + op + " 0\nvariables all\n" + graph,
            folder.string() + "/", WithStandIn(), results, messages);
        return std::make_tuple(status, results.str(), messages.str());
    };
    const auto [status, results, messages] = run("0", "graph keep\n");
    EXPECT_EQ(status, BatchDone) << messages;
    EXPECT_NE(results.find("        y        3       12        0"), std::string::npos) << results;

    // The overflow stops the method before its graph: no prompt to answer.
    const auto [faultStatus, faultResults, faultMessages] = run("4", "");
    EXPECT_EQ(faultStatus, BatchDone) << faultMessages;
    EXPECT_NE(faultMessages.find("Прерывание: " + std::string(FaultText(FaultKind::Overflow))),
              std::string::npos)
        << faultMessages;
    EXPECT_EQ(LowerCase(faultResults).find("inf"), std::string::npos);
    EXPECT_EQ(LowerCase(faultResults).find("nan"), std::string::npos);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace dalvex
