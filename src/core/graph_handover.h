// How a method hands series to a graph window: its DataMatrix rows and
// VarLength, the series tables below, the title in TextBuffer, then a graph
// request. Requests go to whoever shows graphs: the main window's graph
// windows, or the batch runner's image files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dalvex {

struct Workspace;

inline constexpr int MaxGraphSeries = 256;

// Requests of `TSMForm.GraSt`.
enum GraphRequest {
    RequestPairs = 1,      // X-Y pairs: series p in rows 2p, 2p + 1
    RequestBars = 2,       // bar chart with bars and the 3-D effect
    RequestDescribed = 3,  // series named in the description table
    RequestTree = 4,       // dendrogram
    RequestScatter3D = 5,  // 3-D scatter: series p in rows 3p .. 3p + 2
};

// One series of a described-series graph: four signed bytes.
struct SeriesDescription {
    std::int8_t xRow = 0;
    std::int8_t yRow = 1;
    std::int8_t marker = 0;  // marker shape and colour index
    // 0 line, 1 line and markers, 2 or -2 markers only, 3 bars from the Y
    // minimum, 4 markers with rays to the origin, 5 lines to partner points.
    std::int8_t style = 0;
};

struct GraphHandOver {
    // Styles of the X-Y series: 0 line only, 1 line and markers, 2 markers
    // only, 3 bars.
    std::array<std::uint8_t, MaxGraphSeries> SeriesStyles{};
    std::array<SeriesDescription, MaxGraphSeries> SeriesDescriptions{};
    // The series' names for the legend ("" : the name of the variable the
    // series' Y row was loaded from, or its number). Taken, and emptied, by
    // the graph request that follows.
    std::array<std::string, MaxGraphSeries> SeriesNames{};
    // The points of the next request's graph named at once, as `TGra.Subs1`
    // (1: the observations' row labels) or `TGra.Subs2` (0: the variables'
    // names) would; -1 leaves them unnamed. Taken, and reset, by the request.
    int PointNames = -1;
    // The sheet row (1-based) of each observation in DataMatrix's rows when
    // rows were left out for missing cells, so a point named from the sheet
    // keeps the name of its own row; empty when observation i is sheet row
    // i + 1. Loading sets it, a method that puts observations of its own
    // into DataMatrix sets theirs, and every command starts with it empty.
    // Not taken by a request: one loading may feed several graphs.
    std::vector<int> ObservationRows;

    // A description as methods write it, bytes given as numbers (254 is -2).
    void Describe(int series, int xRow, int yRow, int marker, int style);
};

// How the graph menu sets a window up beyond its data.
struct KindSetup {
    int smoothing = 0;  // "Сглаж:" 0..3 of kinds 12-14
    bool bars = true;   // business graphs as bars ("столбики"), otherwise lines
    int effect3D = 0;   // "3D-эффект"
};

class GraphHost {
  public:
    virtual ~GraphHost() = default;
    // `TSMForm.GraSt`: draws what the workspace holds as the request's kind
    // with series 0..lastSeries.
    virtual void GraSt(int request, int lastSeries) = 0;
    // A graph of any kind (0..18) with series 0..lastSeries, the way the graph
    // menu sets a window up. Hosts that only hear the methods' requests
    // ignore it.
    virtual void ShowKind(int /*kind*/, int /*lastSeries*/, const KindSetup& /*setup*/) {}
    // `TSMForm.pqsegr`: the graph prompt; without `offerDiscard` only
    // "Оставить" shows.
    virtual void pqsegr(bool offerDiscard) = 0;
};

// Graph requests through the workspace; nothing happens when no one shows
// graphs.
void GraSt(Workspace& ws, int request, int lastSeries);
void pqsegr(Workspace& ws, bool offerDiscard = true);
// A graph of `kind` from what the workspace holds (DataMatrix rows, VarLength,
// the series tables, the title in TextBuffer).
void ShowGraphKind(Workspace& ws, int kind, int lastSeries, const KindSetup& setup = {});

}  // namespace dalvex
