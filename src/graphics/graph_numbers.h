// The numbers behind a graph as a CSV table, for taking what a method shows
// only as a picture (a correlogram, a spectrum, a forecast, a dendrogram's
// heights) to a spreadsheet or R. One line per point: the series' name, the
// point's number and the series' rows (X, Y and what further rows the kind
// reads), with a header line naming them. Text is UTF-8, lines end in CR LF,
// fields are quoted only where they must be (separators, quotes, line
// breaks, blanks at an end).
#pragma once

#include <string>
#include <string_view>

#include "graphics/graph_data.h"

namespace dalvex {

// One CSV field: the text as it is, or in double quotes with its quotes
// doubled when it holds a comma, a quote, a line break or a blank at an end.
std::string CsvField(std::string_view text);

// The whole table for the graph's data. A value that is missing (or not a
// number) is an empty field; numbers are written in the shortest form that
// reads back to the same double, with a point.
std::string GraphNumbersCsv(const GraphData& data);

}  // namespace dalvex
