#include "stats/pairwise_run.h"

#include <cmath>

#include "core/number.h"
#include "core/sheet_bridge.h"
#include "core/text.h"
#include "dispatch/loading.h"
#include "dispatch/variable_dialogs.h"
#include "numeric/distributions.h"
#include "sheet/data_file_io.h"

namespace dalvex {

// ---------------------------------------------------------------------------
// The hidden lists.

void SignificanceLists::Clear() {
    unpaired_ = {};
    paired_ = {};
}

void SignificanceLists::AppendUnpaired(Workspace& ws, double p, const char* fileName) {
    Append(ws, unpaired_, p, fileName);
}

void SignificanceLists::AppendPaired(Workspace& ws, double p, const char* fileName) {
    Append(ws, paired_, p, fileName);
}

void SignificanceLists::AppendUnpaired(const std::string& line, const char* fileName) {
    Append(unpaired_, line, fileName);
}

void SignificanceLists::Append(Workspace& ws, List& list, double p, const char* fileName) {
    Append(list, FormatNumber(p, ws.digits(), ws.decimalSeparator()), fileName);
}

void SignificanceLists::Append(List& list, const std::string& line, const char* fileName) {
    list.lines.push_back(line);
    list.fileName = fileName;
    list.changed = true;
}

void SignificanceLists::Save(Workspace& ws) {
    Save(ws, unpaired_);
    Save(ws, paired_);
}

void SignificanceLists::Save(Workspace& ws, List& list) {
    if (!list.changed)
        return;
    list.changed = false;
    std::string text;
    for (const std::string& line : list.lines)
        text += line + "\r\n";
    const std::string path = SignificanceFolder(ws) + list.fileName;
    const FileOutcome outcome = ReplaceFile(path, Utf8ToCp1251(text));
    // A list that cannot be saved costs the log, not the results.
    if (!outcome.ok)
        ShowNotice(ws, outcome.error);
}

std::string SignificanceFolder(const Workspace& ws) {
    return ws.settings.DataFolder.empty() ? ws.ProgramFolder : ws.settings.DataFolder;
}

// ---------------------------------------------------------------------------
// The pair list.

namespace {

bool WholeNumber(const std::string& word, int& value) {
    if (word.empty() || word.size() > 9)
        return false;
    for (char c : word)
        if (c < '0' || c > '9')
            return false;
    value = std::stoi(word);
    return true;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line + " ") {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words;
}

std::string Refusal(int lineNumber, const std::string& reason) {
    return "!СПИСОК ПАР, СТРОКА " + std::to_string(lineNumber) + ": " + reason + "!";
}

}  // namespace

PairList ReadPairList(const std::vector<std::string>& lines, int variableCount) {
    PairList list;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string line = Trim(lines[k]);
        if (line.find_first_of(" \t") == std::string::npos)
            continue;
        const int number = static_cast<int>(k) + 1;
        const std::vector<std::string> words = Words(line);
        int a = 0, b = 0;
        if (words.size() != 2 || !WholeNumber(words[0], a) || !WholeNumber(words[1], b)) {
            list.refusal = Refusal(number, "\"" + line + "\" - НЕ ДВА НОМЕРА ПЕРЕМЕННЫХ");
            return list;
        }
        for (int column : {a, b}) {
            if (column < 1 || column > variableCount) {
                list.refusal =
                    Refusal(number, "НЕТ ПЕРЕМЕННОЙ " + std::to_string(column) + " (ПЕРЕМЕННЫХ " +
                                        std::to_string(variableCount) + ")");
                return list;
            }
        }
        if (a == b) {
            list.refusal = Refusal(number, "ПЕРЕМЕННАЯ " + std::to_string(a) + " В ПАРЕ С СОБОЙ");
            return list;
        }
        list.pairs.push_back({a, b});
    }
    return list;
}

// ---------------------------------------------------------------------------
// The run.

LoadedRow PairRow(Workspace& ws, int row, int column) {
    LoadedRow loaded;
    loaded.row = row;
    loaded.column = column;
    loaded.name = VariableName(ws, column - 1);
    const int last = ws.VarLength[row + 1];
    loaded.values.reserve(last < 0 ? 0 : last + 1);
    for (int i = 0; i <= last; ++i)
        loaded.values.push_back(ws.store.Data(row, i));
    return loaded;
}

