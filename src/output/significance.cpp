#include "output/significance.h"

#include "core/number.h"
#include "output/text_resource.h"

namespace dalvex {

namespace {

std::string Entry(const Workspace& ws, int group, int n) {
    return ws.resources ? ws.resources->Entry(group, n) : std::string();
}

}  // namespace

double WriteSignificance(Workspace& ws, double p, double df2, double df1) {
    const int digits = ws.digits();
    const char separator = ws.decimalSeparator();
    std::string line =
        ws.TextBuffer() + ", Значимость=" + FormatNumber(p, digits, separator) + ", степ.своб = ";
    if (df1 > 1)
        line += FormatNumber(df1, digits, separator) + ",";
    line += FormatNumber(df2, digits, separator);
    WriteResult(ws, line);
    WriteVerdict(ws, p);
    return p;
}

void WriteVerdict(Workspace& ws, double p) {
    const int index = p >= ws.settings.SignificanceLevel ? ws.VerdictIndex : ws.VerdictIndex + 1;
    WriteResourceLine(ws, ws.VerdictGroup, index);
}

void WriteResourceLine(Workspace& ws, int group, int n) {
    WriteResult(ws, "   " + Entry(ws, group, n));
}

void ReadTextResource(Workspace& ws, int group, int n) {
    ws.SetTextBuffer(Entry(ws, group, n));
}

}  // namespace dalvex
