#include "graphics/graph_captions.h"

#include <algorithm>
#include <filesystem>

#include "core/form_dialog.h"
#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/workspace.h"
#include "formula/formula_files.h"

namespace dalvex {

namespace {

constexpr int CaptionLines = 6;

CaptionSet FromAnswer(const std::vector<std::string>& values) {
    std::vector<std::string> lines = values;
    lines.resize(CaptionLines);
    return CaptionSet::FromLines(lines);
}

std::string WithSbs(std::string path) {
    if (std::filesystem::path(path).extension().empty())
        path += ".sbs";
    return path;
}

}  // namespace

FormDialog CaptionsForm(const Workspace& ws, const CaptionSet& set) {
    std::vector<std::string> objects{"Нет", "Объекты"};
    for (int column = 1; column <= ws.sheet.VariableCount(); ++column)
        objects.push_back(VariableName(ws, column - 1));
    const GraphCaptions& c = set.captions;
    FormDialog form;
    form.caption = CaptionsCaption;
    form.Group("Надписи по осям:")
        .Field("X", c.x)
        .Field("Y", c.y)
        .Field("Z", c.z)
        .Group("Подрисуночная надпись:")
        .Field("", c.bottom)
        .Group("")
        .Choice("Объекты:", objects, std::clamp(set.names, 0, static_cast<int>(objects.size()) - 1))
        .Check("Легенды", set.legend, "Легенды справа от рисунка")
        .Button("Утвердить", CaptionsConfirm)
        .Button("Очистить", CaptionsClear, "Очистить все поля")
        .Button("Чтение ранее заготовленных надписей из архива", CaptionsReadArchive)
        .Button("Запись выполненных надписей в архив", CaptionsWriteArchive)
        .Button("Отменить", CaptionsCancel);
    return form;
}

std::vector<std::string> CaptionSet::Lines() const {
    return {captions.x,        captions.y, captions.z, captions.bottom, std::to_string(names),
            legend ? "1" : "0"};
}

CaptionSet CaptionSet::FromLines(const std::vector<std::string>& lines) {
    auto line = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
    CaptionSet set;
    set.captions = {line(0), line(1), line(2), line(3)};
    const ParsedNumber names = ParseNumber(line(4));
    set.names =
        names.ok() && names.value >= 0 && names.value <= 1e6 ? static_cast<int>(names.value) : 0;
    set.legend = line(5) == "1";
    return set;
}

std::optional<CaptionSet> Tq35(Workspace& ws, const CaptionSet& current) {
    // The dialog's own help page while it is shown.
    struct HelpKept {
        Workspace& ws;
        int before;
        ~HelpKept() { ws.RunHelpContext = before; }
    } kept{ws, ws.RunHelpContext};
    ws.RunHelpContext = CaptionsHelpContext;
    CaptionSet shown = current;
    std::vector<std::string> lines;
    if (ReadFixedLines(ws.ProgramFolder + CaptionsMemory, CaptionLines, lines))
        shown = CaptionSet::FromLines(lines);
    else
        ws.ui.Beep();
    for (;;) {
        const FormAnswer answer = ShowForm(ws, CaptionsForm(ws, shown));
        switch (answer.button) {
            case CaptionsConfirm: {
                const CaptionSet chosen = FromAnswer(answer.values);
                if (!WriteFixedLines(ws.ProgramFolder + CaptionsMemory, chosen.Lines()))
                    ws.ui.Beep();
                return chosen;
            }
            case CaptionsClear:
                shown = {};
                break;
            case CaptionsReadArchive: {
                shown = FromAnswer(answer.values);
                const FileChoice choice = ws.ui.ChooseFile({0, CaptionsArchiveFilter, {}, {}, 0});
                if (!choice.chosen || choice.path.empty())
                    break;
                std::string error;
                if (ReadFixedLines(choice.path, CaptionLines, lines, &error))
                    shown = CaptionSet::FromLines(lines);
                else
                    ShowNotice(ws, FileNotReadText(choice.path, error));
                break;
            }
            case CaptionsWriteArchive: {
                shown = FromAnswer(answer.values);
                const FileChoice choice = ws.ui.ChooseFile({1, CaptionsArchiveFilter, {}, {}, 0});
                if (!choice.chosen || choice.path.empty())
                    break;
                const std::string path = WithSbs(choice.path);
                std::string error;
                if (!WriteFixedLines(path, shown.Lines(), &error))
                    ShowNotice(ws, FileNotWrittenText(path, error));
                break;
            }
            default:
                return std::nullopt;
        }
    }
}

}  // namespace dalvex
