// The pairwise run shared by the methods that compare two variables at a
// time (correlation, Student and Fisher, chi-square, rank correlation,
// simple regression, the shift, scale and Smirnov tests): every pair of the
// chosen variables in order, or the pairs of a list file, each loaded into
// DataMatrix rows 0 and 1 and handed to the method's pair routine; several
// pairs end with the Bonferroni note. A method adds only its pair routine.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/workspace.h"
#include "dispatch/loading.h"
#include "dispatch/method_kit.h"

namespace dalvex {

// The pairwise runs' tests, as the dispatcher passes them.
enum PairwiseType {
    CorrelationPairs = 1,
    StudentFisherPairs = 2,
    ChiSquarePairs = 3,
    RankCorrelationPairs = 5,
    SimpleRegressionPairs = 6,
    ShiftPairs = 7,
    ScalePairs = 8,
    SmirnovPairs = 9,
};

inline constexpr const char* TooFewVariablesNotice = "!МАЛО ПЕРЕМЕННЫХ!";
inline constexpr const char* PairHeaderStart = "                            Переменные: ";
inline constexpr const char* BonferroniHeading =
    "С поправкой Бонферрони для множественных сравнений:";
inline constexpr const char* BonferroniWarning =
    "Необходимо перепроверить результаты принятия альтернативных гипотез !!!";

// The two hidden lists of significances (unpaired and paired samples): each
// pairwise run starts them empty, a test appends its significance, and the
// whole list is saved as a text file in the data folder, one figure a line,
// for the person's later use. The files are written when the run ends (or
// stops at a fault), once each, not once per pair.
class SignificanceLists {
  public:
    void Clear();
    void AppendUnpaired(Workspace& ws, double p, const char* fileName);
    // A line of its own (the correlation list keeps r and its significance).
    void AppendUnpaired(const std::string& line, const char* fileName);
    void AppendPaired(Workspace& ws, double p, const char* fileName);
    // Saves every list that changed under the file name it was last given.
    void Save(Workspace& ws);
    const std::vector<std::string>& unpaired() const { return unpaired_.lines; }
    const std::vector<std::string>& paired() const { return paired_.lines; }

  private:
    struct List {
        std::vector<std::string> lines;
        std::string fileName;
        bool changed = false;
    };
    void Append(Workspace& ws, List& list, double p, const char* fileName);
    static void Append(List& list, const std::string& line, const char* fileName);
    void Save(Workspace& ws, List& list);
    List unpaired_, paired_;
};

// Where the lists are saved: the data folder, or the program folder before
// any data folder was used.
std::string SignificanceFolder(const Workspace& ws);

// What a pair routine is given: the pair loaded into DataMatrix rows 0
// (first) and 1 (second), missing values removed listwise or per row, and
// the same rows with their variables as LoadedRow values.
struct PairStep {
    Workspace& ws;
    int type = 0;
    Missing missing = Missing::PerRow;
    LoadedRow first, second;
    int i = 0, j = 0;  // their places in the selection
    SignificanceLists& lists;
    // The number of values of the pair, for the correlation's Bonferroni
    // bound; set to the loaded length, a routine may change it.
    int length = 0;
    // The chosen columns, parsed once for the whole run: a routine that
    // loads the pair again passes it to LoadPair.
    ParsedColumns* parsed = nullptr;
};

using PairRoutine = std::function<void(PairStep&)>;
// Runs after all pairs when more than two variables were compared (the
// correlation matrix report of types 1 and 5).
using AfterPairs = std::function<void(Workspace&)>;

void PairwiseRun(Workspace& ws, int type, Missing missing, const PairRoutine& routine,
                 const AfterPairs& after = {});

// The pairs of a list file: every line holding a blank names two sheet
// columns. A line naming something else - not two whole numbers, a column
// outside 1..variableCount, a column with itself - refuses the whole list
// with a notice that names the line.
struct PairList {
    std::vector<std::pair<int, int>> pairs;
    std::string refusal;  // the notice; empty when the list is sound
};
PairList ReadPairList(const std::vector<std::string>& lines, int variableCount);

// The closing note: an empty line, and for more than one pair the Bonferroni
// level (and for correlations the critical coefficient for `length` values).
void BonferroniNote(Workspace& ws, int type, int pairCount, int length);

// DataMatrix row `row` as loaded from sheet column `column`.
LoadedRow PairRow(Workspace& ws, int row, int column);

}  // namespace dalvex
