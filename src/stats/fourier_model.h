// Method 35, the Fourier model of one series: a trend (jumps, a polynomial,
// a seam between the ends) taken off, the amplitude spectrum of the rest,
// harmonics removed by band, threshold or averaging in a loop, and at last
// the model's parameters, its residuals and a forecast with confidence
// limits. The dispatcher repeats it while "Построить новую модель?" is
// answered yes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/form_dialog.h"
#include "core/workspace.h"

namespace dalvex {

inline constexpr const char* FourierModelCaption = "Фурье-модель";
inline constexpr const char* CorrectionMemory = "q71.ini";
inline constexpr const char* ModelParametersMemory = "q70.ini";
inline constexpr const char* ShortModelSeriesNotice = "!МЕТОД НЕПРИМЕНИМ: ДЛИНА РЯДА < 8!";
inline constexpr const char* ConstantModelSeriesNotice =
    "!РЯД ПОСТОЯНЕН - ФУРЬЕ-МОДЕЛЬ НЕ ОПРЕДЕЛЕНА!";
inline constexpr const char* JumpThresholdNotice = "!ПОРОГ СКАЧКОВ НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* ModelIntegerNotice = "!ЗНАЧЕНИЕ ДОЛЖНО БЫТЬ ЦЕЛЫМ ЧИСЛОМ!";
inline constexpr const char* ModelNumberNotice = "!ЗНАЧЕНИЕ НЕ ЯВЛЯЕТСЯ ЧИСЛОМ!";
inline constexpr const char* ContinueRemovalQuestion = "Продолжить удаление спектральных гармоник?";
inline constexpr const char* ResidualAnalysisQuestion = "Выполнить анализ остатков?";
inline constexpr const char* LongForecastNotice =
    "ВНИМАНИЕ! Длинный временной ряд, число шагов прогноза не более ";
inline constexpr const char* ModelResidualLine =
    "Ст.отклонение остатков (различие модели и процесса)=";
inline constexpr const char* ModelResidualHeading =
    "        X    Yэксп    Yмодл  остаток Ст.остат  Ст.ошиб Довер.инт";
inline constexpr const char* ModelForecastHeading = "   Xпрогн   Yпрогн   Ст.ошиб  Довер.инт";
// The adaptation tries each parameter at most this many times, and all its
// trials together evaluate the model at most this many times a value (about
// a second of work on any series).
inline constexpr int AdaptationTrialLimit = 200;
inline constexpr double AdaptationWorkLimit = 1e8;
inline constexpr const char* AdaptationLimitNotice =
    "!АДАПТАЦИЯ ОСТАНОВЛЕНА: ПРЕВЫШЕН ЛИМИТ ПРОБ - ОСТАЛЬНЫЕ ГАРМОНИКИ НЕ ИЗМЕНЕНЫ!";

// "Фурье-модель", the correction of the series (Tqq71).
FormDialog CorrectionForm();
// "Фурье-модель", the model's parameters (Tqq70).
FormDialog ModelParametersForm();

// What is taken off the series before its spectrum: jumps, a trend
// c0 + c1·t + c2·t² and the seam c3 + c4·t between the ends.
struct SeriesCorrection {
    std::vector<int> jumpPositions;   // a jump between t and t + 1
    std::vector<double> jumpOffsets;  // the sum of the jumps so far, after each
    double c0 = 0, c1 = 0, c2 = 0, c3 = 0, c4 = 0;
    bool trend = false;

    // The part removed at time t (`CorrectionAt`).
    double At(double t) const;
    bool any() const { return trend || !jumpPositions.empty(); }
};

struct CorrectedSeries {
    SeriesCorrection correction;
    std::vector<double> values;
    bool singular = false;  // the parabola could not be fitted
};

// Jumps above `threshold` (none when it is 0 or less), then trend 0 (none),
// 1 (a line) or 2 (a parabola), then with a trend and `ends` the seam.
CorrectedSeries CorrectSeries(const std::vector<double>& x, double threshold, int trend, bool ends);

// The series lengthened by repeating its last value to an odd count M, so
// that the harmonics 0 .. (M - 1) / 2 describe it whole.
std::vector<double> Lengthen(const std::vector<double>& x);

// Harmonic j of the model: A_j cos(φ_j + 2π f_j t / M), f_j = j until the
// adaptation moves it. A_0 is the mean with its sign (φ_0 = 0).
struct HarmonicModel {
    int period = 0;  // M
    std::vector<double> amplitude, phase, frequency;

    int top() const { return static_cast<int>(amplitude.size()) - 1; }  // K
    // The largest amplitude of the harmonics 1 .. K.
    double largest() const;
    // The model at times from .. from + count - 1.
    std::vector<double> Values(int from, int count) const;
};

// The spectrum of an odd number M of values (the lengthened series).
HarmonicModel SpectrumOf(const std::vector<double>& lengthened);

// The amplitudes averaged v times with the spectra of the last M/2, M/4 …
// values (each made odd, at least 7), harmonic by harmonic at the same
// frequency. Returns the number of averagings made.
int AverageSpectrum(HarmonicModel& model, const std::vector<double>& lengthened, int v);

// What "Параметры" answered.
struct ModelParameters {
    int averagings = 0;
    int low = 0, high = 0;  // the band to remove, 0 0 for none
    double threshold = 0;   // percent of the largest amplitude
    bool adaptation = false;
    int steps = 0;  // forecast steps h
    double t0 = 0, dt = 1;
};
// The dialog's rules on a spectrum of harmonics 0 .. K and a series of last
// index N: the averagings held to what the series allows, the band within
// 1 .. K (a lower limit above the upper one: no band), the steps within
// 0 .. K, t0 at least 0 and Δt above 0.
ModelParameters HeldParameters(ModelParameters p, int top, int lastIndex);

// The band's and the threshold's harmonics set to 0. Returns whether either
// removed anything it was asked to.
bool RemoveHarmonics(HarmonicModel& model, const ModelParameters& p);

// The adaptation: for each harmonic 1 .. K (those with amplitude 0 skipped
// when `skipRemoved`), its frequency, phase and amplitude in turn tuned by a
// one-dimensional search that lowers the sum of squared differences between
// the model and `corrected` over the series' own times. Each parameter is
// tried at most AdaptationTrialLimit times, and the work ends when all
// trials have used up AdaptationWorkLimit (the harmonics not reached stay as
// they were). `progress(done, total)` may stop the work (false).
struct AdaptationOutcome {
    bool stopped = false;
    bool exhausted = false;  // the work limit ended it
    int trials = 0;
    int cappedParameters = 0;  // searches that met the trial limit
    double before = 0, after = 0;
};
AdaptationOutcome AdaptModel(HarmonicModel& model, const std::vector<double>& corrected,
                             bool skipRemoved, const std::function<bool(int, int)>& progress = {},
                             double workLimit = AdaptationWorkLimit);

// The final stage's figures. Model values at the series' times t = 0 .. N
// and, past the lengthening, at the forecast's steps.
struct FourierForecast {
    std::vector<double> fitted;    // model + correction, t = 0 .. N
    std::vector<double> residual;  // corrected series - model
    double residualMean = 0, residualSd = 0;
    double s2 = 0, timeMean = 0, timeVariance = 0, quantile = 0;
    struct Step {
        double time, value, error, halfWidth;
    };
    std::vector<Step> steps;
    double ErrorAt(int t) const;  // se_t
};
FourierForecast ForecastOf(const HarmonicModel& model, const CorrectedSeries& corrected, int steps,
                           double t0, double dt, double alpha);

void FourierModel(Workspace& ws);

}  // namespace dalvex
