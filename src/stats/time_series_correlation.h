// Method 15, the correlation function: the autocorrelation of one series or
// the cross-correlation of two, as a function of the lag with the critical
// value of every lag, or as the correlation of a fixed fragment of X with a
// fragment of Y sliding along the series (numbers, or for categories the
// share of equal cell texts).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* CorrelationCaption = "Функция корреляции";
inline constexpr const char* CorrelationMemory = "q37.ini";
inline constexpr const char* TooLittleDataNotice = "!НЕДОСТАТОЧНО ДАННЫХ ДЛЯ ЭТОГО МЕТОДА!";
inline constexpr const char* LagHeading = " Сдвиг   Корреляция   Крит.значение";
inline constexpr const char* StepNotNumberNotice =
    "!ШАГ ВРЕМЕНИ ДОЛЖЕН БЫТЬ ЧИСЛОМ ОТ -1E290 ДО 1E290!";
inline constexpr const char* LengthNotNumberNotice = "!ДЛИНА ФРАГМЕНТА НЕ ЯВЛЯЕТСЯ ЦЕЛЫМ ЧИСЛОМ!";
inline constexpr const char* ShortFragmentNotice = "!ДЛИНА ФРАГМЕНТА ДОЛЖНА БЫТЬ НЕ МЕНЬШЕ 4!";
inline constexpr const char* NominalNotice = "!НОМИНАЛЬНЫЙ: 1 ИЛИ 0!";
inline constexpr const char* ShiftNotNumberNotice = "!СДВИГ ФРАГМЕНТА НЕ ЯВЛЯЕТСЯ ЦЕЛЫМ ЧИСЛОМ!";

std::string ConstantSeriesNotice(const std::string& name);
std::string ConstantFragmentNotice(const std::string& name);
std::string ConstantWindowsNotice(int count);

// "Функция корреляции" with the remembered field texts.
FormDialog CorrelationForm(const std::vector<std::string>& remembered);

// The correlation function as drawn: abscissa (k - s)·Δ and value per point;
// in lag mode also the critical value of every lag.
struct CorrelationCurve {
    std::vector<double> abscissae, values, criticals;
    double critical = 0;      // fragment modes: the one critical value
    int constantWindows = 0;  // numeric fragments of Y with no spread (value 0)
};

// Lag mode: r_k of X_{t+s} against Y_{t+k} over the pairs both series hold,
// k = 0 .. N' - 8 for the N' + 1 pairs of the shifted series; nothing when a
// series is constant. x and y have equal lengths.
std::optional<CorrelationCurve> LagCorrelationFunction(const std::vector<double>& x,
                                                       const std::vector<double>& y, int shift,
                                                       double step, double alpha);

// The critical correlation for n pairs: t = FisherQuantile(1, n - 2, α),
// r* = sqrt(t² / (t² + n - 2)).
double CriticalCorrelation(int pairs, double alpha);

// Fragment mode: the Pearson correlation of X_s .. X_{s+L-1} with
// Y_i .. Y_{i+L-1}, i = 0 .. N - L (N + 1 = the length of Y); nothing when
// the fragment of X is constant. A fragment of Y without spread gives 0 and
// is counted.
std::optional<CorrelationCurve> FragmentCorrelationFunction(const std::vector<double>& x,
                                                            const std::vector<double>& y,
                                                            int length, int shift, double step,
                                                            double alpha);

// Nominal fragment mode: the share of cells of X's fragment (rows s .. s+L-1)
// whose text equals that of Y's cell L rows further on from i.
CorrelationCurve NominalCorrelationFunction(const std::vector<std::string>& x,
                                            const std::vector<std::string>& y, int length,
                                            int shift, double step, double alpha);

void CorrelationFunction(Workspace& ws);

}  // namespace dalvex
