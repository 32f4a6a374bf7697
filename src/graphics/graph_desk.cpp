#include "graphics/graph_desk.h"

#include "core/workspace.h"

namespace dalvex {

void GraphDesk::GraSt(int request, int lastSeries) {
    const int kind = KindOfRequest(request);
    if (kind < 0)
        return;
    SetupOptions options;
    if (request == RequestBars)
        options = {true, 1};
    options.pointNames = ws_.graphTables.PointNames;
    ws_.graphTables.PointNames = -1;
    Show(TakeGraphData(ws_, kind, lastSeries), options);
}

void GraphDesk::ShowKind(int kind, int lastSeries, const KindSetup& setup) {
    if (kind < KindDescribed || kind > KindColourMap)
        return;
    SetupOptions options;
    options.bars = setup.bars;
    options.effect3D = setup.effect3D;
    options.pointNames = ws_.graphTables.PointNames;
    ws_.graphTables.PointNames = -1;
    GraphData data = TakeGraphData(ws_, kind, lastSeries);
    data.smoothing = setup.smoothing;
    Show(std::move(data), options);
}

int GraphDesk::Show(GraphData data, const SetupOptions& options) {
    const GraphWindows::Opening opening = form_.graphs().Open();
    std::unique_ptr<TGra>& slot = windows_[opening.number];
    const bool created = slot == nullptr;
    if (created)
        slot = std::make_unique<TGra>(ws_);
    slot->FormIni(std::move(data), options);
    if (shown)
        shown(opening.number, created);
    return opening.number;
}

void GraphDesk::pqsegr(bool offerDiscard) {
    if (!ws_.ui.GraphPrompt(offerDiscard))
        form_.DiscardCurrentGraph();
}

TGra* GraphDesk::window(int number) {
    const auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : it->second.get();
}

void GraphDesk::Close(int number) {
    windows_.erase(number);
}

}  // namespace dalvex
