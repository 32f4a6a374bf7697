// One row per graph kind: the drawing routine it starts with, the DataMatrix
// rows it reads for each series, whether it is a business graph, whether
// point names are offered, what "СохрГраф в электр.таблице" writes and
// whether a legend may take room. Everything that differs between the kinds
// outside their drawing routines is read from here.
#pragma once

#include "graphics/graph_data.h"

namespace dalvex {

// Internal selector of the drawing routine.
enum class DrawingType {
    Bars = 0,
    Lines = 1,
    Pie = 2,
    Pairs = 5,
    Deviations = 6,
    Ordered = 7,
    BoxPlots = 8,
    Described = 9,
    Scatter3D = 10,
    FunctionSurface = 11,
    Surface = 12,
    ColourMap = 13,
    Tree = 15,
    SuperDiagram = 16,
};

// Which rows a graph of the kind reads.
enum class RowsRead {
    Described,  // the X and Y rows of the description table (and the partners' row)
    PerSeries,  // `rowsPerSeries` rows for every series
    Fixed,      // rows 0 .. `rowsPerSeries` - 1 whatever the series count
};

// What "СохрГраф в электр.таблице" writes.
enum class SheetSaving {
    None,
    DescribedRows,  // the X and Y row of every series
    SeriesRows,     // the rows read, series by series
    Grid,           // the interpolated grid as three new variables, in an emptied sheet
};

struct GraphKindRow {
    int kind;
    DrawingType drawing;  // with bars chosen; business kinds may start as lines
    RowsRead rows;
    int rowsPerSeries;
    bool business;  // bars, towers, pie, colour map: categories and series
    bool namesOffered;  // "Добавить/удалить имена объектов" in the context menu
    SheetSaving saving;
    bool legendRoom;      // the legend may narrow the plot
    int extraRightRoom;   // pixels kept right of the plot for a colour scale
    int nameColumnChars;  // characters kept left of the plot for row names
};

// The row of `kind`; an unknown kind reads as kind 1.
const GraphKindRow& KindRow(int kind);

}  // namespace dalvex
