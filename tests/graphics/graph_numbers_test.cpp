// The numbers behind a graph as CSV: every series' rows under the series'
// name, quoted where a spreadsheet or R would otherwise split or trim them.
#include "graphics/graph_numbers.h"

#include <gtest/gtest.h>

#include <limits>

#include "core/data_store.h"

namespace dalvex {
namespace {

TEST(GraphNumbersTest, FieldsAreQuotedOnlyWhereTheyMustBe) {
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"рост", "рост"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {" padded", "\" padded\""},
        {"semi;colon", "semi;colon"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

TEST(GraphNumbersTest, PairsAreWrittenSeriesBySeriesWithTheirNames) {
    GraphData data;
    data.kind = KindFunctions;
    data.seriesCount = 2;
    // Series 1: X shorter than Y; series 2 with a missing and a non-number.
    data.rows = {{1, 2},
                 {0.1, -2.5, 3},
                 {1e-7, 2, 3},
                 {MissingValue, 1.0 / 3, std::numeric_limits<double>::quiet_NaN()}};
    data.seriesNames = {"вес, кг", ""};
    data.rowNames = {"", "", "", "\"рост\""};
    EXPECT_EQ(GraphNumbersCsv(data),
              "series,point,X,Y\r\n"
              "\"вес, кг\",1,1,0.1\r\n"
              "\"вес, кг\",2,2,-2.5\r\n"
              "\"вес, кг\",3,,3\r\n"
              "\"\"\"рост\"\"\",1,1e-07,\r\n"
              "\"\"\"рост\"\"\",2,2,0.3333333333333333\r\n"
              "\"\"\"рост\"\"\",3,3,\r\n");
}

TEST(GraphNumbersTest, EachKindNamesTheRowsItReads) {
    GraphData deviations;
    deviations.kind = KindDeviations;
    deviations.rows = {{1}, {2}, {0.5}};
    EXPECT_EQ(GraphNumbersCsv(deviations), "series,point,X,Y,deviation\r\n1,1,1,2,0.5\r\n");

    // Described series read the rows their description names.
    GraphData described;
    described.kind = KindDescribed;
    described.seriesCount = 1;
    described.descriptions = {{3, 0, 0, 1}};
    described.rows = {{10, 20}, {}, {}, {7, 8}};
    EXPECT_EQ(GraphNumbersCsv(described), "series,point,X,Y\r\n1,1,7,10\r\n1,2,8,20\r\n");

    // One row a series: the values as handed over; a surface is one series.
    GraphData bars;
    bars.kind = KindBars;
    bars.seriesCount = 2;
    bars.rows = {{4}, {5}};
    bars.rowNames = {"a", "b"};
    EXPECT_EQ(GraphNumbersCsv(bars), "series,point,value\r\na,1,4\r\nb,1,5\r\n");
    GraphData surface;
    surface.kind = KindSmoothingSurface;
    surface.rows = {{1}, {2}, {3}};
    EXPECT_EQ(GraphNumbersCsv(surface), "series,point,X,Y,Z\r\n1,1,1,2,3\r\n");
}

}  // namespace
}  // namespace dalvex
