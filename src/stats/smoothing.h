// Method 17, smoothing and filtering of one series: the three- and
// five-point linear and five-point quadratic smoothers, exponential and
// robust (Huber) smoothing, the filters written with the backshift operator
// B (differences, seasonal differences, integration, moving sums,
// second-order filters) and the Fourier band-pass filter, each drawn over
// the series.
#pragma once

#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* SmoothingChoiceCaption = "Сглаживание";
inline constexpr const char* SmoothingChoiceMemory = "q68.ini";
inline constexpr const char* SmoothingWeightNotice =
    "!КОЭФФИЦИЕНТ СГЛАЖИВАНИЯ W ДОЛЖЕН БЫТЬ ЧИСЛОМ ОТ 0 ДО 1!";
inline constexpr const char* FilterStepNotice = "!a ДОЛЖНО БЫТЬ ЦЕЛЫМ ЧИСЛОМ!";
inline constexpr const char* BandLimitNotice = "!ГРАНИЦА ПОЛОСЫ ПРОПУСКАНИЯ НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* FilterTimeStepNotice =
    "!ШАГ ВРЕМЕНИ ДОЛЖЕН БЫТЬ ЧИСЛОМ ОТ 1E-290 ДО 1E290!";
inline constexpr const char* ShortFilterSeriesNotice = "!Длина ряда меньше 15!";
inline constexpr const char* WrongBandNotice = "!Неправильно задана полоса пропускания!!";

// The answers of "Сглаживание": 1 .. 15, 0 when cancelled.
enum SmoothingAnswer {
    LinearThree = 1,
    LinearFive = 2,
    QuadraticFive = 3,
    Exponential = 4,
    RobustHuber = 5,
    Difference = 6,
    RepeatedDifference = 7,
    SeasonalDifference = 8,
    Integration = 9,
    SecondIntegration = 10,
    MovingSum = 11,
    SecondOrderOne = 12,
    SecondOrderRootThree = 13,
    SecondOrderSmoothing = 14,
    FourierBand = 15,
};

// What the choice dialog answered, read when it closes.
struct SmoothingOptions {
    int answer = 0;
    double w = 0.5;  // exponential smoothing's weight
    int a = 2;       // the order, season or width of filters 7, 8 and 11
    double low = 8, high = 10, dt = 1;
};

FormDialog SmoothingChoiceForm();
// Shows the choice dialog and reads the fields the chosen answer uses; 0
// when it was cancelled or a field was refused.
int AskSmoothing(Workspace& ws, SmoothingOptions& options);

// The a of filters 7, 8 and 11 as the series allows: below 1 or above a
// quarter of the values it is 2.
int FilterOrder(int a, int count);
// How many values answer `answer` needs with order a (already checked).
int SmoothingMinimum(int answer, int a);

// Smoother or filter 1 .. 4, 6 .. 14 of x (at least SmoothingMinimum
// values), extended to the length of x by repeating its last value.
std::vector<double> SmoothSeries(const std::vector<double>& x, int answer, double w, int a);

// The Fourier band-pass filter: the constant term and the harmonics whose
// frequencies j / (n·dt) lie in low .. high. The band's harmonics as asked
// and as used (within 0 .. n / 2).
struct BandFilterFigures {
    bool wrongBand = false;  // the band holds no harmonic
    bool clamped = false;    // the band was cut to the harmonics there are
    int firstAsked = 0, lastAsked = 0;
    int first = 0, last = 0;
    int topHarmonic = 0;  // K = n / 2
    double frequencyStep = 0;
    std::vector<double> times, values;
};
BandFilterFigures FourierBandFilter(const std::vector<double>& x, double low, double high,
                                    double dt);
// The notice that the band was cut to the harmonics first .. last.
std::string ClampedBandNotice(const BandFilterFigures& f);

void SmoothSeriesMethod(Workspace& ws, const SmoothingOptions& options);

}  // namespace dalvex
