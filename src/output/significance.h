// How test reports end their lines: the significance tail and the verdict
// line, with texts from the text resources.
#pragma once

#include "core/workspace.h"

namespace dalvex {

// Appends TextBuffer + ", Значимость=" + p + ", степ.своб = " + [df1 + ","] + df2
// (df1 only when above 1), then the verdict line; returns p.
double WriteSignificance(Workspace& ws, double p, double df2, double df1);

// "   " + the verdict text: entry VerdictIndex of VerdictGroup when p is not
// below the significance level, the next entry otherwise.
void WriteVerdict(Workspace& ws, double p);

// "   " + entry n of a text resource group.
void WriteResourceLine(Workspace& ws, int group, int n);

// TextBuffer = entry n of a text resource group (empty when there is none).
void ReadTextResource(Workspace& ws, int group, int n);

}  // namespace dalvex
