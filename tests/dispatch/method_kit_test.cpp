// The method kit: report fields that never run together, statistic lines
// with the right significance, typed form reads, graph orders, the gathered
// notice about unusable variables and loading a full sheet whole.
#include "dispatch/method_kit.h"

#include <cmath>

#include "core/arithmetic_fault.h"
#include "core/number.h"
#include "dispatch_fixture.h"
#include "output/text_resource.h"

namespace dalvex {
namespace {

class MethodKitTest : public DispatchFixture {};

TEST_F(MethodKitTest, FieldsArePaddedAndAnOverWideValueKeepsOneBlank) {
    struct Case {
        int digits;
        std::vector<double> figures;
        const char* line;
    };
    const Case cases[] = {
        {4, {1.5, 2}, "      1.5        2"},
        // Nine characters would touch the field before them.
        {4, {0.1243, 0.0001235}, "   0.1243 0.0001235"},
        // Wider than the field: the two numbers stay apart.
        {10, {1000000, 0.003160698}, "  1000000 0.003160698"},
        {4, {-1.235e-15, 3}, " -1.235E-15        3"},
    };
    for (const Case& c : cases) {
        ws.settings.SignificantDigits = c.digits;
        EXPECT_EQ(Fields(ws, c.figures), c.line);
    }
    ws.settings.SignificantDigits = 4;
    WriteFigureRow(ws, "рост", {1.5});
    WriteFigureRow(ws, "вес", {1.5, 2.5}, 12);
    EXPECT_EQ(results.lines, (std::vector<std::string>{"     рост      1.5", "      вес   "}));
}

TEST_F(MethodKitTest, FLineTakesStudentsTForOneNumeratorDegreeOfFreedom) {
    ws.resources = &TextResources::Builtin();
    // R: pf(4.5, 1, 20, lower = F) = 2 * pt(sqrt(4.5), 20, lower = F) = 0.046584;
    //    pf(3.1, 3, 16, lower = F) = 0.056386. The Fisher routine is the
    //    program's coarse approximation (0.0442 for the first); taking F
    //    itself as t would give 0.0002.
    EXPECT_NEAR(FSignificance(4.5, 1, 20), 0.0465838, 3e-3);
    EXPECT_NEAR(FSignificance(3.1, 3, 16), 0.0563864, 1e-3);

    const double p = WriteFLine(ws, "F=", 4.5, 1, 20);
    ASSERT_EQ(results.lines.size(), 2u);
    EXPECT_EQ(results.lines[0], "F=4.5, Значимость=" + FormatNumber(p, 4) + ", степ.своб = 20");
    WriteFLine(ws, "F=", 3.1, 3, 16);
    EXPECT_TRUE(results.lines[2].ends_with(", степ.своб = 3,16")) << results.lines[2];
    // Each statistic line is followed by its verdict.
    EXPECT_EQ(results.lines.size(), 4u);
}

TEST_F(MethodKitTest, FormReaderRefusesTheFirstBadFieldWithTheMethodsNotice) {
    struct Case {
        std::vector<std::string> values;
        bool ok;
        std::vector<std::string> notices;
    };
    const Case cases[] = {
        {{"12", "2,5", "1"}, true, {}},       {{"12.7", " -3e-1 ", "0"}, true, {}},
        {{"abc", "x", "9"}, false, {"!K!"}},   // one notice, the first refusal's
        {{"0", "2.5", "1"}, false, {"!K!"}},   // below the range
        {{"12", "7", "1"}, false, {"!X!"}},    // above the range
        {{"12", "2.5", "2"}, false, {"!C!"}},  // no such item
        {{"12", "2.5"}, false, {"!C!"}},       // a missing field
    };
    FormDialog form;
    form.caption = "Проба";
    form.Field("k=", "").Field("x=", "").Choice("c=", {"a", "b"}, 0).Button("Утвердить", 1);
    for (const Case& c : cases) {
        ui.ClearLog();
        // The answer holds exactly the texts given: a missing one stays missing.
        FormDialog shown = form;
        shown.groups[0].fields.resize(c.values.size());
        ui.ExpectForm("Проба", 1, c.values);
        FormReader read(ws, shown);
        const int k = read.Integer(0, 1, 100, "!K!");
        const double x = read.Number(1, "!X!", -1, 5);
        const int choice = read.Choice(2, 2, "!C!");
        EXPECT_EQ(read.ok(), c.ok) << c.values[0];
        EXPECT_EQ(ui.notices(), c.notices) << c.values[0];
        if (c.ok) {
            EXPECT_EQ(k, 12);
            EXPECT_TRUE(x == 2.5 || x == -0.3);
            EXPECT_TRUE(choice == 0 || choice == 1);
        }
    }
}

struct GraphRows : GraphHost {
    explicit GraphRows(Workspace& ws) : ws(ws) {}
    void GraSt(int request, int lastSeries) override {
        this->request = request;
        this->lastSeries = lastSeries;
        title = ws.TextBuffer();
        const int rowsPerSeries = request == RequestBars ? 1 : 2;
        for (int r = 0; r < rowsPerSeries * (lastSeries + 1); ++r) {
            rows.emplace_back();
            for (int i = 0; i <= ws.VarLength[r + 1]; ++i)
                rows.back().push_back(ws.store.Data(r, i));
        }
    }
    void pqsegr(bool offer) override { prompts += offer ? 1 : 100; }
    Workspace& ws;
    int request = 0, lastSeries = -1, prompts = 0;
    std::string title;
    std::vector<std::vector<double>> rows;
};

TEST_F(MethodKitTest, GraphOrderLaysOutSeriesStylesAndTitleThenPrompts) {
    GraphRows host(ws);
    ws.graphs = &host;
    GraphOrder(ws)
        .Series({1, 2, 3}, {4, 5, 6}, SeriesStyle::Bars)
        .Series({0, 10}, {7, 8})
        .Title("Гистограмма: рост")
        .Show();
    EXPECT_EQ(host.request, RequestPairs);
    EXPECT_EQ(host.lastSeries, 1);
    EXPECT_EQ(host.title, "Гистограмма: рост");
    EXPECT_EQ(host.rows, (std::vector<std::vector<double>>{{1, 2, 3}, {4, 5, 6}, {0, 10}, {7, 8}}));
    EXPECT_EQ(ws.graphTables.SeriesStyles[0], 3);
    EXPECT_EQ(ws.graphTables.SeriesStyles[1], 0);
    EXPECT_EQ(host.prompts, 1);

    // A bar chart keeps one row per group of bars; a described graph pairs
    // its rows in its description table.
    GraphRows bars(ws);
    ws.graphs = &bars;
    GraphOrder(ws, GraphKind::Bars).Bars({1, 2}).Bars({3, 4}).Bars({5, 6}).Title("Столбцы").Show();
    EXPECT_EQ(bars.request, RequestBars);
    EXPECT_EQ(bars.lastSeries, 2);
    EXPECT_EQ(bars.rows, (std::vector<std::vector<double>>{{1, 2}, {3, 4}, {5, 6}}));
    GraphRows described(ws);
    ws.graphs = &described;
    GraphOrder(ws, GraphKind::Described)
        .Described({0, 1}, {2, 3}, 0, 1)
        .Described({4}, {5}, 1, 2)
        .Show(false);
    EXPECT_EQ(described.request, RequestDescribed);
    EXPECT_EQ(described.rows, (std::vector<std::vector<double>>{{0, 1}, {2, 3}, {4}, {5}}));
    const SeriesDescription& second = ws.graphTables.SeriesDescriptions[1];
    EXPECT_EQ(std::vector<int>({second.xRow, second.yRow, second.marker, second.style}),
              (std::vector<int>{2, 3, 1, 2}));
    EXPECT_EQ(described.prompts, 100);

    // A series that is not all numbers never reaches the window.
    GraphRows other(ws);
    ws.graphs = &other;
    EXPECT_THROW(GraphOrder(ws).Series({1, 2}, {1, std::nan("")}).Show(), ArithmeticFault);
    EXPECT_EQ(other.lastSeries, -1);
    ws.graphs = nullptr;
}

TEST_F(MethodKitTest, UnusableVariablesAreNamedInOneNoticeOncePerRun) {
    const std::string text = "МЕТОД НЕПРИМЕНИМ: измерений < 4!";
    ws.runNotices.Begin();
    for (int table = 0; table < 3; ++table) {
        for (const char* name : {"город", "имя", "город"})
            NoteUnusable(ws, text, name);
        ShowUnusable(ws);
    }
    NoteUnusable(ws, text, "пол");
    ShowUnusable(ws);
    EXPECT_EQ(ui.notices(),
              (std::vector<std::string>{text + "\r\n(город, имя)", text + "\r\n(пол)"}));
}

TEST_F(MethodKitTest, AppendedVariableLeavesMissingValuesEmpty) {
    Sheet({{"a", "1"}});
    EXPECT_TRUE(AppendSheetVariable(ws, {0.5, MissingValue, 2}));
    EXPECT_EQ(ws.sheet.VariableCount(), 2);
    EXPECT_EQ(ws.sheet.Cell(2, 1), "     0.5");
    EXPECT_EQ(ws.sheet.Cell(2, 2), "        ");
    EXPECT_EQ(ws.sheet.Cell(2, 3), "       2");
}

// Ten variables of 6500 values fill the sheet; every value is loaded, and no
// notice says a variable is too long.
TEST_F(MethodKitTest, AFullSheetLoadsWhole) {
    for (int col = 1; col <= 10; ++col) {
        PutSheetText(ws, "v" + std::to_string(col), col, -1);
        for (int i = 0; i < 6500; ++i)
            PutSheetText(ws, std::to_string(col * 10000 + i), col, i);
    }
    ASSERT_EQ(ws.sheet.FilledCells(), CellCapacity);
    ws.SelectedColumns[0] = 10;
    for (int k = 1; k <= 10; ++k)
        ws.SelectedColumns[k] = k;
    ASSERT_TRUE(LoadSelected(ws, 2, Missing::PerRow));
    const std::vector<LoadedRow> rows = LoadedRows(ws);
    ASSERT_EQ(rows.size(), 10u);
    for (const LoadedRow& row : rows) {
        ASSERT_EQ(row.count(), 6500) << row.name;
        EXPECT_EQ(row.values.back(), row.column * 10000 + 6499);
        EXPECT_EQ(row.name, "v" + std::to_string(row.column));
    }
    EXPECT_TRUE(ui.notices().empty());
}

// A column longer than rows a method laid out itself is cut; the notice is
// shown once in the run, not once per variable.
TEST_F(MethodKitTest, TooLongNoticeIsShownOncePerRun) {
    Sheet({{"a", "1", "2", "3", "4"}, {"b", "1", "2", "3", "4"}});
    ws.runNotices.Begin();
    ws.store.SetRowWidth(StoreMatrix::Data, 3);
    LoadVariable(ws, 1, 1);
    LoadVariable(ws, 2, 2);
    EXPECT_EQ(ws.VarLength[1], 1);
    EXPECT_EQ(ws.VarLength[2], 1);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{TooLongNotice(3)});
}

}  // namespace
}  // namespace dalvex
