#include "formula/surface_dialog.h"

#include <cmath>
#include <filesystem>

#include "core/number.h"
#include "core/text.h"

namespace dalvex {

namespace {

std::string WithSsf(const std::string& path) {
    if (std::filesystem::path(path).extension().empty())
        return path + ".ssf";
    return path;
}

}  // namespace

int SurfaceGridSize(int steps) {
    if (3.0 * steps * steps > CellCapacity)
        return MaxSurfaceGrid;
    return steps;
}

const std::array<const char*, 5>& Tqq14::FieldLabels() {
    static const std::array<const char*, 5> labels = {"Xmin", "Xmax", "Ymin", "Ymax", "nX"};
    return labels;
}

Tqq14::Tqq14(Workspace& ws) : ws_(ws), pad_(CommonPad({"()"})) {
    SetLines(DefaultSurfaceLines());
    fields_[4] = "10";
}

void Tqq14::Open() {
    std::vector<std::string> lines;
    if (ReadFixedLines(ws_.ProgramFolder + SurfaceFileName, SurfaceLines, lines))
        SetLines(lines);
    else
        ws_.ui.Beep();
    functions_ = FunctionListFor(ws_);
}

std::vector<std::string> Tqq14::Lines() const {
    std::vector<std::string> lines{formula_.text};
    lines.insert(lines.end(), fields_.begin(), fields_.end());
    return lines;
}

void Tqq14::SetLines(const std::vector<std::string>& lines) {
    formula_.SetText(lines.empty() ? std::string() : lines[0]);
    for (std::size_t k = 0; k < fields_.size(); ++k)
        fields_[k] = k + 1 < lines.size() ? Trim(lines[k + 1]) : std::string();
}

void Tqq14::SetField(int index, std::string text) {
    if (index >= 0 && index < static_cast<int>(fields_.size()))
        fields_[static_cast<std::size_t>(index)] = std::move(text);
}

void Tqq14::PressPad(int index) {
    if (index < 0 || index >= static_cast<int>(pad_.size()))
        return;
    const PadKey& key = pad_[static_cast<std::size_t>(index)];
    if (key.label == DeleteKey)
        formula_.DeleteBefore();
    else
        formula_.Insert(key.text);
}

void Tqq14::InsertVariable(int index) {
    if (index >= 0 && index < static_cast<int>(variables_.size()))
        formula_.Insert(variables_[static_cast<std::size_t>(index)]);
}

void Tqq14::InsertFunction(int index) {
    if (index >= 0 && index < static_cast<int>(functions_.size()))
        formula_.Insert(functions_[static_cast<std::size_t>(index)]);
}

std::string Tqq14::Check(SurfaceRequest& request) {
    request.formula = formula_.text;
    if (Trim(request.formula).empty())
        return "!ВВЕДИТЕ ФОРМУЛУ ПОВЕРХНОСТИ!";
    double bounds[4];
    for (int k = 0; k < 4; ++k) {
        const ParsedNumber parsed = ParseNumber(Trim(fields_[static_cast<std::size_t>(k)]));
        if (!parsed.ok() || !std::isfinite(parsed.value))
            return std::string("!") + FieldLabels()[static_cast<std::size_t>(k)] +
                   " ДОЛЖНО БЫТЬ ЧИСЛОМ!";
        bounds[k] = parsed.value;
    }
    if (bounds[0] == bounds[1])
        return "!Xmin И Xmax НЕ ДОЛЖНЫ СОВПАДАТЬ!";
    if (bounds[2] == bounds[3])
        return "!Ymin И Ymax НЕ ДОЛЖНЫ СОВПАДАТЬ!";
    const ParsedNumber steps = ParseNumber(Trim(fields_[4]));
    if (!steps.ok() || !(steps.value >= 2.0) || steps.value > 1e9 ||
        steps.value != std::trunc(steps.value))
        return "!nX ДОЛЖНО БЫТЬ ЦЕЛЫМ ЧИСЛОМ НЕ МЕНЬШЕ 2!";
    request.x0 = bounds[0];
    request.x1 = bounds[1];
    request.y0 = bounds[2];
    request.y1 = bounds[3];
    request.gridSize = SurfaceGridSize(static_cast<int>(steps.value));
    return {};
}

void Tqq14::Confirm() {
    SurfaceRequest request;
    lastRefusal_ = Check(request);
    if (!lastRefusal_.empty()) {
        ShowNotice(ws_, lastRefusal_);
        return;
    }
    // A formula that does not compile is shown now, while it can be mended;
    // the compilation must not cost the caller its chosen variables.
    const auto chosen = ws_.SelectedColumns;
    ActiveFormula check;
    const int refused = CompileFormula(ws_, check, request.formula, FormulaContext::XY);
    ws_.SelectedColumns = chosen;
    if (refused != 0) {
        lastRefusal_ = "формула не принята";
        return;
    }
    std::string error;
    const std::string path = ws_.ProgramFolder + SurfaceFileName;
    if (!WriteFixedLines(path, Lines(), &error))
        ShowNotice(ws_, FileNotWrittenText(path, error));
    request_ = request;
    ws_.SetTextBuffer(request.formula);
    if (ws_.store.allocated()) {
        ws_.store.Vec1(0) = request.x0;
        ws_.store.Vec1(1) = request.x1;
        ws_.store.Vec1(2) = request.y0;
        ws_.store.Vec1(3) = request.y1;
    }
    ws_.AnswerNumber = request.gridSize;
    ws_.LastAnswer = 1;
    closed_ = true;
}

void Tqq14::Cancel() {
    ws_.LastAnswer = 0;
    closed_ = true;
}

void Tqq14::ReadArchive() {
    FileRequest fileRequest;
    fileRequest.mode = 0;
    fileRequest.filter = SurfaceArchiveFilter;
    const FileChoice choice = ws_.ui.ChooseFile(fileRequest);
    if (!choice.chosen || choice.path.empty())
        return;
    std::vector<std::string> lines;
    std::string error;
    if (!ReadFixedLines(choice.path, SurfaceLines, lines, &error)) {
        ShowNotice(ws_, FileNotReadText(choice.path, error));
        return;
    }
    SetLines(lines);
    ws_.SurfaceArchive = choice.path;
}

void Tqq14::WriteArchive() {
    FileRequest fileRequest;
    fileRequest.mode = 1;
    fileRequest.filter = SurfaceArchiveFilter;
    fileRequest.defaultName = std::filesystem::path(ws_.SurfaceArchive).filename().string();
    const FileChoice choice = ws_.ui.ChooseFile(fileRequest);
    if (!choice.chosen || choice.path.empty())
        return;
    const std::string path = WithSsf(choice.path);
    std::string error;
    if (!WriteFixedLines(path, Lines(), &error)) {
        ShowNotice(ws_, FileNotWrittenText(path, error));
        return;
    }
    ws_.SurfaceArchive = path;
}

std::string Tqq14::Answer(int choice, const std::vector<std::string>& texts) {
    if (choice != 1)
        return "поверхность утверждают кнопкой 1";
    if (texts.size() > fields_.size() + 1)
        return "полей у диалога шесть: формула, Xmin, Xmax, Ymin, Ymax, nX";
    if (!texts.empty())
        formula_.SetText(texts[0]);
    for (std::size_t k = 1; k < texts.size(); ++k)
        fields_[k - 1] = texts[k];
    Confirm();
    if (!closed_)
        return "диалог не принял ответ: " + lastRefusal_;
    return {};
}

std::vector<std::string> Tqq14::ScriptAnswer() const {
    if (!closed_ || ws_.LastAnswer != 1)
        return {};
    std::vector<std::string> answer{"1", formula_.text};
    answer.insert(answer.end(), fields_.begin(), fields_.end());
    return answer;
}

bool ChooseSurface(Workspace& ws, SurfaceRequest& request) {
    Tqq14 dialog(ws);
    dialog.Open();
    ws.ui.Formula(dialog);
    if (!dialog.closed())
        dialog.Cancel();
    if (ws.LastAnswer != 1)
        return false;
    request = dialog.request();
    return true;
}

}  // namespace dalvex
