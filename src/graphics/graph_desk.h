// The graph windows' models behind `TSMForm.GraSt` and `TSMForm.pqsegr`:
// a request takes its own copy of the data, opens or reuses a window by the
// main window's numbering (1..15, then round again) and draws the kind of the
// request. Whoever shows the windows hears of each request.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "core/graph_handover.h"
#include "core/main_window_model.h"
#include "graphics/tgra.h"

namespace dalvex {

class GraphDesk : public GraphHost {
  public:
    GraphDesk(Workspace& ws, TSMForm& form) : ws_(ws), form_(form) {}

    void GraSt(int request, int lastSeries) override;
    void ShowKind(int kind, int lastSeries, const KindSetup& setup) override;
    // The prompt; "Отменить" puts the current window on the graphs-to-close list.
    void pqsegr(bool offerDiscard) override;

    // Sets a window up for a kind (the graph menu's way in); returns its number.
    int Show(GraphData data, const SetupOptions& options = {});

    TGra* window(int number);
    // The window is gone (closed by the person, or discarded after a method).
    void Close(int number);
    int count() const { return static_cast<int>(windows_.size()); }

    // After a request drew into window `number`; `created` when it is new.
    std::function<void(int number, bool created)> shown;

  private:
    Workspace& ws_;
    TSMForm& form_;
    std::map<int, std::unique_ptr<TGra>> windows_;
};

}  // namespace dalvex