void BonferroniNote(Workspace& ws, int type, int pairCount, int length) {
    WriteResult(ws, "");
    if (pairCount <= 1)
        return;
    const int digits = ws.digits();
    const char separator = ws.decimalSeparator();
    const double alpha = ws.settings.SignificanceLevel;
    const double level = alpha / pairCount;
    WriteResult(ws, BonferroniHeading);
    if (type == CorrelationPairs) {
        WriteResult(ws, "Крит.значимость коэффициента корреляции=" +
                            FormatNumber(level, digits, separator));
        const double t = FisherQuantile(1, length - 2, level);
        WriteResult(ws,
                    "Крит.значение коэффициента корреляции=" +
                        FormatNumber(std::sqrt(t * t / (t * t + length - 2)), digits, separator));
    } else if (type == StudentFisherPairs || type == RankCorrelationPairs || type >= ShiftPairs) {
        WriteResult(ws,
                    "Крит.значимость нулевых гипотез=" + FormatNumber(level, digits, separator));
    }
    WriteResult(ws, BonferroniWarning);
}

namespace {

class Run {
  public:
    Run(Workspace& ws, int type, Missing missing, const PairRoutine& routine)
        : ws_(ws), type_(type), missing_(missing), routine_(routine) {}

    int RunPair(int i, int j, int L) {
        if (type_ != CorrelationPairs)
            WriteResult(ws_, " ");
        const int first = ws_.SelectedColumns[i + 1];
        const int second = ws_.SelectedColumns[j + 1];
        LoadPair(ws_, first, second, missing_, &parsed);
        ws_.VerdictIndex = 1;
        PairStep step{ws_,   type_, missing_, PairRow(ws_, 0, first), PairRow(ws_, 1, second), i, j,
                      lists, 0,     &parsed};
        if (!(type_ == CorrelationPairs && L > 1))
            WriteResult(ws_, PairHeaderStart + step.first.name + ", " + step.second.name);
        step.length = step.first.count();
        routine_(step);
        return step.length;
    }

    SignificanceLists lists;
    ParsedColumns parsed;

  private:
    Workspace& ws_;
    int type_;
    Missing missing_;
    const PairRoutine& routine_;
};

}  // namespace

namespace {

void RunPairs(Workspace& ws, int type, Run& run, const AfterPairs& after) {
    if (type != SimpleRegressionPairs) {
        // A cancelled dialog ends the run without a word.
        if (pq30(ws, true) == 0 && !ws.PairListRead)
            return;
        ws.store.SetRowWidth(0, CellCapacity / 2);
    } else if (ws.SelectedColumns[0] == 1) {
        ws.SelectedColumns[0] = 2;
        ws.SelectedColumns[2] = ws.SelectedColumns[1];
    }

    const bool pairList = type != SimpleRegressionPairs && ws.PairListRead;
    const int L = ws.SelectedColumns[0] - 1;
    if (L <= 0 && !pairList) {
        ShowNotice(ws, TooFewVariablesNotice);
        return;
    }
    ws.VarLength[0] = 1;

    int pairCount = 0, length = 0;
    if (pairList) {
        const PairList list = ReadPairList(ws.LineBuffer, ws.sheet.VariableCount());
        if (!list.refusal.empty()) {
            ShowNotice(ws, list.refusal);
            return;
        }
        if (list.pairs.empty()) {
            ShowNotice(ws, TooFewVariablesNotice);
            return;
        }
        for (const auto& [first, second] : list.pairs) {
            ws.SelectedColumns[0] = 2;
            ws.SelectedColumns[1] = first;
            ws.SelectedColumns[2] = second;
            length = run.RunPair(0, 1, 1);
            ++pairCount;
        }
        BonferroniNote(ws, type, pairCount, length);
        return;
    }

    for (int i = 0; i < L; ++i) {
        for (int j = i + 1; j <= L; ++j) {
            length = run.RunPair(i, j, L);
            ++pairCount;
        }
    }
    if (type != CorrelationPairs && type != ChiSquarePairs && type != SimpleRegressionPairs)
        BonferroniNote(ws, type, pairCount, length);
    if ((type == CorrelationPairs || type == RankCorrelationPairs) && L > 1 && after)
        after(ws);
}

}  // namespace

void PairwiseRun(Workspace& ws, int type, Missing missing, const PairRoutine& routine,
                 const AfterPairs& after) {
    Run run(ws, type, missing, routine);
    run.lists.Clear();
    // A fault stops the run; what the pairs before it logged is saved all the same.
    try {
        RunPairs(ws, type, run, after);
    } catch (...) {
        run.lists.Save(ws);
        throw;
    }
    run.lists.Save(ws);
}

}  // namespace dalvex
