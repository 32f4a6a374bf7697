// The method kit: what every statistics method is built from.
//
// The rule: a method computes its figures into a named result with no side
// effects on the store, and a separate function writes them; shared store
// cells are set only where a later consumer reads them.
//
// How to build a method. A method is one file in src/stats (or its group's
// file) and one line in the registry (statistics_methods.cpp). Its row in the
// dispatcher's method table says what the frame does before the routine runs:
// choose and load variables, or nothing when the method asks for them itself
// (then it calls ChooseAndLoad). Read the rows as LoadedRow values: each
// carries its variable's name, its sheet column and its values. Read the
// method's options from a form with FormReader: Integer, Number and Choice
// refuse a bad field with the method's own notice and the method then ends.
// Compute the figures into a named result (a struct) from the values alone,
// with no side effects on the store, in a function a test can call directly;
// then write that result in a separate function: table rows with
// WriteFigureRow (the variable's name and 9-character fields that never run
// together), statistic lines with WriteStatistic or WriteFLine (significance,
// degrees of freedom and the verdict line), new sheet variables with
// AppendSheetVariable, and graphs with GraphOrder (series, styles, title, then
// the hand-over and the graph prompt). A variable the method cannot use is
// named with NoteUnusable, and one notice names all of them. Set shared store
// cells only where a later consumer reads them. Never check for NaN or
// infinity in the formulas: a division by zero, an invalid operation or an
// overflow stops the run at the next report line, sheet value or graph with
// "Прерывание: …"; use CheckedDivide only where the exact stopping point
// matters. Every F with one numerator degree of freedom takes its
// significance from √F (FisherTail expects Student's t there): WriteFLine
// does that. Rows that must stay aligned (paired data, a response and its
// predictors, the variables of a multivariate method) are loaded listwise.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/workspace.h"
#include "dispatch/loading.h"

namespace dalvex {

// ---------------------------------------------------------------------------
// Loaded rows

// One loaded DataMatrix row with the variable it came from.
struct LoadedRow {
    int row = 0;       // the DataMatrix row
    int column = 0;    // the sheet column (1 = first variable)
    std::string name;  // the variable's name as VariableName gives it
    std::vector<double> values;

    int count() const { return static_cast<int>(values.size()); }
};

// The loaded rows 0 .. VarLength[0], each with its variable (SelectedColumns
// gives the columns) and its observations 0 .. VarLength[row + 1].
std::vector<LoadedRow> LoadedRows(Workspace& ws);
LoadedRow LoadedRowOf(Workspace& ws, int row);

// Which variable dialog a method that loads for itself shows.
enum class Choose {
    List,  // "Анализ переменных": any number of variables
    One,   // "Анализ переменной": one variable
    All,   // every sheet variable, no dialog
};

// The dialog, then LoadSelected(spare, missing). Empty when the dialog was
// cancelled or nothing could be loaded (the notices have been shown).
std::vector<LoadedRow> ChooseAndLoad(Workspace& ws, Choose choose, int spare, Missing missing);

// FitDataRows (loading.h) sizes DataMatrix for rows a method lays out itself.

// ---------------------------------------------------------------------------
// Variables a method cannot use

// Notes that variable `name` falls under `notice` ("МЕТОД НЕПРИМЕНИМ:
// измерений < 4!"); nothing is shown yet.
void NoteUnusable(Workspace& ws, const std::string& notice, const std::string& name);
// Shows one notice per text naming every variable noted since the last call
// and not named before in this run. The frame calls it when the run ends; a
// method may call it after a table so the person reads it beside that table.
void ShowUnusable(Workspace& ws);

// ---------------------------------------------------------------------------
// Report lines

// A figure in its 9-character field: left-padded; a value of 9 characters
// or more, which would touch its left neighbour, gets one blank before it.
std::string Field(const Workspace& ws, double x);
std::string Fields(const Workspace& ws, const std::vector<double>& figures);
// The variable's name right-aligned in the 9-character name column.
std::string NameField(const std::string& name);

// One table row: the name field, then the figures' fields; the line is cut
// to `limit` characters.
void WriteFigureRow(Workspace& ws, const std::string& name, const std::vector<double>& figures,
                    std::size_t limit = std::string::npos);

// label + the value, then the significance tail and the verdict line:
// "Колмогоров=0.1041, Значимость=0.012, степ.своб = 100" and the verdict.
// df1 is printed before df2 only when above 1. Returns p.
double WriteStatistic(Workspace& ws, const std::string& label, double value, double p, double df2,
                      double df1 = 0);

// The significance of F with (df1, df2) degrees of freedom: with one
// numerator degree of freedom the Fisher routine takes Student's t = √F.
double FSignificance(double f, double df1, double df2);
// An F line: label + F with FSignificance and both degrees of freedom.
double WriteFLine(Workspace& ws, const std::string& label, double f, double df1, double df2);

// ---------------------------------------------------------------------------
// Form answers

// Shows a form and reads its answer typed. The first bad field is refused
// with the notice the method gives for it (a script learns which field did
// not fit); every later read then answers its default without a notice, and
// ok() is false: the method ends.
class FormReader {
  public:
    FormReader(Workspace& ws, FormDialog form);

