#include "core/graph_handover.h"

#include "core/arithmetic_fault.h"
#include "core/workspace.h"

namespace dalvex {

void GraphHandOver::Describe(int series, int xRow, int yRow, int marker, int style) {
    if (series < 0 || series >= MaxGraphSeries)
        return;
    // The table keeps bytes: 254 and -2 are the same entry.
    auto byte = [](int v) { return static_cast<std::int8_t>(static_cast<std::uint8_t>(v & 0xFF)); };
    SeriesDescriptions[series] = {byte(xRow), byte(yRow), byte(marker), byte(style)};
}

void GraSt(Workspace& ws, int request, int lastSeries) {
    if (ws.watchArithmetic)
        CheckFloatingFlags();
    if (ws.graphs) {
        // Drawing is the window's arithmetic, not the method's.
        const FloatingFlagsKept kept;
        ws.graphs->GraSt(request, lastSeries);
    }
}

void ShowGraphKind(Workspace& ws, int kind, int lastSeries, const KindSetup& setup) {
    if (ws.watchArithmetic)
        CheckFloatingFlags();
    if (ws.graphs) {
        const FloatingFlagsKept kept;
        ws.graphs->ShowKind(kind, lastSeries, setup);
    }
}

void pqsegr(Workspace& ws, bool offerDiscard) {
    if (ws.graphs) {
        const FloatingFlagsKept kept;
        ws.graphs->pqsegr(offerDiscard);
    }
}

}  // namespace dalvex
