// Method 26, factor analysis: its dialogs (the matrix choice, the rotation
// dialog, the projection dialogs, the prediction grid) described as forms,
// and the run that asks them and writes the report and the graphs. The
// figures come from factor_analysis.h.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "stats/factor_analysis.h"

namespace dalvex {

struct Workspace;

inline constexpr const char* FactorAnalysisCaption = "Факторный анализ";
inline constexpr const char* RotationCaption = "Продолжение анализа";
inline constexpr const char* ProjectionCaption = "Проекции факторов";
inline constexpr const char* PredictionCaption = "Факторный прогноз";
inline constexpr const char* PredictionGridLabel = "Значения факторов";
inline constexpr int PredictionRows = 100;
inline constexpr int PredictionColumns = 7;

inline constexpr const char* TooManyVariablesNotice = "!2 > ПЕРЕМЕННЫХ > 253!";
inline constexpr const char* ThresholdNotice = "!ПОРОГ НАГРУЗОК НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* SingularNotice = "!СИНГУЛЯРНАЯ МАТРИЦА - РЕШЕНИЕ НЕВОЗМОЖНО!";
inline constexpr const char* NotConvergedNotice =
    "!МЕТОД ЯКОБИ НЕ СОШЕЛСЯ - СОБСТВЕННЫЕ ЗНАЧЕНИЯ ПРИБЛИЖЕННЫЕ!";
inline constexpr const char* RotationStoppedNotice = "!ВРАЩЕНИЕ ПРЕРВАНО!";
inline constexpr const char* PredictionVariableNotice = "!ОШИБКА НОМЕРА ПЕРЕМЕННОЙ ПРОГНОЗА!";
inline constexpr const char* FactorValueNotice = "!ЗНАЧЕНИЕ ФАКТОРА НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* RowCountNotice = "!ЧИСЛО ЗНАЧЕНИЙ В СТРОКАХ НЕ СОВПАДАЕТ!";
inline constexpr const char* ZeroEigenvalueNotice =
    "!СОБСТВЕННОЕ ЗНАЧЕНИЕ ФАКТОРА РАВНО 0 - ПРОГНОЗ НЕВОЗМОЖЕН!";
std::string FactorCountNotice(int factors);

// `Tq69`: the threshold of printed loadings, the binary measure and the
// seven matrix buttons (answers 1 .. 7, as MatrixKind).
FormDialog FactorAnalysisForm();
// `Tqq110`: the number of factors to rotate and the rotations (1 .. 5),
// the prediction (6) and the cancel (0).
FormDialog RotationForm(int proposed);
// `Tqq83` (with Z) and `Tqq84`: the factors shown on the axes.
FormDialog ProjectionForm(bool space);
// The prediction grid: the variable, then 7 factor columns by 100 rows.
FormDialog PredictionForm(const std::string& grid);

// What a projection dialog asked for: the factors (0-based) on X, Y and,
// when `space`, Z. Numbers outside 1 .. factors fall back to 1, 2 in a plane.
struct Projection {
    int x = 0, y = 1, z = -1;
    bool space() const { return z >= 0; }
};
Projection ReadProjection(const FormAnswer& answer, int factors);

// The lines of the eigenvalue table: retained eigenvalues, their shares of
// the total and the running shares.
std::vector<std::string> EigenvalueLines(const Workspace& ws, const FactorExtraction& e);

// The projection dialog again and again until it is cancelled: each answer
// draws the chosen axes (`column(j)`: the values of axis j at every point)
// as one described series of `style`, its points named as `names` says
// (GraphHandOver::PointNames), titled titleStart + "x,y,z".
void ProjectionGraphs(Workspace& ws, int axes, const std::string& titleStart, int style, int names,
                      const std::function<std::vector<double>(int)>& column);

// The whole method from its first dialog.
void FactorAnalysis(Workspace& ws);

}  // namespace dalvex
