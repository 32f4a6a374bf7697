// A workspace with an allocated store, rows put into DataMatrix the way a
// method hands them over, and a graph window laid out on the recording
// canvas's fixed metrics (characters 7 pixels wide, lines 14 high).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/workspace.h"
#include "graphics/graph_data.h"
#include "graphics/recording_canvas.h"
#include "graphics/tgra.h"
#include "support/temp_folder.h"

namespace dalvex {

class GraphTest : public ::testing::Test {
  protected:
    GraphTest() : ws(dialogs) {
        ws.store.Allocate();
        ws.store.SetRowWidth(0, 1000);
        // The dialogs' memory files go to a folder of the test's own.
        ws.ProgramFolder = folder.WithSlash();
    }

    void Row(int r, const std::vector<double>& values) {
        for (std::size_t i = 0; i < values.size(); ++i)
            ws.store.Data(r, static_cast<int>(i)) = values[i];
        ws.VarLength[r + 1] = static_cast<int>(values.size()) - 1;
        ws.VarLength[0] = std::max(ws.VarLength[0], r);
    }

    // A window of the kind with series 0..lastSeries from the workspace,
    // 640 x 480 pixels.
    TGra& Graph(int kind, int lastSeries, SetupOptions options = {}) {
        graph.FormIni(TakeGraphData(ws, kind, lastSeries), options);
        graph.SetTextMetrics(7, 14);
        graph.Resize(640, 480);
        return graph;
    }

    RecordingCanvas& Draw() {
        canvas.Clear();
        graph.DG(canvas);
        return canvas;
    }

    std::vector<DrawOp> Ops(DrawOp::Kind kind) const { return canvas.OpsOfKind(kind); }

    TempFolder folder{"graphics"};
    ScriptedDialogs dialogs;
    Workspace ws;
    TGra graph{ws};
    RecordingCanvas canvas{640, 480, 7, 14};
};

}  // namespace dalvex
