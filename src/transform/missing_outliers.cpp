#include "transform/missing_outliers.h"

#include <algorithm>
#include <cmath>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "transform/sheet_transforms.h"

namespace dalvex {

namespace {

struct Line {
    bool defined = false;
    double a = 0.0;
    double b = 0.0;
    double r = 0.0;
};

// The least-squares line of y on x over the rows where both are numbers,
// from deviations about the means.
Line FitLine(const Workspace& ws, int y, int x) {
    const int rows = std::min(ws.sheet.ColumnLength(y), ws.sheet.ColumnLength(x));
    std::vector<double> xs;
    std::vector<double> ys;
    for (int o = 0; o < rows; ++o) {
        const double xv = SheetValue(ws, x, o);
        const double yv = SheetValue(ws, y, o);
        if (xv != MissingValue && yv != MissingValue) {
            xs.push_back(xv);
            ys.push_back(yv);
        }
    }
    Line line;
    const double n = static_cast<double>(xs.size());
    if (xs.size() < 2)
        return line;
    double mx = 0.0;
    double my = 0.0;
    for (std::size_t k = 0; k < xs.size(); ++k) {
        mx += xs[k];
        my += ys[k];
    }
    mx /= n;
    my /= n;
    double sxx = 0.0;
    double syy = 0.0;
    double sxy = 0.0;
    for (std::size_t k = 0; k < xs.size(); ++k) {
        sxx += (xs[k] - mx) * (xs[k] - mx);
        syy += (ys[k] - my) * (ys[k] - my);
        sxy += (xs[k] - mx) * (ys[k] - my);
    }
    if (!(sxx > 0.0) || !(syy > 0.0))
        return line;
    line.defined = true;
    line.b = sxy / sxx;
    line.a = my - line.b * mx;
    line.r = sxy / std::sqrt(sxx * syy);
    return line;
}

std::string RowLabel(const Workspace& ws, int obs) {
    return PadLeft(CharCut(Trim(ws.sheet.Cell(0, obs + 1)), 6), 6);
}

}  // namespace

MissingSearch FindMissingAndOutliers(const Workspace& ws, double threshold, LookFor what) {
    MissingSearch search;
    const int V = ws.sheet.VariableCount();
    const bool missing = what != LookFor::Outliers;
    const bool outliers = what != LookFor::Missing;
    for (int v = 1; v <= V; ++v) {
        const int length = ws.sheet.ColumnLength(v);
        std::vector<double> values(static_cast<std::size_t>(length));
        double sum = 0.0;
        int count = 0;
        for (int o = 0; o < length; ++o) {
            values[static_cast<std::size_t>(o)] = SheetValue(ws, v, o);
            if (values[static_cast<std::size_t>(o)] != MissingValue) {
                sum += values[static_cast<std::size_t>(o)];
                ++count;
            }
        }
        const double mean = count > 0 ? sum / count : 0.0;
        double squares = 0.0;
        for (double x : values)
            if (x != MissingValue)
                squares += (x - mean) * (x - mean);
        const double sd = count > 1 ? std::sqrt(squares / (count - 1)) : 0.0;
        search.means.push_back(mean);
        for (int o = 0; o < length; ++o) {
            const double x = values[static_cast<std::size_t>(o)];
            if (x == MissingValue) {
                if (missing) {
                    search.findings.push_back({v, o, true, 0.0});
                    ++search.missingCount;
                }
                continue;
            }
            if (!outliers || !(sd > 0.0))
                continue;
            const double z = (x - mean) / sd;
            if (std::fabs(z) > threshold) {
                const double rounded =
                    (z < 0 ? -1.0 : 1.0) * std::floor(std::fabs(z) * 10 + 0.5) / 10;
                search.findings.push_back({v, o, false, rounded});
                ++search.outlierCount;
            }
        }
    }
    return search;
}

void WriteMissingReport(Workspace& ws, const MissingSearch& search) {
    if (search.findings.empty())
        return;
    const int digits = ws.digits();
    const char sep = ws.decimalSeparator();
    WriteResult(ws, "Пропущно=" + FormatNumber(search.missingCount, digits, sep) +
                        ",   Выбросов=" + FormatNumber(search.outlierCount, digits, sep));
    WriteResult(ws, "");
    std::vector<int> marked;
    for (const MissingFinding& f : search.findings)
        if (std::find(marked.begin(), marked.end(), f.column) == marked.end())
            marked.push_back(f.column);
    std::sort(marked.begin(), marked.end());
    std::string header = "     i ";
    for (int v : marked)
        header += PaddedVariableName(ws, v - 1);
    WriteResult(ws, header);
    int rows = 0;
    for (const MissingFinding& f : search.findings)
        rows = std::max(rows, f.obs + 1);
    // Findings by observation, then variable.
    std::vector<std::vector<const MissingFinding*>> byRow(static_cast<std::size_t>(rows));
    for (const MissingFinding& f : search.findings)
        byRow[static_cast<std::size_t>(f.obs)].push_back(&f);
    for (int o = 0; o < rows; ++o) {
        const auto& found = byRow[static_cast<std::size_t>(o)];
        if (found.empty())
            continue;
        std::string line = RowLabel(ws, o) + "|";
        int lastColumn = 0;
        for (const MissingFinding* f : found)
            lastColumn = std::max(lastColumn, f->column);
        for (int v : marked) {
            if (v > lastColumn)
                break;
            const auto here = std::find_if(found.begin(), found.end(),
                                           [v](const MissingFinding* f) { return f->column == v; });
            if (here == found.end())
                line += std::string(9, ' ');
            else if ((*here)->missing)
                line += PadLeft("-?-", 9);
            else
                line += FormatPadded((*here)->z, digits, sep);
        }
        WriteResult(ws, line);
    }
}

void ReplaceFindings(Workspace& ws, const MissingSearch& search, ReplaceBy by) {
    if (search.findings.empty())
        return;
    const int V = ws.sheet.VariableCount();
    if (by == ReplaceBy::Means) {
        for (const MissingFinding& f : search.findings)
            if (!PutSheetValue(ws, f.column, f.obs,
                               search.means[static_cast<std::size_t>(f.column - 1)]))
                return;
        return;
    }
    if (by == ReplaceBy::Regression) {
        // Each variable's partner: the other variable it correlates with most
        // strongly (the first on ties), fitted before any cell changes.
        std::vector<int> partner(static_cast<std::size_t>(V + 1), 0);
        std::vector<Line> lines(static_cast<std::size_t>(V + 1));
        for (int v = 1; v <= V; ++v) {
            double best = -1.0;
            for (int j = 1; j <= V; ++j) {
                if (j == v)
                    continue;
                const Line line = FitLine(ws, v, j);
                if (line.defined && std::fabs(line.r) > best) {
                    best = std::fabs(line.r);
                    partner[static_cast<std::size_t>(v)] = j;
                    lines[static_cast<std::size_t>(v)] = line;
                }
            }
        }
        std::vector<double> replacement;
        for (const MissingFinding& f : search.findings) {
            const int j = partner[static_cast<std::size_t>(f.column)];
            const double x = j > 0 ? SheetValue(ws, j, f.obs) : MissingValue;
            const Line& line = lines[static_cast<std::size_t>(f.column)];
            replacement.push_back(x != MissingValue
                                      ? line.a + line.b * x
                                      : search.means[static_cast<std::size_t>(f.column - 1)]);
        }
        for (std::size_t k = 0; k < search.findings.size(); ++k)
            if (!PutSheetValue(ws, search.findings[k].column, search.findings[k].obs,
                               replacement[k]))
                return;
        return;
    }
    // Deletion.
    bool equalLengths = true;
    for (int v = 2; v <= V; ++v)
        equalLengths = equalLengths && ws.sheet.ColumnLength(v) == ws.sheet.ColumnLength(1);
    const bool wholeRows = equalLengths && AskYesNo(ws, DeleteWholeRowsQuestion);
    if (wholeRows) {
        std::vector<bool> keep(static_cast<std::size_t>(ws.sheet.ColumnLength(1)), true);
        for (const MissingFinding& f : search.findings)
            keep[static_cast<std::size_t>(f.obs)] = false;
        for (int v = 1; v <= V; ++v) {
            const int length = ws.sheet.ColumnLength(v);
            int p = 0;
            for (int o = 0; o < length; ++o)
                if (keep[static_cast<std::size_t>(o)])
                    ws.sheet.SetCell(v, ++p, ws.sheet.Cell(v, o + 1));
            CutColumn(ws, v, p);
        }
        return;
    }
    for (int v = 1; v <= V; ++v) {
        const int length = ws.sheet.ColumnLength(v);
        std::vector<bool> keep(static_cast<std::size_t>(length), true);
        for (const MissingFinding& f : search.findings)
            if (f.column == v)
                keep[static_cast<std::size_t>(f.obs)] = false;
        int p = 0;
        for (int o = 0; o < length; ++o)
            if (keep[static_cast<std::size_t>(o)])
                ws.sheet.SetCell(v, ++p, ws.sheet.Cell(v, o + 1));
        CutColumn(ws, v, p);
    }
}

}  // namespace dalvex
