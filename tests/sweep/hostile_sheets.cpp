#include "sweep/hostile_sheets.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "sheet/native_data_file.h"

namespace dalvex {

namespace {

std::string Number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::vector<std::string> Numbers(std::initializer_list<double> values) {
    std::vector<std::string> texts;
    for (double v : values)
        texts.push_back(Number(v));
    return texts;
}

// Values of a normal law, rounded as a person would type them.
std::vector<std::string> Normal(std::mt19937_64& rng, int count, double mean, double sd) {
    std::normal_distribution<double> law(mean, sd);
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", law(rng));
        texts.push_back(text);
    }
    return texts;
}

std::vector<HostileSheet> Build() {
    std::mt19937_64 rng(20261210);
    std::vector<HostileSheet> sheets;
    auto add = [&](std::string name, std::vector<std::string> names,
                   std::vector<std::vector<std::string>> columns, bool anyFault = false,
                   bool overflow = false) {
        sheets.push_back(
            {std::move(name), std::move(names), std::move(columns), anyFault, overflow});
    };
    add("empty", {}, {});
    add("one", {"a", "b"}, {{"5"}, {"-2.5"}});
    add("two", {"a", "b", "c"}, {{"1", "2"}, {"3", "3"}, {"-1", "1e-9"}});
    add("missing", {"a", "b", "c"}, {{"", "", "", ""}, {"", ""}, {"?", "", "x"}});
    add("constant", {"a", "b", "c", "d"},
        {std::vector<std::string>(20, "3"), std::vector<std::string>(20, "0"),
         std::vector<std::string>(7, "-2.5"), std::vector<std::string>(12, "10000000.001")});
    add("texts", {"a", "b"},
        {{"один", "два", "три", "четыре", "пять"}, {"x", "y", "z", "w", "v", "u"}});
    add("mixed", {"a", "b", "c"},
        {{"1", "x", "2.5", "", "nan", "inf", "-inf", "1e999", "3", "1,5", "4", "7"},
         {"NaN", "INF", "1.#INF", "-1.#IND", "2", "3", "4", "5"},
         {"1", "2", "", "3", "4", "", "5", "6", "abc", "7"}});
    add("huge", {"a", "b", "c"},
        {Numbers({1e300, -1e300, 1.5e300, 9e299, -2e300, 1.7e308, 3e300, 1e300}),
         Numbers({1e300, 1e300, 1e300, 1e300, 1e300, 1e300}),
         Numbers({1e-300, 1e300, -1e-300, -1e300, 0, 1, 2, 3})},
        true);
    add("tiny", {"a", "b", "c"},
        {Numbers({1e-300, -1e-300, 2e-300, 5e-324, 3e-300, 1e-310, 4e-300}),
         Numbers({1e-300, 2e-300, 3e-300, 4e-300, 5e-300, 6e-300, 7e-300, 8e-300}),
         Numbers({-1e-300, -1e-300, 1e-300, 1e-300, 2e-300, 2e-300})},
        false, true);
    {
        std::vector<std::string> a, b, c;
        for (int i = 0; i < 30; ++i) {
            a.push_back(Number(1e7 + 0.001 * (i % 7)));
            b.push_back(Number(1e7 + 0.001 * (i % 3)));
            c.push_back(Number(-1e7 - 0.001 * (i % 5)));
        }
        add("offset", {"a", "b", "c"}, {a, b, c});
    }
    {
        std::vector<std::string> a, b;
        for (int i = 0; i < 24; ++i) {
            a.push_back(std::to_string(i % 3));
            b.push_back(std::to_string(i % 2));
        }
        add("ties", {"a", "b", "copy", "ones"}, {a, b, a, std::vector<std::string>(24, "1")});
    }
    {
        std::vector<std::string> names;
        std::vector<std::vector<std::string>> columns;
        for (int k = 0; k < 500; ++k) {
            names.push_back("v" + std::to_string(k + 1));
            columns.push_back(Normal(rng, 130, 10.0 * (k % 5), 1.0 + k % 3));
        }
        add("wide", names, columns);
    }
    add("long", {"x"}, {Normal(rng, 16000, 50.0, 12.0)});
    add("ragged", {"a", "b", "c", "d", "e"},
        {Normal(rng, 10, 1, 1), {"4", "5", "6"}, {"7"}, {}, {"1", "", "3", "", "5", "", "7"}});
    add("signs", {"mixed", "zero", "neg", "pos"},
        {Numbers({-3, -1, 0, 0, 1, 2, 5, 8, -0.5, 0.25}), std::vector<std::string>(10, "0"),
         Numbers({-1, -2, -3, -4, -5, -6, -0.1, -9}), Numbers({0.5, 1, 2, 3, 5, 8, 13, 21})});
    return sheets;
}

}  // namespace

const std::vector<HostileSheet>& HostileSheets() {
    static const std::vector<HostileSheet> sheets = Build();
    return sheets;
}

std::string NativeFileOf(const HostileSheet& sheet) {
    ScriptedDialogs none;
    Workspace ws(none);
    for (std::size_t k = 0; k < sheet.columns.size(); ++k) {
        const int col = static_cast<int>(k) + 1;
        ws.sheet.SetCell(col, 0, sheet.names[k]);
        const std::vector<std::string>& cells = sheet.columns[k];
        for (std::size_t i = 0; i < cells.size(); ++i)
            ws.sheet.SetCell(col, static_cast<int>(i) + 1, cells[i]);
        ws.sheet.SetColumnLength(col, static_cast<int>(cells.size()));
    }
    ws.sheet.SetVariableCount(static_cast<int>(sheet.columns.size()));
    return WriteNativeData(ws, sheet.name);
}

std::string SheetPreview(const HostileSheet& sheet, int rows) {
    std::string text;
    const std::size_t shown = std::min<std::size_t>(sheet.names.size(), 12);
    for (std::size_t k = 0; k < shown; ++k)
        text += (k ? "\t" : "") + sheet.names[k];
    if (shown < sheet.names.size())
        text += "\t… (" + std::to_string(sheet.names.size()) + " переменных)";
    text += "\n";
    std::size_t longest = 0;
    for (const auto& column : sheet.columns)
        longest = std::max(longest, column.size());
    for (std::size_t i = 0; i < std::min<std::size_t>(longest, rows); ++i) {
        for (std::size_t k = 0; k < shown; ++k) {
            const auto& column = sheet.columns[k];
            text += (k ? "\t" : "") + (i < column.size() ? column[i] : std::string("·"));
        }
        text += "\n";
    }
    if (longest > static_cast<std::size_t>(rows))
        text += "… (" + std::to_string(longest) + " строк)\n";
    return text;
}

}  // namespace dalvex
