#include "graphics/graph_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "core/data_store.h"
#include "graphics/graph_kinds.h"

namespace dalvex {

namespace {

struct SeriesRows {
    std::string name;
    std::vector<int> rows;  // as the kind reads them: X, Y, further
};

std::string Number(double value) {
    if (!std::isfinite(value) || value == MissingValue)
        return {};
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string();
}

// The names of a kind's rows within one series.
std::vector<std::string> RowNames(int kind, int rowsPerSeries) {
    switch (rowsPerSeries) {
        case 1:
            return {"value"};
        case 2:
            return {"X", "Y"};
        default:
            if (kind == KindDeviations)
                return {"X", "Y", "deviation"};
            return {"X", "Y", "Z"};
    }
}

std::vector<SeriesRows> Series(const GraphData& data, int& rowsPerSeries) {
    const GraphKindRow& kind = KindRow(data.kind);
    std::vector<SeriesRows> series;
    switch (kind.rows) {
        case RowsRead::Described:
            rowsPerSeries = 2;
            for (int p = 0; p < static_cast<int>(data.descriptions.size()); ++p) {
                const SeriesDescription& d = data.descriptions[p];
                series.push_back({data.SeriesName(p, d.yRow), {d.xRow, d.yRow}});
            }
            break;
        case RowsRead::PerSeries:
            rowsPerSeries = kind.rowsPerSeries;
            for (int p = 0; p < data.seriesCount; ++p) {
                SeriesRows s;
                for (int i = 0; i < rowsPerSeries; ++i)
                    s.rows.push_back(rowsPerSeries * p + i);
                s.name = data.SeriesName(p, s.rows[std::min(1, rowsPerSeries - 1)]);
                series.push_back(std::move(s));
            }
            break;
        case RowsRead::Fixed: {
            rowsPerSeries = kind.rowsPerSeries;
            SeriesRows s;
            for (int i = 0; i < rowsPerSeries; ++i)
                s.rows.push_back(i);
            s.name = data.SeriesName(0, std::min(1, rowsPerSeries - 1));
            series.push_back(std::move(s));
            break;
        }
    }
    return series;
}

}  // namespace

std::string CsvField(std::string_view text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted)
        return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
    return out;
}

std::string GraphNumbersCsv(const GraphData& data) {
    int rowsPerSeries = 1;
    const std::vector<SeriesRows> series = Series(data, rowsPerSeries);
    std::string out = "series,point";
    for (const std::string& name : RowNames(data.kind, rowsPerSeries))
        out += "," + name;
    out += "\r\n";
    for (const SeriesRows& s : series) {
        std::size_t points = 0;
        for (int r : s.rows)
            points = std::max(points, data.Row(r).size());
        const std::string name = CsvField(s.name);
        for (std::size_t i = 0; i < points; ++i) {
            out += name + "," + std::to_string(i + 1);
            for (int r : s.rows) {
                const std::vector<double>& row = data.Row(r);
                out += ",";
                if (i < row.size())
                    out += Number(row[i]);
            }
            out += "\r\n";
        }
    }
    return out;
}

}  // namespace dalvex