    // Whether the form was answered (a button other than cancel).
    bool answered() const { return answer_.button != 0; }
    int button() const { return answer_.button; }
    bool ok() const { return ok_; }
    const FormAnswer& answer() const { return answer_; }

    // A whole number low .. high (a fraction is cut toward zero).
    int Integer(int field, int low, int high, const std::string& notice);
    // A number (comma or point) low .. high.
    double Number(int field, const std::string& notice,
                  double low = -std::numeric_limits<double>::max(),
                  double high = std::numeric_limits<double>::max());
    // The chosen item of a Choice field (0 .. items - 1) or a check box (0, 1).
    int Choice(int field, int items, const std::string& notice);
    // Refuses `field` with `notice` for a rule between fields (a left border
    // not below the right one).
    void Refuse(int field, const std::string& notice);

  private:
    const std::string* Text(int field, const std::string& notice);

    Workspace& ws_;
    FormDialog form_;
    FormAnswer answer_;
    bool ok_ = true;
};

// ---------------------------------------------------------------------------
// The sheet

// The values as a new variable after the last one; a MissingValue leaves its
// cell empty. Returns false when the sheet refused a value (its overflow
// notice has been shown).
bool AppendSheetVariable(Workspace& ws, const std::vector<double>& values);

// ---------------------------------------------------------------------------
// Graphs

enum class SeriesStyle : std::uint8_t { Line = 0, LineAndMarkers = 1, Markers = 2, Bars = 3 };

// Which graph window an order asks for.
enum class GraphKind : std::uint8_t {
    Pairs,      // X-Y series: series p in rows 2p and 2p + 1, styled by SeriesStyle
    Described,  // the same rows, each series with its marker and description style
    Bars,       // a bar chart: series p (its heights only) in row p
};

// A graph order: series after series, then Show lays them into DataMatrix
// rows with their lengths, fills the style or description table, the
// names and the title, hands them to the graph window and asks the graph
// prompt.
class GraphOrder {
  public:
    explicit GraphOrder(Workspace& ws, GraphKind kind = GraphKind::Pairs) : ws_(ws), kind_(kind) {}

    // `name` is the series' legend entry; without one the legend numbers it.
    GraphOrder& Series(std::vector<double> x, std::vector<double> y,
                       SeriesStyle style = SeriesStyle::Line, std::string name = {});
    // A series of a described graph: `marker` its marker shape and colour,
    // `style` its description style (SeriesDescription::style), `name` its
    // legend entry.
    GraphOrder& Described(std::vector<double> x, std::vector<double> y, int marker, int style,
                          std::string name = {});
    // A group of bars of a bar chart.
    GraphOrder& Bars(std::vector<double> heights, std::string name = {});
    GraphOrder& Title(std::string title);
    // Without `offerDiscard` the prompt offers only "Оставить".
    void Show(bool offerDiscard = true);

  private:
    struct Entry {
        std::vector<double> x, y;
        SeriesStyle style;
        std::string name;
        int marker = 0, described = 0;
    };
    Workspace& ws_;
    GraphKind kind_;
    std::vector<Entry> series_;
    std::string title_;
};

}  // namespace dalvex
